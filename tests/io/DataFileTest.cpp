// The record layout: byte image, round trip, version and count checks.

#include "io/DataFile.h"
#include "TestFiles.h"
#include "core/Evaluation.h"
#include "core/RecordFields.h"
#include "tests/support/Portable.h"
#include <climits>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <limits>
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace morvik {
namespace {

using test::Bytes;
using test::TempDir;

bool sameBytes(const void* a, const void* b, std::size_t n) {
    return std::memcmp(a, b, n) == 0;
}

// A data set that must come through a refused read untouched.
DataSet untouchedSet() {
    DataSet data = test::sampleDataSet(2);
    data.members[1].strength = 123.0f;
    return data;
}

void expectSameDataSet(const DataSet& a, const DataSet& b) {
    EXPECT_TRUE(sameBytes(&a.project, &b.project, sizeof a.project));
    ASSERT_EQ(a.members.size(), b.members.size());
    for (std::size_t i = 0; i < a.members.size(); ++i)
        EXPECT_TRUE(sameBytes(&a.members[i], &b.members[i], sizeof a.members[i])) << "member " << i;
}

Bytes header(std::int32_t magic, std::int16_t version, std::int32_t count) {
    Bytes bytes(kDataFileHeaderSize, 0);
    std::memcpy(bytes.data(), &magic, 4);
    std::memcpy(bytes.data() + 4, &version, 2);
    std::memcpy(bytes.data() + 6, &count, 4);
    return bytes;
}

TEST(DataFile, OneEmptyMemberIs1768BytesWithTheDocumentedImage) {
    TempDir dir;
    DataSet data;
    data.members.push_back(newMemberRecord(1));
    evaluateMember(data.members[0], data.project.mortarCode);
    ASSERT_EQ(writeDataFile(dir / "one.stl", data), WriteResult::Written);

    const Bytes file = test::readBytes(dir / "one.stl");
    ASSERT_EQ(file.size(), 1768u);
    const Bytes head = {0x58, 0x18, 0x00, 0x00, 0x64, 0x00, 0x01, 0x00, 0x00, 0x00};
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 10), head);
    for (std::size_t i = 10; i < 100; ++i)
        ASSERT_EQ(file[i], 0) << "offset " << i;
    for (std::size_t i = 524; i < 1000; ++i)
        ASSERT_EQ(file[i], 0) << "offset " << i;
    EXPECT_TRUE(sameBytes(file.data() + 100, &data.project, sizeof(ProjectInfo)));
    EXPECT_TRUE(sameBytes(file.data() + 1000, &data.members[0], 768));
    // unevenness, gauge readings, depths and the three results: all the no-value marker
    const Bytes missing = {0x00, 0x00, 0xC8, 0xC4};
    for (std::size_t offset = 1000 + 56; offset < 1000 + 260; offset += 4)
        ASSERT_EQ(Bytes(file.begin() + offset, file.begin() + offset + 4), missing) << offset;
    EXPECT_EQ(file, encodeDataFile(data));
}

// The one table of fields says where each field lies in the stored file: a field filled
// with a mark shows up there, at its size, and nowhere else of its record.
TEST(DataFile, EveryFieldOfTheTablesLiesWhereTheFileStoresIt) {
    constexpr unsigned char kMark = 0x5A;
    auto check = [&](const RecordField& field, bool member) {
        SCOPED_TRACE(std::string(field.name));
        DataSet data;
        data.members.resize(1);
        std::memset(&data.project, 0, sizeof data.project);
        std::memset(data.members.data(), 0, sizeof data.members[0]);
        void* record = member ? static_cast<void*>(data.members.data()) : &data.project;
        std::memset(fieldBytes(record, field), kMark, field.size);
        const std::vector<std::uint8_t> image = encodeDataFile(data);
        const std::size_t base = member ? kDataFileHeaderSize : kProjectInfoOffset;
        const std::size_t length = member ? sizeof data.members[0] : sizeof data.project;
        ASSERT_LE(base + length, image.size());
        std::size_t marked = 0;
        for (std::size_t i = 0; i < length; ++i) {
            if (image[base + i] != kMark)
                continue;
            ++marked;
            EXPECT_GE(i, field.offset);
            EXPECT_LT(i, field.offset + field.size);
        }
        EXPECT_EQ(marked, field.size);
        // A text field's edit holds its characters in GBK, two bytes each, and the terminator.
        if (field.kind == FieldKind::Text && field.characters > 0) {
            EXPECT_LE(2 * std::size_t(field.characters) + 1, field.size);
        }
    };
    for (const RecordField& f : kProjectFields)
        check(f, false);
    for (const RecordField& f : kMemberFields)
        check(f, true);
}

TEST(DataFile, RoundTripKeepsEveryByteButRecomputesResults) {
    TempDir dir;
    DataSet written = test::sampleDataSet(5);
    DataSet expected = written;
    // Stored results are never trusted: the reader evaluates the readings again.
    written.members[2].strength = 99.0f;
    written.members[3].meanDepth = kMissing;
    written.members[4].memberEstimate = -5.0f;
    ASSERT_EQ(writeDataFile(dir / "set.stl", written), WriteResult::Written);

    DataSet read;
    DataFileLayout layout = DataFileLayout::Legacy;
    ASSERT_EQ(readDataFile(dir / "set.stl", read, &layout), ReadResult::Loaded);
    EXPECT_EQ(layout, DataFileLayout::Record);
    expectSameDataSet(read, expected);
    EXPECT_EQ(read.members[1].reserved1[3], 2);
    EXPECT_EQ(read.members[1].reserved2[200], 0x5A);
}

TEST(DataFile, ResultsAreRecomputedWithTheMortarCodeOfTheFile) {
    DataSet data;
    data.project.mortarCode = 0x01;
    data.members.push_back(test::memberWithDepths(1, std::vector<float>(16, 5.0f)));
    evaluateMember(data.members[0], 0x01);
    ASSERT_FLOAT_EQ(data.members[0].memberEstimate, 4.55f);

    // The file says plastering mortar: the estimate equals the strength there.
    data.project.mortarCode = 0x10;
    DataSet read;
    const Bytes image = encodeDataFile(data);
    ASSERT_EQ(readDataFileBytes(image.data(), image.size(), read), ReadResult::Loaded);
    ShaJiang_GouJian_Struct expected = data.members[0];
    evaluateMember(expected, 0x10);
    EXPECT_EQ(read.members[0].strength, expected.strength);
    EXPECT_EQ(read.members[0].memberEstimate, read.members[0].strength);

    // A kind without a table keeps the stored strength results.
    data.project.mortarCode = 0x35;
    data.members[0].strength = 12.5f;
    data.members[0].memberEstimate = 11.0f;
    data.members[0].meanDepth = 1.0f;
    const Bytes other = encodeDataFile(data);
    ASSERT_EQ(readDataFileBytes(other.data(), other.size(), read), ReadResult::Loaded);
    EXPECT_EQ(read.project.mortarCode, 0x35);
    EXPECT_EQ(read.members[0].strength, 12.5f);
    EXPECT_EQ(read.members[0].memberEstimate, 11.0f);
    EXPECT_FLOAT_EQ(read.members[0].meanDepth, 5.0f);
}

TEST(DataFile, OtherVersionsLeaveTheDataSetUntouched) {
    for (const std::int16_t version : {std::int16_t{0}, std::int16_t{99}, std::int16_t{101},
                                       std::int16_t{-100}, std::int16_t{0x6400}}) {
        SCOPED_TRACE(version);
        Bytes image = header(kDataFileMagic, version, 1);
        image.resize(kDataFileHeaderSize + 768, 0);
        DataSet data = untouchedSet();
        EXPECT_EQ(readDataFileBytes(image.data(), image.size(), data),
                  ReadResult::UnsupportedVersion);
        expectSameDataSet(data, untouchedSet());
    }
    // The magic alone: the version is missing, so it is not 100 either.
    const Bytes magicOnly = test::bytesOf(kDataFileMagic);
    DataSet data = untouchedSet();
    EXPECT_EQ(readDataFileBytes(magicOnly.data(), magicOnly.size(), data),
              ReadResult::UnsupportedVersion);
    expectSameDataSet(data, untouchedSet());
}

struct CountCase {
    const char* name;
    std::int32_t count;
    std::size_t recordBytes; // bytes after offset 1000
    ReadResult expected;
};

TEST(DataFile, MemberCountMustFitTheFile) {
    const CountCase cases[] = {
        {"zero", 0, 768, ReadResult::Refused},
        {"negative", -1, 768, ReadResult::Refused},
        {"most negative", INT32_MIN, 768, ReadResult::Refused},
        {"one more than held", 2, 768, ReadResult::Refused},
        {"header only", 1, 0, ReadResult::Refused},
        {"cut inside the header", 1, 0, ReadResult::Refused},
        {"huge", INT32_MAX, 768 * 3, ReadResult::Refused},
        {"exact", 3, 768 * 3, ReadResult::Loaded},
        {"cut inside the last record", 2, 768 + 1, ReadResult::Refused},
        {"cut one byte short", 2, 768 * 2 - 1, ReadResult::Refused},
        {"fewer than held", 1, 768 * 2, ReadResult::Loaded},
        {"bytes after the last record", 2, 768 * 2 + 100, ReadResult::Loaded},
    };
    for (const CountCase& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes image = header(kDataFileMagic, kDataFileVersion, c.count);
        image.resize(kDataFileHeaderSize + c.recordBytes, 0);
        if (std::string(c.name) == "cut inside the header")
            image.resize(600);
        test::exportSeed("data", image);
        DataSet data = untouchedSet();
        ASSERT_EQ(readDataFileBytes(image.data(), image.size(), data), c.expected);
        if (c.expected == ReadResult::Loaded)
            EXPECT_EQ(data.members.size(), static_cast<std::size_t>(c.count));
        else
            expectSameDataSet(data, untouchedSet());
    }
}

TEST(DataFile, AFileCutInsideItsLastRecordIsRefused) {
    // Zeros where the readings were would count as present readings and give the last
    // member a plausible, wrong strength; the file is damaged instead.
    const DataSet sample = test::sampleDataSet(2);
    Bytes image = encodeDataFile(sample);
    image.resize(kDataFileHeaderSize + 768 + 60); // the second record keeps 60 bytes
    DataSet data = untouchedSet();
    EXPECT_EQ(readDataFileBytes(image.data(), image.size(), data), ReadResult::Refused);
    expectSameDataSet(data, untouchedSet());

    // Bytes after the last whole record are ignored.
    Bytes longer = encodeDataFile(sample);
    longer.insert(longer.end(), 767, 0xEE);
    DataSet read;
    ASSERT_EQ(readDataFileBytes(longer.data(), longer.size(), read), ReadResult::Loaded);
    ASSERT_EQ(read.members.size(), 2u);
    EXPECT_STREQ(read.members[1].memberName, "G002");
}

TEST(DataFile, FileThatCannotBeOpenedChangesNothing) {
    TempDir dir;
    for (const auto& path : {dir / "missing.stl", dir.path()}) {
        DataSet data = untouchedSet();
        EXPECT_EQ(readDataFile(path, data), ReadResult::OpenFailed) << path;
        expectSameDataSet(data, untouchedSet());
    }
}

TEST(DataFile, FileAndMemoryReadersAgree) {
    TempDir dir;
    const DataSet sample = test::sampleDataSet(3);
    Bytes image = encodeDataFile(sample);
    image.resize(image.size() + 500, 0x11);
    test::writeBytes(dir / "long.stl", image);
    DataSet fromFile;
    DataSet fromMemory;
    ASSERT_EQ(readDataFile(dir / "long.stl", fromFile), ReadResult::Loaded);
    ASSERT_EQ(readDataFileBytes(image.data(), image.size(), fromMemory), ReadResult::Loaded);
    expectSameDataSet(fromFile, fromMemory);

    image.resize(image.size() - 1000);
    test::writeBytes(dir / "cut.stl", image);
    EXPECT_EQ(readDataFile(dir / "cut.stl", fromFile), ReadResult::Refused);
    EXPECT_EQ(readDataFileBytes(image.data(), image.size(), fromMemory), ReadResult::Refused);
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif

#ifndef _WIN32
// Virtual memory the calling process has mapped, from /proc/self/status.
std::uint64_t mappedBytes() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmSize:") {
            std::uint64_t kilobytes = 0;
            status >> kilobytes;
            return kilobytes * 1024;
        }
        status.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
    }
    return 0;
}
#endif

TEST(DataFile, MoreMembersThanMemoryHoldsRefuseTheFileInsteadOfCrashing) {
    if (kAddressSanitizer)
        GTEST_SKIP() << "the address sanitizer's allocator ends the process on exhaustion "
                        "instead of throwing; the plain build runs this case";
    MORVIK_SKIP_ON_WINDOWS("needs fork and a memory limit for the child (setrlimit)");
#ifndef _WIN32
    // A sparse file: it claims INT32_MAX members and is long enough for them (1.6 TB),
    // yet occupies a few kilobytes on disk.
    TempDir dir;
    const auto path = dir / "sparse.stl";
    test::writeBytes(path, header(kDataFileMagic, kDataFileVersion, INT32_MAX));
    std::filesystem::resize_file(path, kDataFileHeaderSize + 768ull * INT32_MAX);

    // In a child whose memory is limited to what it has plus 256 MB, so that memory runs
    // out after a few hundred thousand members instead of after the whole machine's.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        rlimit limit{};
        limit.rlim_cur = limit.rlim_max = mappedBytes() + (256u << 20);
        if (setrlimit(RLIMIT_AS, &limit) != 0)
            _exit(3);
        DataSet data = test::sampleDataSet(1);
        const ReadResult result = readDataFile(path, data);
        _exit(result == ReadResult::Refused && data.members.size() == 1 ? 0 : 4);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the reader died of signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "3: no limit could be set, 4: not refused";
#endif
}

} // namespace
} // namespace morvik
