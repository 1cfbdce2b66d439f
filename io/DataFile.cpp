#include "DataFile.h"

#include "AtomicFile.h"
#include "ByteSource.h"
#include "LargePages.h"
#include "LegacyLayout.h"
#include "core/Evaluation.h"
#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ != __ORDER_LITTLE_ENDIAN__
#error "records are stored in memory order, which must be little-endian"
#endif

namespace morvik {

namespace {

using io_detail::ByteSource;

constexpr std::size_t kMagicOffset = 0;
constexpr std::size_t kVersionOffset = 4;
constexpr std::size_t kCountOffset = 6;
constexpr std::size_t kMemberSize = sizeof(ShaJiang_GouJian_Struct);
constexpr std::size_t kChunkRecords = 128;

static_assert(kProjectInfoOffset + sizeof(ProjectInfo) <= kDataFileHeaderSize);

// The whole member records a file of `size` bytes holds; a record cut short by the end of
// the file does not count, so a file cut inside its last record is refused rather than
// read with zeros where its readings were.
std::uint64_t wholeRecords(std::uint64_t size) {
    if (size <= kDataFileHeaderSize)
        return 0;
    return (size - kDataFileHeaderSize) / kMemberSize;
}

// Makes room for at least one more chunk. The array grows geometrically with what has
// been read, never from the count the header claims: a sparse file can claim two billion
// members at a length that matches, and only reading shows whether memory holds them.
// Once an eighth of the members has arrived it takes its full size in one step, so the
// last copy moves at most a quarter of the data and memory stays near the file's size.
void growFor(std::vector<ShaJiang_GouJian_Struct>& members, std::size_t more, std::size_t total) {
    constexpr std::size_t kShareBeforeFullSize = 8;
    const std::size_t needed = members.size() + more;
    if (needed <= members.capacity())
        return;
    const std::size_t grown = members.size() * kShareBeforeFullSize >= total
                                  ? total
                                  : std::min(total, std::max(needed, 2 * members.capacity()));
    members.reserve(grown);
    adviseLargePages(members.data(), grown * kMemberSize);
}

ReadResult readRecordLayout(ByteSource& source, DataSet& out) {
    // A file cut short inside its header reads as zeros here, as the fields were cleared.
    std::int16_t version = 0;
    source.readAt(kVersionOffset, &version, sizeof version);
    if (version != kDataFileVersion)
        return ReadResult::UnsupportedVersion;

    std::int32_t count = 0;
    source.readAt(kCountOffset, &count, sizeof count);
    if (count <= 0 || static_cast<std::uint64_t>(count) > wholeRecords(source.size()))
        return ReadResult::Refused;

    source.readAt(kProjectInfoOffset, &out.project, sizeof out.project);

    // Records pass through a small buffer that stays in cache while they are evaluated,
    // so the large array is written once and never cleared first.
    const auto total = static_cast<std::size_t>(count);
    try {
        std::vector<ShaJiang_GouJian_Struct> chunk(std::min(total, kChunkRecords));
        std::uint64_t offset = kDataFileHeaderSize;
        for (std::size_t done = 0; done < total;) {
            const std::size_t n = std::min(total - done, chunk.size());
            const std::size_t wanted = n * kMemberSize;
            auto* bytes = reinterpret_cast<unsigned char*>(chunk.data());
            // The length was checked, but a file can shrink while it is read.
            if (source.readAt(offset, bytes, wanted) != wanted)
                return ReadResult::Refused;
            for (std::size_t i = 0; i < n; ++i)
                evaluateMember(chunk[i], out.project.mortarCode);
            growFor(out.members, n, total);
            out.members.insert(out.members.end(), chunk.begin(), chunk.begin() + n);
            offset += wanted;
            done += n;
        }
    } catch (const std::bad_alloc&) {
        // More members than memory holds: the file cannot be opened, the program goes on.
        return ReadResult::Refused;
    }
    return ReadResult::Loaded;
}

ReadResult readFrom(ByteSource& source, DataSet& data, DataFileLayout* layout) {
    DataSet read;
    std::int32_t magic = 0;
    source.readAt(kMagicOffset, &magic, sizeof magic);
    DataFileLayout found = DataFileLayout::Record;
    if (magic == kDataFileMagic) {
        const ReadResult result = readRecordLayout(source, read);
        if (result != ReadResult::Loaded)
            return result;
    } else {
        if (!io_detail::readLegacyLayout(source, read))
            return ReadResult::NotADataFile;
        found = DataFileLayout::Legacy;
    }
    data.project = read.project;
    data.members.swap(read.members);
    if (layout)
        *layout = found;
    return ReadResult::Loaded;
}

struct FileHeader {
    unsigned char bytes[kDataFileHeaderSize];
};

FileHeader makeHeader(const ProjectInfo& project, std::size_t memberCount) {
    FileHeader header{};
    const std::int32_t magic = kDataFileMagic;
    const std::int16_t version = kDataFileVersion;
    const auto count = static_cast<std::int32_t>(memberCount);
    std::memcpy(header.bytes + kMagicOffset, &magic, sizeof magic);
    std::memcpy(header.bytes + kVersionOffset, &version, sizeof version);
    std::memcpy(header.bytes + kCountOffset, &count, sizeof count);
    std::memcpy(header.bytes + kProjectInfoOffset, &project, sizeof project);
    return header;
}

FileHeader makeHeader(const DataSet& data) {
    return makeHeader(data.project, data.members.size());
}

// A count the header cannot hold would make a file no reader accepts.
bool countFits(std::size_t memberCount) {
    return memberCount <= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
}

WriteResult writeResultOf(ReplaceResult replaced) {
    switch (replaced) {
    case ReplaceResult::Replaced:
        return WriteResult::Written;
    case ReplaceResult::CreateFailed:
        return WriteResult::OpenFailed;
    case ReplaceResult::WriteFailed:
    case ReplaceResult::Abandoned:
        break;
    }
    return WriteResult::WriteFailed;
}

// Members on their way to the file, handed to it about a megabyte at a time: small
// writes would cost a call each, and a whole data set in memory costs its size.
constexpr std::size_t kMembersPerWrite = 1024;

class BufferedMembers : public MemberSink {
public:
    explicit BufferedMembers(ContentSink& file) : file_(file) { buffer_.reserve(kMembersPerWrite); }
    void add(const ShaJiang_GouJian_Struct& member) override {
        buffer_.push_back(member);
        ++count_;
        if (buffer_.size() == kMembersPerWrite)
            flush();
    }
    // False when a write has failed, now or before.
    bool flush() {
        ok_ =
            ok_ && (buffer_.empty() || file_.append(buffer_.data(), buffer_.size() * kMemberSize));
        buffer_.clear();
        return ok_;
    }
    std::size_t count() const { return count_; }

private:
    ContentSink& file_;
    std::vector<ShaJiang_GouJian_Struct> buffer_;
    std::size_t count_ = 0;
    bool ok_ = true;
};

} // namespace

ReadResult readDataFile(const std::filesystem::path& path, DataSet& data, DataFileLayout* layout) {
    io_detail::FileSource source(path);
    if (!source.ok())
        return ReadResult::OpenFailed;
    return readFrom(source, data, layout);
}

ReadResult readDataFileBytes(const void* bytes, std::size_t size, DataSet& data,
                             DataFileLayout* layout) {
    io_detail::MemorySource source(bytes, size);
    return readFrom(source, data, layout);
}

std::vector<std::uint8_t> encodeDataFile(const DataSet& data) {
    const FileHeader header = makeHeader(data);
    const std::size_t membersSize = data.members.size() * kMemberSize;
    std::vector<std::uint8_t> image(sizeof header.bytes + membersSize);
    std::memcpy(image.data(), header.bytes, sizeof header.bytes);
    if (membersSize > 0)
        std::memcpy(image.data() + sizeof header.bytes, data.members.data(), membersSize);
    return image;
}

WriteResult writeDataFile(const std::filesystem::path& path, const DataSet& data) {
    if (!countFits(data.members.size()))
        return WriteResult::WriteFailed;
    const FileHeader header = makeHeader(data);
    return writeResultOf(
        replaceFileContents(path, {{header.bytes, sizeof header.bytes},
                                   {data.members.data(), data.members.size() * kMemberSize}}));
}

std::optional<WriteResult>
writeDataFileFrom(const std::filesystem::path& path,
                  const std::function<std::optional<ProjectInfo>(MemberSink&)>& produce) {
    bool gaveUp = false;
    const ReplaceResult replaced = replaceFileContentsWith(path, [&](ContentSink& file) {
        // The header, which needs the count, is written last, over this place.
        const FileHeader blank{};
        if (!file.append(blank.bytes, sizeof blank.bytes))
            return false;
        BufferedMembers members(file);
        const std::optional<ProjectInfo> project = produce(members);
        if (!project) {
            gaveUp = true;
            return false;
        }
        if (!members.flush() || !countFits(members.count()))
            return false;
        const FileHeader header = makeHeader(*project, members.count());
        return file.overwrite(0, header.bytes, sizeof header.bytes);
    });
    if (gaveUp)
        return std::nullopt;
    return writeResultOf(replaced);
}

} // namespace morvik
