// Saving never damages the previous file: every failure is reported and leaves the old
// bytes in place. These cases also fail for root, which ignores folder permissions.

#include "TestFiles.h"
#include "io/AtomicFile.h"
#include "io/DataFile.h"
#include "io/SettingsFile.h"
#include "tests/io/FileSizeLimit.h"
#include "tests/support/Portable.h"
#include <cstdint>
#include <gtest/gtest.h>
#include <set>
#include <stdexcept>
#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace morvik {
namespace {

namespace fs = std::filesystem;
using test::Bytes;
using test::FileSizeLimit;
using test::TempDir;

// Names in `dir` other than `keep`: a failed save must not leave its temporary file.
std::vector<std::string> strayFiles(const fs::path& dir, const std::set<std::string>& keep) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        if (keep.count(entry.path().filename().string()) == 0)
            names.push_back(entry.path().filename().string());
    return names;
}

TEST(SaveFailure, TargetsThatCannotBeCreatedReportOpenFailed) {
    TempDir dir;
    fs::create_directory(dir / "folder.stl");
    test::writeBytes(dir / "plain", {1, 2, 3});
    std::vector<fs::path> targets = {dir / "no-such-folder" / "a.stl", dir / "folder.stl",
                                     dir / "plain" / "a.stl", fs::path()};
#ifndef _WIN32 // Windows has no pipes in the file system
    ASSERT_EQ(mkfifo((dir / "pipe.stl").c_str(), 0600), 0);
    targets.push_back(dir / "pipe.stl");
#endif
    const DataSet data = test::sampleDataSet(1);
    for (const fs::path& target : targets) {
        SCOPED_TRACE(target.string());
        EXPECT_EQ(writeDataFile(target, data), WriteResult::OpenFailed);
        EXPECT_FALSE(writeSettingsFile(target, PrintSettings{}));
    }
    EXPECT_TRUE(fs::is_directory(dir / "folder.stl"));
    EXPECT_EQ(fs::is_fifo(dir / "pipe.stl"), !test::kOnWindows);
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
        MORVIK_REQUIRE_FILE_SIZE_LIMIT(limit);
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
    MORVIK_REQUIRE_FILE_SIZE_LIMIT(limit);
    EXPECT_EQ(writeDataFile(dir / "new.stl", set), WriteResult::WriteFailed);
    EXPECT_FALSE(fs::exists(dir / "new.stl"));
    EXPECT_TRUE(strayFiles(dir.path(), {}).empty());
}

TEST(SaveFailure, ReplacingKeepsPermissionsAndLinks) {
    MORVIK_SKIP_ON_WINDOWS("symbolic links need a privilege there, and files have no mode bits");
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

// Writes a data file from `set` member by member, giving up after `giveUpAfter` members.
std::optional<WriteResult> writeMemberByMember(const fs::path& path, const DataSet& set,
                                               std::size_t giveUpAfter = SIZE_MAX) {
    return writeDataFileFrom(path, [&](MemberSink& members) -> std::optional<ProjectInfo> {
        for (std::size_t i = 0; i < set.members.size(); ++i) {
            if (i == giveUpAfter)
                return std::nullopt;
            members.add(set.members[i]);
        }
        return set.project;
    });
}

TEST(SaveFailure, AFileWrittenMemberByMemberIsTheFileOfTheWholeSet) {
    // More members than go to the file at once, and fewer.
    TempDir dir;
    for (const int count : {1, 3000}) {
        const DataSet set = test::sampleDataSet(count);
        EXPECT_EQ(writeMemberByMember(dir / "set.stl", set), WriteResult::Written);
        EXPECT_EQ(test::readBytes(dir / "set.stl"), encodeDataFile(set)) << count;
    }
    EXPECT_TRUE(strayFiles(dir.path(), {"set.stl"}).empty());
}

TEST(SaveFailure, GivingUpOrThrowingHalfWayLeavesTheOldFileAndNoTemporary) {
    TempDir dir;
    const DataSet set = test::sampleDataSet(3000);
    ASSERT_EQ(writeDataFile(dir / "set.stl", test::sampleDataSet(2)), WriteResult::Written);
    const Bytes old = test::readBytes(dir / "set.stl");

    EXPECT_EQ(writeMemberByMember(dir / "set.stl", set, 2500), std::nullopt);
    EXPECT_EQ(writeMemberByMember(dir / "new.stl", set, 0), std::nullopt);
    EXPECT_EQ(replaceFileContentsWith(dir / "set.stl",
                                      [](ContentSink& sink) { return !sink.append("abc", 3); }),
              ReplaceResult::Abandoned);
    EXPECT_THROW(writeDataFileFrom(dir / "set.stl",
                                   [&](MemberSink& members) -> std::optional<ProjectInfo> {
                                       members.add(set.members[0]);
                                       throw std::runtime_error("the source is gone");
                                   }),
                 std::runtime_error);
    EXPECT_EQ(test::readBytes(dir / "set.stl"), old);
    EXPECT_FALSE(fs::exists(dir / "new.stl"));
    EXPECT_TRUE(strayFiles(dir.path(), {"set.stl"}).empty());

    // Running out of room half way is a failed write, not a file cut short.
    FileSizeLimit limit(1000 + 1500 * 768);
    MORVIK_REQUIRE_FILE_SIZE_LIMIT(limit);
    EXPECT_EQ(writeMemberByMember(dir / "set.stl", set), WriteResult::WriteFailed);
    EXPECT_EQ(test::readBytes(dir / "set.stl"), old);
    EXPECT_TRUE(strayFiles(dir.path(), {"set.stl"}).empty());
}

TEST(SaveFailure, DanglingLinksAreWrittenThroughToTheFileTheyName) {
    MORVIK_SKIP_ON_WINDOWS("symbolic links need a privilege there");
    TempDir dir;
    fs::create_directory(dir / "sub");
    fs::create_symlink("missing.stl", dir / "link.stl");
    fs::create_symlink("sub/deeper.stl", dir / "into-sub.stl");
    fs::create_symlink("into-sub.stl", dir / "chain.stl"); // a link to a dangling link
    fs::create_symlink("loop-b", dir / "loop-a");
    fs::create_symlink("loop-a", dir / "loop-b");

    const DataSet set = test::sampleDataSet(2);
    ASSERT_EQ(writeDataFile(dir / "link.stl", set), WriteResult::Written);
    EXPECT_TRUE(fs::is_symlink(dir / "link.stl"));
    EXPECT_EQ(test::readBytes(dir / "missing.stl"), encodeDataFile(set));

    ASSERT_TRUE(writeSettingsFile(dir / "chain.stl", PrintSettings{}));
    EXPECT_TRUE(fs::is_symlink(dir / "chain.stl"));
    EXPECT_TRUE(fs::is_symlink(dir / "into-sub.stl"));
    EXPECT_EQ(test::readBytes(dir / "sub" / "deeper.stl").size(), kSettingsFileSize);

    // A loop of links names no file at all.
    EXPECT_EQ(writeDataFile(dir / "loop-a", set), WriteResult::OpenFailed);
    EXPECT_TRUE(fs::is_symlink(dir / "loop-a"));
    EXPECT_TRUE(strayFiles(dir.path(), {"link.stl", "missing.stl", "into-sub.stl", "chain.stl",
                                        "loop-a", "loop-b", "sub"})
                    .empty());
}

// A process id that no longer runs: a child that has ended and been waited for.
long long endedProcess() {
#ifdef _WIN32
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    wchar_t command[] = L"cmd.exe /c exit 0";
    if (!CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &child))
        throw std::runtime_error("cannot start cmd.exe");
    WaitForSingleObject(child.hProcess, INFINITE);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess); // the last handle: the id is free
    return child.dwProcessId;
#else
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    int status = 0;
    waitpid(child, &status, 0);
    return child;
#endif
}

TEST(SaveFailure, TemporariesOfKilledSavesAreRemovedOnTheNextSaveThere) {
    TempDir dir;
    const std::string dead = std::to_string(endedProcess());
    const std::string alive = std::to_string(test::currentProcessId());
    const std::string deadTemp = ".morvik-save-" + dead + "-0-0";
    const std::string deadTemp2 = ".morvik-save-" + dead + "-7-1";
    const std::string liveTemp = ".morvik-save-" + alive + "-99-0"; // a save in progress
    const std::string foreign = ".morvik-save-notes";
    const std::string deadFolder = ".morvik-save-" + dead + "-3-0";
    for (const std::string& name : {deadTemp, deadTemp2, liveTemp, foreign})
        test::writeBytes(dir / name, Bytes(4096, 0x33));
    fs::create_directory(dir / deadFolder);
    TempDir elsewhere;
    test::writeBytes(elsewhere / deadTemp, {1});

    ASSERT_TRUE(writeSettingsFile(dir / "default.ini", PrintSettings{}));
    EXPECT_FALSE(fs::exists(dir / deadTemp));
    EXPECT_FALSE(fs::exists(dir / deadTemp2));
    EXPECT_TRUE(fs::exists(dir / liveTemp));
    EXPECT_TRUE(fs::exists(dir / foreign));
    EXPECT_TRUE(fs::is_directory(dir / deadFolder));
    EXPECT_TRUE(fs::exists(elsewhere / deadTemp)); // only the folder saved into is tidied

    // A save that fails cleans up as well, and still leaves the old file alone.
    test::writeBytes(dir / deadTemp, Bytes(10, 0));
    {
        FileSizeLimit limit(100);
        MORVIK_REQUIRE_FILE_SIZE_LIMIT(limit);
        EXPECT_EQ(writeDataFile(dir / "default.ini", test::sampleDataSet(1)),
                  WriteResult::WriteFailed);
    }
    EXPECT_FALSE(fs::exists(dir / deadTemp));
    EXPECT_EQ(test::readBytes(dir / "default.ini").size(), kSettingsFileSize);
}

// Runs `body` in a child process as an unprivileged user (nobody when the suite runs as
// root, who may write any file) and returns its exit status, or -1 when the child could
// not become unprivileged or died. `owned` is handed to that user first.
int runUnprivileged(const fs::path& owned, int (*body)(const fs::path&)) {
#ifdef _WIN32
    return body(owned); // the read-only attribute holds for every user
#else
    const uid_t kNobody = test::kNobodyId;
    if (geteuid() == 0 && chown(owned.c_str(), kNobody, kNobody) != 0)
        return -1;
    const pid_t child = fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        if (geteuid() == 0 &&
            (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0))
            _exit(100);
        if (geteuid() == 0 || getuid() == 0)
            _exit(100);
        _exit(body(owned));
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) == 100)
        return -1;
    return WEXITSTATUS(status);
#endif
}

// Exit codes say which check failed; 0 is success.
int refuseReadOnlyTargets(const fs::path& dir) {
    const DataSet oldSet = test::sampleDataSet(1);
    if (writeDataFile(dir / "day.stl", oldSet) != WriteResult::Written ||
        !writeSettingsFile(dir / "default.ini", PrintSettings{}))
        return 1;
    const Bytes oldData = test::readBytes(dir / "day.stl");
    const Bytes oldSettings = test::readBytes(dir / "default.ini");
    fs::permissions(dir / "day.stl",
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(dir / "default.ini", fs::perms::owner_read);
    // The precondition: this user really may not write them.
#ifdef _WIN32
    if (_waccess((dir / "day.stl").c_str(), 2) == 0)
#else
    if (access((dir / "day.stl").c_str(), W_OK) == 0)
#endif
        return 2;
    if (writeDataFile(dir / "day.stl", test::sampleDataSet(3)) != WriteResult::OpenFailed)
        return 3;
    PrintSettings changed{};
    changed.printHeader = 1;
    if (writeSettingsFile(dir / "default.ini", changed))
        return 4;
    if (test::readBytes(dir / "day.stl") != oldData ||
        test::readBytes(dir / "default.ini") != oldSettings)
        return 5;
    // Through a link the file it names decides (Windows: links need a privilege).
    if (!test::kOnWindows) {
        fs::create_symlink("day.stl", dir / "link.stl");
        if (writeDataFile(dir / "link.stl", test::sampleDataSet(2)) != WriteResult::OpenFailed)
            return 6;
    }
    if (strayFiles(dir, {"day.stl", "default.ini", "link.stl"}).size() != 0)
        return 7;
    // Writable again, it is replaced and keeps its bits.
    fs::permissions(dir / "day.stl", fs::perms::owner_write, fs::perm_options::add);
    if (writeDataFile(dir / "day.stl", test::sampleDataSet(2)) != WriteResult::Written)
        return 8;
    if (test::kOnWindows)
        return (fs::status(dir / "day.stl").permissions() & fs::perms::owner_write) !=
                       fs::perms::none
                   ? 0
                   : 9;
    const fs::perms expected = fs::perms::owner_read | fs::perms::owner_write |
                               fs::perms::group_read | fs::perms::others_read;
    return (fs::status(dir / "day.stl").permissions() & fs::perms::all) == expected ? 0 : 9;
}

TEST(SaveAsUnprivilegedUser, ReadOnlyTargetsAreRefusedNeedsUnprivilegedUser) {
    TempDir dir;
    EXPECT_EQ(runUnprivileged(dir.path(), refuseReadOnlyTargets), 0)
        << "-1: could not run as an unprivileged user; 1: first save failed; 2: the user "
           "may still write a read-only file; 3, 4: a read-only file was replaced; 5: its "
           "bytes changed; 6: through a link; 7: a temporary file was left; 8, 9: a writable "
           "file was not replaced with its bits";
}

} // namespace
} // namespace morvik
