// morvik-cli pdf through the real executable: pages, their texts (read back with
// pdftotext) and the exit statuses.
#include "../io/CommaLocale.h"
#include "../io/TestFiles.h"
#include "SheetFixture.h"
#include "core/Batch.h"
#include "core/Evaluation.h"
#include "core/GbkText.h"
#include "core/ResultText.h"
#include "io/DataFile.h"
#include "io/SettingsFile.h"
#include "sheet/PageNumbering.h"
#include "sheet/SheetPdf.h"
#include "tests/support/Portable.h"
#include "tests/support/RunProgram.h"
#include <QGuiApplication>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <thread>
#include <tuple>
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#endif

namespace morvik {
namespace {

using test::TempDir;

// The decimal-comma locale a child is given through LC_ALL; Wine too sets the locale of
// the programs it runs from it.
constexpr const char* kChildCommaLocale = "de_DE.UTF-8";

std::string cliPath() {
    if (const char* dir = std::getenv("MORVIK_BIN_DIR"))
        return std::string(dir) + "/morvik-cli" + (test::kOnWindows ? ".exe" : "");
    return MORVIK_CLI_PATH;
}

// Runs morvik-cli SUBCOMMAND with `args` (as `program`, another user's copy, when given)
// and gives its exit status; its standard error goes to `err`, its standard output nowhere.
int runCommand(const std::string& subcommand, const std::vector<std::string>& args,
               std::string* err = nullptr, const test::ProgramOptions& options = {},
               const std::string& program = cliPath()) {
    std::vector<std::string> all{subcommand};
    all.insert(all.end(), args.begin(), args.end());
    const test::ProgramResult run = test::runProgram(program, all, options);
    if (err != nullptr)
        *err = test::withUnixLineEnds(run.err);
    return run.status;
}

int runPdf(const std::vector<std::string>& args, std::string* err = nullptr,
           const test::ProgramOptions& options = {}) {
    return runCommand("pdf", args, err, options);
}

#ifndef _WIN32
// The same under a shell, for what only a shell does: a limit, another user.
int runPdfInShell(const std::string& prefix, const std::vector<std::string>& args,
                  std::string* err = nullptr, const std::string& program = cliPath()) {
    std::vector<std::string> all{"-c", prefix + "\"$0\" pdf \"$@\"", program};
    all.insert(all.end(), args.begin(), args.end());
    const test::ProgramResult run = test::runProgram("/bin/sh", all);
    if (err != nullptr)
        *err = run.err;
    return run.status;
}
#endif

int pageCount(const std::filesystem::path& pdf) {
    const test::ProgramResult run =
        test::runHostProgram("pdfinfo", {test::hostPath(pdf).u8string()});
    const auto at = run.out.find("Pages:");
    return at == std::string::npos ? -1 : std::atoi(run.out.c_str() + at + 6);
}

// The text of page n with all white space removed, so layout spacing does not matter;
// with `layout`, each line of the page stays one line of text before that.
std::string pageText(const std::filesystem::path& pdf, int n, bool layout = false) {
    const std::string page = std::to_string(n);
    std::vector<std::string> args{"-f", page, "-l", page, test::hostPath(pdf).u8string(), "-"};
    if (layout)
        args.insert(args.begin(), "-layout");
    const std::string text = test::runHostProgram("pdftotext", args).out;
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

TEST_F(PdfFixture, FailedWritesSayCannotWriteAndKeepTheOldFile) {
#ifdef _WIN32
    MORVIK_SKIP_ON_WINDOWS("Windows has no full device (/dev/full) and no file size limit");
#else
    ASSERT_EQ(runPdf({file.string(), "-o", out.string()}), 0);
    const test::Bytes old = test::readBytes(out);
    std::string err;
    EXPECT_EQ(runPdf({file.string(), "-o", "/dev/full"}, &err), 1);
    EXPECT_EQ(err, "morvik-cli: cannot write /dev/full\n");

    // A file-size limit far below the document: the write fails half way.
    EXPECT_EQ(runPdfInShell("ulimit -f 8; ", {file.string(), "-o", out.string(), "--rows", "1,2,3"},
                            &err),
              1);
    EXPECT_EQ(err, "morvik-cli: cannot write " + out.string() + "\n");
    EXPECT_EQ(test::readBytes(out), old);
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"members.stl", "out.pdf"})); // no temporary left
#endif
}

TEST_F(PdfFixture, TheDataFileIsNeverItsOwnOutput) {
    const test::Bytes before = test::readBytes(file);
    // Symbolic links need a privilege on Windows: the case through one is left out there.
    if (!test::kOnWindows)
        std::filesystem::create_symlink(file, dir / "link.stl");
    std::filesystem::create_hard_link(file, dir / "hard.stl");
    std::filesystem::create_directory(dir / "sub");
    const auto ini = dir / "default.ini";
    ASSERT_TRUE(writeSettingsFile(ini, PrintSettings{}));
    struct Case {
        const char* name;
        std::string output;
        std::vector<std::string> more;
    };
    std::vector<Case> cases = {
        {"the same path", file.string(), {}},
        {"a hard link", (dir / "hard.stl").string(), {}},
        {"another spelling", (dir / "sub" / ".." / "members.stl").string(), {}},
        {"the settings file", ini.string(), {"--settings", ini.string()}},
    };
    if (!test::kOnWindows)
        cases.push_back({"through a link", (dir / "link.stl").string(), {}});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> args{file.string(), "-o", c.output};
        args.insert(args.end(), c.more.begin(), c.more.end());
        std::string err;
        EXPECT_EQ(runPdf(args, &err), 2);
        EXPECT_NE(err.find("is the "), std::string::npos) << err;
    }
    EXPECT_EQ(test::readBytes(file), before);
    EXPECT_EQ(test::readBytes(ini).size(), kSettingsFileSize);
    EXPECT_EQ(std::filesystem::is_symlink(dir / "link.stl"), !test::kOnWindows);
}

TEST_F(PdfFixture, AFileThatIsNoSettingsFileIsIgnoredWithANote) {
    const auto ini = dir / "notes.ini";
    test::writeBytes(ini, {'a', 'b', 'c', 'd', 'e'});
    std::string err;
    ASSERT_EQ(runPdf({file.string(), "-o", out.string(), "--settings", ini.string()}, &err), 0);
    EXPECT_NE(err.find(ini.string() + " is not a settings file; ignored"), std::string::npos)
        << err;
    EXPECT_EQ(pageCount(out), 1);
}

TEST_F(PdfFixture, UnreadableSettingsAndReadOnlyOutputNeedsUnprivilegedUser) {
#ifdef _WIN32
    MORVIK_SKIP_ON_WINDOWS("a file cannot be made unreadable by mode bits, and there is no "
                           "user switch (setpriv) to drop the privilege to read it");
#else
    const std::string as = test::unprivilegedPrefix(dir.path());
    // Whether that user may do what `test OPTION FILE` asks.
    auto userMay = [&](const char* option, const std::filesystem::path& checked) {
        return test::runProgram("/bin/sh",
                                {"-c", as + "test " + option + " \"$0\"", checked.string()})
                   .status == 0;
    };
    // A copy in the scratch folder, which that user may reach wherever the build lies.
    const auto cli = dir / "morvik-cli";
    std::filesystem::copy_file(cliPath(), cli);
    std::filesystem::permissions(
        cli, std::filesystem::perms::owner_all | std::filesystem::perms::group_read |
                 std::filesystem::perms::group_exec | std::filesystem::perms::others_read |
                 std::filesystem::perms::others_exec);
    const auto ini = dir / "default.ini";
    ASSERT_TRUE(writeSettingsFile(ini, PrintSettings{}));
    std::filesystem::permissions(ini, std::filesystem::perms::none);
    ASSERT_FALSE(userMay("-r", ini)) << "the user the command runs as may still read the file";
    std::string err;
    EXPECT_EQ(runPdfInShell(as, {file.string(), "-o", out.string(), "--settings", ini.string()},
                            &err, cli.string()),
              1);
    EXPECT_EQ(err, "morvik-cli: cannot open " + ini.string() + "\n");
    EXPECT_FALSE(std::filesystem::exists(out));

    // A read-only PDF in a folder the user may write: renaming over it would replace it.
    ASSERT_EQ(runPdfInShell(as, {file.string(), "-o", out.string()}, nullptr, cli.string()), 0);
    const test::Bytes old = test::readBytes(out);
    std::filesystem::permissions(out, std::filesystem::perms::owner_read |
                                          std::filesystem::perms::group_read |
                                          std::filesystem::perms::others_read);
    ASSERT_FALSE(userMay("-w", out));
    EXPECT_EQ(
        runPdfInShell(as, {file.string(), "-o", out.string(), "--rows", "2"}, &err, cli.string()),
        1);
    EXPECT_EQ(err, "morvik-cli: cannot write " + out.string() + "\n");
    EXPECT_EQ(test::readBytes(out), old);
#endif
}

TEST_F(PdfFixture, SheetTextsAreTheSameUnderADecimalCommaLocale) {
    {
        MORVIK_IN_COMMA_LOCALE(available); // the command below would silently use C without it
    }
    const auto comma = dir / "comma.pdf";
    const auto plain = dir / "plain.pdf";
    const std::vector<std::string> rows{"--rows", "1,2", "--batch", "--dpi", "300"};
    std::vector<std::string> args{file.string(), "-o", comma.string()};
    args.insert(args.end(), rows.begin(), rows.end());
    test::ProgramOptions locale;
    locale.environment = {{"LC_ALL", kChildCommaLocale}};
    ASSERT_EQ(runPdf(args, nullptr, locale), 0);
    args[2] = plain.string();
    locale.environment = {{"LC_ALL", "C.UTF-8"}};
    ASSERT_EQ(runPdf(args, nullptr, locale), 0);
    for (int page = 1; page <= 2; ++page) {
        SCOPED_TRACE(page);
        const std::string text = pageText(comma, page);
        EXPECT_EQ(text, pageText(plain, page));
        const std::string reading = depthText(data.members[0].unevenness[0]);
        EXPECT_NE(text.find(reading), std::string::npos) << reading;
        EXPECT_NE(text.find("=" + depthText(data.members[page == 1 ? 0 : 1].meanDepth) + "(mm)"),
                  std::string::npos);
    }
}

// Every text of a full sheet (batch block, readings, formulas), with its position.
std::vector<std::tuple<int, int, std::string>> sheetTexts() {
    SheetFixture f;
    f.project = test::sampleDataSet(1).project;
    f.member = test::sampleDataSet(3).members[2];
    f.member.unevenness[3] = 0.05f;
    f.useBatch(0.12);
    f.settings.printPageNumber = 1;
    std::vector<std::tuple<int, int, std::string>> texts;
    for (const auto& t : f.draw().texts)
        texts.emplace_back(t.x, t.y, t.text.toStdString());
    return texts;
}

TEST(SheetLocale, EveryTextDrawnIsTheSameUnderADecimalCommaLocale) {
    const auto plain = sheetTexts();
    MORVIK_IN_COMMA_LOCALE(comma);
    const auto withComma = sheetTexts();
    ASSERT_EQ(withComma.size(), plain.size());
    for (std::size_t i = 0; i < plain.size(); ++i)
        EXPECT_EQ(withComma[i], plain[i]) << "text " << i;
    bool sawDecimal = false;
    for (const auto& t : plain)
        sawDecimal = sawDecimal || std::get<2>(t) == "0.05";
    EXPECT_TRUE(sawDecimal); // the numbers are really there to compare
}

// The preview prints to a file through the same writer; it needs a GUI application for
// its fonts.
QGuiApplication& guiApplication() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "sheet_cli_tests";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    return app;
}

TEST_F(PdfFixture, PrintingToAFileReplacesItOnlyWhenWhollyWritten) {
    guiApplication();
    SheetJob job;
    job.project = &data.project;
    job.members = {data.members[0], data.members[1]};
    const QString path = QString::fromStdString(out.string());
    ASSERT_TRUE(writeRecordSheetsPdf(path, job, 300));
    const test::Bytes old = test::readBytes(out);
    EXPECT_EQ(pageCount(out), 2);
    QString error;

    job.members.push_back(data.members[2]);
    EXPECT_FALSE(writeRecordSheetsPdf(QString::fromStdString((dir / "no" / "x.pdf").string()), job,
                                      300, &error));
#ifdef _WIN32
    MORVIK_SKIP_ON_WINDOWS("Windows has no file size limit (setrlimit) and no pipes in the "
                           "file system");
#else
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limit = saved;
    limit.rlim_cur = 4096;
    const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    const bool written = writeRecordSheetsPdf(path, job, 300, &error);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldSignal);
    EXPECT_FALSE(written);
    EXPECT_EQ(error, "cannot write " + path);
    EXPECT_EQ(test::readBytes(out), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              2); // the data file and the old PDF

    const auto pipe = dir / "pipe.pdf";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_FALSE(writeRecordSheetsPdf(QString::fromStdString(pipe.string()), job, 300, &error));
    EXPECT_TRUE(std::filesystem::is_fifo(pipe));
#endif
}

// morvik-cli summary: one table row per member in list order, with the texts the dialog
// shows, and the batch of exactly those rows.
TEST(SummaryCli, FortyMembersOnTwoPagesReadBackAsShown) {
    TempDir dir;
    DataSet data = test::sampleDataSet(41);
    // A member without readings has no converted strength: "--" and the refusal.
    ShaJiang_GouJian_Struct& empty = data.members[3];
    std::fill(std::begin(empty.unevenness), std::end(empty.unevenness), kMissing);
    std::fill(std::begin(empty.gaugeReading), std::end(empty.gaugeReading), kMissing);
    std::fill(std::begin(empty.depth), std::end(empty.depth), kMissing);
    evaluateMember(empty, data.project.mortarCode);
    const auto file = dir / "batch.stl";
    const auto out = dir / "summary.pdf";
    ASSERT_EQ(writeDataFile(file, data), WriteResult::Written);

    std::string rowList;
    for (int row = 2; row <= 41; ++row)
        rowList += (rowList.empty() ? "" : ",") + std::to_string(row);
    std::string err;
    ASSERT_EQ(runCommand("summary", {file.string(), "-o", out.string(), "--rows", rowList}, &err),
              0);
    EXPECT_EQ(err, "morvik-cli: 构件：G004无法计算出抗压强度换算值，请检查数据。\n");
    ASSERT_EQ(pageCount(out), 2);
    const std::string text = pageText(out, 1, true) + pageText(out, 2, true);
    EXPECT_EQ(occurrences(text, "砂浆抗压强度贯入检测汇总表"), 2);
    EXPECT_NE(text.find("共2页第1页"), std::string::npos);
    EXPECT_NE(text.find("共2页第2页"), std::string::npos);
    EXPECT_NE(text.find("工程名称：南湖小区3号楼"), std::string::npos);
    for (int i = 0; i < 40; ++i) {
        const ShaJiang_GouJian_Struct& m = data.members[static_cast<std::size_t>(i + 1)];
        const MemberResultTexts shown = memberResultTexts(m);
        const std::string row = std::to_string(i + 1) + fieldToText(m.memberName) +
                                fieldToText(m.testDate) + shown.meanDepth + shown.strength +
                                shown.memberEstimate;
        EXPECT_EQ(occurrences(text, row), 1) << row;
    }
    EXPECT_EQ(text.find("平均值："), std::string::npos);

    // A batch without the faulty member shows its values; the same input gives the same
    // bytes, whenever it is written.
    ASSERT_EQ(runCommand("summary", {file.string(), "-o", out.string(), "--rows", "1,2,3"}), 0);
    std::vector<const ShaJiang_GouJian_Struct*> batch;
    for (int i = 0; i < 3; ++i)
        batch.push_back(&data.members[static_cast<std::size_t>(i)]);
    const BatchOutcome evaluated = evaluateBatch(batch, data.project.mortarCode, kBatchMissing);
    const BatchTexts& values = evaluated.texts;
    const std::string one = pageText(out, 1);
    for (const std::string& shown :
         {"平均值：" + values.mean + "MPa",
          "标准差：" + sheetStdDevText(evaluated.values.batchStdDev) + "MPa",
          "最小值：" + values.min + "MPa", "变异系数：" + values.cv,
          "推定值：" + values.estimate + "MPa"})
        EXPECT_NE(one.find(shown), std::string::npos) << shown;
    const test::Bytes first = test::readBytes(out);
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    ASSERT_EQ(runCommand("summary", {file.string(), "-o", out.string(), "--rows", "1,2,3"}), 0);
    EXPECT_EQ(test::readBytes(out), first);

    // The statuses and words of pdf.
    EXPECT_EQ(runCommand("summary", {file.string()}, &err), 2);
    EXPECT_NE(err.find("summary needs -o OUT.pdf"), std::string::npos) << err;
    EXPECT_EQ(runCommand("summary", {file.string(), "-o", out.string(), "--rows", "42"}, &err), 2);
    EXPECT_NE(err.find("row 42 is beyond the 41 members"), std::string::npos) << err;
    EXPECT_EQ(runCommand("summary", {(dir / "none.stl").string(), "-o", out.string()}), 1);
    EXPECT_EQ(test::readBytes(out), first);
}

} // namespace
} // namespace morvik
