#pragma once
// The data file (.stl). Two layouts exist:
//
//   record layout, version 100 (read and written), 1000 + 768 * N bytes:
//     0    int32  magic 6232            58 18 00 00
//     4    int16  version 100           64 00
//     6    int32  N, member count       e.g. 01 00 00 00
//     10   zero up to 100
//     100  ProjectInfo, 424 bytes
//     524  zero up to 1000
//     1000 N member records of 768 bytes, in list order
//
//   legacy field layout (read only): no magic; 59 fields, each one length byte L followed
//   by L bytes of text, describing one project and exactly one member.
//
// Integers and floats are little-endian; texts GBK, NUL-terminated in their fields.

#include "core/Records.h"
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

namespace morvik {

constexpr std::int32_t kDataFileMagic = 6232;
constexpr std::int16_t kDataFileVersion = 100;
constexpr std::size_t kDataFileHeaderSize = 1000;
constexpr std::size_t kProjectInfoOffset = 100;

// One whole data set as a file holds it.
struct DataSet {
    ProjectInfo project{};
    std::vector<ShaJiang_GouJian_Struct> members;
};

enum class DataFileLayout { Record, Legacy };

enum class ReadResult {
    Loaded,             // data set replaced (record or legacy layout)
    OpenFailed,         // the file cannot be opened for reading; data set unchanged
    UnsupportedVersion, // magic present, version not 100; data set unchanged
    Refused,            // a record-layout file whose member count is 0, negative or more
                        // than the whole 768-byte records it holds (a file cut inside a
                        // record is damaged), or whose members do not fit in memory; data
                        // set unchanged. Report it like OpenFailed.
    NotADataFile,       // no magic, and not the legacy layout either: an empty file, a file
                        // whose numeric legacy fields hold other text or no number at all
                        // (a text file, a 3D model sharing the extension); data set
                        // unchanged. Report it like OpenFailed.
};

enum class WriteResult {
    Written,    // the target now holds the whole data set
    OpenFailed, // the file could not be created; the old file is untouched
    WriteFailed // writing, flushing or replacing failed; the old file is untouched
};

// Replaces `data` with the data set of the file at `path`. Every member is re-evaluated
// with the mortar code just read; bytes after the last whole record are ignored. On any
// result but Loaded `data` is left exactly as it was; running out of memory is a Refused
// file, never an exception. `layout`, when given, receives the layout of a Loaded file.
ReadResult readDataFile(const std::filesystem::path& path, DataSet& data,
                        DataFileLayout* layout = nullptr);

// The same from bytes already in memory (a whole file image).
ReadResult readDataFileBytes(const void* bytes, std::size_t size, DataSet& data,
                             DataFileLayout* layout = nullptr);

// Writes `data` in the record layout. The bytes go to a temporary file in the target's
// folder, which is flushed to the device and then renamed over the target, so a failure
// at any step leaves a previous file byte for byte as it was.
WriteResult writeDataFile(const std::filesystem::path& path, const DataSet& data);

// The members of a data set handed over one by one, in list order.
class MemberSink {
public:
    virtual ~MemberSink() = default;
    virtual void add(const ShaJiang_GouJian_Struct& member) = 0;
};

// Writes a data file like writeDataFile whose members come one by one, so that no more
// than a few hundred of them are in memory at once: `produce` hands them to the sink and
// returns the project, or nothing to give up. Giving up writes nothing and returns nothing;
// otherwise the result is writeDataFile's. An exception from `produce` passes through,
// with nothing written.
std::optional<WriteResult>
writeDataFileFrom(const std::filesystem::path& path,
                  const std::function<std::optional<ProjectInfo>(MemberSink&)>& produce);

// The file image writeDataFile stores.
std::vector<std::uint8_t> encodeDataFile(const DataSet& data);

} // namespace morvik
