// The JSON reader behind make: JSON by RFC 8259 and nothing else, wherever it stands in
// the text; strings decoded exactly; numbers the nearest value under every locale; depths
// derived from the readings.

#include "cli/DataSetJson.h"
#include "../io/CommaLocale.h"
#include "../io/TestFiles.h"
#include "core/GbkText.h"
#include <charconv>
#include <cmath>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sstream>

namespace morvik {
namespace {

std::string pointsJson(const std::string& value) {
    std::string list = "[";
    for (int k = 0; k < 16; ++k)
        list += (k ? "," : "") + value;
    return list + "]";
}

const char* const kProject =
    R"({"project":{"projectName":"","instrumentNumber":"","testTemperature":0,)"
    R"("basisIndex":0,"reviewer":"","chiefInspector":"","constructionDate":"",)"
    R"("mortarCode":1,"strengthGrade":""},)";

// A member without depths whose penetrometer readings are all `value`; `extra` goes
// before its end.
std::string memberText(const std::string& value, const std::string& extra = "") {
    return R"({"memberName":"G001","testDate":"","remark":"","unevenness":)" + pointsJson("0") +
           R"(,"gaugeReading":)" + pointsJson(value) + extra + "}";
}

std::string oneMember(const std::string& value, const std::string& extra = "") {
    return kProject + std::string(R"("members":[)") + memberText(value, extra) + "]}";
}

std::optional<std::string> read(const std::string& text, DataSet& data) {
    return cli::dataSetFromJson(text, data);
}

TEST(DataSetJson, AcceptsJsonAndNothingElseWhereverItStands) {
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
        {"1e400", true}, // a number, though beyond a double
        {"", false},
        {"[1,]", false},
        {"[,1]", false},
        {"[1 2]", false},
        {"{\"a\":1,}", false},
        {"{\"a\" 1}", false},
        {"{1:2}", false},
        {"{\"a\":}", false},
        {"[1", false},
        {"01", false},
        {"1.", false},
        {".5", false},
        {"-", false},
        {"1e", false},
        {"+1", false},
        {"nul", false},
        {"nulll", false},
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
        {std::string(600, '[') + std::string(600, ']'), false},
        {std::string(400, '[') + std::string(400, ']'), true},
        {"[" + std::string(4096, '7') + "]", true},
        {"[" + std::string(4097, '7') + "]", false},
    };
    DataSet data;
    for (const auto& c : cases) {
        SCOPED_TRACE('"' + c.text.substr(0, 40) + '"');
        // As a value nobody needs, in the project, among the members and beside them.
        for (const std::string& text :
             {oneMember("5.0", ",\"extra\":" + c.text),
              std::string(kProject) + "\"x\":" + c.text + R"(,"members":[)" + memberText("5") +
                  "]}",
              oneMember("5.0").insert(oneMember("5.0").find("\"projectName\""),
                                      "\"extra\":" + c.text + ",")}) {
            const auto problem = read(text, data);
            if (c.json) {
                EXPECT_EQ(problem, std::nullopt);
            } else {
                ASSERT_TRUE(problem.has_value());
                EXPECT_EQ(problem->rfind("not JSON: ", 0), 0u) << *problem;
            }
        }
        // As the whole text: JSON that is no data set is refused as such.
        const auto whole = read(c.text, data);
        ASSERT_TRUE(whole.has_value());
        EXPECT_EQ(whole->rfind("not JSON: ", 0) == 0, !c.json) << *whole;
    }
    EXPECT_EQ(read(oneMember("5.0") + " x", data)->rfind("not JSON: ", 0), 0u);
    EXPECT_EQ(read(oneMember("5.0") + "}", data)->rfind("not JSON: ", 0), 0u);
}

TEST(DataSetJson, DecodesStringsAndKeysExactly) {
    std::string text = oneMember("5.0");
    text.replace(text.find("\"remark\":\"\""), 11, R"("rem\u0061rk":"\u5899\"\\\/\u4f53")");
    DataSet data;
    ASSERT_EQ(read(text, data), std::nullopt);
    EXPECT_EQ(fieldToText(data.members[0].remark), "墙\"\\/体");
}

// What from_chars makes of the text, as the single precision a reading is stored in.
float storedValue(const std::string& text) {
    double value = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return static_cast<float>(value);
}

void expectNearestValues() {
    // Random texts of every shape: up to 21 digits before and after the point, leading
    // zeros, exponents, and a few edges, 16 to a member.
    std::mt19937 random(20261207);
    const auto digits = [&random](int count, bool leadingZeroAllowed) {
        std::string run;
        for (int i = 0; i < count; ++i) {
            const int low = i == 0 && !leadingZeroAllowed ? 1 : 0;
            run += static_cast<char>('0' + std::uniform_int_distribution<int>(low, 9)(random));
        }
        return run;
    };
    std::vector<std::string> texts = {"0",
                                      "-0",
                                      "4.35",
                                      "5.099999904632568",
                                      "-0.30000001192092896",
                                      "0.89543668647822553305",
                                      "1e-50",
                                      "-0.0",
                                      "4.9e-324",
                                      "99.99999"};
    // Only numbers below 100 are readings: the others are each refused alone.
    std::vector<std::string> beyond = {"340282346638528859811704183484516925440", "1E+2",
                                       "99.999999999", "-100"};
    while (texts.size() < 16 * 3000) {
        std::string text = random() % 4 == 0 ? "-" : "";
        const int whole = static_cast<int>(random() % 22);
        text += whole == 0 ? "0" : digits(whole, false);
        if (random() % 4 != 0)
            text += "." + digits(1 + static_cast<int>(random() % 21), true);
        if (random() % 3 == 0)
            text += "e" + std::to_string(static_cast<int>(random() % 41) - 30);
        double value = 0.0;
        std::from_chars(text.data(), text.data() + text.size(), value);
        if (std::fabs(value) < 100.0 && std::fabs(storedValue(text)) < 100.0f)
            texts.push_back(text);
        else if (beyond.size() < 500)
            beyond.push_back(text);
    }
    for (std::size_t first = 0; first < texts.size(); first += 16) {
        std::string list = "[";
        for (std::size_t k = 0; k < 16; ++k)
            list += (k ? "," : "") + texts[first + k];
        std::string text = oneMember("5");
        text.replace(text.find("\"gaugeReading\":") + 15, pointsJson("5").size(), list + "]");
        DataSet data;
        ASSERT_EQ(read(text, data), std::nullopt) << list;
        for (std::size_t k = 0; k < 16; ++k)
            ASSERT_EQ(data.members[0].gaugeReading[k], storedValue(texts[first + k]))
                << texts[first + k];
    }
    ASSERT_GT(beyond.size(), 100u);
    for (const std::string& text : beyond) {
        DataSet data;
        const auto problem = read(oneMember(text), data);
        ASSERT_TRUE(problem.has_value()) << text;
        EXPECT_EQ(problem->rfind("members[0].gaugeReading[0]: out of range", 0), 0u) << *problem;
    }
}

TEST(DataSetJson, ReadingsAreTheNearestValueToTheirText) {
    expectNearestValues();
}

TEST(DataSetJson, ReadingsAreTheSameUnderADecimalCommaLocale) {
    MORVIK_IN_COMMA_LOCALE(comma);
    expectNearestValues();
}

TEST(DataSetJson, DepthsFollowFromTheReadingsWhateverTheJsonSays) {
    // Random readings, some missing; a depth array given or not, of any shape.
    std::mt19937 random(7);
    const std::string depths[] = {"", R"(,"depth":)" + pointsJson("99"), R"(,"depth":"none")",
                                  R"(,"depth":[1,2])"};
    for (int round = 0; round < 200; ++round) {
        std::string uneven = "[";
        std::string gauge = "[";
        for (int k = 0; k < 16; ++k) {
            const auto reading = [&random] {
                return random() % 5 == 0 ? std::string("null")
                                         : std::to_string((random() % 2000) / 100.0);
            };
            uneven += (k ? "," : "") + reading();
            gauge += (k ? "," : "") + reading();
        }
        std::string text = oneMember("5", depths[round % 4]);
        text.replace(text.find("\"unevenness\":") + 13, pointsJson("0").size(), uneven + "]");
        text.replace(text.find("\"gaugeReading\":") + 15, pointsJson("5").size(), gauge + "]");
        DataSet data;
        ASSERT_EQ(read(text, data), std::nullopt) << text;
        const ShaJiang_GouJian_Struct& m = data.members[0];
        for (int k = 0; k < 16; ++k) {
            const bool both = isPresent(m.unevenness[k]) && isPresent(m.gaugeReading[k]);
            const float expected = m.gaugeReading[k] - m.unevenness[k];
            if (both)
                EXPECT_EQ(m.depth[k], expected);
            else
                EXPECT_EQ(m.depth[k], kMissing);
        }
    }
}

TEST(DataSetJson, ReadsReadingsAndEvaluatesTheMembers) {
    DataSet data;
    ASSERT_EQ(read(oneMember("5.3"), data), std::nullopt);
    EXPECT_EQ(data.members[0].gaugeReading[15], 5.3f);
    EXPECT_EQ(data.members[0].meanDepth, 5.3f); // evaluated under the code read
    EXPECT_EQ(read(oneMember("-1.5e1"), data), std::nullopt);
    EXPECT_EQ(data.members[0].depth[3], -15.0f);
    for (const char* beyond : {"3.5e38", "1e400", "-1e400", "1e-400"}) // beyond a double, too
        EXPECT_EQ(
            read(oneMember(beyond), data)->rfind("members[0].gaugeReading[0]: out of range", 0),
            0u);
}

TEST(DataSetJson, ATextCutShortIsNamedWhereItEnds) {
    // Wherever it is cut, the byte named is where the text ends, or the start of the number
    // cut short there ("5." is none).
    const std::string whole = oneMember("5.25", R"(,"note":[null,true])");
    constexpr std::size_t kLongestCutToken = 4;
    for (std::size_t cut = 0; cut < whole.size(); ++cut) {
        SCOPED_TRACE(whole.substr(0, cut));
        DataSet data;
        const auto problem = read(whole.substr(0, cut), data);
        ASSERT_TRUE(problem.has_value());
        const std::size_t at = problem->rfind(" at byte ");
        ASSERT_NE(at, std::string::npos) << *problem;
        const std::size_t offset = std::stoul(problem->substr(at + 9));
        EXPECT_LE(offset, cut) << *problem;
        EXPECT_GE(offset + kLongestCutToken, cut) << *problem;
    }
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

TEST(DataSetJson, KeysMayComeInAnyOrderAndUnknownOnesAreSkipped) {
    // The project after the members: they are still evaluated under its code.
    const TopLevel parts = topLevel(oneMember("5.0"));
    const std::string text =
        "{\"extra\":{\"deep\":[1,{\"x\":null}]}," + parts.members + "," + parts.project + "}";
    DataSet data;
    ASSERT_EQ(read(text, data), std::nullopt) << text;
    EXPECT_EQ(data.project.mortarCode, 1);
    EXPECT_EQ(data.members[0].meanDepth, 5.0f);
    EXPECT_EQ(data.members[0].strength, 5.0f); // column 2 of 0x01; 0x00 gives another value
}

TEST(DataSetJson, ARepeatedTextIsCheckedAgainstEveryFieldItFills) {
    // A text read again is stored by the same rule as the first time, in whatever field,
    // and another text as itself.
    // 2017年6月12日 is 13 bytes in GBK and fits every text field of a member;
    // 二〇一七年六月十二日 (20) fits the member number (39) but not the test date (14).
    const auto secondMember = [](const std::string& text) {
        std::string second = memberText("5.0");
        for (const char* key : {"memberName", "testDate", "remark"}) {
            const std::string empty = std::string("\"") + key + "\":\"";
            const std::size_t at = second.find(empty) + empty.size();
            second.replace(at, second.find('"', at) - at,
                           key == std::string("remark") ? "墙" + text : text);
        }
        const std::string one = oneMember("5.0");
        return one.substr(0, one.size() - 2) + "," + second + "]}";
    };
    DataSet data;
    ASSERT_EQ(read(secondMember("2017年6月12日"), data), std::nullopt);
    EXPECT_EQ(fieldToText(data.members[1].memberName), "2017年6月12日");
    EXPECT_EQ(fieldToText(data.members[1].testDate), "2017年6月12日");
    EXPECT_EQ(fieldToText(data.members[1].remark), "墙2017年6月12日");
    EXPECT_EQ(read(secondMember("二〇一七年六月十二日"), data),
              "members[1].testDate: longer than the 14 bytes it has in GBK");
}

struct Collected : MemberSink {
    std::vector<ShaJiang_GouJian_Struct> members;
    void add(const ShaJiang_GouJian_Struct& member) override { members.push_back(member); }
};

TEST(DataSetJson, MembersHandedOnOneByOneAreThoseOfTheWholeSet) {
    // With the project first they are handed on as they are read; with the project last
    // they wait for its code.
    std::string many = std::string(kProject) + "\"members\":[";
    for (int i = 1; i <= 300; ++i)
        many += (i > 1 ? "," : "") + memberText(std::to_string(4 + i % 7) + ".25");
    many += "]}";
    const TopLevel parts = topLevel(many);
    const std::string projectLast = "{" + parts.members + "," + parts.project + "}";
    for (const std::string& text : {many, projectLast}) {
        DataSet whole;
        ASSERT_EQ(read(text, whole), std::nullopt);
        ASSERT_EQ(whole.members.size(), 300u);
        ProjectInfo project{};
        Collected handed;
        ASSERT_EQ(cli::dataSetFromJson(cli::JsonText(text), project, handed), std::nullopt);
        EXPECT_EQ(std::memcmp(&project, &whole.project, sizeof project), 0);
        ASSERT_EQ(handed.members.size(), whole.members.size());
        EXPECT_EQ(std::memcmp(handed.members.data(), whole.members.data(),
                              whole.members.size() * sizeof whole.members[0]),
                  0);
    }
}

TEST(DataSetJson, AProjectOrMembersGivenTwiceAreRefused) {
    // Which one counts is anybody's guess; the one read first may already be on its way to
    // the file.
    const TopLevel parts = topLevel(oneMember("5.0"));
    for (const auto& [text, fault] :
         {std::pair<std::string, std::string>{"{" + parts.project + "," + parts.members + "," +
                                                  parts.project + "}",
                                              "project: given twice"},
          {"{" + parts.project + "," + parts.members + "," + parts.members + "}",
           "members: given twice"}}) {
        ProjectInfo project{};
        Collected handed;
        EXPECT_EQ(cli::dataSetFromJson(cli::JsonText(text), project, handed), fault);
    }
}

TEST(DataSetJson, ATextReadOrLoadedIsWholeAndPaddedUpToItsLimit) {
    std::string text;
    for (int i = 0; text.size() < (std::size_t{5} << 17); ++i)
        text += std::to_string(i) + ' ';
    const test::TempDir dir;
    std::ofstream(dir / "t.json", std::ios::binary) << text;
    const auto padded = [](const cli::JsonText& json) {
        return json.capacity() >= json.text().size() + 64 &&
               std::string_view(json.text().data() + json.text().size(), 64) ==
                   std::string(64, '\0');
    };
    // A stream is read in pieces: the limit holds for the text, whatever their size.
    for (const std::size_t limit : {text.size(), text.size() - 1, std::size_t{1}, std::size_t{0}}) {
        SCOPED_TRACE(limit);
        std::istringstream in(text);
        const std::string file = (dir / "t.json").string();
        if (limit < text.size()) {
            EXPECT_THROW(cli::JsonText::read(in, limit), cli::JsonTooLarge);
            EXPECT_THROW(cli::JsonText::load(file, limit), cli::JsonTooLarge);
            continue;
        }
        const cli::JsonText read = cli::JsonText::read(in, limit);
        const cli::JsonText loaded = cli::JsonText::load(file, limit);
        EXPECT_EQ(read.text(), text);
        EXPECT_EQ(loaded.text(), text);
        EXPECT_TRUE(padded(read));
        EXPECT_TRUE(padded(loaded));
    }
    std::istringstream empty;
    EXPECT_EQ(cli::JsonText::read(empty).text(), "");
    EXPECT_THROW(cli::JsonText::load((dir / "none.json").string()), cli::UnreadableJson);
    std::istringstream failing("x");
    failing.setstate(std::ios::badbit);
    EXPECT_THROW(cli::JsonText::read(failing), cli::UnreadableJson);
}

} // namespace
} // namespace morvik
