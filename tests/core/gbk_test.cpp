#include "core/GbkText.h"
#include "core/Records.h"

#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <optional>
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
    EXPECT_EQ(fieldToText(bad, sizeof bad), "A\xEF\xBF\xBD"
                                            "B\xEF\xBF\xBD");
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

// The conversions differ by platform (iconv here, code page 936 of the system on Windows);
// both must give the same bytes for every input. The digests below are those of the iconv
// path: every single byte and every lead-trail pair decoded, and every character of the
// Basic Multilingual Plane (and one beyond it) encoded.
namespace {

constexpr std::uint64_t kFnvOffset = 14695981039346656037ull;
constexpr std::uint64_t kFnvPrime = 1099511628211ull;

void digest(std::uint64_t& hash, const std::string& bytes) {
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= kFnvPrime;
    }
    hash ^= 0xFF; // ends each result, so that concatenations cannot collide
    hash *= kFnvPrime;
}

std::string utf8Of(char32_t c) {
    std::string s;
    if (c < 0x80) {
        s += static_cast<char>(c);
    } else if (c < 0x800) {
        s += static_cast<char>(0xC0 | (c >> 6));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        s += static_cast<char>(0xE0 | (c >> 12));
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        s += static_cast<char>(0xF0 | (c >> 18));
        s += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    }
    return s;
}

} // namespace

TEST(GbkText, EveryByteAndPairDecodesAsOnEveryPlatform) {
    std::uint64_t hash = kFnvOffset;
    for (int b = 1; b < 0x100; ++b)
        digest(hash, gbkToUtf8(std::string(1, static_cast<char>(b)) + "x"));
    for (int lead = 0x80; lead < 0x100; ++lead)
        for (int trail = 0x30; trail < 0x100; ++trail)
            digest(hash, gbkToUtf8({static_cast<char>(lead), static_cast<char>(trail)}));
    EXPECT_EQ(hash, 8503375744930570693ull);
}

TEST(GbkText, EveryCharacterEncodesAsOnEveryPlatform) {
    std::uint64_t hash = kFnvOffset;
    std::uint64_t exactHash = kFnvOffset;
    for (char32_t c = 1; c < 0x10000; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF)
            continue; // no character
        const std::string text = utf8Of(c) + "x";
        digest(hash, utf8ToGbk(text));
        digest(exactHash, utf8ToGbkExactly(text).value_or("none"));
    }
    EXPECT_EQ(hash, 71380045532007784ull);
    EXPECT_EQ(exactHash, 15957963765719583110ull);
}

TEST(GbkText, BadSequencesArePassedOverAsOnEveryPlatform) {
    // One '?' for a character outside GBK, not one per half of its surrogate pair.
    EXPECT_EQ(utf8ToGbk("a😀b"), "a?b");
    EXPECT_EQ(utf8ToGbkExactly("a😀b"), std::nullopt);
    // A cut sequence swallows what follows it up to its declared length.
    EXPECT_EQ(utf8ToGbk("\xE5\xA2z1"), "?1");
    EXPECT_EQ(utf8ToGbk("ab\xE5\xA2"), "ab?");
    // A surrogate written out in UTF-8 and an overlong form are not characters.
    EXPECT_EQ(utf8ToGbk("\xED\xA0\x80|\xC0\xAF|"), "?|??|");
    // The private use area has no GBK form, and the user-defined codes decode to nothing.
    EXPECT_EQ(utf8ToGbk("\xEE\x80\x80"), "?");
    EXPECT_EQ(gbkToUtf8("\xAA\xA1"), "\xEF\xBF\xBD\xEF\xBF\xBD");
}
