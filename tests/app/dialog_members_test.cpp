// Readings typed into the grid, fields typed by the user, and the member list driven by
// the mouse: what reaches the session and what the dialog shows back.
#include "DialogFixture.h"

#include "app/DatePicker.h"

#include <QCheckBox>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QMenu>
#include <QTimer>
#include <cstring>

namespace morvik::test {
namespace {

// The centre of a member list cell in viewport coordinates.
QPoint rowCentre(CSortListCtrl& list, int row) {
    return list.visualRect(list.model()->index(row, 1)).center();
}

// Text as an input method hands it over (the way Chinese text arrives).
void commitText(const QString& text) {
    QInputMethodEvent e;
    e.setCommitString(text);
    QApplication::sendEvent(QApplication::focusWidget(), &e);
}

TEST(DialogReadings, TypedReadingsGiveDepthsAndResults) {
    DialogWindow w;
    w.typeReading(1, 1, "1.2");
    w.typeReading(1, 2, "5.5");
    EXPECT_EQ(w.grid().itemText(1, 1), "1.20");
    EXPECT_EQ(w.grid().itemText(1, 2), "5.50");
    EXPECT_EQ(w.grid().itemText(1, 3), "4.30");
    EXPECT_TRUE(w.session().dataModified());
    EXPECT_EQ(w.text(kIdMeanDepth), "--"); // one point is not enough

    // Sixteen equal points: depth 4.30 everywhere, a mean depth and a strength.
    for (int p = 2; p <= 16; ++p) {
        w.typeReading(p, 1, "1.2");
        w.typeReading(p, 2, "5.5");
    }
    EXPECT_EQ(w.grid().itemText(16, 3), "4.30");
    EXPECT_EQ(w.text(kIdMeanDepth), "4.30");
    EXPECT_NE(w.text(kIdStrength), "--");
    EXPECT_EQ(w.list().cellText(0, 2), "4.30");
    EXPECT_EQ(w.list().cellText(0, 3), w.text(kIdMemberEstimate));
    EXPECT_TRUE(w.prompt.messages.empty());

    // Clearing the gauge reading of point 1 (Backspace, as Delete is 删除构件) empties
    // its depth.
    w.grid().setFocusCell(1, 2);
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(w.grid().itemText(1, 2), "");
    EXPECT_EQ(w.grid().itemText(1, 3), "");
    EXPECT_LT(w.session().currentRecord().depth[0], kPresenceThreshold);
}

TEST(DialogReadings, RefusedReadingShowsItsMessageAndEmptiesTheCell) {
    DialogWindow w;
    w.typeReading(3, 2, "100");
    ASSERT_EQ(w.prompt.messages.size(), 1u);
    EXPECT_EQ(w.prompt.messages[0].message.text, "请输入一个绝对值小于100的数字！");
    EXPECT_EQ(w.grid().itemText(3, 2), "");
    w.typeReading(3, 2, "1.2.3");
    ASSERT_EQ(w.prompt.messages.size(), 2u);
    EXPECT_EQ(w.prompt.messages[1].message.text, "请输入一个有效的数字！");
    w.typeReading(3, 1, "-0.5");
    EXPECT_EQ(w.grid().itemText(3, 1), "-0.50");
}

TEST(DialogReadings, SwitchingMemberWithAnOpenEditStoresItForTheOldMember) {
    DialogWindow w;
    w.session().addMember(); // G002 current
    ASSERT_EQ(w.session().currentMember(), 1);
    w.typeReading(2, 1, "3.25", Qt::Key_unknown); // the editor stays open
    ASSERT_NE(QApplication::focusWidget(), &w.grid());

    QTest::mouseClick(w.list().viewport(), Qt::LeftButton, {}, rowCentre(w.list(), 0));
    EXPECT_EQ(w.session().currentMember(), 0);
    EXPECT_FLOAT_EQ(w.session().members()[1].unevenness[1], 3.25f);
    EXPECT_LT(w.session().members()[0].unevenness[1], kPresenceThreshold);
    EXPECT_EQ(w.grid().itemText(2, 1), ""); // G001's readings are shown
    EXPECT_EQ(w.text(kIdMemberName), "G001");

    QTest::mouseClick(w.list().viewport(), Qt::LeftButton, {}, rowCentre(w.list(), 1));
    EXPECT_EQ(w.session().currentMember(), 1);
    EXPECT_EQ(w.grid().itemText(2, 1), "3.25");
}

TEST(DialogReadings, AddingAMemberStoresTheOpenEditForTheMemberBefore) {
    DialogWindow w;
    w.typeReading(7, 2, "2.75", Qt::Key_unknown);
    QWidget* editor = QApplication::focusWidget();
    ASSERT_NE(editor, &w.grid());
    w.d().runCommand(kCmdAddMember);
    EXPECT_EQ(w.session().memberCount(), 2);
    EXPECT_FLOAT_EQ(w.session().members()[0].gaugeReading[6], 2.75f);
    EXPECT_EQ(w.grid().itemText(7, 2), ""); // G002's empty grid
    EXPECT_NE(QApplication::focusWidget(), editor);
}

TEST(DialogReadings, CommitReadingEditEndsAnOpenEditEvenWithoutAnActiveWindow) {
    ScriptedPrompt prompt;
    CMorvikDlg d(prompt, [] { return kFixedToday; });
    d.start();
    d.show(); // shown but never activated: no focus change is delivered
    d.readingGrid()->setFocusCell(4, 1);
    d.readingGrid()->beginCellEdit(4, 1, '7');
    auto* editor = d.readingGrid()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText("7.5");
    const std::vector<int> pages = d.session().previewMembers(); // asks for the commit
    EXPECT_EQ(pages, std::vector<int>{0});
    EXPECT_FLOAT_EQ(d.session().members()[0].unevenness[3], 7.5f);
    EXPECT_EQ(d.readingGrid()->itemText(4, 1), "7.50");
}

TEST(DialogFields, UserEditsReachTheSessionProgrammaticOnesDoNot) {
    DialogWindow w;
    w.control(kIdRemark)->setFocus();
    commitText("备注一");
    EXPECT_TRUE(w.session().dataModified()); // a remark is a change like any other
    EXPECT_EQ(std::string(w.session().currentRecord().remark),
              std::string("\xb1\xb8\xd7\xa2\xd2\xbb"));

    w.typeInto(kIdMemberName, "A12");
    EXPECT_EQ(w.list().cellText(0, 1), "G001A12");
    EXPECT_TRUE(w.session().dataModified());

    w.typeInto(kIdProjectName, "P");
    w.typeInto(kIdReviewer, "R");
    w.typeInto(kIdTemperature, "0");
    EXPECT_EQ(std::string(w.session().project().projectName), "P");
    EXPECT_EQ(std::string(w.session().project().reviewer), "R");
    EXPECT_EQ(w.session().project().testTemperature, 250);

    // A new member shows its own fields without running any handler.
    w.session().addMember();
    EXPECT_EQ(w.text(kIdMemberName), "G002");
    EXPECT_EQ(w.text(kIdRemark), "");
    EXPECT_STREQ(w.session().members()[0].remark, "\xb1\xb8\xd7\xa2\xd2\xbb");
    EXPECT_STREQ(w.session().members()[0].memberName, "G001A12");
}

TEST(DialogFields, PickedDatesAreStoredAsText) {
    DialogWindow w;
    auto* construction = static_cast<DatePicker*>(w.control(kIdConstructionDate));
    construction->setDate(QDate(2018, 3, 5)); // as the user's choice in the calendar
    EXPECT_STREQ(w.session().project().constructionDate, "2018\xc4\xea"
                                                         "3\xd4\xc2"
                                                         "5\xc8\xd5");
    EXPECT_TRUE(w.session().dataModified());
    EXPECT_EQ(construction->text(), "2018年03月05日");

    // A date the session cannot show leaves the picker empty, not on some date.
    construction->showDate(std::nullopt);
    EXPECT_EQ(construction->shownDate(), std::nullopt);
    EXPECT_TRUE(construction->text().trimmed().isEmpty());
    construction->showDate(CivilDate{2018, 12, 31});
    ASSERT_TRUE(construction->shownDate().has_value());
    EXPECT_EQ(construction->shownDate()->day, 31);
}

TEST(DialogFields, KindChoiceRefillsVarietiesAndReevaluates) {
    DialogWindow w;
    auto* kind = static_cast<QComboBox*>(w.control(kIdMortarKind));
    auto* variety = static_cast<QComboBox*>(w.control(kIdMortarVariety));
    kind->setFocus();
    QTest::keyClick(kind, Qt::Key_Down); // the user's choice: activated
    EXPECT_EQ(w.session().mortarCode(), 0x10);
    ASSERT_EQ(variety->count(), 2);
    EXPECT_EQ(variety->itemText(1), "现场拌制砂浆");
    EXPECT_TRUE(w.session().dataModified());
    variety->setFocus();
    QTest::keyClick(variety, Qt::Key_Down);
    EXPECT_EQ(w.session().mortarCode(), 0x11);
}

TEST(DialogFields, BatchModeClickWithNoTickIsRefusedAndUnchecked) {
    DialogWindow w;
    auto* batch = static_cast<QCheckBox*>(w.control(kIdBatchMode));
    QTest::mouseClick(batch, Qt::LeftButton, {}, QPoint(5, batch->height() / 2));
    EXPECT_EQ(w.messageTexts(), std::vector<std::string>{"请选择需要批处理的构件。"});
    EXPECT_FALSE(w.session().batchMode());
    EXPECT_FALSE(batch->isChecked());

    // With two ticked members it stays on, and the ticks survive the list's refill.
    w.session().addMember();
    w.list().setRowChecked(0, true);
    w.list().setRowChecked(1, true);
    QTest::mouseClick(batch, Qt::LeftButton, {}, QPoint(5, batch->height() / 2));
    EXPECT_TRUE(w.session().batchMode());
    EXPECT_TRUE(batch->isChecked());
    EXPECT_TRUE(w.list().isRowChecked(0));
    EXPECT_TRUE(w.list().isRowChecked(1));
    EXPECT_EQ(w.list().rowCount(), 2);
}

TEST(DialogList, TickingARowWithBatchModeOffChangesOnlyTheMark) {
    DialogWindow w;
    w.session().addMember();
    const QRect box = w.list().checkBoxRect(0);
    QTest::mouseClick(w.list().viewport(), Qt::LeftButton, {}, box.center());
    EXPECT_TRUE(w.session().isChecked(0));
    EXPECT_FALSE(w.session().dataModified());
    EXPECT_TRUE(w.prompt.messages.empty());
}

TEST(DialogList, ContextMenuHasTheFourItemsAndRunsThem) {
    DialogWindow w;
    QStringList texts;
    for (QAction* a : w.d().memberListMenu()->actions())
        texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(texts, (QStringList{"增加构件 &I", "删除构件 &D", "-", "全选 &A"}));

    // A right click in the list pops the menu at the pointer; its first item adds G002.
    QPoint shownAt;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        shownAt = menu->pos();
        menu->actions().at(0)->trigger();
        menu->close();
    });
    const QPoint at = rowCentre(w.list(), 0);
    QTest::mouseClick(w.list().viewport(), Qt::RightButton, {}, at);
    EXPECT_EQ(w.session().memberCount(), 2);
    EXPECT_EQ(w.list().cellText(1, 1), "G002");
    EXPECT_FALSE(shownAt.isNull());

    w.d().memberListMenu()->actions().at(3)->trigger(); // 全选
    EXPECT_TRUE(w.session().isChecked(0));
    EXPECT_TRUE(w.session().isChecked(1));
    EXPECT_EQ(w.session().currentMember(), 0);
    w.d().memberListMenu()->actions().at(1)->trigger(); // 删除构件: all ticked
    EXPECT_EQ(w.messageTexts().back(), "不能全部删除！");
}

} // namespace
} // namespace morvik::test

namespace morvik::test {
namespace {

TEST(DialogButtons, PrintSettingsRunsItsDialogModallyOnTheSessionsSettings) {
    DialogWindow w;
    QString caption;
    bool modal = false;
    QTimer::singleShot(0, [&] {
        QWidget* d = QApplication::activeModalWidget();
        if (!d || d == &w.d())
            return;
        caption = d->windowTitle();
        modal = d->isModal();
        static_cast<QDialog*>(d)->reject();
    });
    QTest::mouseClick(w.control(kIdPrintSettings), Qt::LeftButton);
    EXPECT_EQ(caption, "打印设置");
    EXPECT_TRUE(modal);
    EXPECT_TRUE(w.d().isVisible());
}

TEST(DialogButtons, ClearReadingsAndTheHiddenCalculate) {
    DialogWindow w;
    for (int p = 1; p <= 3; ++p) {
        w.typeReading(p, 1, "1");
        w.typeReading(p, 2, "5");
    }
    w.d().runCommand(kIdCalculate); // the hidden 计算: too few points
    EXPECT_EQ(w.messageTexts(), std::vector<std::string>{"请输入7组以上不为0的数据！"});
    QTest::mouseClick(w.control(kIdClearReadings), Qt::LeftButton);
    EXPECT_EQ(w.grid().itemText(1, 1), "");
    EXPECT_EQ(w.grid().itemText(3, 3), "");
    EXPECT_LT(w.session().members()[0].unevenness[0], kPresenceThreshold);
    EXPECT_EQ(w.list().cellText(0, 2), "--");
}

} // namespace
} // namespace morvik::test
