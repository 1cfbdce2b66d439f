// Ctrl+Z and Ctrl+Y on the real dialog: what comes back is shown in the grid, the result
// fields and the list; typing still open in a field is taken back there first; undoing to
// the saved state leaves nothing to ask.
#include "DialogFixture.h"

#include "grid/CInPlaceEdit.h"

#include <QTemporaryDir>

namespace morvik::test {
namespace {

const char* const kSaveQuestion = "文件内容已被修改，是否保存当前更改？";

void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr);
    QTest::keyClick(target, key, modifiers);
}

// Eight points of depth 5 under the start code: a member with results.
void typeMember(DialogWindow& w) {
    for (int point = 1; point <= 8; ++point) {
        w.typeReading(point, 1, "1");
        w.typeReading(point, 2, "6");
    }
}

QString editorText(DialogWindow& w) {
    for (CInPlaceEdit* editor : w.grid().findChildren<CInPlaceEdit*>())
        if (editor->isVisible())
            return editor->text();
    return QStringLiteral("(closed)");
}

TEST(DialogUndo, ClearedReadingsComeBackWithTheirResultsAndListRow) {
    DialogWindow w;
    typeMember(w);
    const QString depth = w.text(kIdMeanDepth);
    const QString estimate = w.list().cellText(0, 3);
    ASSERT_EQ(depth, "5.00");

    w.d().runCommand(kIdClearReadings);
    ASSERT_EQ(w.grid().itemText(4, 2), "");
    ASSERT_EQ(w.text(kIdMeanDepth), "--");

    w.control(kIdProjectName)->setFocus(Qt::OtherFocusReason);
    press(Qt::Key_Z); // from a field with nothing typed in it
    EXPECT_EQ(w.grid().itemText(4, 2), "6.00");
    EXPECT_EQ(w.grid().itemText(4, 3), "5.00");
    EXPECT_EQ(w.text(kIdMeanDepth), depth);
    EXPECT_EQ(w.list().cellText(0, 3), estimate);

    press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(w.grid().itemText(4, 2), "");
    EXPECT_EQ(w.text(kIdMeanDepth), "--");
    press(Qt::Key_Z);
    press(Qt::Key_Y);
    EXPECT_EQ(w.list().cellText(0, 2), "--");
}

TEST(DialogUndo, DeletedMembersComeBackAtTheirPlaces) {
    DialogWindow w;
    w.d().runCommand(kCmdAddMember);
    w.d().runCommand(kCmdAddMember);
    w.d().runCommand(kCmdAddMember); // G001 .. G004
    w.typeReading(3, 2, "7.5");      // into G004, current
    w.list().setRowChecked(1, true);
    w.list().setRowChecked(3, true);
    w.prompt.answers.push_back(PromptAnswer::Yes);
    w.d().runCommand(kCmdDeleteMembers);
    ASSERT_EQ(w.list().rowCount(), 2);

    press(Qt::Key_Z);
    ASSERT_EQ(w.list().rowCount(), 4);
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(w.list().cellText(row, 0), QString::number(row + 1));
        EXPECT_EQ(w.list().cellText(row, 1), QString("G%1").arg(row + 1, 3, 10, QChar('0')));
    }
    EXPECT_EQ(w.session().currentMember(), 1);
    EXPECT_EQ(w.list().selectedRow(), 1);
    EXPECT_TRUE(w.list().isRowChecked(1));
    EXPECT_TRUE(w.list().isRowChecked(3));
    EXPECT_FLOAT_EQ(w.session().members()[3].gaugeReading[2], 7.5f);

    press(Qt::Key_Y);
    EXPECT_EQ(w.list().rowCount(), 2);
    EXPECT_EQ(w.list().cellText(1, 1), "G003");
}

TEST(DialogUndo, CtrlZInAnOpenCellEditorTakesBackTheTypingFirst) {
    DialogWindow w;
    w.typeReading(1, 1, "5");
    w.typeReading(2, 1, "37", Qt::Key_unknown); // still open
    ASSERT_EQ(editorText(w), "37");

    press(Qt::Key_Z);
    EXPECT_EQ(editorText(w), ""); // the editor's own undo
    EXPECT_EQ(w.grid().itemText(1, 1), "5.00");

    press(Qt::Key_Z); // nothing typed is left: the editor ends, the last step goes
    EXPECT_EQ(editorText(w), "(closed)");
    EXPECT_EQ(w.grid().itemText(1, 1), "");
    EXPECT_EQ(w.grid().itemText(2, 1), "");
    press(Qt::Key_Y);
    EXPECT_EQ(w.grid().itemText(1, 1), "5.00");
}

TEST(DialogUndo, TheTypingOfOneVisitToAFieldIsOneStep) {
    DialogWindow w;
    w.typeInto(kIdInstrumentNumber, "AB12");
    EXPECT_EQ(w.session().history().size(), 1u);
    press(Qt::Key_Z); // the field takes back its own typing, and the set follows it
    EXPECT_NE(w.text(kIdInstrumentNumber), "AB12");
    EXPECT_EQ(w.session().project().instrumentNumber, w.text(kIdInstrumentNumber).toStdString());
    press(Qt::Key_Y);
    EXPECT_EQ(w.text(kIdInstrumentNumber), "AB12");
    EXPECT_STREQ(w.session().project().instrumentNumber, "AB12");
    EXPECT_EQ(w.session().history().size(), 1u);

    w.control(kIdReviewer)->setFocus(Qt::OtherFocusReason); // the visit ends
    press(Qt::Key_Z);
    EXPECT_EQ(w.text(kIdInstrumentNumber), "");
    EXPECT_STREQ(w.session().project().instrumentNumber, "");
    // Back in the field, the visit's typing is the data set's step.
    w.control(kIdInstrumentNumber)->setFocus(Qt::OtherFocusReason);
    press(Qt::Key_Y);
    EXPECT_EQ(w.text(kIdInstrumentNumber), "AB12");
    press(Qt::Key_Z);
    EXPECT_EQ(w.text(kIdInstrumentNumber), "");
}

TEST(DialogUndo, UndoingBackToTheSavedStateAsksNothing) {
    QTemporaryDir dir;
    DialogWindow w;
    typeMember(w);
    w.prompt.fileNames.push_back(dir.filePath("saved.stl"));
    w.d().runCommand(kIdSave);
    ASSERT_FALSE(w.session().dataModified());

    w.typeReading(9, 1, "2");
    w.d().runCommand(kIdClearReadings);
    EXPECT_TRUE(w.session().dataModified());
    press(Qt::Key_Z);
    EXPECT_TRUE(w.session().dataModified());
    press(Qt::Key_Z);
    EXPECT_FALSE(w.session().dataModified());
    press(Qt::Key_Z); // before the save
    EXPECT_TRUE(w.session().dataModified());
    press(Qt::Key_Y);
    EXPECT_FALSE(w.session().dataModified());

    const std::size_t shown = w.prompt.messages.size();
    w.control(kIdInstrumentNumber)->setFocus(Qt::OtherFocusReason);
    press(Qt::Key_Escape, Qt::NoModifier);
    EXPECT_EQ(w.prompt.messages.size(), shown);
    EXPECT_FALSE(w.d().isVisible());
}

TEST(DialogUndo, AnOtherStateAfterUndoAsksToSave) {
    DialogWindow w;
    typeMember(w);
    press(Qt::Key_Z);
    ASSERT_TRUE(w.session().dataModified());
    w.prompt.answers.push_back(PromptAnswer::No);
    w.d().runCommand(kIdNewFile);
    ASSERT_EQ(w.messageTexts(), std::vector<std::string>{kSaveQuestion});
    // A new file starts a history of its own.
    EXPECT_FALSE(w.session().canUndo());
    EXPECT_FALSE(w.session().canRedo());
}

} // namespace
} // namespace morvik::test
