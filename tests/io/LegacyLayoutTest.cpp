// The legacy field layout: field mapping, numbers, texts, and files cut short.

#include "io/LegacyLayout.h"
#include "CommaLocale.h"
#include "TestFiles.h"
#include "core/GbkText.h"
#include "io/DataFile.h"
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

namespace morvik {
namespace {

using test::Bytes;

DataSet readLegacy(const Bytes& image) {
    test::exportSeed("data", image);
    DataSet data;
    DataFileLayout layout = DataFileLayout::Record;
    EXPECT_EQ(readDataFileBytes(image.data(), image.size(), data, &layout), ReadResult::Loaded);
    EXPECT_EQ(layout, DataFileLayout::Legacy);
    EXPECT_EQ(data.members.size(), 1u);
    return data;
}

std::string gbk(const char* utf8) {
    return utf8ToGbk(utf8);
}

TEST(LegacyLayout, ReadingGroupsLandOnTheirPoints) {
    // Group g carries gauge reading 10 + g, so each point tells which group it came from.
    std::map<int, std::string> fields;
    for (int g = 0; g < 16; ++g) {
        fields[10 + 3 * g] = "99";
        fields[11 + 3 * g] = std::to_string(10 + g);
        fields[12 + 3 * g] = "0.5";
    }
    const DataSet data = readLegacy(test::legacyImage(fields));
    const int groupOfPoint[16] = {15, 7, 6, 5, 4, 3, 2, 1, 0, 14, 13, 12, 11, 10, 9, 8};
    const ShaJiang_GouJian_Struct& m = data.members[0];
    for (int point = 0; point < 16; ++point) {
        SCOPED_TRACE("point " + std::to_string(point + 1));
        EXPECT_EQ(m.gaugeReading[point], static_cast<float>(10 + groupOfPoint[point]));
        EXPECT_EQ(m.unevenness[point], 0.5f);
        EXPECT_EQ(m.depth[point], m.gaugeReading[point] - 0.5f); // never the stored 99
    }
}

TEST(LegacyLayout, DepthIsGaugeReadingLessUnevennessInSinglePrecision) {
    const DataSet data = readLegacy(test::legacyImage({{10, "7.77"}, {11, "12.50"}, {12, "0.30"}}));
    const float expected = 12.5f - 0.3f;
    EXPECT_EQ(data.members[0].depth[8], expected);
    EXPECT_NEAR(data.members[0].depth[8], 12.2f, 1e-5f);
}

TEST(LegacyLayout, PointWithAMissingReadingGetsDepthZero) {
    const DataSet data = readLegacy(test::legacyImage({{10, "3"}, {11, "-1600"}, {12, "0.30"}}));
    EXPECT_EQ(data.members[0].gaugeReading[8], kMissing);
    EXPECT_EQ(data.members[0].depth[8], 0.0f);
}

TEST(LegacyLayout, VarietyNameChoosesTheMortarCode) {
    const struct {
        std::string field9;
        std::uint8_t code;
    } cases[] = {
        {gbk("水泥混合砂浆"), 0x01},
        {gbk("水泥砂浆"), 0x02},
        {"", 0x02},
        {gbk("水泥混合砂浆 "), 0x02},
        {gbk("预拌砂浆"), 0x02},
        {"水泥混合砂浆", 0x02}, // the UTF-8 bytes are not the GBK name
    };
    for (const auto& c : cases) {
        const DataSet data = readLegacy(test::legacyImage({{9, c.field9}, {11, "5"}}));
        EXPECT_EQ(data.project.mortarCode, c.code) << c.field9;
    }
}

TEST(LegacyLayout, MemberIsEvaluatedAfterReading) {
    std::map<int, std::string> fields = {{1, "77.7"}, {58, "1.23"}, {9, gbk("水泥混合砂浆")}};
    for (int g = 0; g < 16; ++g) {
        fields[11 + 3 * g] = "5.40";
        fields[12 + 3 * g] = "0.40";
    }
    const ShaJiang_GouJian_Struct m = readLegacy(test::legacyImage(fields)).members[0];
    EXPECT_FLOAT_EQ(m.meanDepth, 5.0f);
    EXPECT_FLOAT_EQ(m.strength, 5.0f);
    EXPECT_FLOAT_EQ(m.memberEstimate, 4.55f);
}

TEST(LegacyLayout, FilesThatAreNoDataFilesAreRefused) {
    const std::string notes = "Wall 3, north side: readings to follow tomorrow.\r\n";
    const Bytes text(notes.begin(), notes.end());
    const Bytes zero;
    for (const Bytes& image : {zero, text}) {
        DataSet data;
        data.members.resize(2);
        EXPECT_EQ(readDataFileBytes(image.data(), image.size(), data), ReadResult::NotADataFile);
        EXPECT_EQ(data.members.size(), 2u); // untouched
    }
}

TEST(LegacyLayout, EveryNumericFieldMustStartWithANumber) {
    // A legacy file whose numbers are all readable opens, short and blank ones included;
    // a single numeric field holding other text refuses it, whichever field that is.
    std::map<int, std::string> fields = {{0, "GY-01"}, {2, "abc"}, {4, "G7"}, {8, "x"}};
    fields[1] = "  ";
    for (int k = 10; k <= 58; ++k)
        fields[k] = (k % 3 == 0) ? "" : std::to_string(k) + ".25mm";
    readLegacy(test::legacyImage(fields));
    for (int k : {1, 10, 11, 12, 33, 57, 58}) {
        SCOPED_TRACE("field " + std::to_string(k));
        std::map<int, std::string> bad = fields;
        bad[k] = gbk("九");
        const Bytes image = test::legacyImage(bad);
        DataSet data;
        EXPECT_EQ(readDataFileBytes(image.data(), image.size(), data), ReadResult::NotADataFile);
    }
    // Texts only, every number empty: nothing of a data set.
    const Bytes textsOnly = test::legacyImage({{0, "GY-01"}, {4, "G7"}});
    DataSet data;
    EXPECT_EQ(readDataFileBytes(textsOnly.data(), textsOnly.size(), data),
              ReadResult::NotADataFile);

    using io_detail::NumberText;
    EXPECT_EQ(io_detail::numberText(" \t-3e2x"), NumberText::Number);
    EXPECT_EQ(io_detail::numberText(".5"), NumberText::Number);
    EXPECT_EQ(io_detail::numberText(" \r\n"), NumberText::Empty);
    EXPECT_EQ(io_detail::numberText(" ."), NumberText::NotANumber);
    EXPECT_EQ(io_detail::numberText("- 5"), NumberText::NotANumber);
}

TEST(LegacyLayout, TextFieldsGoToTheirPlaces) {
    const DataSet data = readLegacy(test::legacyImage({{0, "GY-01"},
                                                       {2, gbk("东侧墙")},
                                                       {3, gbk("南湖小区")},
                                                       {4, "Q-12"},
                                                       {5, "ignored"},
                                                       {6, gbk("李工")},
                                                       {7, gbk("王工")},
                                                       {8, gbk("2016年3月9日")},
                                                       {11, "5"}}));
    const ShaJiang_GouJian_Struct& m = data.members[0];
    EXPECT_EQ(fieldToText(data.project.instrumentNumber), "GY-01");
    EXPECT_EQ(fieldToText(m.remark), "东侧墙");
    EXPECT_EQ(fieldToText(data.project.projectName), "南湖小区");
    EXPECT_EQ(fieldToText(m.memberName), "Q-12");
    EXPECT_EQ(fieldToText(data.project.reviewer), "李工");
    EXPECT_EQ(fieldToText(data.project.chiefInspector), "王工");
    EXPECT_EQ(fieldToText(m.testDate), "2016年3月9日");
}

TEST(LegacyLayout, LongTextsAreCutAtACharacterBoundary) {
    std::string chinese;
    for (int i = 0; i < 30; ++i)
        chinese += gbk("墙");
    const std::string ascii(200, 'x');
    const DataSet data = readLegacy(test::legacyImage({{0, ascii},
                                                       {2, chinese + chinese + chinese},
                                                       {3, "a" + chinese + chinese + chinese},
                                                       {4, "a" + chinese},
                                                       {6, chinese},
                                                       {7, "ab" + chinese},
                                                       {8, "2016" + chinese},
                                                       {11, "5"}}));
    const ShaJiang_GouJian_Struct& m = data.members[0];
    const struct {
        const char* name;
        const char* field;
        std::size_t width;
        std::size_t expectedLength;
    } cases[] = {
        {"instrumentNumber", data.project.instrumentNumber, 40, 39},
        {"remark", m.remark, 128, 126},
        {"projectName", data.project.projectName, 128, 127},
        {"memberName", m.memberName, 40, 39},
        {"reviewer", data.project.reviewer, 16, 14},
        {"chiefInspector", data.project.chiefInspector, 16, 14},
        {"testDate", m.testDate, 15, 14},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t length = strnlen(c.field, c.width);
        EXPECT_EQ(length, c.expectedLength);
        EXPECT_EQ(gbkToUtf8(std::string(c.field, length)).find("\xEF\xBF\xBD"), std::string::npos);
    }
    EXPECT_EQ(std::string(m.remark, 2), gbk("墙"));
}

TEST(LegacyLayout, FirstFourBytesOtherThanTheMagicMeanLegacy) {
    // 58 18 00 01 is one byte away from the magic; read as fields it starts with a
    // field of 0x58 bytes.
    Bytes image = {0x58, 0x18, 0x00, 0x01};
    image.resize(0x59, '7');
    image.push_back(1); // field 1, the strength: "3"
    image.push_back('3');
    const DataSet data = readLegacy(image);
    EXPECT_STREQ(data.project.instrumentNumber, "\x18");
}

TEST(LegacyLayout, FileCutInsideAFieldKeepsWhatItHolds) {
    Bytes image = test::legacyImage({{0, "GY-01"}, {1, "3"}, {2, "abcdef"}});
    image.resize(1 + 5 + 1 + 1 + 1 + 3); // ends after "abc" of the six bytes announced
    const DataSet data = readLegacy(image);
    EXPECT_STREQ(data.project.instrumentNumber, "GY-01");
    EXPECT_STREQ(data.members[0].remark, "abc");
    EXPECT_EQ(data.members[0].unevenness[0], 0.0f); // fields beyond the end are empty
}

void expectAtofInTheCLocale() {
    const struct {
        const char* text;
        float expected;
    } cases[] = {
        {"12.50", 12.5f},
        {"  7", 7.0f},
        {"\t-3.2e1x", -32.0f},
        {"abc", 0.0f},
        {"", 0.0f},
        {"1,5", 1.0f},
        {"+.5", 0.5f},
        {"0x10", 16.0f},
        {"5.", 5.0f},
        {"- 5", 0.0f},
        {"1e-50", 0.0f},
        {"0.1", 0.1f},
        {"3,45", 3.0f},
        // The same on every platform, whatever its C library makes of them.
        {"-0x1A", -26.0f},
        {"0x", 0.0f},
        {"0xg", 0.0f},
        {"+-5", 0.0f},
        {"1e-400", 0.0f},
        {"0.1e-330", 0.0f},
        {"  +2.5e+1", 25.0f},
    };
    for (const auto& c : cases)
        EXPECT_EQ(io_detail::legacyNumber(c.text), c.expected) << '"' << c.text << '"';
    EXPECT_TRUE(std::isinf(io_detail::legacyNumber("1e50")));
    EXPECT_TRUE(std::isnan(io_detail::legacyNumber("nan")));
    EXPECT_TRUE(std::isnan(io_detail::legacyNumber(" -NaN")));
    EXPECT_EQ(io_detail::legacyNumber("-1e400"), -HUGE_VALF);
    EXPECT_EQ(io_detail::legacyNumber("Infinity"), HUGE_VALF);
    EXPECT_EQ(io_detail::legacyNumber("10e308"), HUGE_VALF);
    EXPECT_EQ(io_detail::legacyNumber("1000e-330"), 0.0f); // 1e-327, below every double
}

TEST(LegacyLayout, NumbersFollowAtofInTheCLocale) {
    expectAtofInTheCLocale();
}

TEST(LegacyLayout, NumbersReadTheSameUnderADecimalCommaLocale) {
    std::map<int, std::string> fields = {{4, "Q-1"}};
    for (int g = 0; g < 16; ++g) {
        fields[11 + 3 * g] = "5.30";
        fields[12 + 3 * g] = "0.25";
    }
    const Bytes image = test::legacyImage(fields);
    DataSet plain;
    ASSERT_EQ(readDataFileBytes(image.data(), image.size(), plain), ReadResult::Loaded);

    MORVIK_IN_COMMA_LOCALE(comma);
    expectAtofInTheCLocale(); // "3,45" is still 3, "12.50" still 12.5
    DataSet withComma;
    ASSERT_EQ(readDataFileBytes(image.data(), image.size(), withComma), ReadResult::Loaded);
    ASSERT_EQ(withComma.members.size(), 1u);
    EXPECT_EQ(std::memcmp(&withComma.members[0], &plain.members[0], sizeof plain.members[0]), 0);
    EXPECT_EQ(withComma.members[0].gaugeReading[0], 5.3f);
}

TEST(LegacyLayout, GbkPrefixNeverSplitsACharacter) {
    const std::string two = gbk("砂浆"); // 4 bytes
    const struct {
        std::string text;
        std::size_t limit;
        std::size_t expected;
    } cases[] = {
        {two, 4, 4},
        {two, 3, 2},
        {two, 1, 0},
        {"a" + two, 2, 1},
        {"a" + two, 3, 3},
        {"\x81", 5, 1},     // a lone lead byte at the end is one byte
        {"\x81\x30", 1, 1}, // a lead byte before an invalid trail byte stands alone
        {"\x81\x7F", 2, 2}, // 0x7F is no trail byte
        {std::string(10, 'z'), 4, 4},
    };
    for (const auto& c : cases)
        EXPECT_EQ(io_detail::gbkPrefixLength(c.text.data(), c.text.size(), c.limit), c.expected)
            << c.limit;
}

} // namespace
} // namespace morvik
