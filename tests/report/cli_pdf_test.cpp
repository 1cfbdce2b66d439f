// morvik-cli pdf through the real executable: pages, their texts (read back with
// pdftotext) and the exit statuses.
#include "../io/TestFiles.h"
#include "core/Batch.h"
#include "core/GbkText.h"
#include "core/ResultText.h"
#include "io/DataFile.h"
#include "io/SettingsFile.h"
#include "report/PageNumbering.h"
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace morvik {
namespace {

using test::TempDir;

std::string quoted(const std::string& s) {
    return "'" + s + "'";
}

std::string cliPath() {
    if (const char* dir = std::getenv("MORVIK_BIN_DIR"))
        return std::string(dir) + "/morvik-cli";
    return MORVIK_CLI_PATH;
}

// Output of a shell command and its exit status.
struct Run {
    int status = -1;
    std::string out;
};

Run shell(const std::string& command) {
    Run run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return run;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.out.append(buffer, n);
    const int raw = pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return run;
}

int runPdf(const std::vector<std::string>& args, std::string* err = nullptr) {
    std::string command = quoted(cliPath()) + " pdf";
    for (const auto& a : args)
        command += " " + quoted(a);
    command += " 2>&1 >/dev/null";
    const Run run = shell(command);
    if (err != nullptr)
        *err = run.out;
    return run.status;
}

int pageCount(const std::filesystem::path& pdf) {
    const Run run = shell("pdfinfo " + quoted(pdf.string()));
    const auto at = run.out.find("Pages:");
    return at == std::string::npos ? -1 : std::atoi(run.out.c_str() + at + 6);
}

// The text of page n with all white space removed, so layout spacing does not matter.
std::string pageText(const std::filesystem::path& pdf, int n) {
    const std::string page = std::to_string(n);
    std::string text =
        shell("pdftotext -f " + page + " -l " + page + " " + quoted(pdf.string()) + " -").out;
    std::string packed;
    for (char c : text)
        if (c != ' ' && c != '\n' && c != '\t' && c != '\f' && c != '\r')
            packed += c;
    return packed;
}

int occurrences(const std::string& text, const std::string& needle) {
    int n = 0;
    for (auto at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1))
        ++n;
    return n;
}

struct PdfFixture : ::testing::Test {
    TempDir dir;
    DataSet data = test::sampleDataSet(6);
    std::filesystem::path file = dir / "members.stl";
    std::filesystem::path out = dir / "out.pdf";

    void SetUp() override {
        for (std::size_t i = 0; i < data.members.size(); ++i)
            textToField("墙" + std::to_string(i + 1) + "号", data.members[i].memberName);
        ASSERT_EQ(writeDataFile(file, data), WriteResult::Written);
    }
};

TEST_F(PdfFixture, ListedRowsBecomePagesInRowOrder) {
    ASSERT_EQ(runPdf({file.string(), "-o", out.string(), "--rows", "6,1,4"}), 0);
    EXPECT_EQ(pageCount(out), 3);
    const char* names[] = {"墙1号", "墙4号", "墙6号"};
    for (int page = 1; page <= 3; ++page) {
        const std::string text = pageText(out, page);
        EXPECT_NE(text.find("砂浆抗压强度贯入检测记录表"), std::string::npos) << page;
        EXPECT_NE(text.find("共3页第" + std::to_string(page) + "页"), std::string::npos) << page;
        EXPECT_NE(text.find(std::string("构件名称及编号：") + names[page - 1]), std::string::npos)
            << page;
        EXPECT_NE(text.find("工程名称：南湖小区3号楼"), std::string::npos);
        EXPECT_EQ(text.find("批检测信息"), std::string::npos); // no --batch
        EXPECT_EQ(text.find("纪录表"), std::string::npos);     // no settings
    }
}

TEST_F(PdfFixture, WithoutRowsTheFirstMemberIsPrinted) {
    ASSERT_EQ(runPdf({file.string(), "-o", out.string()}), 0);
    EXPECT_EQ(pageCount(out), 1);
    const std::string text = pageText(out, 1);
    EXPECT_NE(text.find("共1页第1页"), std::string::npos);
    EXPECT_NE(text.find("构件名称及编号：墙1号"), std::string::npos);
    const std::string mean = depthText(data.members[0].meanDepth);
    EXPECT_NE(text.find("=" + mean + "(mm)"), std::string::npos) << mean;
}

TEST_F(PdfFixture, BatchBlockOnlyOnTheFirstPage) {
    ASSERT_EQ(runPdf({file.string(), "-o", out.string(), "--rows", "2,3,5", "--batch"}), 0);
    const BatchOutcome expected =
        evaluateBatch({&data.members[1], &data.members[2], &data.members[4]}, 0x01, kBatchMissing);
    ASSERT_FALSE(expected.message.has_value());
    const std::string first = pageText(out, 1);
    EXPECT_NE(first.find("批检测信息："), std::string::npos);
    EXPECT_NE(first.find("强度平均值：" + expected.texts.mean + "MPa"), std::string::npos);
    EXPECT_NE(first.find("变异系数：" + expected.texts.cv), std::string::npos);
    EXPECT_NE(first.find("抗压强度推定值：" + expected.texts.estimate + "MPa"), std::string::npos);
    for (int page = 2; page <= 3; ++page)
        EXPECT_EQ(pageText(out, page).find("批检测信息"), std::string::npos) << page;
}

TEST_F(PdfFixture, BatchOfOneRowIsRefusedAndPrintsNoBlock) {
    std::string err;
    ASSERT_EQ(runPdf({file.string(), "-o", out.string(), "--rows", "2", "--batch"}, &err), 0);
    EXPECT_NE(err.find("请选中两组以上的数据进行计算。"), std::string::npos) << err;
    EXPECT_EQ(pageText(out, 1).find("批检测信息"), std::string::npos);
}

TEST_F(PdfFixture, SettingsFilePlacesHeaderFooterAndPageNumber) {
    PrintSettings settings = defaultPrintSettings(PrintSettings{});
    settings.printFooter = 1;
    textToField("页脚文字", settings.footerText);
    settings.pageNumberFormat = 4;
    settings.pageNumberPosition = 0;
    const auto ini = dir / "default.ini";
    ASSERT_TRUE(writeSettingsFile(ini, settings));
    ASSERT_EQ(runPdf({file.string(), "-o", out.string(), "--rows", "1,2", "--settings",
                      ini.string(), "--dpi", "300"}),
              0);
    EXPECT_EQ(pageCount(out), 2);
    for (int page = 1; page <= 2; ++page) {
        const std::string text = pageText(out, page);
        EXPECT_EQ(occurrences(text, "砂浆抗压强度贯入检测纪录表"), 1) << page;
        EXPECT_EQ(occurrences(text, "页脚文字"), 1) << page;
        // The page count under the title and the page number in format 4.
        EXPECT_EQ(occurrences(text, "共2页第" + std::to_string(page) + "页"), 2) << page;
    }
}

TEST_F(PdfFixture, ExitStatuses) {
    const std::string f = file.string();
    const std::string o = out.string();
    struct Case {
        const char* name;
        std::vector<std::string> args;
        int status;
    };
    const Case cases[] = {
        {"missing data file", {(dir / "none.stl").string(), "-o", o}, 1},
        {"missing settings file", {f, "-o", o, "--settings", (dir / "none.ini").string()}, 1},
        {"output cannot be written", {f, "-o", (dir / "no" / "such" / "x.pdf").string()}, 1},
        {"no output", {f}, 2},
        {"no file", {"-o", o}, 2},
        {"bad rows", {f, "-o", o, "--rows", "1,x"}, 2},
        {"row beyond the file", {f, "-o", o, "--rows", "7"}, 2},
        {"bad dpi", {f, "-o", o, "--dpi", "0"}, 2},
        {"dpi too high", {f, "-o", o, "--dpi", "99999"}, 2},
        {"batch twice", {f, "-o", o, "--batch", "--batch"}, 2},
        {"unknown option", {f, "-o", o, "--colour"}, 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(runPdf(c.args), c.status) << c.name;
    EXPECT_FALSE(std::filesystem::exists(out));
}

} // namespace
} // namespace morvik
