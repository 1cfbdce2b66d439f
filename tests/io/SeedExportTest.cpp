// The seeds the file tests leave for the fuzz targets.

#include "TestFiles.h"
#include "tests/support/Portable.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace morvik::test {
namespace {

namespace fs = std::filesystem;

// MORVIK_FUZZ_SEEDS set to `value` for the guard's lifetime, then as it was.
class SeedFolderVariable {
public:
    explicit SeedFolderVariable(const std::string& value) {
        if (const char* old = std::getenv(kName))
            old_ = old;
        setEnvironment(kName, value);
    }
    ~SeedFolderVariable() {
        if (old_)
            setEnvironment(kName, *old_);
        else
            unsetEnvironment(kName);
    }

private:
    static constexpr const char* kName = "MORVIK_FUZZ_SEEDS";
    std::optional<std::string> old_;
};

TEST(SeedExport, SmallFilesAreCopiedAndHugeSparseOnesSkipped) {
    TempDir seeds;
    std::string folderName;
    {
        const SeedFolderVariable variable(seeds.path().string());
        TempDir scratch;
        folderName = scratch.path().filename().string();
        writeBytes(scratch / "small.stl", Bytes{1, 2, 3});
        writeBytes(scratch / "edge.stl", Bytes(kMaxSeedBytes, 7));
        writeBytes(scratch / "huge.stl", Bytes{});
        // Sparse, 1 TB; Windows makes no sparse file without being asked, so a few MB there.
        fs::resize_file(scratch / "huge.stl",
                        test::kOnWindows ? 4 * kMaxSeedBytes : std::uintmax_t{1} << 40);
        writeBytes(scratch / "default.ini", Bytes{4, 5});
    } // the scratch folder ends here and leaves its seeds

    const fs::path data = seeds.path() / "data";
    EXPECT_EQ(readBytes(data / (folderName + "-small.stl")), (Bytes{1, 2, 3}));
    EXPECT_EQ(fs::file_size(data / (folderName + "-edge.stl")), kMaxSeedBytes);
    EXPECT_FALSE(fs::exists(data / (folderName + "-huge.stl")));
    EXPECT_EQ(readBytes(seeds.path() / "settings" / (folderName + "-default.ini")), (Bytes{4, 5}));
}

} // namespace
} // namespace morvik::test
