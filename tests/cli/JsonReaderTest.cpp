// The JSON reader behind make: the grammar of RFC 8259, strings decoded exactly, and
// numbers read the same under every locale.

#include "cli/JsonReader.h"
#include "../io/CommaLocale.h"
#include "cli/OldDataSetJson.h"
#include "core/GbkText.h"
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <random>

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

// What from_chars gives for the text, NaN where it finds the text beyond a double's range.
double nearestDouble(const std::string& text) {
    double value = 0.0;
    if (std::from_chars(text.data(), text.data() + text.size(), value).ec != std::errc())
        return std::nan("");
    return value;
}

bool sameDouble(double a, double b) {
    return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0;
}

// The number's value, read once as the whole text (the digits run to its very end) and
// once inside an array (more text follows them).
void expectValue(const std::string& text) {
    const double expected = nearestDouble(text);
    cli::JsonReader alone(text);
    EXPECT_TRUE(sameDouble(alone.number().value, expected)) << text;
    const std::string array = "[" + text + ",12345678]";
    cli::JsonReader inArray(array);
    inArray.beginArray();
    bool first = true;
    ASSERT_TRUE(inArray.more(']', first));
    EXPECT_TRUE(sameDouble(inArray.number().value, expected)) << text << " in an array";
}

TEST(JsonReader, NumberValuesAreTheNearestDouble) {
    for (const char* text :
         {"0", "-0", "0.0", "-0.0", "7", "4.35", "5.099999904632568", "-5.099999904632568",
          "0.30000001192092896", "0.05000000074505806", "9007199254740992", "9007199254740993",
          "9007199254740991.5", "1234567890123456789", "12345678901234567890",
          "99999999999999999999", "1e22", "1e23", "1E+2", "123456789e-22", "1.5e-23",
          "1.0000000000000002", "0.000000000000000000000000000001", "12345678.12345678", "1e-400",
          "1e400", "-1e400", "17976931348623157e292", "2.2250738585072014e-308", "4.9e-324",
          "1e99999999999",
          // Halfway between two doubles, and rounding up into a new power of two: worked out
          // exactly, they must tie to even.
          "9007199254740993.0", "9007199254740995", "4503599627370496.5", "4503599627370497.5",
          "18014398509481983", "0.9999999999999999999", "9999999999999999999e-19",
          "9999999999999999999e19", "1000000000000000001e-19",
          // A hair above halfway, closer than the first 64 bits of the quotient tell.
          "0.9223372036854776135"})
        expectValue(text);

    // Random texts of every shape: up to 21 digits before and after the point, leading
    // zeros, exponents around the edges of the exact powers.
    std::mt19937 random(20261207);
    const auto digits = [&random](int count, bool leadingZeroAllowed) {
        std::string run;
        for (int i = 0; i < count; ++i) {
            const int low = i == 0 && !leadingZeroAllowed ? 1 : 0;
            run += static_cast<char>('0' + std::uniform_int_distribution<int>(low, 9)(random));
        }
        return run;
    };
    for (int n = 0; n < 200000; ++n) {
        std::string text = random() % 4 == 0 ? "-" : "";
        const int whole = static_cast<int>(random() % 22);
        text += whole == 0 ? "0" : digits(whole, false);
        if (random() % 4 != 0)
            text += "." + digits(1 + static_cast<int>(random() % 21), true);
        if (random() % 3 == 0)
            text += "e" + std::to_string(static_cast<int>(random() % 61) - 30);
        expectValue(text);
        if (HasFailure())
            return;
    }
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
    ASSERT_EQ(cli::old::dataSetFromJson(oneMember("5.3"), data), std::nullopt);
    EXPECT_EQ(data.members[0].gaugeReading[15], 5.3f);
    EXPECT_EQ(data.members[0].unevenness[0], 0.25f);
    EXPECT_EQ(data.members[0].meanDepth, 5.3f); // evaluated under the code read
    ASSERT_EQ(cli::old::dataSetFromJson(oneMember("-1.5e1"), data), std::nullopt);
    EXPECT_EQ(data.members[0].depth[3], -15.0f);
}

TEST(JsonReader, ReadsReadingsAndEvaluatesTheMembers) {
    expectReadings();
}

TEST(JsonReader, ReadsTheSameUnderADecimalCommaLocale) {
    MORVIK_IN_COMMA_LOCALE(comma);
    expectReadings();
}

// The two members of a data set's JSON object, each as "name":value.
struct TopLevel {
    std::string project;
    std::string members;
};

TopLevel topLevel(const std::string& text) {
    const std::size_t members = text.find(",\"members\"");
    return {text.substr(1, members - 1), text.substr(members + 1, text.size() - members - 2)};
}

// The text of oneMember up to its members: "{"project":{...},".
std::string projectJson() {
    return "{" + topLevel(oneMember("5.0")).project + ",";
}

TEST(JsonReader, KeysMayComeInAnyOrderAndUnknownOnesAreSkipped) {
    // The project after the members: they are still evaluated under its code.
    const TopLevel parts = topLevel(oneMember("5.0"));
    const std::string text =
        "{\"extra\":{\"deep\":[1,{\"x\":null}]}," + parts.members + "," + parts.project + "}";
    DataSet data;
    ASSERT_EQ(cli::old::dataSetFromJson(text, data), std::nullopt) << text;
    EXPECT_EQ(data.project.mortarCode, 1);
    EXPECT_EQ(data.members[0].meanDepth, 5.0f);
    EXPECT_EQ(data.members[0].strength, 5.0f); // column 2 of 0x01; 0x00 gives another value
}

// A member as the JSON of `show` has it, with `padding` spaces after its number.
std::string memberJson(int number, std::size_t padding) {
    return R"({"memberName":"G)" + std::to_string(number) + "\"" + std::string(padding, ' ') +
           R"(,"testDate":"","remark":"","unevenness":)" + pointsJson("0.25") +
           R"(,"gaugeReading":)" + pointsJson("5.5") + R"(,"depth":)" + pointsJson("5.25") + "}";
}

TEST(JsonReader, EveryMemberIsReadWhateverTheFirstOneSuggests) {
    // The room set aside for the members is judged by the length of the first one; a first
    // member much shorter or much longer than the rest must not lose or invent any.
    const std::string project = projectJson();
    for (const auto& [firstPadding, restPadding] :
         {std::pair<std::size_t, std::size_t>{0, 4000}, {4000, 0}, {0, 0}}) {
        constexpr int kCount = 300;
        std::string text = project + "\"members\":[";
        for (int i = 1; i <= kCount; ++i)
            text += (i > 1 ? "," : "") + memberJson(i, i == 1 ? firstPadding : restPadding);
        text += "]}";
        DataSet data;
        ASSERT_EQ(cli::old::dataSetFromJson(text, data), std::nullopt);
        ASSERT_EQ(data.members.size(), static_cast<std::size_t>(kCount));
        for (int i = 1; i <= kCount; ++i) {
            EXPECT_STREQ(data.members[i - 1].memberName, ("G" + std::to_string(i)).c_str());
            EXPECT_EQ(data.members[i - 1].depth[15], 5.25f);
        }
    }
}

TEST(JsonReader, ARepeatedTextIsCheckedAgainstEveryFieldItFills) {
    // A text read again is stored by the same rule as the first time, in whatever field,
    // and another text as itself.
    // 2017年6月12日 is 13 bytes in GBK and fits every text field of a member;
    // 二〇一七年六月十二日 (20) fits the member number (39) but not the test date (14).
    const auto secondMember = [](const std::string& text) {
        const std::string one = oneMember("5.0");
        std::string second = one.substr(one.find("{\"memberName\""));
        second.erase(second.size() - 2); // "]}"
        for (const char* key : {"memberName", "testDate", "remark"}) {
            const std::string empty = std::string("\"") + key + "\":\"";
            const std::size_t at = second.find(empty) + empty.size();
            second.replace(at, second.find('"', at) - at,
                           key == std::string("remark") ? "墙" + text : text);
        }
        return one.substr(0, one.size() - 2) + "," + second + "]}";
    };
    DataSet data;
    ASSERT_EQ(cli::old::dataSetFromJson(secondMember("2017年6月12日"), data), std::nullopt);
    EXPECT_EQ(fieldToText(data.members[1].memberName), "2017年6月12日");
    EXPECT_EQ(fieldToText(data.members[1].testDate), "2017年6月12日");
    EXPECT_EQ(fieldToText(data.members[1].remark), "墙2017年6月12日");
    EXPECT_EQ(cli::old::dataSetFromJson(secondMember("二〇一七年六月十二日"), data),
              "members[1].testDate: longer than the 14 bytes it has in GBK");
}

// A source that gives the text `chunk` bytes at a time.
cli::JsonReader::Source chunked(const std::string& text, std::size_t chunk) {
    auto at = std::make_shared<std::size_t>(0);
    return [text, chunk, at](char* into, std::size_t room) {
        const std::size_t n = std::min({chunk, room, text.size() - *at});
        std::memcpy(into, text.data() + *at, n);
        *at += n;
        return n;
    };
}

// A member whose readings are of every shape a laboratory system may write, pretty-printed
// as show prints them, with `padding` spaces after its number.
std::string variedMemberJson(int number, std::size_t padding) {
    static const char* const kValues[] = {"0.05000000074505806",
                                          "4.75",
                                          "null",
                                          "-1.5e1",
                                          "0",
                                          "7.100000381469727",
                                          "9.199999809265137",
                                          "12",
                                          "0.30000001192092896",
                                          "1234567890123456789",
                                          "5.3E-1"};
    std::string text = "{\n      \"memberName\": \"G" + std::to_string(number) + "\"" +
                       std::string(padding, ' ') +
                       ",\n      \"testDate\": \"\",\n      \"remark\": \"\"";
    for (const char* key : {"unevenness", "gaugeReading", "depth"}) {
        text += std::string(",\n      \"") + key + "\": [";
        for (int k = 0; k < 16; ++k)
            text += std::string(k ? "," : "") + "\n        " +
                    kValues[(number * 7 + k * 3 + static_cast<int>(padding)) % 11];
        text += "\n      ]";
    }
    return text + "\n    }";
}

TEST(JsonReader, AStreamedTextReadsExactlyAsTheWholeText) {
    // Every token and every fault lands on a boundary of the pieces somewhere, and in the
    // longest text on the edge of the reader's window too.
    const std::string project = projectJson();
    std::string many = project + "\"members\":[";
    for (int i = 1; i <= 40; ++i)
        many += (i > 1 ? ",\n  " : "") + memberJson(i, static_cast<std::size_t>(i * 37 % 300));
    many += "]}";
    std::string longest = project + "\"members\": [\n    ";
    for (int i = 1; i <= 150; ++i)
        longest += (i > 1 ? ",\n    " : "") + variedMemberJson(i, static_cast<std::size_t>(i % 13));
    longest += "\n  ]\n}\n";
    DataSet read;
    ASSERT_EQ(cli::old::dataSetFromJson(longest, read), std::nullopt);
    ASSERT_EQ(read.members.size(), 150u);
    ASSERT_GT(longest.size(), 100000u);
    std::string escaped = oneMember("4.25");
    escaped.replace(escaped.find("\"remark\":\"\""), 11,
                    R"("remark":"\u58d9\ud83d\ude00墙\"\\体")");
    const std::vector<std::string> texts = {longest,
                                            many,
                                            oneMember("5.3"),
                                            oneMember("-1.5e1"),
                                            escaped,
                                            oneMember("5.3").substr(0, 300), // cut inside a member
                                            oneMember("5.3x"),
                                            oneMember("1e999"),
                                            "[1,2",
                                            "{\"project\":tru}",
                                            "  "};
    for (const std::string& text : texts) {
        DataSet whole;
        const auto expected = cli::old::dataSetFromJson(text, whole);
        for (const std::size_t chunk :
             {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{7}, std::size_t{4097}}) {
            // A size told as 1 gives the smallest window, a text of more than that is read
            // across its edge.
            for (const std::size_t told : {text.size(), std::size_t{1}}) {
                SCOPED_TRACE(text.substr(0, 60) + " in pieces of " + std::to_string(chunk) +
                             ", told " + std::to_string(told));
                DataSet streamed;
                const auto result = cli::old::dataSetFromJson(chunked(text, chunk), told, streamed);
                EXPECT_EQ(result, expected);
                if (result || expected)
                    continue;
                ASSERT_EQ(streamed.members.size(), whole.members.size());
                EXPECT_EQ(std::memcmp(&streamed.project, &whole.project, sizeof whole.project), 0);
                EXPECT_EQ(std::memcmp(streamed.members.data(), whole.members.data(),
                                      whole.members.size() * sizeof whole.members[0]),
                          0);
            }
        }
    }
}

struct Collected : MemberSink {
    std::vector<ShaJiang_GouJian_Struct> members;
    void add(const ShaJiang_GouJian_Struct& member) override { members.push_back(member); }
};

TEST(JsonReader, MembersHandedOnOneByOneAreThoseOfTheWholeSet) {
    // With the project first they are handed on as they are read; with the project last
    // they wait for its code.
    std::string many = projectJson() + "\"members\":[";
    for (int i = 1; i <= 500; ++i)
        many += (i > 1 ? "," : "") + variedMemberJson(i, 0);
    many += "]}";
    const TopLevel parts = topLevel(many);
    const std::string projectLast = "{" + parts.members + "," + parts.project + "}";
    for (const std::string& text : {many, projectLast}) {
        DataSet whole;
        ASSERT_EQ(cli::old::dataSetFromJson(text, whole), std::nullopt);
        ASSERT_EQ(whole.members.size(), 500u);
        ProjectInfo project{};
        Collected handed;
        ASSERT_EQ(cli::old::dataSetFromJson(chunked(text, 4097), text.size(), project, handed),
                  std::nullopt);
        EXPECT_EQ(std::memcmp(&project, &whole.project, sizeof project), 0);
        ASSERT_EQ(handed.members.size(), whole.members.size());
        EXPECT_EQ(std::memcmp(handed.members.data(), whole.members.data(),
                              whole.members.size() * sizeof whole.members[0]),
                  0);
    }
}

TEST(JsonReader, AProjectOrMembersGivenTwiceAreRefused) {
    // Which one counts is anybody's guess; the one read first may already be on its way to
    // the file.
    const TopLevel parts = topLevel(oneMember("5.0"));
    const std::string& projectPart = parts.project;
    const std::string& membersPart = parts.members;
    for (const auto& [text, fault] :
         {std::pair<std::string, std::string>{"{" + projectPart + "," + membersPart + "," +
                                                  projectPart + "}",
                                              "project: given twice"},
          {"{" + projectPart + "," + membersPart + "," + membersPart + "}",
           "members: given twice"}}) {
        DataSet data;
        EXPECT_EQ(cli::old::dataSetFromJson(text, data), fault);
        ProjectInfo project{};
        Collected handed;
        EXPECT_EQ(cli::old::dataSetFromJson(chunked(text, 7), text.size(), project, handed), fault);
    }
}

TEST(JsonReader, NumbersHaveAtMostTheirLimitOfCharactersAndSourceFailuresPassThrough) {
    const std::size_t limit = cli::JsonReader::kMaxNumberLength;
    for (const bool streamed : {false, true}) {
        for (const std::size_t length : {limit, limit + 1}) {
            const std::string text = "[" + std::string(length, '7') + "]";
            std::optional<cli::JsonReader> reader;
            if (streamed)
                reader.emplace(chunked(text, 1000));
            else
                reader.emplace(text);
            reader->beginArray();
            bool first = true;
            ASSERT_TRUE(reader->more(']', first));
            if (length <= limit)
                EXPECT_EQ(reader->number().text.size(), length);
            else
                EXPECT_THROW(reader->number(), cli::JsonSyntaxError);
        }
    }
    DataSet data;
    const auto failing = [](char*, std::size_t) -> std::size_t {
        throw cli::JsonSourceError("gone");
    };
    EXPECT_THROW(cli::old::dataSetFromJson(failing, 0, data), cli::JsonSourceError);
}

} // namespace
} // namespace morvik
