// Printing from the preview through a real print queue: the tests' own scheduler with two
// PDF queues of different paper, printable area and resolution. What the queue writes must
// be the record sheets page by page on the queue's paper, each looking like the sheet the
// PDF writer draws on that paper; a printer that goes away, refuses jobs or whose
// scheduler stops is reported with its reason and the preview stays.
#include "core/GbkText.h"
#include "printer/SheetPrinting.h"
#include "report/CMainFrame.h"
#include "tests/support/PrivateCups.h"
#include "tests/support/PromptScripted.h"
#include <QBuffer>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <iostream>

namespace morvik {
namespace {

using test::capture;
using test::PrivateCups;
using test::QueuePaperSpec;

struct QueueCase {
    const char* name;
    QueuePaperSpec paper;
};
// A4 with narrow margins at 300 dpi; Letter with wider ones, a deeper top, at 600 dpi.
const QueueCase kQueues[] = {
    {"morvik-a4", {"A4", 595, 842, 18, 18, 577, 824, 300}},
    {"morvik-letter", {"Letter", 612, 792, 36, 36, 576, 738, 600}},
};
constexpr int kRasterDpi = 50;
// CUPS-PDF rasterises anew and re-encodes the fonts: edges move by a pixel at most.
constexpr double kMaxMeanDifference = 3.0; // of 255
constexpr double kMaxDifferingShare = 0.02;
constexpr int kDifferingLevel = 64;
// Glyphs come back as bitmaps drawn a little differently; the sheet's lines, boxes and
// text blocks must stand where they stood: pages are compared in blocks of 5 × 5 pixels
// (a tenth of an inch).
constexpr int kBlock = 5;

std::string pdfInfo(const std::string& pdf, const char* key) {
    const std::string info = capture("pdfinfo '" + pdf + "' 2>/dev/null");
    const auto at = info.find(key);
    if (at == std::string::npos)
        return {};
    const auto start = info.find_first_not_of(' ', at + std::strlen(key));
    return info.substr(start, info.find('\n', start) - start);
}

struct Gray {
    int width = 0;
    int height = 0;
    std::string pixels;
};

// Page n of `pdf` in grey at the comparison resolution.
Gray raster(const std::string& pdf, int n, const std::string& scratch) {
    const std::string page = std::to_string(n);
    capture("pdftoppm -r " + std::to_string(kRasterDpi) + " -gray -f " + page + " -l " + page +
            " -singlefile '" + pdf + "' '" + scratch + "' 2>/dev/null");
    std::ifstream in(scratch + ".pgm", std::ios::binary);
    Gray image;
    std::string magic;
    int maxValue = 0;
    in >> magic >> image.width >> image.height >> maxValue;
    in.get();
    image.pixels.resize(static_cast<std::size_t>(image.width) * image.height);
    in.read(image.pixels.data(), static_cast<std::streamsize>(image.pixels.size()));
    return image;
}

struct Difference {
    double mean = 0;  // mean absolute difference, of 255
    double share = 0; // share of pixels differing by more than kDifferingLevel
};

// The mean grey of each block.
Gray blocks(const Gray& image) {
    Gray out;
    out.width = image.width / kBlock;
    out.height = image.height / kBlock;
    for (int by = 0; by < out.height; ++by)
        for (int bx = 0; bx < out.width; ++bx) {
            int sum = 0;
            for (int y = 0; y < kBlock; ++y)
                for (int x = 0; x < kBlock; ++x)
                    sum += static_cast<unsigned char>(image.pixels[static_cast<std::size_t>(
                        (by * kBlock + y) * image.width + bx * kBlock + x)]);
            out.pixels.push_back(static_cast<char>(sum / (kBlock * kBlock)));
        }
    return out;
}

Difference compare(const Gray& whole, const Gray& wholeReference) {
    Difference d;
    if (whole.pixels.empty() || whole.width != wholeReference.width ||
        whole.height != wholeReference.height)
        return {255, 1};
    const Gray a = blocks(whole);
    const Gray b = blocks(wholeReference);
    std::size_t differing = 0;
    double sum = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i) {
        const int delta = std::abs(static_cast<unsigned char>(a.pixels[i]) -
                                   static_cast<unsigned char>(b.pixels[i]));
        sum += delta;
        differing += delta > kDifferingLevel ? 1 : 0;
    }
    d.mean = sum / static_cast<double>(a.pixels.size());
    d.share = static_cast<double>(differing) / static_cast<double>(a.pixels.size());
    return d;
}

struct Sheets {
    ProjectInfo project{};
    std::vector<ShaJiang_GouJian_Struct> members;
    PrintSettings settings{};
    BatchResults batch{6.0, 1.4, 5.0, 0.2, 5.5};

    Sheets() {
        textToField("南湖小区3号楼", project.projectName);
        for (int i : {1, 4, 6})
            members.push_back(newMemberRecord(i + 1));
        for (std::size_t m = 0; m < members.size(); ++m)
            for (int p = 0; p < kPointCount; ++p) {
                members[m].unevenness[p] = 0.5f;
                members[m].gaugeReading[p] = 4.0f + 0.1f * static_cast<float>(p + m);
                members[m].depth[p] = members[m].gaugeReading[p] - 0.5f;
            }
        settings.printPageNumber = 1;
        settings.pageNumberFormat = 4;
    }
    PreviewPages pages() const { return PreviewPages(project, members, true, batch, settings); }
    // The PDF writer's pages of the same members on `paper`.
    std::string reference(const QueuePaper& paper, const QString& file) const {
        SheetJob job;
        job.project = &project;
        job.members = members;
        job.batchMode = true;
        job.batch = batch;
        job.settings = settings;
        QFile out(file);
        out.open(QIODevice::WriteOnly);
        writeSheetsPdf(out, recordSheetDocument(job), pageLayoutOf(paper), paper.dotsPerInch);
        return file.toStdString();
    }
};

class PrintQueue : public ::testing::Test {
protected:
    void SetUp() override {
        if (!cups.skipReason().empty()) {
            std::cout << "[ SKIPPED  ] no private print scheduler: " << cups.skipReason() << "\n";
            GTEST_SKIP() << cups.skipReason();
        }
        for (const QueueCase& q : kQueues) {
            std::string error;
            ASSERT_TRUE(cups.addPdfQueue(q.name, q.paper, error)) << error;
        }
        ASSERT_TRUE(cups.admin(std::string("lpadmin -d ") + kQueues[0].name));
        dialog.setWindowTitle(QStringLiteral("Velkan贯入仪检测软件V2.01-a.stl"));
        dialog.show();
    }
    void TearDown() override {
        if (frame != nullptr)
            frame->close();
    }
    // Opens the preview and presses 打印 with `choice` queued.
    void print(const ScriptedPrompt::PrintChoice& choice) {
        prompt.printChoices.push_back(choice);
        frame = CMainFrame::startPreview(dialog, sheets.pages(), prompt);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.data()));
        frame->action(PreviewCommand::Print)->trigger();
    }
    bool previewEnded() {
        return QTest::qWaitFor([&] { return frame.isNull(); }) && dialog.isVisible();
    }

    PrivateCups cups;
    QWidget dialog;
    ScriptedPrompt prompt;
    QPointer<CMainFrame> frame;
    Sheets sheets;
    QTemporaryDir scratch;
};

TEST_F(PrintQueue, PreviewPrintsTheSheetsOnEachQueuesPaper) {
    for (const QueueCase& q : kQueues) {
        SCOPED_TRACE(q.name);
        const QueueAnswer<QueuePaper> paper = printerPaper(q.name);
        ASSERT_TRUE(paper.value) << paper.failure;
        const std::string reference =
            sheets.reference(*paper.value, scratch.filePath(QString(q.name) + ".pdf"));
        const std::string expectedSize =
            std::to_string(q.paper.width) + " x " + std::to_string(q.paper.height) + " pts";
        const std::string picture = scratch.filePath(QStringLiteral("page")).toStdString();

        // Pages 1 to 3, then page 2 of 3 alone: the second member, numbered 2.
        struct Run {
            int from, to;
            std::vector<int> pages;
        };
        for (const Run& run : {Run{0, 0, {1, 2, 3}}, Run{2, 2, {2}}}) {
            print({QString(), run.from, run.to, QString::fromUtf8(q.name), {}});
            ASSERT_TRUE(previewEnded());
            EXPECT_TRUE(prompt.messages.empty());
            const std::vector<std::string> out = cups.takeOutput(1);
            ASSERT_EQ(out.size(), 1u) << cups.logTail();
            ASSERT_EQ(pdfInfo(out[0], "Pages:"), std::to_string(run.pages.size()));
            EXPECT_EQ(pdfInfo(out[0], "Page size:").rfind(expectedSize, 0), 0u)
                << pdfInfo(out[0], "Page size:");
            Difference worst;
            for (std::size_t i = 0; i < run.pages.size(); ++i) {
                const Difference d = compare(raster(out[0], static_cast<int>(i + 1), picture),
                                             raster(reference, run.pages[i], picture + "-ref"));
                EXPECT_LT(d.mean, kMaxMeanDifference) << "page " << i + 1;
                EXPECT_LT(d.share, kMaxDifferingShare) << "page " << i + 1;
                worst.mean = std::max(worst.mean, d.mean);
                worst.share = std::max(worst.share, d.share);
            }
            std::cout << "[  QUEUE   ] " << q.name << ": " << run.pages.size() << " page(s), "
                      << pdfInfo(out[0], "Page size:") << ", " << paper.value->dotsPerInch
                      << " dpi; against the PDF writer at " << kRasterDpi
                      << " dpi, in 5x5 blocks: mean difference " << worst.mean
                      << "/255, blocks differing " << worst.share * 100 << " %\n";
        }
    }
    // Cancelled: nothing reaches the queue.
    print({});
    ASSERT_TRUE(previewEnded());
    EXPECT_TRUE(cups.takeOutput(0).empty());
}

// What goes wrong while the print dialog is open, and the reason the message must give.
struct Refusal {
    const char* what;
    const char* command; // run against the scheduler; none: the scheduler stops
    const char* reason;
};
const Refusal kRefusals[] = {
    {"QueueRejectsJobs", "cupsreject morvik-letter", "not accepting jobs"},
    {"PrinterWentAway", "lpadmin -x morvik-letter", "no printer named \"morvik-letter\""},
    {"SchedulerStopped", nullptr, "cannot be reached"},
};

class PrintQueueRefusal : public PrintQueue, public ::testing::WithParamInterface<Refusal> {};

TEST_P(PrintQueueRefusal, SaysWhyAndKeepsThePreview) {
    const Refusal& r = GetParam();
    print({QString(), 0, 0, QStringLiteral("morvik-letter"), [&] {
               if (r.command != nullptr)
                   cups.admin(r.command);
               else
                   cups.stop();
           }});
    ASSERT_EQ(prompt.messages.size(), 1u);
    const std::string text = prompt.messages[0].message.text;
    EXPECT_EQ(text.rfind("打印失败：", 0), 0u) << text;
    EXPECT_NE(text.find(r.reason), std::string::npos) << text;
    QTest::qWait(20);
    ASSERT_FALSE(frame.isNull());
    EXPECT_TRUE(frame->isVisible());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(cups.takeOutput(0).empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, PrintQueueRefusal, ::testing::ValuesIn(kRefusals),
                         [](const auto& info) { return std::string(info.param.what); });

} // namespace
} // namespace morvik
