// The settings file: its 148-byte image and how short or foreign files are taken.

#include "io/SettingsFile.h"
#include "TestFiles.h"
#include "core/GbkText.h"
#include <cstring>
#include <gtest/gtest.h>

namespace morvik {
namespace {

using test::Bytes;
using test::TempDir;

// Settings whose every byte is known and nonzero, to see which bytes a read replaced.
PrintSettings patterned() {
    PrintSettings s;
    std::memset(&s, 0xA5, sizeof s);
    return s;
}

Bytes bytesOf(const PrintSettings& s) {
    return test::bytesOf(s);
}

PrintSettings defaults() {
    PrintSettings s{};
    s.pageNumberFormat = 3;
    s.pageNumberPosition = 1;
    s.printHeader = 1;
    textToField("砂浆抗压强度贯入检测纪录表", s.headerText);
    s.printFooter = 0;
    textToField("砂浆抗压强度贯入检测纪录表", s.footerText);
    s.printPageNumber = 1;
    return s;
}

std::int32_t int32At(const Bytes& b, std::size_t offset) {
    std::int32_t v;
    std::memcpy(&v, b.data() + offset, sizeof v);
    return v;
}

TEST(SettingsFile, SettingsAtStartWriteMagicAndZeros) {
    TempDir dir;
    ASSERT_TRUE(writeSettingsFile(settingsFilePath(dir.path()), PrintSettings{}));
    const Bytes file = test::readBytes(dir / "default.ini");
    Bytes expected = {0x58, 0x18, 0x00, 0x00};
    expected.resize(148, 0);
    EXPECT_EQ(file, expected);
}

TEST(SettingsFile, DefaultsLandAtTheirOffsets) {
    TempDir dir;
    ASSERT_TRUE(writeSettingsFile(dir / "default.ini", defaults()));
    const Bytes file = test::readBytes(dir / "default.ini");
    ASSERT_EQ(file.size(), 148u);
    EXPECT_EQ(file[4], 3);
    EXPECT_EQ(file[5], 1);
    EXPECT_EQ(int32At(file, 8), 1);
    EXPECT_EQ(int32At(file, 76), 0);
    EXPECT_EQ(int32At(file, 144), 1);
    const std::string title = utf8ToGbk("砂浆抗压强度贯入检测纪录表");
    ASSERT_EQ(title.size(), 26u);
    for (const std::size_t offset : {std::size_t{12}, std::size_t{80}}) {
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(file.data()) + offset, title.size()),
                  title);
        EXPECT_EQ(file[offset + title.size()], 0);
    }
}

TEST(SettingsFile, ReadBackGivesEveryByte) {
    TempDir dir;
    PrintSettings written = defaults();
    written.reserved[0] = 7; // carried through, never interpreted
    written.headerText[60] = 'q';
    ASSERT_TRUE(writeSettingsFile(dir / "default.ini", written));
    PrintSettings read = patterned();
    readSettingsFile(dir / "default.ini", read);
    EXPECT_EQ(bytesOf(read), bytesOf(written));
}

TEST(SettingsFile, FilesThatChangeNothing) {
    TempDir dir;
    Bytes otherMagic = test::bytesOf(std::int32_t{6233});
    const Bytes full = test::bytesOf(defaults());
    otherMagic.insert(otherMagic.end(), full.begin(), full.end());
    const struct {
        const char* name;
        Bytes image;
        SettingsReadResult result;
    } cases[] = {
        {"magic only", test::bytesOf(kSettingsMagic), SettingsReadResult::Read},
        {"empty", {}, SettingsReadResult::NotSettings},
        {"half a magic", {0x58, 0x18}, SettingsReadResult::NotSettings},
        {"another magic", otherMagic, SettingsReadResult::NotSettings},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::writeBytes(dir / "default.ini", c.image);
        PrintSettings s = patterned();
        EXPECT_EQ(readSettingsFile(dir / "default.ini", s), c.result);
        EXPECT_EQ(bytesOf(s), bytesOf(patterned()));
    }
    PrintSettings s = patterned();
    EXPECT_EQ(readSettingsFile(dir / "absent.ini", s), SettingsReadResult::OpenFailed);
    EXPECT_EQ(readSettingsFile(dir.path(), s), SettingsReadResult::OpenFailed); // a folder
    EXPECT_EQ(bytesOf(s), bytesOf(patterned()));
}

TEST(SettingsFile, ShortFileReplacesOnlyTheBytesItHolds) {
    TempDir dir;
    Bytes image = test::bytesOf(kSettingsMagic);
    const Bytes full = test::bytesOf(defaults());
    image.insert(image.end(), full.begin(), full.begin() + 10); // up to byte 3 of headerText
    test::writeBytes(dir / "default.ini", image);

    PrintSettings s = patterned();
    EXPECT_EQ(readSettingsFile(dir / "default.ini", s), SettingsReadResult::Read);
    Bytes expected = bytesOf(patterned());
    std::copy(full.begin(), full.begin() + 10, expected.begin());
    EXPECT_EQ(bytesOf(s), expected);
}

TEST(SettingsFile, FileAndMemoryReadersAgree) {
    Bytes image = test::bytesOf(kSettingsMagic);
    const Bytes full = test::bytesOf(defaults());
    image.insert(image.end(), full.begin(), full.end());
    image.push_back(0xEE); // bytes after the record are ignored
    test::exportSeed("settings", image);
    PrintSettings fromMemory = patterned();
    readSettingsBytes(image.data(), image.size(), fromMemory);
    EXPECT_EQ(bytesOf(fromMemory), full);
}

TEST(SettingsFile, PathIsBesideTheProgram) {
    EXPECT_EQ(settingsFilePath("/opt/morvik/bin"),
              std::filesystem::path("/opt/morvik/bin/default.ini"));
}

} // namespace
} // namespace morvik
