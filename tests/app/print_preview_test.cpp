// 打印预览 from the main dialog: the preview shows the data set as the dialog holds it,
// unsaved edits included, and closing it brings the dialog back as it was.
#include "DialogFixture.h"

#include "report/CMainFrame.h"
#include "report/CMyPreviewView.h"
#include "sheet/RecordingCanvas.h"

#include <QAction>
#include <QPointer>
#include <QSpinBox>
#include <QToolBar>

namespace morvik::test {
namespace {

// The preview frame on screen, or null.
CMainFrame* shownFrame() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* frame = qobject_cast<CMainFrame*>(w); frame != nullptr && frame->isVisible())
            return frame;
    return nullptr;
}

// Page n of the frame as an A4 page at 600 dpi on the recording canvas.
RecordingCanvas drawnPage(const CMainFrame& frame, int n) {
    RecordingCanvas canvas(600);
    frame.pages().drawPage(canvas, 4960, 7016, n);
    return canvas;
}

bool draws(const RecordingCanvas& canvas, const QString& text) {
    return !canvas.find(text).empty();
}

TEST(DialogPrintPreview, AnUnsavedEditAppearsOnTheSheet) {
    DialogWindow w;
    w.typeReading(1, 1, "1.2");
    w.typeReading(1, 2, "5.5");
    // Still in the cell's editor when 打印预览 is run.
    w.typeReading(2, 2, "6.5", Qt::Key_unknown);
    ASSERT_TRUE(w.session().dataModified());

    w.d().runCommand(kIdPrintPreview);
    CMainFrame* frame = shownFrame();
    ASSERT_NE(frame, nullptr);
    QPointer<CMainFrame> guard(frame);
    EXPECT_FALSE(w.d().isVisible());
    EXPECT_EQ(frame->windowTitle(),
              QString::fromStdString(w.session().title()) + QStringLiteral(" - (打印预览)"));
    ASSERT_FALSE(w.d().windowIcon().isNull());
    EXPECT_EQ(frame->windowIcon().pixmap(32).toImage(), w.d().windowIcon().pixmap(32).toImage());

    ASSERT_EQ(frame->pages().pageCount(), 1);
    const RecordingCanvas page = drawnPage(*frame, 1);
    EXPECT_TRUE(draws(page, QStringLiteral("构件名称及编号：G001")));
    EXPECT_TRUE(draws(page, QStringLiteral("1.20")));
    EXPECT_TRUE(draws(page, QStringLiteral("5.50")));
    EXPECT_TRUE(draws(page, QStringLiteral("4.30")));
    EXPECT_TRUE(draws(page, QStringLiteral("6.50")));
    // Nothing was saved to get there.
    EXPECT_TRUE(w.session().dataModified());
    EXPECT_TRUE(w.prompt.fileDialogs.empty());

    frame->action(PreviewCommand::Close)->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return guard.isNull(); }));
    EXPECT_TRUE(w.d().isVisible());
    EXPECT_EQ(w.grid().itemText(1, 3), "4.30");
    EXPECT_EQ(w.grid().itemText(2, 2), "6.50");
    EXPECT_TRUE(w.session().dataModified());
}

TEST(DialogPrintPreview, ANewMemberWithoutTicksIsTheOnePage) {
    DialogWindow w;
    w.d().runCommand(kCmdAddMember);
    w.d().runCommand(kIdPrintPreview);
    CMainFrame* frame = shownFrame();
    ASSERT_NE(frame, nullptr);
    QPointer<CMainFrame> guard(frame);
    ASSERT_EQ(frame->pages().pageCount(), 1);
    const RecordingCanvas page = drawnPage(*frame, 1);
    EXPECT_TRUE(draws(page, QStringLiteral("构件名称及编号：G002")));
    EXPECT_TRUE(draws(page, QStringLiteral("共1页 第1页")));
    frame->close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return guard.isNull(); }));
    EXPECT_TRUE(w.d().isVisible());
}

TEST(DialogPrintPreview, TickedRowsAreThePagesInListOrder) {
    DialogWindow w;
    for (int i = 0; i < 6; ++i)
        w.d().runCommand(kCmdAddMember);
    for (int row : {6, 1, 4})
        w.list().setRowChecked(row, true);
    w.d().runCommand(kIdPrintPreview);
    CMainFrame* frame = shownFrame();
    ASSERT_NE(frame, nullptr);
    QPointer<CMainFrame> guard(frame);
    ASSERT_EQ(frame->pages().pageCount(), 3);
    const char* names[] = {"G002", "G005", "G007"};
    for (int n = 1; n <= 3; ++n) {
        SCOPED_TRACE(n);
        const RecordingCanvas page = drawnPage(*frame, n);
        EXPECT_TRUE(draws(page, QStringLiteral("构件名称及编号：") + names[n - 1]));
        EXPECT_TRUE(draws(page, QStringLiteral("共3页 第%1页").arg(n)));
    }
    frame->close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return guard.isNull(); }));
    EXPECT_TRUE(w.d().isVisible());
    EXPECT_TRUE(w.list().isRowChecked(4));
}

// 汇总表 is there for a batch of ticked members only; it turns the same frame between the
// summary sheet and the record sheets, page count, page field and 打印 included.
TEST(DialogPrintPreview, SummaryToggleShowsTheBatchOfTheTickedRows) {
    DialogWindow w;
    for (int m = 0; m < 3; ++m) {
        if (m > 0)
            w.d().runCommand(kCmdAddMember);
        for (int p = 1; p <= 16; ++p) {
            w.typeReading(p, 1, "0.20");
            w.typeReading(p, 2, QString::number(4.0 + 0.3 * m, 'f', 2));
        }
    }
    for (int row : {0, 2})
        w.list().setRowChecked(row, true);

    // Without batch mode there is no toggle.
    w.d().runCommand(kIdPrintPreview);
    CMainFrame* frame = shownFrame();
    ASSERT_NE(frame, nullptr);
    QPointer<CMainFrame> guard(frame);
    EXPECT_FALSE(frame->pages().hasSummary());
    EXPECT_FALSE(
        frame->findChild<QToolBar*>()->actions().contains(frame->action(PreviewCommand::Summary)));
    frame->close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return guard.isNull(); }));

    QTest::mouseClick(w.control(kIdBatchMode), Qt::LeftButton, {},
                      QPoint(4, w.control(kIdBatchMode)->height() / 2));
    ASSERT_TRUE(w.session().batchMode());
    const QString estimate = w.text(kIdBatchEstimate);
    ASSERT_NE(estimate, QStringLiteral("--"));
    w.d().runCommand(kIdPrintPreview);
    frame = shownFrame();
    ASSERT_NE(frame, nullptr);
    guard = frame;
    QAction* toggle = frame->action(PreviewCommand::Summary);
    ASSERT_TRUE(frame->findChild<QToolBar*>()->actions().contains(toggle));
    EXPECT_EQ(toggle->text(), QStringLiteral("汇总表"));
    EXPECT_EQ(frame->pages().pageCount(), 2);

    toggle->trigger();
    ASSERT_TRUE(frame->pages().showsSummary());
    EXPECT_EQ(frame->pages().pageCount(), 1);
    EXPECT_EQ(frame->view().pageCount(), 1);
    EXPECT_EQ(frame->pageField()->maximum(), 1);
    frame->grab();
    EXPECT_TRUE(frame->view().isPageDrawn(1));
    const RecordingCanvas summary = drawnPage(*frame, 1);
    EXPECT_TRUE(draws(summary, QStringLiteral("共1页 第1页")));
    EXPECT_TRUE(draws(summary, QStringLiteral("G001")));
    EXPECT_TRUE(draws(summary, QStringLiteral("G003")));
    EXPECT_FALSE(draws(summary, QStringLiteral("G002"))); // not ticked
    EXPECT_TRUE(draws(summary, "推定值：" + estimate + " MPa"));

    toggle->trigger();
    EXPECT_FALSE(frame->pages().showsSummary());
    EXPECT_EQ(frame->view().pageCount(), 2);
    EXPECT_TRUE(draws(drawnPage(*frame, 2), QStringLiteral("构件名称及编号：G003")));
    frame->close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return guard.isNull(); }));
}

} // namespace
} // namespace morvik::test
