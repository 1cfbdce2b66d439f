// Storing a text from outside in a GBK field: whole, or not at all and saying why.

#include "core/GbkText.h"
#include <cstring>
#include <gtest/gtest.h>

namespace morvik {
namespace {

std::string repeat(const std::string& text, int times) {
    std::string all;
    for (int i = 0; i < times; ++i)
        all += text;
    return all;
}

TEST(CheckedGbkText, StoresWholeTextsOrClearsTheField) {
    const struct {
        const char* name;
        std::string text;
        FieldTextResult result;
        std::string gbk; // the field's text when stored
    } cases[] = {
        {"ASCII", "G001", FieldTextResult::Stored, "G001"},
        {"Chinese", "墙体", FieldTextResult::Stored, "\xC7\xBD\xCC\xE5"},
        {"empty", "", FieldTextResult::Stored, ""},
        {"19 Chinese in 40", repeat("墙", 19), FieldTextResult::Stored, repeat("\xC7\xBD", 19)},
        {"39 ASCII in 40", std::string(39, 'a'), FieldTextResult::Stored, std::string(39, 'a')},
        {"20 Chinese in 40", repeat("墙", 20), FieldTextResult::TooLong, ""},
        {"40 ASCII in 40", std::string(40, 'a'), FieldTextResult::TooLong, ""},
        {"a character only cut would fit", std::string(38, 'a') + "墙", FieldTextResult::TooLong,
         ""},
        {"emoji", "墙\xF0\x9F\x98\x80", FieldTextResult::NotEncodable, ""},
        {"NUL", std::string("ab\0cd", 5), FieldTextResult::NotEncodable, ""},
        {"invalid UTF-8", "a\xFF", FieldTextResult::NotEncodable, ""},
        {"cut UTF-8", "a\xE5\xA2", FieldTextResult::NotEncodable, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        char field[40];
        std::memset(field, 'Z', sizeof field);
        EXPECT_EQ(textToFieldChecked(c.text, field), c.result);
        EXPECT_EQ(std::string(field, strnlen(field, sizeof field)), c.gbk);
        for (std::size_t i = c.gbk.size(); i < sizeof field; ++i)
            ASSERT_EQ(field[i], 0) << "byte " << i;
    }
}

TEST(CheckedGbkText, EdgeWidthsAndTheOldFunctionUnchanged) {
    char one[1] = {'Z'};
    EXPECT_EQ(textToFieldChecked("", one), FieldTextResult::Stored);
    EXPECT_EQ(one[0], 0);
    EXPECT_EQ(textToFieldChecked("a", one), FieldTextResult::TooLong);
    char none = 'Z';
    EXPECT_EQ(textToFieldChecked("", &none, 0), FieldTextResult::TooLong);
    EXPECT_EQ(none, 'Z');
    // The program's own storing still cuts at a character boundary and marks with '?'.
    char field[40];
    textToField(repeat("墙", 20), field);
    EXPECT_EQ(std::strlen(field), 38u);
    textToField("墙\xF0\x9F\x98\x80", field);
    EXPECT_STREQ(field, "\xC7\xBD?");
}

} // namespace
} // namespace morvik
