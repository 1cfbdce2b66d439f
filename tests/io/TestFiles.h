#pragma once
// Scratch folders and file images for the file tests. When MORVIK_FUZZ_SEEDS names a
// folder, every file left in a scratch folder at its end is copied there (".ini" files
// under settings/, the rest under data/), so the fuzz targets start from the files the
// tests make.

#include "io/DataFile.h"
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace morvik::test {

using Bytes = std::vector<std::uint8_t>;

// Larger files left in a scratch folder are not copied as seeds.
constexpr std::uintmax_t kMaxSeedBytes = 1u << 20;

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

Bytes readBytes(const std::filesystem::path& file);
void writeBytes(const std::filesystem::path& file, const Bytes& bytes);

void exportSeed(const std::string& kind, const std::string& name, const Bytes& bytes);
// The same for an image a test reads from memory, named after the running test.
void exportSeed(const std::string& kind, const Bytes& bytes);

// A legacy file of 59 fields; fields not in `fields` are empty.
Bytes legacyImage(const std::map<int, std::string>& fields);

// The little-endian bytes of a value.
template <typename T> Bytes bytesOf(const T& value) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(&value);
    return Bytes(p, p + sizeof value);
}

// A member with readings at every point: unevenness u, gauge reading u + depth.
ShaJiang_GouJian_Struct memberWithDepths(int position, const std::vector<float>& depths);

// A small data set of `count` members with readings, texts in GBK and code 0x01.
DataSet sampleDataSet(int count);

// The unprivileged user tests run as when the suite runs as root, who may read and write
// any file whatever its permission bits say.
constexpr unsigned kNobodyId = 65534;

// A shell prefix that runs the command after it as that user when the tests run as root,
// and nothing when they already run unprivileged. `owned` (a scratch folder) is handed to
// that user first, so the command can work in it.
std::string unprivilegedPrefix(const std::filesystem::path& owned);

} // namespace morvik::test
