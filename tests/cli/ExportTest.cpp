// morvik-cli export: the CSV and the XLSX read back (the workbook by openpyxl) and
// compared cell by cell with what show prints for the same file.

#include "../io/CommaLocale.h"
#include "../io/TestFiles.h"
#include "CliRunner.h"
#include "cli/CsvExport.h"
#include "cli/XlsxExport.h"
#include "core/Batch.h"
#include "core/GbkText.h"
#include "core/ResultText.h"
#include "io/DataFile.h"
#include <charconv>
#include <gtest/gtest.h>

namespace morvik {
namespace {

using Json = nlohmann::ordered_json;
using test::TempDir;
using Table = std::vector<std::vector<std::string>>;

constexpr const char* kBom = "\xEF\xBB\xBF";
const std::vector<std::string> kProjectLabels = {"工程名称", "仪器编号", "检测温度", "检测依据",
                                                 "施工日期", "砂浆种类", "砂浆品种", "强度等级",
                                                 "复核",     "主检"};
const std::vector<std::string> kBatchLabels = {"平均值 (MPa)", "标准差 (MPa)", "最小值 (MPa)",
                                               "变异系数",     "推定值 (MPa)", "提示"};
constexpr std::size_t kMemberColumns = 4 + 3 * 16 + 3;

// An RFC 4180 reader: records end in CRLF; a quoted field may hold commas, doubled
// quotes, CR and LF. Anything else (a bare LF between records, a stray quote) fails.
Table parseCsv(const std::string& text) {
    Table table;
    std::vector<std::string> record;
    std::string field;
    std::size_t i = 0;
    bool fieldStarted = false;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '"' && !fieldStarted) {
            ++i;
            while (true) {
                if (i >= text.size())
                    throw std::runtime_error("unterminated quote");
                if (text[i] == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += text[i++];
            }
            fieldStarted = true;
            if (i < text.size() && text[i] != ',' && text[i] != '\r')
                throw std::runtime_error("text after a closing quote");
            continue;
        }
        if (c == ',') {
            record.push_back(field);
            field.clear();
            fieldStarted = false;
            ++i;
        } else if (c == '\r') {
            if (i + 1 >= text.size() || text[i + 1] != '\n')
                throw std::runtime_error("CR without LF");
            record.push_back(field);
            table.push_back(record);
            record.clear();
            field.clear();
            fieldStarted = false;
            i += 2;
        } else if (c == '\n' || c == '"') {
            throw std::runtime_error("bare LF or quote outside a quoted field");
        } else {
            field += c;
            fieldStarted = true;
            ++i;
        }
    }
    if (fieldStarted || !record.empty())
        throw std::runtime_error("last record without CRLF");
    return table;
}

// The cell text the program shows for a stored reading: empty when it is missing.
std::string readingText(const Json& value) {
    return value.is_null() ? std::string() : depthText(value.get<double>());
}

std::string shownCell(const Json& shown) {
    return shown == kNoValueText ? std::string() : shown.get<std::string>();
}

// The cells a member row must hold, from show's JSON of that member.
std::vector<std::string> expectedMemberRow(int rowNumber, const Json& m) {
    std::vector<std::string> row{std::to_string(rowNumber), m["memberName"], m["testDate"],
                                 m["remark"]};
    for (int k = 0; k < 16; ++k)
        for (const char* key : {"unevenness", "gaugeReading", "depth"})
            row.push_back(readingText(m[key][k]));
    for (const char* key : {"meanDepth", "strength", "memberEstimate"})
        row.push_back(shownCell(m["shown"][key]));
    return row;
}

std::vector<std::string> expectedProjectValues(const Json& p) {
    // As the program shows them after opening: the code normalised, no temperature as 25.
    const int temperature = p["testTemperature"] == 0 ? 25 : p["testTemperature"].get<int>();
    const int code = p["mortarCode"];
    return {p["projectName"],
            p["instrumentNumber"],
            std::to_string(temperature),
            "JGJ/T 136-2017",
            p["constructionDate"],
            code >> 4 ? "水泥抹灰砂浆" : "砌筑砂浆",
            code == 0x00 || code == 0x10 ? "预拌砂浆"
            : code == 0x01               ? "水泥混合砂浆"
            : code == 0x02               ? "水泥砂浆"
                                         : "现场拌制砂浆",
            p["strengthGrade"],
            p["reviewer"],
            p["chiefInspector"]};
}

// The texts of `batch FILE --rows ROWS`, in the order of the export's batch lines.
std::vector<std::string> expectedBatch(const std::string& file, const std::string& rows) {
    const test::CliResult run = test::runCliProgram({"batch", file, "--rows", rows});
    EXPECT_EQ(run.status, 0) << run.err;
    const Json b = Json::parse(run.out);
    std::vector<std::string> texts;
    for (const char* key : {"batchMean", "batchStdDev", "batchMin", "batchCv", "batchEstimate"})
        texts.push_back(shownCell(b["shown"][key]));
    texts.push_back(b["message"].is_null() ? "" : b["message"].get<std::string>());
    return texts;
}

class ExportTest : public ::testing::Test {
protected:
    std::string save(const std::string& name, const DataSet& data) {
        const auto path = dir_ / name;
        EXPECT_EQ(writeDataFile(path, data), WriteResult::Written);
        return path.string();
    }
    std::string exportFile(const std::vector<std::string>& args) {
        const test::CliResult run = test::runCliProgram(args);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, "");
        return args.size() > 5 ? args[5] : std::string();
    }
    TempDir dir_;
};

void expectCsvMatchesShow(const std::string& csv, const Json& shown, const std::vector<int>& rows) {
    ASSERT_EQ(csv.rfind(kBom, 0), 0u);
    const Table table = parseCsv(csv.substr(3));
    ASSERT_GE(table.size(), kProjectLabels.size() + 2 + rows.size());
    const std::vector<std::string> values = expectedProjectValues(shown["project"]);
    for (std::size_t i = 0; i < kProjectLabels.size(); ++i)
        EXPECT_EQ(table[i], (std::vector<std::string>{kProjectLabels[i], values[i]})) << i;
    EXPECT_EQ(table[kProjectLabels.size()], std::vector<std::string>{""});
    const std::vector<std::string>& headings = table[kProjectLabels.size() + 1];
    ASSERT_EQ(headings.size(), kMemberColumns);
    EXPECT_EQ(headings[0], "序号");
    EXPECT_EQ(headings[4], "不平整读数1");
    EXPECT_EQ(headings[51], "贯入深度16");
    EXPECT_EQ(headings[52], "贯入深度平均值 (mm)");
    EXPECT_EQ(headings[53], "砂浆抗压强度换算值 (MPa)");
    EXPECT_EQ(headings[54], "构件强度推定值 (MPa)");
    for (std::size_t r = 0; r < rows.size(); ++r)
        EXPECT_EQ(
            table[kProjectLabels.size() + 2 + r],
            expectedMemberRow(rows[r] + 1, shown["members"][static_cast<std::size_t>(rows[r])]))
            << "row " << rows[r] + 1;
}

TEST_F(ExportTest, CsvHoldsWhatShowShowsForEveryDataSet) {
    for (const auto& [name, data] : test::programDataSets()) {
        SCOPED_TRACE(name);
        const std::string file = save("set.stl", data);
        const std::string out = (dir_ / "set.csv").string();
        exportFile({"export", file, "--format", "csv", "-o", out});
        std::vector<int> all(data.members.size());
        for (std::size_t i = 0; i < all.size(); ++i)
            all[i] = static_cast<int>(i);
        const std::string csv = test::slurpFile(out);
        expectCsvMatchesShow(csv, test::showJson(file), all);
        EXPECT_EQ(parseCsv(csv.substr(3)).size(), kProjectLabels.size() + 2 + all.size());
    }
}

TEST_F(ExportTest, CsvQuotesCommasQuotesAndLineBreaks) {
    const auto sets = test::programDataSets();
    const auto& texts = sets.back(); // the set with a remark holding all three
    const std::string file = save("t.stl", texts.data);
    const std::string out = (dir_ / "t.csv").string();
    exportFile({"export", file, "--format", "csv", "-o", out});
    const std::string csv = test::slurpFile(out);
    EXPECT_NE(csv.find("\"\"引号\"\""), std::string::npos);
    const Table table = parseCsv(csv.substr(3));
    const std::string remark = table[kProjectLabels.size() + 2][3];
    EXPECT_NE(remark.find("与逗号,行一\n行二"), std::string::npos);
    EXPECT_EQ(remark, test::showJson(file)["members"][0]["remark"]);
}

TEST_F(ExportTest, ListedRowsComeInRowOrderAndTheBatchFollowsTheTable) {
    const DataSet data = test::programDataSets()[1].data; // twelve members
    const std::string file = save("b.stl", data);
    const std::string out = (dir_ / "b.csv").string();
    const test::CliResult run = test::runCliProgram(
        {"export", file, "--format", "csv", "-o", out, "--rows", "9,2,5", "--batch"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string csv = test::slurpFile(out);
    expectCsvMatchesShow(csv, test::showJson(file), {1, 4, 8});
    const Table table = parseCsv(csv.substr(3));
    const std::size_t batchStart = kProjectLabels.size() + 2 + 3;
    ASSERT_EQ(table.size(), batchStart + 1 + kBatchLabels.size());
    EXPECT_EQ(table[batchStart], std::vector<std::string>{""});
    const std::vector<std::string> batch = expectedBatch(file, "2,5,9");
    for (std::size_t i = 0; i < kBatchLabels.size(); ++i)
        EXPECT_EQ(table[batchStart + 1 + i], (std::vector<std::string>{kBatchLabels[i], batch[i]}));
    EXPECT_NE(batch[0], "");
}

TEST_F(ExportTest, TheBatchMessageIsCarriedAndReported) {
    DataSet data = test::programDataSets()[0].data;
    data.members.push_back(test::memberWithDepths(2, std::vector<float>(5, 5.0f)));
    const std::string file = save("m.stl", data);
    const std::string out = (dir_ / "m.csv").string();
    const test::CliResult run =
        test::runCliProgram({"export", file, "--format", "csv", "-o", out, "--batch"});
    ASSERT_EQ(run.status, 0);
    const std::string message = "构件：G002无法计算出抗压强度换算值，请检查数据。";
    EXPECT_EQ(run.err, "morvik-cli: " + message + "\n");
    const Table table = parseCsv(test::slurpFile(out).substr(3));
    EXPECT_EQ(table.back(), (std::vector<std::string>{"提示", message}));
    EXPECT_EQ(table[table.size() - 2], (std::vector<std::string>{"推定值 (MPa)", ""}));
}

TEST_F(ExportTest, ALegacyFileExportsItsOneMember) {
    std::map<int, std::string> fields = {{3, utf8ToGbk("旧工程")}, {4, "Q-1"}};
    for (int g = 0; g < 16; ++g)
        fields[11 + 3 * g] = "5.30";
    const auto legacy = dir_ / "old.stl";
    test::writeBytes(legacy, test::legacyImage(fields));
    const std::string out = (dir_ / "old.csv").string();
    exportFile({"export", legacy.string(), "--format", "csv", "-o", out});
    expectCsvMatchesShow(test::slurpFile(out), test::showJson(legacy.string()), {0});
}

// The workbook as openpyxl reads it.
Json readWorkbook(const std::string& file) {
    const test::ProgramResult run =
        test::runHostProgram(MORVIK_SYSTEM_PYTHON, {test::hostPath(MORVIK_XLSX_READER).u8string(),
                                                    test::hostPath(file).u8string()});
    EXPECT_EQ(run.status, 0) << "openpyxl cannot read " << file << ": " << run.err;
    return Json::parse(run.out);
}

// A cell as openpyxl gives it must hold `text` as the program shows it: a number with as
// many decimals in its format, a text, or nothing.
void expectCell(const Json& cell, const std::string& text, bool numeric, const std::string& where) {
    if (text.empty()) {
        EXPECT_TRUE(cell["value"].is_null()) << where << ": " << cell.dump();
        return;
    }
    if (!numeric) {
        EXPECT_EQ(cell["value"], text) << where;
        return;
    }
    ASSERT_TRUE(cell["numeric"].get<bool>()) << where << ": " << cell.dump();
    double expected = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), expected);
    EXPECT_EQ(cell["value"].get<double>(), expected) << where;
    const std::size_t point = text.find('.');
    const std::string format =
        point == std::string::npos ? "0" : "0." + std::string(text.size() - point - 1, '0');
    EXPECT_EQ(cell["format"], format) << where;
}

TEST_F(ExportTest, XlsxHoldsNumericCellsWithTheShownDecimals) {
    for (const auto& [name, data] : test::programDataSets()) {
        SCOPED_TRACE(name);
        const std::string file = save("x.stl", data);
        const std::string out = (dir_ / "x.xlsx").string();
        exportFile({"export", file, "--format", "xlsx", "-o", out, "--batch"});
        const Json shown = test::showJson(file);
        const Json book = readWorkbook(out);
        const Json& sheets = book["sheets"];
        ASSERT_EQ(sheets.size(), 3u);
        EXPECT_EQ(sheets[0]["name"], "构件");
        EXPECT_EQ(sheets[1]["name"], "工程信息");
        EXPECT_EQ(sheets[2]["name"], "批检测");

        const Json& rows = sheets[0]["rows"];
        ASSERT_EQ(rows.size(), data.members.size() + 1);
        const auto& headings = cli::memberHeadings();
        ASSERT_EQ(headings.size(), kMemberColumns);
        for (std::size_t c = 0; c < headings.size(); ++c)
            EXPECT_EQ(rows[0][c]["value"], headings[c]);
        for (std::size_t r = 0; r < data.members.size(); ++r) {
            const auto expected = expectedMemberRow(static_cast<int>(r + 1), shown["members"][r]);
            ASSERT_LE(rows[r + 1].size(), expected.size());
            for (std::size_t c = 0; c < expected.size(); ++c) {
                const Json cell =
                    c < rows[r + 1].size() ? rows[r + 1][c] : Json{{"value", nullptr}};
                const bool numeric = c == 0 || c >= 4;
                expectCell(cell, expected[c], numeric,
                           "row " + std::to_string(r + 1) + " column " + headings[c]);
            }
        }

        const std::vector<std::string> values = expectedProjectValues(shown["project"]);
        const Json& project = sheets[1]["rows"];
        ASSERT_EQ(project.size(), kProjectLabels.size());
        for (std::size_t i = 0; i < kProjectLabels.size(); ++i) {
            EXPECT_EQ(project[i][0]["value"], kProjectLabels[i]);
            const Json cell = project[i].size() > 1 ? project[i][1] : Json{{"value", nullptr}};
            expectCell(cell, values[i], kProjectLabels[i] == "检测温度", kProjectLabels[i]);
        }

        std::string all;
        for (std::size_t i = 1; i <= data.members.size(); ++i)
            all += (i > 1 ? "," : "") + std::to_string(i);
        const std::vector<std::string> batch = expectedBatch(file, all);
        const Json& batchRows = sheets[2]["rows"];
        ASSERT_EQ(batchRows.size(), kBatchLabels.size());
        for (std::size_t i = 0; i < kBatchLabels.size(); ++i) {
            EXPECT_EQ(batchRows[i][0]["value"], kBatchLabels[i]);
            const Json cell = batchRows[i].size() > 1 ? batchRows[i][1] : Json{{"value", nullptr}};
            expectCell(cell, batch[i], i + 1 < kBatchLabels.size(), kBatchLabels[i]);
        }
    }
}

TEST_F(ExportTest, XlsxColumnsAreWideEnoughForTheirHeadings) {
    const std::string file = save("w.stl", test::programDataSets()[0].data);
    const std::string out = (dir_ / "w.xlsx").string();
    exportFile({"export", file, "--format", "xlsx", "-o", out, "--rows", "1"});
    const Json book = readWorkbook(out);
    ASSERT_EQ(book["sheets"].size(), 2u); // no batch sheet without --batch
    const Json& widths = book["sheets"][0]["widths"];
    EXPECT_GE(widths["BC"].get<double>(), 2.0 * 11); // 砂浆抗压强度换算值 (MPa)
    EXPECT_GE(widths["A"].get<double>(), 4.0);       // 序号
    EXPECT_GE(widths["C"].get<double>(), 14.0);      // 2017年6月2日: 12 units
    EXPECT_GE(widths["D"].get<double>(), 12.0);      // 第1层墙体: 10 units
    EXPECT_LT(widths["B"].get<double>(), 14.0);      // G001 needs no more than its heading
    // The width rule itself: a Chinese character takes two units, ASCII one.
    EXPECT_EQ(cli::columnWidthFor("构件强度推定值 (MPa)"), 2 * 7 + 6 + 2);
    EXPECT_EQ(cli::columnWidthFor("abc"), 3 + 2);
    EXPECT_EQ(cli::columnWidthFor(""), 2);
}

TEST_F(ExportTest, TheSameUnderADecimalCommaLocale) {
    cli::ExportContent content;
    const DataSet data = test::programDataSets()[1].data;
    content.project = data.project;
    for (std::size_t i = 0; i < data.members.size(); ++i)
        content.members.emplace_back(static_cast<int>(i + 1), &data.members[i]);
    std::vector<const ShaJiang_GouJian_Struct*> ticked;
    for (const auto& m : data.members)
        ticked.push_back(&m);
    content.batch = cli::exportBatch(ticked, content.project);
    const std::string plain = cli::csvDocument(content);
    EXPECT_NE(plain.find(",5.0"), std::string::npos);
    std::string inComma;
    {
        MORVIK_IN_COMMA_LOCALE(comma);
        inComma = cli::csvDocument(content);
    }
    EXPECT_EQ(inComma, plain);

    // The program run under the same locale writes the same bytes too.
    const std::string file = save("l.stl", data);
    const auto c = dir_ / "c.csv";
    const auto d = dir_ / "d.xlsx";
    const auto e = dir_ / "e.xlsx";
    ASSERT_EQ(test::runCliProgram({"export", file, "--format", "csv", "-o", c.string(), "--batch"},
                                  {}, {{"LC_ALL", "de_DE.UTF-8"}})
                  .status,
              0);
    EXPECT_EQ(test::slurpFile(c), plain);
    ASSERT_EQ(test::runCliProgram({"export", file, "--format", "xlsx", "-o", d.string()}, {},
                                  {{"LC_ALL", "de_DE.UTF-8"}})
                  .status,
              0);
    ASSERT_EQ(test::runCliProgram({"export", file, "--format", "xlsx", "-o", e.string()}).status,
              0);
    EXPECT_EQ(readWorkbook(d.string()), readWorkbook(e.string()));
}

TEST_F(ExportTest, FailuresLeaveAnOldOutputAndAreNoSuccess) {
    const std::string file = save("f.stl", test::programDataSets()[0].data);
    for (const char* format : {"csv", "xlsx"}) {
        SCOPED_TRACE(format);
        const auto old = dir_ / (std::string("old.") + format);
        test::writeBytes(old, {1, 2, 3});
        const auto folder = dir_ / "folder";
        std::filesystem::create_directories(folder);
        const struct {
            std::vector<std::string> args;
            int status;
        } cases[] = {
            {{"export", file, "--format", format, "-o", folder.string()}, 1},
            {{"export", file, "--format", format, "-o", (dir_ / "no" / "x").string()}, 1},
            {{"export", file, "--format", format, "-o", "/dev/full"}, 1},
            {{"export", (dir_ / "none.stl").string(), "--format", format, "-o", old.string()}, 1},
            {{"export", file, "--format", format, "-o", old.string(), "--rows", "2"}, 2},
            {{"export", file, "--format", format, "-o", old.string(), "--rows", ""}, 2},
            {{"export", file, "--format", format, "-o", file}, 2}, // the data file itself
            {{"export", file, "--format", format}, 2},
            {{"export", file, "--format", format, "-o", old.string(), "--batch", "--batch"}, 2},
        };
        for (const auto& c : cases) {
            std::string line;
            for (const auto& a : c.args)
                line += a + " ";
            SCOPED_TRACE(line);
            const test::CliResult run = test::runCliProgram(c.args);
            EXPECT_EQ(run.status, c.status) << run.err;
            EXPECT_EQ(run.out, "");
            if (c.status == 1) {
                EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
            }
        }
        EXPECT_EQ(test::readBytes(old), (test::Bytes{1, 2, 3}));
        EXPECT_TRUE(std::filesystem::is_directory(folder));
        EXPECT_EQ(test::readBytes(file), encodeDataFile(test::programDataSets()[0].data));
    }
    for (const char* bad : {"pdf", "CSV", ""}) {
        const test::CliResult run =
            test::runCliProgram({"export", file, "--format", bad, "-o", (dir_ / "z").string()});
        EXPECT_EQ(run.status, 2) << bad;
    }
    EXPECT_FALSE(std::filesystem::exists(dir_ / "z"));
}

} // namespace
} // namespace morvik
