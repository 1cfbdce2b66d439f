// The pages of the print preview and of printing: which member each page shows, its page
// number and count, the batch block, the blank page, and the pages a printer asks for.
#include "core/GbkText.h"
#include "report/PreviewLayout.h"
#include "report/PreviewPages.h"
#include "sheet/PageNumbering.h"
#include "tests/sheet/SheetFixture.h"
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <gtest/gtest.h>

namespace morvik {
namespace {

// A data set of seven members G001..G007, list index i holding G00(i+1).
std::vector<ShaJiang_GouJian_Struct> sevenMembers() {
    std::vector<ShaJiang_GouJian_Struct> members;
    for (int i = 1; i <= 7; ++i)
        members.push_back(newMemberRecord(i));
    return members;
}

std::vector<ShaJiang_GouJian_Struct> pick(const std::vector<ShaJiang_GouJian_Struct>& members,
                                          std::initializer_list<int> indices) {
    std::vector<ShaJiang_GouJian_Struct> chosen;
    for (int i : indices)
        chosen.push_back(members[static_cast<std::size_t>(i)]);
    return chosen;
}

PrintSettings countedPageNumbers() {
    PrintSettings settings{};
    settings.printPageNumber = 1;
    settings.pageNumberFormat = 4; // 共%d页 第%d页
    settings.pageNumberPosition = 0;
    return settings;
}

const BatchResults kPassingBatch{6.0, 1.414, 5.0, 0.2, 5.46};

RecordingCanvas drawn(const PreviewPages& pages, int pageNumber) {
    RecordingCanvas canvas(600);
    pages.drawPage(canvas, kA4Width600, kA4Height600, pageNumber);
    return canvas;
}

TEST(PreviewPages, NoTickShowsTheCurrentMemberAsPageOneOfOne) {
    const ProjectInfo project{};
    const PreviewPages pages(project, pick(sevenMembers(), {3}), false, BatchResults{},
                             countedPageNumbers());
    EXPECT_EQ(pages.pageCount(), 1);
    const RecordingCanvas page = drawn(pages, 1);
    only(page, QStringLiteral("构件名称及编号：G004"));
    // Once under the title, once as the page number in the chosen format.
    EXPECT_EQ(page.find(QStringLiteral("共1页 第1页")).size(), 2u);
}

TEST(PreviewPages, TickedMembersFollowEachOtherWithTheBatchOnPageOneOnly) {
    const ProjectInfo project{};
    const PreviewPages pages(project, pick(sevenMembers(), {1, 4, 6}), true, kPassingBatch,
                             countedPageNumbers());
    ASSERT_EQ(pages.pageCount(), 3);
    const char* names[] = {"G002", "G005", "G007"};
    for (int n = 1; n <= 3; ++n) {
        SCOPED_TRACE(n);
        const RecordingCanvas page = drawn(pages, n);
        only(page, QStringLiteral("构件名称及编号：") + names[n - 1]);
        EXPECT_EQ(page.find(QStringLiteral("共3页 第%1页").arg(n)).size(), 2u);
        EXPECT_EQ(page.find(QStringLiteral("批检测信息：")).size(), n == 1 ? 1u : 0u);
    }
}

TEST(PreviewPages, WithoutAMemberThereIsOneBlankPage) {
    const ProjectInfo project{};
    const PreviewPages pages(project, {}, true, kPassingBatch, countedPageNumbers());
    EXPECT_EQ(pages.pageCount(), 1);
    EXPECT_EQ(pages.memberOnPage(1), nullptr);

    const RecordingCanvas page = drawn(pages, 1);
    EXPECT_TRUE(page.texts.empty());
    EXPECT_TRUE(page.rules.empty());
    EXPECT_EQ(page.liveFonts(), 0);

    QImage image(400, 566, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        pages.drawPage(painter, image.width(), image.height(), 1);
    }
    QImage white(image.size(), QImage::Format_RGB32);
    white.fill(Qt::white);
    EXPECT_EQ(image, white);
}

TEST(PreviewPages, PagesBeyondTheMembersDrawNothing) {
    const ProjectInfo project{};
    const PreviewPages pages(project, pick(sevenMembers(), {0, 1}), false, BatchResults{},
                             countedPageNumbers());
    for (int n : {-1, 0, 3}) {
        SCOPED_TRACE(n);
        EXPECT_EQ(pages.memberOnPage(n), nullptr);
        const RecordingCanvas page = drawn(pages, n);
        EXPECT_TRUE(page.texts.empty());
        EXPECT_TRUE(page.rules.empty());
    }
    ASSERT_NE(pages.memberOnPage(2), nullptr);
    EXPECT_EQ(fieldToText(pages.memberOnPage(2)->memberName), "G002");
}

TEST(PreviewPages, PagesKeepTheDataAsItWasWhenThePreviewStarted) {
    ProjectInfo project{};
    textToField("一号楼", project.projectName);
    std::vector<ShaJiang_GouJian_Struct> members = pick(sevenMembers(), {0});
    PrintSettings settings = countedPageNumbers();
    const PreviewPages pages(project, members, false, BatchResults{}, settings);

    textToField("二号楼", project.projectName);
    textToField("X999", members[0].memberName);
    settings.printPageNumber = 0;

    const RecordingCanvas page = drawn(pages, 1);
    only(page, QStringLiteral("工程名称：一号楼"));
    only(page, QStringLiteral("构件名称及编号：G001"));
    EXPECT_EQ(page.find(QStringLiteral("共1页 第1页")).size(), 2u);
}

TEST(PreviewPages, PageCountStaysWithinTheSixteenBitsTheSheetPrints) {
    const ProjectInfo project{};
    const std::vector<ShaJiang_GouJian_Struct> many(32768, newMemberRecord(1));
    const PreviewPages pages(project, many, false, BatchResults{}, countedPageNumbers());
    EXPECT_EQ(pages.pageCount(), 32767);
    EXPECT_NE(pages.memberOnPage(32767), nullptr);
    EXPECT_EQ(pages.memberOnPage(32768), nullptr);
    // The count printed on the last page is the real one, never a wrapped negative.
    EXPECT_EQ(drawn(pages, 32767).find(QStringLiteral("共32767页 第32767页")).size(), 2u);
}

// The sheet is laid out on the width it is given: its rules run from L = W/11 to R = 10W/11.
TEST(PreviewPages, SheetSpansThePrintableWidthItIsGiven) {
    const ProjectInfo project{};
    const PreviewPages pages(project, pick(sevenMembers(), {0}), false, BatchResults{},
                             PrintSettings{});
    for (const int width : {2480, 1800}) {
        SCOPED_TRACE(width);
        QImage image(2480, 3508, QImage::Format_RGB32);
        image.fill(Qt::white);
        image.setDotsPerMeterX(11811); // 300 dpi
        image.setDotsPerMeterY(11811);
        {
            QPainter painter(&image);
            pages.drawPage(painter, width, 3508, 1);
        }
        int first = image.width(), last = -1;
        for (int y = 0; y < image.height(); y += 2) {
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x)
                if (line[x] != qRgb(255, 255, 255)) {
                    first = std::min(first, x);
                    last = std::max(last, x);
                }
        }
        EXPECT_EQ(first, width / 11);
        EXPECT_EQ(last, width * 10 / 11);
    }
}

// The pages a printer asks for: its range, its page order, and the copies it cannot make
// itself (a PDF printer makes none).
TEST(PreviewPages, PagesToPrintFollowRangeOrderAndCopies) {
    const ProjectInfo project{};
    const PreviewPages pages(project, pick(sevenMembers(), {0, 1, 2}), false, BatchResults{},
                             PrintSettings{});
    struct Case {
        const char* name;
        const char* ranges; // empty: all pages
        bool lastFirst;
        int copies;
        bool collate;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {"all pages", "", false, 1, true, {1, 2, 3}},
        {"page 2 only", "2", false, 1, true, {2}},
        {"pages 1 and 3", "1,3", false, 1, true, {1, 3}},
        {"range past the end", "2-9", false, 1, true, {2, 3}},
        {"last page first", "", true, 1, true, {3, 2, 1}},
        {"two collated copies", "", false, 2, true, {1, 2, 3, 1, 2, 3}},
        {"two uncollated copies", "2-3", false, 2, false, {2, 2, 3, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        ASSERT_FALSE(printer.supportsMultipleCopies());
        if (*c.ranges != '\0') {
            printer.setPrintRange(QPrinter::PageRange);
            printer.setPageRanges(QPageRanges::fromString(QString::fromLatin1(c.ranges)));
        }
        printer.setPageOrder(c.lastFirst ? QPrinter::LastPageFirst : QPrinter::FirstPageFirst);
        printer.setCopyCount(c.copies);
        printer.setCollateCopies(c.collate);
        EXPECT_EQ(pages.pagesToPrint(printer), c.expected);
    }
}

TEST(PreviewPages, PrintingCannotStartOnAnUnwritableFile) {
    const ProjectInfo project{};
    const PreviewPages pages(project, pick(sevenMembers(), {0}), false, BatchResults{},
                             PrintSettings{});
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QStringLiteral("/nonexistent-folder/sheets.pdf"));
    EXPECT_FALSE(pages.print(printer));
}

// --- where the pages stand on screen -----------------------------------------------------

const QSize kA4At1200(9917, 14033);

TEST(PreviewLayout, PagesStandInRowsWithGapsAround) {
    for (const int columns : {1, 2}) {
        SCOPED_TRACE(columns);
        PreviewLayout layout{QSize(1000, 1400), 5, columns, 0.25};
        EXPECT_EQ(layout.slot(), QSize(250, 350));
        const int rows = columns == 1 ? 5 : 3;
        EXPECT_EQ(layout.rows(), rows);
        EXPECT_EQ(layout.contentSize(), QSize(columns * 250 + (columns + 1) * kPreviewGap,
                                              rows * 350 + (rows + 1) * kPreviewGap));
        for (int n = 1; n <= 5; ++n) {
            SCOPED_TRACE(n);
            const QRect r = layout.pageRect(n);
            const int row = (n - 1) / columns, column = (n - 1) % columns;
            EXPECT_EQ(r, QRect(kPreviewGap + column * (250 + kPreviewGap),
                               kPreviewGap + row * (350 + kPreviewGap), 250, 350));
            const int firstOfRow = row * columns + 1;
            EXPECT_EQ(layout.pageAt(r.top()), firstOfRow);
            EXPECT_EQ(layout.pageAt(r.bottom()), firstOfRow);
            // The gap below a row still belongs to it.
            EXPECT_EQ(layout.pageAt(r.bottom() + kPreviewGap), firstOfRow);
        }
        EXPECT_EQ(layout.pageAt(-100), 1);
        EXPECT_EQ(layout.pageAt(1000000), 5); // the first page of the last row either way
    }
}

TEST(PreviewLayout, FittingFillsTheWidthOrTheWholeView) {
    for (const int columns : {1, 2}) {
        SCOPED_TRACE(columns);
        const double across = PreviewLayout::fitWidthScale(kA4At1200, columns, 1000);
        PreviewLayout wide{kA4At1200, 3, columns, across};
        EXPECT_LE(wide.contentSize().width(), 1000 + columns);
        EXPECT_GE(wide.contentSize().width(), 1000 - columns);

        const QSize view(1000, 600);
        const double whole = PreviewLayout::fitPageScale(kA4At1200, columns, view);
        PreviewLayout fitted{kA4At1200, 3, columns, whole};
        EXPECT_LE(fitted.slot().height() + 2 * kPreviewGap, view.height() + 1);
        EXPECT_LE(fitted.contentSize().width(), view.width() + columns);
        EXPECT_LT(whole, across);
    }
}

TEST(PreviewLayout, ZoomStaysBetweenItsLimits) {
    EXPECT_NEAR(PreviewLayout::clampScale(kA4At1200, 100.0) * kA4At1200.width(),
                kPreviewMaxPageWidth, 1e-6);
    EXPECT_NEAR(PreviewLayout::clampScale(kA4At1200, 0.0) * kA4At1200.width(), kPreviewMinPageWidth,
                1e-6);
    EXPECT_DOUBLE_EQ(PreviewLayout::clampScale(kA4At1200, 0.1), 0.1);
    // A view too small to hold anything still gets a page of the smallest size.
    EXPECT_GT(PreviewLayout::fitPageScale(kA4At1200, 2, QSize(10, 10)), 0.0);
}

} // namespace
} // namespace morvik
