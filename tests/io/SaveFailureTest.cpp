// Saving never damages the previous file: every failure is reported and leaves the old
// bytes in place. These cases also fail for root, which ignores folder permissions.

#include "TestFiles.h"
#include "io/AtomicFile.h"
#include "io/DataFile.h"
#include "io/SettingsFile.h"
#include <csignal>
#include <gtest/gtest.h>
#include <set>
#include <sys/resource.h>
#include <sys/stat.h>

namespace morvik {
namespace {

namespace fs = std::filesystem;
using test::Bytes;
using test::TempDir;

// Names in `dir` other than `keep`: a failed save must not leave its temporary file.
std::vector<std::string> strayFiles(const fs::path& dir, const std::set<std::string>& keep) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        if (keep.count(entry.path().filename().string()) == 0)
            names.push_back(entry.path().filename().string());
    return names;
}

// Limits the size of any file this process writes, so the next write beyond `bytes`
// fails as on a full device; the signal that would end the process is ignored.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        old_signal_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old_);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        ok_ = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, old_signal_);
    }
    bool ok() const { return ok_; }

private:
    rlimit old_{};
    void (*old_signal_)(int) = nullptr;
    bool ok_ = false;
};

TEST(SaveFailure, TargetsThatCannotBeCreatedReportOpenFailed) {
    TempDir dir;
    fs::create_directory(dir / "folder.stl");
    test::writeBytes(dir / "plain", {1, 2, 3});
    ASSERT_EQ(mkfifo((dir / "pipe.stl").c_str(), 0600), 0);
    const DataSet data = test::sampleDataSet(1);
    for (const fs::path& target : {dir / "no-such-folder" / "a.stl", dir / "folder.stl",
                                   dir / "pipe.stl", dir / "plain" / "a.stl", fs::path()}) {
        SCOPED_TRACE(target.string());
        EXPECT_EQ(writeDataFile(target, data), WriteResult::OpenFailed);
        EXPECT_FALSE(writeSettingsFile(target, PrintSettings{}));
    }
    EXPECT_TRUE(fs::is_directory(dir / "folder.stl"));
    EXPECT_TRUE(fs::is_fifo(dir / "pipe.stl"));
    EXPECT_TRUE(strayFiles(dir.path(), {"folder.stl", "plain", "pipe.stl"}).empty());
}

TEST(SaveFailure, FullDeviceReportsWriteFailedAndKeepsTheOldFile) {
    TempDir dir;
    const DataSet oldSet = test::sampleDataSet(1);
    ASSERT_EQ(writeDataFile(dir / "set.stl", oldSet), WriteResult::Written);
    test::writeBytes(dir / "default.ini", {0x58, 0x18, 0, 0, 9});
    const Bytes oldData = test::readBytes(dir / "set.stl");
    const Bytes oldSettings = test::readBytes(dir / "default.ini");

    {
        FileSizeLimit limit(100); // room for neither file
        ASSERT_TRUE(limit.ok());
        EXPECT_EQ(writeDataFile(dir / "set.stl", test::sampleDataSet(4)), WriteResult::WriteFailed);
        EXPECT_FALSE(writeSettingsFile(dir / "default.ini", PrintSettings{}));
    }
    EXPECT_EQ(test::readBytes(dir / "set.stl"), oldData);
    EXPECT_EQ(test::readBytes(dir / "default.ini"), oldSettings);
    EXPECT_TRUE(strayFiles(dir.path(), {"set.stl", "default.ini"}).empty());

    // With the room back the same save goes through.
    EXPECT_EQ(writeDataFile(dir / "set.stl", test::sampleDataSet(4)), WriteResult::Written);
    EXPECT_EQ(test::readBytes(dir / "set.stl").size(), 1000u + 4 * 768u);
}

TEST(SaveFailure, NeverReportsSuccessWhenTheFileIsOnlyPartlyWritten) {
    TempDir dir;
    const DataSet set = test::sampleDataSet(3);
    // Room for the header and one record: the writer gets some bytes out, then fails.
    FileSizeLimit limit(1000 + 768 + 100);
    ASSERT_TRUE(limit.ok());
    EXPECT_EQ(writeDataFile(dir / "new.stl", set), WriteResult::WriteFailed);
    EXPECT_FALSE(fs::exists(dir / "new.stl"));
    EXPECT_TRUE(strayFiles(dir.path(), {}).empty());
}

TEST(SaveFailure, ReplacingKeepsPermissionsAndLinks) {
    TempDir dir;
    test::writeBytes(dir / "set.stl", {1, 2, 3});
    fs::permissions(dir / "set.stl",
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink("set.stl", dir / "link.stl");

    const DataSet set = test::sampleDataSet(2);
    ASSERT_EQ(writeDataFile(dir / "link.stl", set), WriteResult::Written);
    EXPECT_TRUE(fs::is_symlink(dir / "link.stl"));
    EXPECT_EQ(test::readBytes(dir / "set.stl"), encodeDataFile(set));
    EXPECT_EQ(fs::status(dir / "set.stl").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_TRUE(strayFiles(dir.path(), {"set.stl", "link.stl"}).empty());
}

TEST(SaveFailure, ReplaceFileContentsWritesTheSpansInOrder) {
    TempDir dir;
    const char a[] = "abc";
    const char b[] = "defg";
    ASSERT_EQ(replaceFileContents(dir / "x", {{a, 3}, {nullptr, 0}, {b, 4}}),
              ReplaceResult::Replaced);
    EXPECT_EQ(test::readBytes(dir / "x"), (Bytes{'a', 'b', 'c', 'd', 'e', 'f', 'g'}));
}

} // namespace
} // namespace morvik
