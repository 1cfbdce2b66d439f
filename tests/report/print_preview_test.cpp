// The print preview frame over a stand-in for the main dialog: opening, paging and zooming
// without redrawing pages, the title, closing in every way, and printing to PDF read back
// with pdftotext.
#include "controls/PromptPrint.h"
#include "core/GbkText.h"
#include "report/CMainFrame.h"
#include "report/CMyPreviewView.h"
#include "tests/support/PromptScripted.h"
#include "tests/support/RunProgram.h"
#include <QAction>
#include <QFile>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPointer>
#include <QPrinter>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QWindow>
#include <filesystem>
#include <gtest/gtest.h>

namespace morvik {
namespace {

// `pdf` as the PDF tools, Linux programs, name it (under Wine, through its Unix side).
std::string toolPath(const QString& pdf) {
    return test::hostPath(std::filesystem::u8path(pdf.toStdString())).u8string();
}

int pdfPageCount(const QString& pdf) {
    const std::string info = test::runHostProgram("pdfinfo", {toolPath(pdf)}).out;
    const auto at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + 6);
}

// Whether `pdf` holds a whole PDF, from its header to its end mark, before it is read back.
bool pdfWritten(const QString& pdf) {
    QFile file(pdf);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    return bytes.startsWith("%PDF-") && bytes.trimmed().endsWith("%%EOF");
}

// The text of page n with all white space removed.
std::string pdfPageText(const QString& pdf, int n) {
    const std::string page = std::to_string(n);
    std::string packed;
    for (char c :
         test::runHostProgram("pdftotext", {"-f", page, "-l", page, toolPath(pdf), "-"}).out)
        if (c != ' ' && c != '\n' && c != '\t' && c != '\f' && c != '\r')
            packed += c;
    return packed;
}

bool contains(const std::string& text, const char* needle) {
    return text.find(needle) != std::string::npos;
}

// The stand-in for the main dialog: a titled window with an icon and one field.
struct DialogStandIn {
    QWidget window;
    QLineEdit* field = new QLineEdit(QStringLiteral("南湖小区"), &window);

    explicit DialogStandIn(
        const QString& title = QStringLiteral("Velkan贯入仪检测软件V2.01-a.stl")) {
        window.setWindowTitle(title);
        QPixmap pixmap(32, 32);
        pixmap.fill(Qt::darkCyan);
        window.setWindowIcon(QIcon(pixmap));
        window.show();
    }
};

// Members G001..G(count), every one a page, batch block on page 1, pages counted.
PreviewPages pagesOf(int count) {
    ProjectInfo project{};
    textToField("南湖小区3号楼", project.projectName);
    std::vector<ShaJiang_GouJian_Struct> members;
    for (int i = 1; i <= count; ++i)
        members.push_back(newMemberRecord(i));
    PrintSettings settings{};
    settings.printPageNumber = 1;
    settings.pageNumberFormat = 4;
    return PreviewPages(project, std::move(members), true, BatchResults{6.0, 1.4, 5.0, 0.2, 5.5},
                        settings);
}

// Pages of the members at list indices 1, 4 and 6 of G001..G007.
PreviewPages tickedOneFourSix() {
    ProjectInfo project{};
    std::vector<ShaJiang_GouJian_Struct> members;
    for (int i : {1, 4, 6})
        members.push_back(newMemberRecord(i + 1));
    PrintSettings settings{};
    settings.printPageNumber = 1;
    settings.pageNumberFormat = 4;
    return PreviewPages(project, std::move(members), false, BatchResults{}, settings);
}

struct PreviewFixture : ::testing::Test {
    DialogStandIn dialog;
    ScriptedPrompt prompt;
    QPointer<CMainFrame> frame;

    void open(PreviewPages pages) {
        frame = CMainFrame::startPreview(dialog.window, std::move(pages), prompt);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.data()));
        frame->grab(); // paints what is in sight
    }
    void TearDown() override {
        if (frame != nullptr)
            frame->close();
        EXPECT_TRUE(QTest::qWaitFor([&] { return frame.isNull(); }));
    }
    bool frameEnded() {
        return QTest::qWaitFor([&] { return frame.isNull(); }) && dialog.window.isVisible();
    }
    void trigger(PreviewCommand command) {
        frame->action(command)->trigger();
        frame->grab();
    }
};

using PreviewFrame = PreviewFixture;

TEST_F(PreviewFrame, OpensMaximisedOverTheHiddenDialog) {
    open(pagesOf(3));
    EXPECT_TRUE(frame->isVisible());
    EXPECT_TRUE(frame->windowState() & Qt::WindowMaximized);
    EXPECT_FALSE(dialog.window.isVisible());
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Velkan贯入仪检测软件V2.01-a.stl - (打印预览)"));
    EXPECT_EQ(frame->windowIcon().pixmap(32).toImage(),
              dialog.window.windowIcon().pixmap(32).toImage());
    EXPECT_EQ(frame->view().pageCount(), 3);
}

TEST(PreviewFrameTitle, FollowsTheDialogText) {
    EXPECT_EQ(CMainFrame::frameTitle(QStringLiteral("X")), QStringLiteral("X - (打印预览)"));
    EXPECT_EQ(CMainFrame::frameTitle(QString()), QStringLiteral("打印预览"));
}

TEST_F(PreviewFrame, ToolbarOffersEveryCommandAndAPageField) {
    open(pagesOf(3));
    const std::pair<PreviewCommand, const char*> commands[] = {
        {PreviewCommand::Print, "打印"},      {PreviewCommand::PreviousPage, "上一页"},
        {PreviewCommand::NextPage, "下一页"}, {PreviewCommand::OnePage, "单页"},
        {PreviewCommand::TwoPages, "双页"},   {PreviewCommand::ZoomIn, "放大"},
        {PreviewCommand::ZoomOut, "缩小"},    {PreviewCommand::FitWidth, "适合宽度"},
        {PreviewCommand::FitPage, "整页"},    {PreviewCommand::Close, "关闭"},
    };
    const QToolBar* bar = frame->findChild<QToolBar*>();
    ASSERT_NE(bar, nullptr);
    for (const auto& [command, text] : commands) {
        ASSERT_NE(frame->action(command), nullptr) << text;
        EXPECT_EQ(frame->action(command)->text(), QString::fromUtf8(text));
        EXPECT_TRUE(bar->actions().contains(frame->action(command))) << text;
    }
    QSpinBox* field = frame->pageField();
    EXPECT_EQ(field->minimum(), 1);
    EXPECT_EQ(field->maximum(), 3);
    bool hasBuddy = false, showsCount = false;
    for (QLabel* label : frame->findChildren<QLabel*>()) {
        hasBuddy |= label->buddy() == field;
        showsCount |= label->text().contains(QStringLiteral("共 3 页"));
    }
    EXPECT_TRUE(hasBuddy);
    EXPECT_TRUE(showsCount);
    EXPECT_FALSE(frame->view().accessibleName().isEmpty());
}

TEST_F(PreviewFrame, HundredPagesOpenDrawingOnlyTheFirst) {
    open(pagesOf(100));
    EXPECT_EQ(frame->view().pageCount(), 100);
    EXPECT_EQ(frame->view().currentPage(), 1);
    EXPECT_TRUE(frame->view().isPageDrawn(1));
    EXPECT_EQ(frame->view().pagesDrawn(), 1);
    EXPECT_EQ(frame->pageField()->value(), 1);
    EXPECT_FALSE(frame->action(PreviewCommand::PreviousPage)->isEnabled());
    EXPECT_TRUE(frame->action(PreviewCommand::NextPage)->isEnabled());
}

TEST_F(PreviewFrame, PagingDrawsEachPageOnceAndKeepsTheFieldInStep) {
    open(pagesOf(100));
    trigger(PreviewCommand::NextPage);
    EXPECT_EQ(frame->view().currentPage(), 2);
    EXPECT_EQ(frame->pageField()->value(), 2);
    EXPECT_TRUE(frame->view().isPageDrawn(2));
    const int drawn = frame->view().pagesDrawn();
    EXPECT_LE(drawn, 3);

    trigger(PreviewCommand::PreviousPage);
    EXPECT_EQ(frame->view().currentPage(), 1);
    EXPECT_EQ(frame->view().pagesDrawn(), drawn); // page 1 is replayed, not redrawn

    frame->pageField()->setValue(100);
    frame->grab();
    EXPECT_EQ(frame->view().currentPage(), 100);
    EXPECT_TRUE(frame->view().isPageDrawn(100));
    EXPECT_FALSE(frame->view().isPageDrawn(50));
    EXPECT_FALSE(frame->action(PreviewCommand::NextPage)->isEnabled());
    EXPECT_TRUE(frame->action(PreviewCommand::PreviousPage)->isEnabled());
    EXPECT_LE(frame->view().pagesDrawn(), drawn + 2);
}

TEST_F(PreviewFrame, TwoPagesSideBySideTurnAsAPair) {
    open(pagesOf(5));
    trigger(PreviewCommand::TwoPages);
    EXPECT_EQ(frame->view().layout(), CMyPreviewView::Layout::TwoPages);
    EXPECT_TRUE(frame->view().isPageDrawn(2));
    trigger(PreviewCommand::NextPage);
    EXPECT_EQ(frame->view().currentPage(), 3);
    trigger(PreviewCommand::NextPage);
    EXPECT_EQ(frame->view().currentPage(), 5);
    EXPECT_FALSE(frame->action(PreviewCommand::NextPage)->isEnabled());
    // Page 4 in the field shows the pair 3 and 4.
    frame->pageField()->setValue(4);
    EXPECT_EQ(frame->view().currentPage(), 3);
    trigger(PreviewCommand::OnePage);
    EXPECT_EQ(frame->view().layout(), CMyPreviewView::Layout::OnePage);
    EXPECT_EQ(frame->view().currentPage(), 3);
}

TEST_F(PreviewFrame, ZoomingKeepsThePageAndItsPicture) {
    open(pagesOf(10));
    frame->pageField()->setValue(4);
    frame->grab();
    const int drawn = frame->view().pagesDrawn();
    const double fitted = frame->view().scale();

    trigger(PreviewCommand::ZoomIn);
    EXPECT_DOUBLE_EQ(frame->view().scale(), fitted * kPreviewZoomStep);
    EXPECT_EQ(frame->view().zoomMode(), CMyPreviewView::Zoom::Custom);
    EXPECT_EQ(frame->view().currentPage(), 4);
    trigger(PreviewCommand::ZoomOut);
    EXPECT_DOUBLE_EQ(frame->view().scale(), fitted);

    trigger(PreviewCommand::FitWidth);
    EXPECT_GT(frame->view().scale(), fitted);
    EXPECT_EQ(frame->view().currentPage(), 4);
    trigger(PreviewCommand::FitPage);
    EXPECT_DOUBLE_EQ(frame->view().scale(), fitted);
    EXPECT_EQ(frame->view().pagesDrawn(), drawn);
}

TEST_F(PreviewFrame, ShowsInkOnTheFirstPage) {
    open(pagesOf(1));
    const QImage shot = frame->view().viewport()->grab().toImage();
    int white = 0, dark = 0;
    for (int y = 0; y < shot.height(); y += 2)
        for (int x = 0; x < shot.width(); x += 2) {
            const int grey = qGray(shot.pixel(x, y));
            white += grey > 250;
            dark += grey < 100;
        }
    EXPECT_GT(white, 0);
    EXPECT_GT(dark, 0);
}

TEST_F(PreviewFrame, WithoutAMemberOneBlankPage) {
    ProjectInfo project{};
    open(PreviewPages(project, {}, false, BatchResults{}, PrintSettings{}));
    EXPECT_EQ(frame->view().pageCount(), 1);
    EXPECT_EQ(frame->pageField()->maximum(), 1);
    EXPECT_FALSE(frame->action(PreviewCommand::NextPage)->isEnabled());
    // The blank sheet is white paper on the grey desk, with no ink on it.
    const QImage shot = frame->view().viewport()->grab().toImage();
    const QPoint middle(shot.width() / 2, shot.height() / 2);
    EXPECT_EQ(shot.pixel(middle), qRgb(255, 255, 255));
    int dark = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            dark += qGray(shot.pixel(x, y)) < 60;
    EXPECT_EQ(dark, 0);
}

// --- ending the preview ------------------------------------------------------------------

TEST_F(PreviewFrame, CloseCommandBringsTheDialogBackUnchanged) {
    open(pagesOf(3));
    trigger(PreviewCommand::Close);
    EXPECT_TRUE(frameEnded());
    EXPECT_EQ(dialog.field->text(), QStringLiteral("南湖小区"));
    EXPECT_TRUE(prompt.printDialogs.empty());
}

TEST_F(PreviewFrame, TitleBarCloseDoesWhatTheCloseCommandDoes) {
    open(pagesOf(3));
    frame->windowHandle()->close();
    EXPECT_TRUE(frameEnded());
    EXPECT_EQ(dialog.field->text(), QStringLiteral("南湖小区"));
}

TEST_F(PreviewFrame, CancelledPrintPrintsNothingAndEndsThePreview) {
    open(pagesOf(3));
    trigger(PreviewCommand::Print);
    ASSERT_EQ(prompt.printDialogs.size(), 1u);
    EXPECT_EQ(prompt.printDialogs[0].firstPage, 1);
    EXPECT_EQ(prompt.printDialogs[0].lastPage, 3);
    EXPECT_TRUE(prompt.messages.empty());
    EXPECT_TRUE(frameEnded());
}

TEST_F(PreviewFrame, PrintingPageTwoOfThreePrintsTheSecondTickedMember) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("page2.pdf"));
    prompt.printChoices.push_back({pdf, 2, 2});
    open(tickedOneFourSix());
    trigger(PreviewCommand::Print);
    ASSERT_EQ(prompt.printDialogs.size(), 1u);
    EXPECT_EQ(prompt.printDialogs[0].lastPage, 3);
    EXPECT_TRUE(prompt.messages.empty());
    EXPECT_TRUE(frameEnded());

    ASSERT_TRUE(pdfWritten(pdf));
    ASSERT_EQ(pdfPageCount(pdf), 1);
    const std::string text = pdfPageText(pdf, 1);
    EXPECT_TRUE(contains(text, "构件名称及编号：G005")) << text;
    EXPECT_FALSE(contains(text, "G002"));
    EXPECT_FALSE(contains(text, "G007"));
    EXPECT_TRUE(contains(text, "共3页第2页")) << text;
}

TEST_F(PreviewFrame, PrintingAllPagesKeepsTheOrderAndTheBatchOnPageOne) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("all.pdf"));
    prompt.printChoices.push_back({pdf, 0, 0});
    open(pagesOf(3));
    trigger(PreviewCommand::Print);
    EXPECT_TRUE(frameEnded());
    ASSERT_TRUE(pdfWritten(pdf));
    ASSERT_EQ(pdfPageCount(pdf), 3);
    for (int n = 1; n <= 3; ++n) {
        SCOPED_TRACE(n);
        const std::string text = pdfPageText(pdf, n);
        EXPECT_TRUE(contains(text, ("G00" + std::to_string(n)).c_str())) << text;
        EXPECT_TRUE(contains(text, ("共3页第" + std::to_string(n) + "页").c_str())) << text;
        EXPECT_EQ(contains(text, "批检测信息"), n == 1) << text;
    }
}

TEST_F(PreviewFrame, FailedPrintStartShowsAMessageAndKeepsThePreview) {
    QTemporaryDir dir;
    // A folder where the output file should be: nothing can be written there.
    prompt.printChoices.push_back({dir.path(), 0, 0});
    open(pagesOf(3));
    trigger(PreviewCommand::Print);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].message, printFailedMessage());
    EXPECT_EQ(prompt.messages[0].message.text, "打印失败，请检查打印机或输出文件后重试。");
    QTest::qWait(20);
    ASSERT_FALSE(frame.isNull());
    EXPECT_TRUE(frame->isVisible());
    EXPECT_FALSE(dialog.window.isVisible());

    // The user tries again with a file that can be written.
    const QString pdf = dir.filePath(QStringLiteral("retry.pdf"));
    prompt.printChoices.push_back({pdf, 1, 1});
    trigger(PreviewCommand::Print);
    EXPECT_TRUE(frameEnded());
    ASSERT_TRUE(pdfWritten(pdf));
    EXPECT_EQ(pdfPageCount(pdf), 1);
}

// --- where the pages go without a printer -------------------------------------------------

TEST(PdfOutput, TheNamedFileTakesAllPages) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("sheets.pdf"));
    ScriptedPrompt prompt;
    prompt.fileNames.push_back(pdf);
    QPrinter printer;
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(2, 2);
    ASSERT_TRUE(choosePdfOutput(prompt, nullptr, printer));
    ASSERT_EQ(prompt.fileDialogs.size(), 1u);
    EXPECT_TRUE(prompt.fileDialogs[0].save);
    EXPECT_EQ(prompt.fileDialogs[0].request.defaultSuffix, QStringLiteral("pdf"));
    EXPECT_EQ(prompt.fileDialogs[0].request.filterPattern, QStringLiteral("*.pdf"));
    EXPECT_EQ(printer.outputFormat(), QPrinter::PdfFormat);
    EXPECT_EQ(printer.outputFileName(), pdf);
    EXPECT_EQ(printer.printRange(), QPrinter::AllPages);
}

TEST(PdfOutput, CancellingLeavesThePrinterAlone) {
    ScriptedPrompt prompt; // no file name queued: the dialog is cancelled
    QPrinter printer;
    printer.setOutputFileName(QString());
    EXPECT_FALSE(choosePdfOutput(prompt, nullptr, printer));
    EXPECT_EQ(prompt.fileDialogs.size(), 1u);
    EXPECT_TRUE(printer.outputFileName().isEmpty());
}

} // namespace
} // namespace morvik
