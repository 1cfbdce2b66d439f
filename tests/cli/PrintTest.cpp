// morvik-cli printers and print through the real executable against the tests' own print
// scheduler: what reaches the queue's PDF, page by page, and the failures that must leave
// nothing printed and no file written in its place.

#include "../io/TestFiles.h"
#include "CliRunner.h"
#include "tests/support/PrivateCups.h"
#include <cstdio>
#include <gtest/gtest.h>
#include <iostream>

namespace morvik {
namespace {

using test::capture;
using test::TempDir;

const test::QueuePaperSpec kA4 = {"A4", 595, 842, 18, 18, 577, 824, 300};
const test::QueuePaperSpec kLetter = {"Letter", 612, 792, 36, 36, 576, 738, 600};
constexpr int kRasterDpi = 20; // enough to tell one member's sheet from another's

// Page n of `pdf` in grey, as bytes: equal for two pages exactly when they show the same.
std::string pagePicture(const std::string& pdf, int n, const TempDir& scratch) {
    const std::string page = std::to_string(n), stem = (scratch / "page").string();
    capture("pdftoppm -r " + std::to_string(kRasterDpi) + " -gray -f " + page + " -l " + page +
            " -singlefile '" + pdf + "' '" + stem + "' 2>/dev/null");
    return test::slurpFile(stem + ".pgm");
}

struct PrintCase {
    const char* what;
    std::vector<std::string> options; // after "print FILE"
    int status;
    std::string said;       // on standard output when printed, else on standard error
    std::vector<int> pages; // which printed page each page repeats (0: itself); none: no job
    const char* rejecting = nullptr; // a queue that refuses jobs meanwhile
    bool deadScheduler = false;      // CUPS_SERVER names a socket nobody accepts on
};

TEST(CliPrint, PrintsOnTheNamedOrDefaultQueueAndRefusesWithoutWritingAnything) {
    test::PrivateCups cups;
    if (!cups.skipReason().empty()) {
        std::cout << "[ SKIPPED  ] no private print scheduler: " << cups.skipReason() << "\n";
        GTEST_SKIP() << cups.skipReason();
    }
    std::string error;
    ASSERT_TRUE(cups.addPdfQueue("morvik-a4", kA4, error)) << error;
    ASSERT_TRUE(cups.addPdfQueue("morvik-letter", kLetter, error)) << error;
    ASSERT_TRUE(cups.admin("lpadmin -d morvik-a4"));
    const test::CliResult listed = test::runCliProgram({"printers"});
    EXPECT_EQ(listed.status, 0) << listed.err;
    EXPECT_EQ(listed.out, "morvik-a4 (default)\nmorvik-letter\n");

    TempDir dir, work, scratch;
    const std::string file = (dir / "day.stl").string();
    ASSERT_EQ(writeDataFile(file, test::sampleDataSet(4)), WriteResult::Written);
    // A socket left behind by a scheduler that is gone: nobody accepts on it.
    const std::string socket = (scratch / "gone.sock").string();
    capture("python3 -c 'import socket; socket.socket(socket.AF_UNIX).bind(\"" + socket + "\")'");
    ASSERT_TRUE(std::filesystem::exists(socket));

    const PrintCase cases[] = {
        {"default printer, row 1", {}, 0, "\"morvik-a4\"", {0}},
        {"rows 1,3 twice, collated",
         {"--rows", "1,3", "--printer", "morvik-letter", "--copies", "2"},
         0,
         "\"morvik-letter\"",
         {0, 0, 1, 2}},
        {"summary of rows 1,3", {"--summary", "--rows", "1,3"}, 0, "\"morvik-a4\"", {0}},
        {"no such printer",
         {"--printer", "morvik-none"},
         1,
         "printer \"morvik-none\": there is no printer named \"morvik-none\"",
         {}},
        {"queue rejects jobs",
         {"--printer", "morvik-letter"},
         1,
         "printer \"morvik-letter\": Destination \"morvik-letter\" is not accepting jobs",
         {},
         "morvik-letter"},
        {"no scheduler",
         {"--printer", "morvik-a4"},
         1,
         "printer \"morvik-a4\": the print scheduler (" + socket +
             ") cannot be reached: nothing answers there",
         {},
         nullptr,
         true},
        {"no scheduler, default printer",
         {},
         1,
         "cannot print on the default printer: the print scheduler",
         {},
         nullptr,
         true},
    };
    for (const PrintCase& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.rejecting != nullptr) {
            ASSERT_TRUE(cups.admin(std::string("cupsreject ") + c.rejecting));
        }
        std::vector<std::string> args = {"print", file};
        args.insert(args.end(), c.options.begin(), c.options.end());
        test::ProgramOptions options;
        options.directory = work.path();
        if (c.deadScheduler)
            options.environment = {{"CUPS_SERVER", socket}};
        const test::CliResult run = test::runProgram(test::cliProgram(), args, options);
        if (c.rejecting != nullptr) {
            ASSERT_TRUE(cups.admin(std::string("cupsaccept ") + c.rejecting));
        }
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_NE((c.status == 0 ? run.out : run.err).find(c.said), std::string::npos)
            << run.out << run.err;
        EXPECT_TRUE(std::filesystem::is_empty(work.path()));
        const std::vector<std::string> out = cups.takeOutput(c.pages.empty() ? 0 : 1);
        ASSERT_EQ(out.size(), c.pages.empty() ? 0u : 1u) << cups.logTail();
        if (out.empty())
            continue;
        const std::string info = capture("pdfinfo '" + out[0] + "'");
        EXPECT_NE(info.find("Pages:           " + std::to_string(c.pages.size())),
                  std::string::npos)
            << info;
        const test::QueuePaperSpec& paper =
            run.out.find("letter") != std::string::npos ? kLetter : kA4;
        const std::string size =
            std::to_string(paper.width) + " x " + std::to_string(paper.height) + " pts";
        EXPECT_NE(info.find(size), std::string::npos) << info;
        std::vector<std::string> pictures;
        for (std::size_t n = 1; n <= c.pages.size(); ++n)
            pictures.push_back(pagePicture(out[0], static_cast<int>(n), scratch));
        for (std::size_t n = 0; n < pictures.size(); ++n)
            for (std::size_t m = 0; m < n; ++m)
                EXPECT_EQ(pictures[n] == pictures[m], static_cast<std::size_t>(c.pages[n]) == m + 1)
                    << n + 1 << m + 1;
        std::cout << "[  QUEUE   ] print " << c.what << ": " << c.pages.size() << " page(s), "
                  << size << "\n";
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

} // namespace
} // namespace morvik
