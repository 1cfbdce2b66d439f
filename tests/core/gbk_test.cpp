#include "core/GbkText.h"
#include "core/Records.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>

using namespace morvik;

namespace {

std::string repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

std::size_t storedLength(const char* field, std::size_t width) {
    return strnlen(field, width);
}

} // namespace

TEST(GbkText, NineteenChineseCharactersFitTheMemberNumber) {
    ShaJiang_GouJian_Struct r{};
    const std::string name = repeat("墙", 19);
    textToField(name, r.memberName);
    EXPECT_EQ(storedLength(r.memberName, 40), 38u);
    EXPECT_EQ(fieldToText(r.memberName), name);
}

TEST(GbkText, TwentyCharactersAreCutToNineteenWithTheTerminatorKept) {
    ShaJiang_GouJian_Struct r{};
    std::memset(r.memberName, 'x', sizeof r.memberName);
    textToField(repeat("墙", 20), r.memberName);
    EXPECT_EQ(storedLength(r.memberName, 40), 38u);
    EXPECT_EQ(fieldToText(r.memberName), repeat("墙", 19));
    // The field is cleared first: nothing of the old contents survives.
    for (std::size_t i = 38; i < 40; ++i)
        EXPECT_EQ(r.memberName[i], '\0');
}

TEST(GbkText, CutNeverSplitsADoubleByteCharacter) {
    char field[8];
    textToField("ab墙墙墙", field, sizeof field); // 2 + 6 bytes, room for 7
    EXPECT_EQ(std::string(field), std::string("ab\xC7\xBD\xC7\xBD"));
    EXPECT_EQ(fieldToText(field, sizeof field), "ab墙墙");
}

TEST(GbkText, StoresGbkBytes) {
    char field[16];
    textToField("砂浆A1", field, sizeof field);
    EXPECT_EQ(std::string(field), std::string("\xC9\xB0\xBD\xAC"
                                              "A1"));
}

TEST(GbkText, UnmappableAndInvalidInputNeverCrashes) {
    char field[16];
    textToField("a\xFF\xFE"
                "b",
                field, sizeof field); // invalid UTF-8
    EXPECT_EQ(std::string(field), "a??b");
    textToField("😀x", field, sizeof field); // no GBK form
    EXPECT_EQ(std::string(field), "?x");
    textToField("abc", field, 0); // nothing to write into
}

TEST(GbkText, InvalidGbkBytesBecomeReplacementCharacters) {
    // 0xFF is never a GBK byte; 0xC7 at the end lacks its second byte.
    const char bad[] = {'A', '\xFF', 'B', '\xC7', '\0'};
    EXPECT_EQ(fieldToText(bad, sizeof bad), "A\xEF\xBF\xBD" "B\xEF\xBF\xBD");
    // 0x80 is the euro sign in code page 936.
    const char euro[] = {'\x80', '\0'};
    EXPECT_EQ(fieldToText(euro, sizeof euro), "€");
}

TEST(GbkText, FieldWithoutTerminatorIsReadToItsWidth) {
    const char full[4] = {'G', '0', '0', '1'};
    EXPECT_EQ(fieldToText(full, sizeof full), "G001");
    const char stops[6] = {'G', '1', '\0', 'x', 'y', 'z'};
    EXPECT_EQ(fieldToText(stops, sizeof stops), "G1");
}
