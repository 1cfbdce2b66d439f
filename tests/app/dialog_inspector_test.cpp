// A day's work through the real dialog: leaving never throws work away by reflex, the
// keyboard alone reaches everything, and the dialog stays on a small screen.
#include "DialogFixture.h"

#include "app/ScreenFit.h"
#include "controls/ListCellPainter.h"
#include "core/GbkText.h"
#include "io/DataFile.h"
#include "report/CMainFrame.h"

#include <QAction>
#include <QCheckBox>
#include <QPointer>
#include <QPrinterInfo>
#include <QRandomGenerator>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <functional>

namespace morvik::test {
namespace {

const std::string kSaveQuestion = "文件内容已被修改，是否保存当前更改？";

int focusedId() {
    QWidget* focus = QApplication::focusWidget();
    while (focus && focus->objectName().toInt() == 0)
        focus = focus->parentWidget();
    return focus ? focus->objectName().toInt() : 0;
}

void press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), key, mods);
}

void typeKeys(const QString& text) {
    for (QChar ch : text)
        QTest::keyClick(QApplication::focusWidget(), ch.toLatin1());
}

TEST(LeavingTheWork, CancelEscAndTheBoxCloseButtonKeepEverything) {
    QTemporaryDir dir;
    const QString other = dir.filePath("other.stl");
    DataSet otherSet;
    otherSet.members.push_back(newMemberRecord(1));
    ASSERT_EQ(writeDataFile(other.toStdString(), otherSet), WriteResult::Written);

    DialogWindow w;
    w.session().setSettingsWritePath(dir.filePath("default.ini").toStdString());
    w.typeReading(1, 1, "1.5");
    w.typeInto(kIdRemark, "east wall");
    const std::vector<std::pair<const char*, std::function<void()>>> leaving = {
        {"Esc", [&] { press(Qt::Key_Escape); }},
        {"close box", [&] { w.d().close(); }},
        {"退出", [&] { w.d().runCommand(kIdExit); }},
        {"新文件", [&] { w.d().runCommand(kIdNewFile); }},
        {"打开", [&] { w.d().runCommand(kIdOpen); }},
        {"dropped file", [&] { w.d().openFromDesktop(other, true); }},
    };
    for (const auto& [name, leave] : leaving) {
        SCOPED_TRACE(name);
        w.prompt.messages.clear();
        // 取消, and Esc or the close button of the question, all answer Cancel.
        w.prompt.answers = {PromptAnswer::Cancel};
        w.prompt.fileNames = {other};
        w.control(kIdMemberName)->setFocus();
        leave();
        ASSERT_EQ(w.prompt.messages.size(), 1u);
        EXPECT_EQ(w.prompt.messages[0].message.text, kSaveQuestion);
        EXPECT_EQ(w.prompt.messages[0].buttons, PromptButtons::YesNoCancel);
        EXPECT_TRUE(w.d().isVisible());
        EXPECT_TRUE(w.session().dataModified());
        EXPECT_EQ(w.session().currentRecord().unevenness[0], 1.5f);
        EXPECT_EQ(w.text(kIdRemark), "east wall");
        EXPECT_EQ(w.d().windowTitle(), "Velkan贯入仪检测软件V2.01-新文件.stl");
        EXPECT_EQ(w.prompt.fileNames.size(), 1u); // no file dialog was shown
        EXPECT_FALSE(QFile::exists(dir.filePath("default.ini")));
    }
    // Two Esc in a row no longer quit: the second is asked again.
    w.prompt.messages.clear();
    w.prompt.answers = {PromptAnswer::Cancel, PromptAnswer::Cancel};
    press(Qt::Key_Escape);
    press(Qt::Key_Escape);
    EXPECT_EQ(w.prompt.messages.size(), 2u);
    EXPECT_TRUE(w.d().isVisible());
}

TEST(LeavingTheWork, NewFileAfterNoStartsUnchanged) {
    DialogWindow w;
    w.typeInto(kIdInstrumentNumber, "GY-2");
    w.prompt.answers = {PromptAnswer::No};
    w.d().runCommand(kIdNewFile);
    EXPECT_FALSE(w.session().dataModified());
    w.prompt.messages.clear();
    w.d().runCommand(kIdExit);
    EXPECT_TRUE(w.prompt.messages.empty());
    EXPECT_FALSE(w.d().isVisible());
}

TEST(LeavingTheWork, AFailedOpenKeepsTheNameOfTheDataOnScreen) {
    QTemporaryDir dir;
    const QString saved = dir.filePath("一号楼.stl");
    QFile(dir.filePath("notes.stl")).open(QIODevice::WriteOnly); // zero length
    QFile text(dir.filePath("readme.stl"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("Readings of wall 3 follow on Monday, after the rain has stopped.\n");
    text.close();

    DialogWindow w;
    w.typeInto(kIdInstrumentNumber, "GY-2");
    w.prompt.fileNames = {saved};
    w.d().runCommand(kIdSave);
    for (const char* name : {"notes.stl", "readme.stl", "missing.stl"}) {
        SCOPED_TRACE(name);
        w.prompt.messages.clear();
        w.d().openFromDesktop(dir.filePath(QString::fromUtf8(name)), true);
        EXPECT_EQ(w.messageTexts(), std::vector<std::string>{"打开文件失败！"});
        EXPECT_EQ(w.d().windowTitle(), "Velkan贯入仪检测软件V2.01-一号楼.stl");
        EXPECT_EQ(w.text(kIdInstrumentNumber), "GY-2");
    }
    w.prompt.fileNames = {QString()};
    w.d().runCommand(kIdSave);
    EXPECT_EQ(w.prompt.fileDialogs.back().request.initialName, saved);
}

TEST(KeyboardOnly, AWholeMemberTypedAndSavedWithoutAMouse) {
    QTemporaryDir dir;
    DialogWindow w;
    ASSERT_EQ(focusedId(), kIdMemberName);
    typeKeys("Q-12");

    // Tab walks the fields of the template, then 批检测, the list and the grid.
    std::vector<int> seen;
    for (int i = 0; i < 15; ++i) {
        press(Qt::Key_Tab);
        seen.push_back(focusedId());
    }
    const std::vector<int> expected{
        kIdTestDate, kIdRemark,           kIdProjectName,    kIdInstrumentNumber, kIdTemperature,
        kIdBasis,    kIdConstructionDate, kIdStrengthGrade,  kIdMortarKind,       kIdMortarVariety,
        kIdReviewer, kIdChiefInspector,   kIdMemberEstimate, kIdBatchMode,        kIdMemberList};
    ASSERT_EQ(seen, expected);

    // Space in the list ticks the highlighted member.
    press(Qt::Key_Space);
    EXPECT_TRUE(w.session().isChecked(0));
    press(Qt::Key_Tab);
    ASSERT_EQ(focusedId(), kIdReadingGrid);

    // Unevenness, Tab, penetrometer reading, Tab: the next point.
    for (int point = 1; point <= 16; ++point) {
        typeKeys("0.50");
        press(Qt::Key_Tab);
        typeKeys("5.50");
        press(Qt::Key_Tab);
    }
    const ShaJiang_GouJian_Struct& m = w.session().currentRecord();
    EXPECT_EQ(fieldToText(m.memberName), "Q-12");
    for (int k = 0; k < 16; ++k) {
        EXPECT_EQ(m.unevenness[k], 0.5f) << k;
        EXPECT_EQ(m.gaugeReading[k], 5.5f) << k;
    }
    EXPECT_EQ(w.text(kIdMeanDepth), "5.00");
    EXPECT_EQ(w.list().cellText(0, 2), "5.00");

    // Tab from point 16's penetrometer reading left the grid for the buttons; Shift+Tab
    // comes back to that cell, and Ctrl+Tab leaves from any cell.
    ASSERT_EQ(focusedId(), kIdOpen);
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_EQ(focusedId(), kIdReadingGrid);
    EXPECT_EQ(w.grid().focusCell(), CCellID(16, 2));
    press(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(focusedId(), kIdOpen);
    seen.clear();
    for (int i = 0; i < 8; ++i) {
        seen.push_back(focusedId());
        press(Qt::Key_Tab);
    }
    EXPECT_EQ(seen, (std::vector<int>{kIdOpen, kIdSave, kIdNewFile, kIdClearReadings,
                                      kIdPrintSettings, kIdPrintPreview, kIdCalculator, kIdExit}));
    EXPECT_EQ(focusedId(), kIdMemberName); // round again

    // Shift+Tab back to 保存, and Space saves.
    for (int i = 0; i < 7; ++i)
        press(Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_EQ(focusedId(), kIdSave);
    const QString path = dir.filePath("keyboard.stl");
    w.prompt.fileNames = {path};
    press(Qt::Key_Space);
    DataSet back;
    ASSERT_EQ(readDataFile(path.toStdString(), back), ReadResult::Loaded);
    EXPECT_EQ(back.members[0].gaugeReading[15], 5.5f);
    EXPECT_FALSE(w.session().dataModified());

    // 批检测 by Space as well.
    w.control(kIdBatchMode)->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Space);
    EXPECT_TRUE(w.session().batchMode());
}

TEST(KeyboardOnly, EveryMemberIsTypedFromPointOneAndTheGridIsLeftAtItsEnds) {
    DialogWindow w;
    w.list().setFocus(Qt::TabFocusReason);
    press(Qt::Key_Tab);
    ASSERT_EQ(focusedId(), kIdReadingGrid);
    for (int point = 1; point <= 16; ++point) {
        typeKeys("1");
        press(Qt::Key_Tab);
        typeKeys("6");
        press(Qt::Key_Tab);
    }
    ASSERT_EQ(focusedId(), kIdOpen);

    // After 增加构件, and after a switch back to member 1, Tab into the grid starts at
    // point 1 of the member on screen, not where the last member's typing ended.
    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass);
        if (pass == 0) {
            press(Qt::Key_Insert);
        } else {
            w.list().setFocus(Qt::TabFocusReason);
            press(Qt::Key_Up);
            ASSERT_EQ(w.session().currentMember(), 0);
        }
        ASSERT_EQ(focusedId(), kIdMemberList);
        press(Qt::Key_Tab);
        ASSERT_EQ(focusedId(), kIdReadingGrid);
        typeKeys("0.75");
        press(Qt::Key_Tab);
        EXPECT_EQ(w.session().currentRecord().unevenness[0], 0.75f);
        EXPECT_EQ(w.grid().focusCell(), CCellID(1, 2));
        // Shift+Tab from point 1's unevenness reading leaves backwards, to the list.
        press(Qt::Key_Backtab, Qt::ShiftModifier);
        press(Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(focusedId(), kIdMemberList);
    }
    EXPECT_EQ(w.session().members()[1].unevenness[0], 0.75f);
    EXPECT_EQ(w.session().members()[0].gaugeReading[15], 6.0f);

    // A text field reached by Shift+Tab offers its whole text to be typed over.
    w.typeInto(kIdProjectName, "Old site");
    w.control(kIdInstrumentNumber)->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_EQ(focusedId(), kIdProjectName);
    typeKeys("New");
    EXPECT_EQ(w.text(kIdProjectName), "New");
}

TEST(KeyboardOnly, EscClosesThePrintPreview) {
    DialogWindow w;
    w.d().runCommand(kIdPrintPreview);
    QPointer<CMainFrame> frame;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* f = qobject_cast<CMainFrame*>(top); f && f->isVisible())
            frame = f;
    ASSERT_TRUE(frame);
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : frame.data(),
                    Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_TRUE(frame.isNull() || !frame->isVisible());
    EXPECT_TRUE(w.d().isVisible());
}

TEST(SmallThings, PrintingWithoutAPrinterProposesTheDataFileName) {
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        GTEST_SKIP() << "a printer is installed: the print dialog is shown instead";
    QTemporaryDir dir;
    DialogWindow w;
    w.prompt.fileNames = {dir.filePath("site.v2.stl")};
    w.d().runCommand(kIdSave);
    w.d().runCommand(kIdPrintPreview);
    CMainFrame* frame = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* f = qobject_cast<CMainFrame*>(top); f && f->isVisible())
            frame = f;
    ASSERT_NE(frame, nullptr);
    frame->action(PreviewCommand::Print)->trigger(); // no print choice queued: cancelled
    ASSERT_EQ(w.prompt.printDialogs.size(), 1u);
    EXPECT_EQ(w.prompt.printDialogs[0].proposedFile, dir.filePath("site.v2.pdf"));
}

TEST(SmallThings, LongRowNumbersAreShownWhole) {
    DialogWindow w;
    const QFontMetrics metrics(w.list().font());
    const int room = listTextRect(QRect(0, 0, w.list().columnWidth(0), 20), true).width();
    EXPECT_GE(room, metrics.horizontalAdvance(QStringLiteral("9999")));
}

// --- a dialog larger than its screen --------------------------------------------------------

TEST(ScreenFit, TheFramedWindowStaysInsideTheScreenAndKeepsThePageWhereItFits) {
    QRandomGenerator random(26);
    for (int i = 0; i < 2000; ++i) {
        const QSize page(200 + random.bounded(900), 200 + random.bounded(900));
        const QMargins frame(random.bounded(8), random.bounded(40), random.bounded(8),
                             random.bounded(8));
        const QRect available(random.bounded(-50, 50), random.bounded(0, 40),
                              300 + random.bounded(1200), 300 + random.bounded(900));
        const QRect now(random.bounded(-400, 1600), random.bounded(-400, 1200), 10, 10);
        const int bar = random.bounded(10, 20);
        const QRect placed = fitClientArea(page, frame, available, now, bar);
        SCOPED_TRACE(i);
        const int roomW = available.width() - frame.left() - frame.right();
        const int roomH = available.height() - frame.top() - frame.bottom();
        if (page.width() <= roomW && page.height() <= roomH) {
            ASSERT_EQ(placed, QRect(now.topLeft(), page));
            continue;
        }
        const QRect framed = placed.marginsAdded(frame);
        ASSERT_TRUE(available.contains(framed)) << framed.x() << "," << framed.y();
        // Each dimension is what the page needs (with a scroll bar across it) or all the
        // screen has.
        ASSERT_TRUE(placed.width() == roomW ||
                    (placed.width() >= page.width() && placed.width() <= page.width() + bar));
        ASSERT_TRUE(placed.height() == roomH ||
                    (placed.height() >= page.height() && placed.height() <= page.height() + bar));
    }
}

TEST(ScreenFit, OnASmallScreenTheDialogScrollsAndTabBringsTheButtonsIntoSight) {
    DialogWindow w;
    const QSize page = w.d().scrollArea()->widget()->size();
    const QRect small(0, 0, page.width() * 3 / 4, page.height() * 2 / 3);
    w.d().fitToScreen(small);
    QApplication::processEvents();
    EXPECT_TRUE(small.contains(w.d().frameGeometry()));
    QScrollArea* scroll = w.d().scrollArea();
    EXPECT_TRUE(scroll->verticalScrollBar()->isVisible());
    EXPECT_EQ(scroll->verticalScrollBar()->value(), 0);

    QWidget* exit = w.control(kIdExit);
    exit->setFocus(Qt::TabFocusReason);
    w.control(kIdCalculator)->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Tab); // from 计算器 to 退出, which lies off the visible part
    ASSERT_EQ(focusedId(), kIdExit);
    const QRect shown(scroll->viewport()->mapToGlobal(QPoint(0, 0)), scroll->viewport()->size());
    EXPECT_TRUE(shown.contains(QRect(exit->mapToGlobal(QPoint(0, 0)), exit->size())));

    // Where the screen is large enough, nothing changes.
    w.d().fitToScreen(QRect(0, 0, 4000, 3000));
    EXPECT_EQ(w.d().size(), page);
}

} // namespace
} // namespace morvik::test
