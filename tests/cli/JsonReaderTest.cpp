// The JSON reader behind make: the grammar of RFC 8259, strings decoded exactly, and
// numbers read the same under every locale.

#include "cli/JsonReader.h"
#include "../io/CommaLocale.h"
#include "cli/DataSetJson.h"
#include <gtest/gtest.h>

namespace morvik {
namespace {

bool isJson(const std::string& text) {
    try {
        cli::JsonReader reader(text);
        reader.skipValue();
        reader.expectEnd();
        return true;
    } catch (const cli::JsonSyntaxError&) {
        return false;
    }
}

TEST(JsonReader, AcceptsJsonAndNothingElse) {
    const struct {
        std::string text;
        bool json;
    } cases[] = {
        {"{}", true},
        {"[]", true},
        {" \t\r\n[ 1 , -0.5e+3 , 2E-2, true , false , null ] ", true},
        {R"({"a":{"b":[{}, [], "x"]},"c":0})", true},
        {R"("\\\"\/\b\f\n\r\t\u00e9\ud83d\ude00")", true},
        {"\"墙\"", true},
        {"", false},
        {"   ", false},
        {"[1,]", false},
        {"[,1]", false},
        {"[1 2]", false},
        {"{\"a\":1,}", false},
        {"{\"a\" 1}", false},
        {"{1:2}", false},
        {"{\"a\":}", false},
        {"[1", false},
        {"{", false},
        {"01", false},
        {"1.", false},
        {".5", false},
        {"-", false},
        {"1e", false},
        {"+1", false},
        {"nul", false},
        {"tru", false},
        {"'a'", false},
        {"[1]x", false},
        {"\"a", false},
        {"\"\x01\"", false},
        {R"("\x")", false},
        {R"("\u12")", false},
        {R"("\ud800")", false},
        {R"("\udc00")", false},
        {R"("\ud800\u0041")", false},
        {"\"\xff\"", false},
        {"\"\xC0\x80\"", false},     // an overlong NUL
        {"\"\xED\xA0\x80\"", false}, // a surrogate in UTF-8
        {"\"\xE5\xA2\"", false},     // a sequence cut short
        {std::string(600, '['), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isJson(c.text), c.json) << '"' << c.text.substr(0, 40) << '"';
    // Deep but allowed nesting.
    EXPECT_TRUE(isJson(std::string(400, '[') + std::string(400, ']')));
}

TEST(JsonReader, DecodesStringsExactly) {
    cli::JsonReader reader(R"(["a\"b\\c\/d\n", "\u00e9\u4e2d", "\ud83d\ude00", "墙体"])");
    reader.beginArray();
    std::vector<std::string> texts;
    bool first = true;
    while (reader.more(']', first)) {
        texts.emplace_back();
        reader.string(texts.back());
    }
    reader.expectEnd();
    EXPECT_EQ(texts, (std::vector<std::string>{"a\"b\\c/d\n", "é中", "\xF0\x9F\x98\x80", "墙体"}));
}

TEST(JsonReader, NumbersAreTheirTextAndWhetherTheyAreWhole) {
    cli::JsonReader reader("[18, -3, 5.25, 1e2]");
    reader.beginArray();
    std::vector<std::pair<std::string, bool>> numbers;
    bool first = true;
    while (reader.more(']', first)) {
        const auto n = reader.number();
        numbers.emplace_back(std::string(n.text), n.integral);
    }
    EXPECT_EQ(numbers, (std::vector<std::pair<std::string, bool>>{
                           {"18", true}, {"-3", true}, {"5.25", false}, {"1e2", false}}));
}

std::string pointsJson(const std::string& value) {
    std::string list = "[";
    for (int k = 0; k < 16; ++k)
        list += (k ? "," : "") + value;
    return list + "]";
}

std::string oneMember(const std::string& value) {
    return R"({"project":{"projectName":"","instrumentNumber":"","testTemperature":0,)"
           R"("basisIndex":0,"reviewer":"","chiefInspector":"","constructionDate":"",)"
           R"("mortarCode":1,"strengthGrade":""},"members":[{"memberName":"G001",)"
           R"("testDate":"","remark":"","unevenness":)" +
           pointsJson("0.25") + R"(,"gaugeReading":)" + pointsJson(value) + R"(,"depth":)" +
           pointsJson(value) + "}]}";
}

void expectReadings() {
    DataSet data;
    ASSERT_EQ(cli::dataSetFromJson(oneMember("5.3"), data), std::nullopt);
    EXPECT_EQ(data.members[0].gaugeReading[15], 5.3f);
    EXPECT_EQ(data.members[0].unevenness[0], 0.25f);
    EXPECT_EQ(data.members[0].meanDepth, 5.3f); // evaluated under the code read
    ASSERT_EQ(cli::dataSetFromJson(oneMember("-1.5e1"), data), std::nullopt);
    EXPECT_EQ(data.members[0].depth[3], -15.0f);
}

TEST(JsonReader, ReadsReadingsAndEvaluatesTheMembers) {
    expectReadings();
}

TEST(JsonReader, ReadsTheSameUnderADecimalCommaLocale) {
    MORVIK_IN_COMMA_LOCALE(comma);
    expectReadings();
}

TEST(JsonReader, KeysMayComeInAnyOrderAndUnknownOnesAreSkipped) {
    // The project after the members: they are still evaluated under its code.
    std::string text = oneMember("5.0");
    const std::size_t members = text.find(",\"members\"");
    const std::string project = text.substr(1, members - 1);
    text = "{\"extra\":{\"deep\":[1,{\"x\":null}]}," +
           text.substr(members + 1, text.size() - members - 2) + "," + project + "}";
    DataSet data;
    ASSERT_EQ(cli::dataSetFromJson(text, data), std::nullopt) << text;
    EXPECT_EQ(data.project.mortarCode, 1);
    EXPECT_EQ(data.members[0].meanDepth, 5.0f);
    EXPECT_EQ(data.members[0].strength, 5.0f); // column 2 of 0x01; 0x00 gives another value
}

} // namespace
} // namespace morvik
