// The keyboard of the main dialog: accelerators that win inside edit fields, the character
// filter over the reading grid, Enter that ends nothing, Esc through the session, F1.
#include "DialogFixture.h"

#include "app/AboutBox.h"
#include "app/KeyboardFilter.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>

namespace morvik::test {
namespace {

const char* const kNoMemberChecked = "请选中要删除的构件！";
const char* const kSaveQuestion = "文件内容已被修改，是否保存当前更改？";

TEST(AcceleratorTable, KeysAndTheirCommands) {
    struct Row {
        const char* name;
        int key;
        Qt::KeyboardModifiers mods;
        int command;
    };
    const Row rows[] = {
        {"Ctrl+D", Qt::Key_D, Qt::ControlModifier, kCmdDeleteMembers},
        {"Delete", Qt::Key_Delete, Qt::NoModifier, kCmdDeleteMembers},
        {"keypad Delete", Qt::Key_Delete, Qt::KeypadModifier, kCmdDeleteMembers},
        {"Ctrl+I", Qt::Key_I, Qt::ControlModifier, kCmdAddMember},
        {"Insert", Qt::Key_Insert, Qt::NoModifier, kCmdAddMember},
        {"Ctrl+A", Qt::Key_A, Qt::ControlModifier, kCmdToggleAllChecks},
        {"Ctrl+N", Qt::Key_N, Qt::ControlModifier, kIdNewFile},
        {"Ctrl+O", Qt::Key_O, Qt::ControlModifier, kIdOpen},
        {"Ctrl+S", Qt::Key_S, Qt::ControlModifier, kIdSave},
        {"Ctrl+Z", Qt::Key_Z, Qt::ControlModifier, kCmdUndo},
        {"Ctrl+Y", Qt::Key_Y, Qt::ControlModifier, kCmdRedo},
        {"Ctrl+Shift+Z", Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, kCmdRedo},
        {"Ctrl+Shift+Y", Qt::Key_Y, Qt::ControlModifier | Qt::ShiftModifier, 0},
        {"plain D", Qt::Key_D, Qt::NoModifier, 0},
        {"Ctrl+Shift+S", Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier, 0},
        {"Shift+Delete", Qt::Key_Delete, Qt::ShiftModifier, 0},
        {"Alt+A", Qt::Key_A, Qt::AltModifier, 0},
        {"Ctrl+C", Qt::Key_C, Qt::ControlModifier, 0},
    };
    for (const Row& r : rows)
        EXPECT_EQ(acceleratorCommand(r.key, r.mods), r.command) << r.name;
}

TEST(ReadingGridFilter, CharactersThatPass) {
    struct Row {
        const char* name;
        int key;
        Qt::KeyboardModifiers mods;
        QString text;
        bool passes;
    };
    const Row rows[] = {
        {"digit", Qt::Key_7, Qt::NoModifier, "7", true},
        {"minus", Qt::Key_Minus, Qt::NoModifier, "-", true},
        {"point", Qt::Key_Period, Qt::NoModifier, ".", true},
        {"backspace", Qt::Key_Backspace, Qt::NoModifier, "\b", true},
        {"tab", Qt::Key_Tab, Qt::NoModifier, "\t", true},
        {"letter", Qt::Key_A, Qt::NoModifier, "a", false},
        {"comma", Qt::Key_Comma, Qt::NoModifier, ",", false},
        {"plus", Qt::Key_Plus, Qt::NoModifier, "+", false},
        {"space", Qt::Key_Space, Qt::NoModifier, " ", false},
        {"enter", Qt::Key_Return, Qt::NoModifier, "\r", false},
        {"escape", Qt::Key_Escape, Qt::NoModifier, QString(QChar(27)), false},
        {"wide digit", Qt::Key_unknown, Qt::NoModifier, "７", false},
        {"arrow", Qt::Key_Left, Qt::NoModifier, "", true},
        {"F2", Qt::Key_F2, Qt::NoModifier, "", true},
        {"Ctrl+V", Qt::Key_V, Qt::ControlModifier, QString(QChar(22)), true},
    };
    for (const Row& r : rows) {
        const QKeyEvent e(QEvent::KeyPress, r.key, r.mods, r.text);
        EXPECT_EQ(passesReadingGridFilter(e), r.passes) << r.name;
    }
}

class DialogKeys : public ::testing::Test {
protected:
    DialogWindow w;
};

TEST_F(DialogKeys, DeleteInProjectNameRunsDeleteMembers) {
    w.typeInto(kIdProjectName, "abc");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    EXPECT_EQ(w.text(kIdProjectName), "abc"); // the key deleted no character
    ASSERT_EQ(w.prompt.messages.size(), 1u);
    EXPECT_EQ(w.prompt.messages[0].message.text, kNoMemberChecked);
    EXPECT_EQ(w.prompt.messages[0].message.caption, "提示");
    EXPECT_EQ(w.session().memberCount(), 1);
}

TEST_F(DialogKeys, DeleteInTheGridIsDeleteMembersNotClearCell) {
    w.typeReading(2, 1, "4");
    ASSERT_EQ(w.grid().itemText(2, 1), "4.00");
    w.grid().setFocusCell(2, 1);
    QTest::keyClick(&w.grid(), Qt::Key_Delete);
    EXPECT_EQ(w.grid().itemText(2, 1), "4.00");
    EXPECT_EQ(w.messageTexts(), std::vector<std::string>{kNoMemberChecked});
}

TEST_F(DialogKeys, InsertAndCtrlIAddMembersFromLineEdits) {
    w.control(kIdInstrumentNumber)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Insert);
    EXPECT_EQ(w.session().memberCount(), 2);
    w.control(kIdReviewer)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(w.session().memberCount(), 3);
    EXPECT_EQ(w.list().cellText(2, 1), "G003");
    EXPECT_EQ(w.text(kIdReviewer), "");
}

TEST_F(DialogKeys, CtrlAInAnEditTicksEveryMemberInsteadOfSelectingText) {
    w.session().addMember();
    w.typeInto(kIdInstrumentNumber, "XY-1");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(w.session().isChecked(0));
    EXPECT_TRUE(w.session().isChecked(1));
    EXPECT_TRUE(w.list().isRowChecked(0));
    EXPECT_TRUE(w.list().isRowChecked(1));
    EXPECT_FALSE(static_cast<QLineEdit*>(w.control(kIdInstrumentNumber))->hasSelectedText());
}

TEST_F(DialogKeys, CtrlDDeletesTheTickedMembersAfterTheQuestion) {
    w.session().addMember();
    w.session().addMember();
    w.list().setRowChecked(1, true); // a user's tick
    ASSERT_TRUE(w.session().isChecked(1));
    w.prompt.answers.push_back(PromptAnswer::Yes);
    w.control(kIdMemberName)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_D, Qt::ControlModifier);
    ASSERT_EQ(w.prompt.messages.size(), 1u);
    EXPECT_EQ(w.prompt.messages[0].message.text, "确定要删除选中的构件吗？");
    EXPECT_EQ(w.prompt.messages[0].buttons, PromptButtons::YesNo);
    ASSERT_EQ(w.list().rowCount(), 2);
    EXPECT_EQ(w.list().cellText(1, 1), "G003");
    EXPECT_EQ(w.list().cellText(1, 0), "2");
}

TEST_F(DialogKeys, CtrlSAndCtrlOOpenTheirFileDialogs) {
    w.control(kIdStrengthGrade)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(w.prompt.fileDialogs.size(), 2u);
    const auto& save = w.prompt.fileDialogs[0];
    EXPECT_TRUE(save.save);
    EXPECT_EQ(save.request.initialName, "新文件.stl");
    EXPECT_EQ(save.request.defaultSuffix, "stl");
    EXPECT_EQ(save.request.filterDescription, "砂浆抗压强度数据.stl");
    EXPECT_EQ(save.request.filterPattern, "*.stl");
    const auto& open = w.prompt.fileDialogs[1];
    EXPECT_FALSE(open.save);
    EXPECT_EQ(open.request.initialName, "");
    EXPECT_EQ(open.request.filterPattern, "*.stl");
}

TEST_F(DialogKeys, CtrlNStartsANewFileKeepingTheProject) {
    w.session().addMember();
    w.typeInto(kIdInstrumentNumber, "N-7");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_N, Qt::ControlModifier);
    // Unsaved changes: the question came first; the empty script answers No.
    ASSERT_EQ(w.messageTexts(), std::vector<std::string>{kSaveQuestion});
    EXPECT_EQ(w.list().rowCount(), 1);
    EXPECT_EQ(w.text(kIdInstrumentNumber), "N-7");
}

TEST_F(DialogKeys, PointerOverTheGridFiltersOnlyTypingThatGoesIntoTheGrid) {
    // With the focus in a field, what the inspector types arrives whole, wherever the pointer
    // rests: a centred window often leaves it over the grid.
    w.pointer = w.gridCentre();
    w.typeInto(kIdProjectName, "Block 3 east");
    w.typeInto(kIdInstrumentNumber, "GR-01 b,");
    EXPECT_EQ(w.text(kIdProjectName), "Block 3 east");
    EXPECT_EQ(w.text(kIdInstrumentNumber), "GR-01 b,");

    // In the grid the same letters are dropped, and only there.
    w.typeReading(2, 1, "b2-c.3 ,", Qt::Key_unknown);
    QWidget* editor = QApplication::focusWidget();
    ASSERT_NE(editor, &w.grid());
    EXPECT_EQ(static_cast<QLineEdit*>(editor)->text(), "2-.3");
    QTest::keyClick(editor, Qt::Key_Backspace);
    EXPECT_EQ(static_cast<QLineEdit*>(editor)->text(), "2-.");
}

TEST_F(DialogKeys, PointerOverTheGridKeepsTheCellEditorOpenOnEnterAndEsc) {
    w.pointer = w.gridCentre();
    w.typeReading(1, 1, "1a.5", Qt::Key_unknown);
    QWidget* editor = QApplication::focusWidget();
    ASSERT_NE(editor, &w.grid());
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_EQ(QApplication::focusWidget(), editor);
    EXPECT_TRUE(w.d().isVisible());
    EXPECT_EQ(static_cast<QLineEdit*>(editor)->text(), "1.5");

    w.pointer = kPointerAway;
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(w.grid().itemText(1, 1), "1.50");
    EXPECT_FLOAT_EQ(w.session().currentRecord().unevenness[0], 1.5f);
}

TEST_F(DialogKeys, EscInACellEditorRestoresTheCellAndKeepsTheDialog) {
    w.typeReading(5, 2, "6.1");
    w.typeReading(5, 2, "9", Qt::Key_unknown);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_TRUE(w.d().isVisible());
    EXPECT_EQ(w.grid().itemText(5, 2), "6.10");
    EXPECT_FLOAT_EQ(w.session().currentRecord().gaugeReading[4], 6.1f);
}

TEST_F(DialogKeys, EnterEndsNothing) {
    w.typeInto(kIdInstrumentNumber, "E1");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
    w.control(kIdExit)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    w.control(kIdNewFile)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    w.typeInto(kIdRemark, "r");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(w.d().isVisible());
    EXPECT_EQ(w.d().result(), 0);
    EXPECT_TRUE(w.prompt.messages.empty());
    EXPECT_EQ(w.text(kIdRemark), "r"); // no line break
    EXPECT_EQ(w.text(kIdInstrumentNumber), "E1");

    // Ctrl+Enter breaks the line of a multi-line field, and still ends nothing.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), "s");
    EXPECT_EQ(w.text(kIdRemark), "r\ns");
    EXPECT_TRUE(w.d().isVisible());
}

TEST_F(DialogKeys, EscWithoutChangesEndsAtOnce) {
    w.control(kIdInstrumentNumber)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(w.d().isVisible());
    EXPECT_EQ(w.d().result(), int(QDialog::Rejected));
    EXPECT_TRUE(w.prompt.messages.empty());
}

TEST_F(DialogKeys, EscWithChangesAsksAndNoEnds) {
    w.typeInto(kIdInstrumentNumber, "E2");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_EQ(w.messageTexts(), std::vector<std::string>{kSaveQuestion});
    EXPECT_EQ(w.prompt.messages[0].buttons, PromptButtons::YesNoCancel);
    EXPECT_FALSE(w.d().isVisible());
    EXPECT_TRUE(w.prompt.fileDialogs.empty());
}

TEST_F(DialogKeys, EscWithChangesYesAndCancelledSaveStays) {
    w.typeInto(kIdInstrumentNumber, "E3");
    w.prompt.answers.push_back(PromptAnswer::Yes);
    w.prompt.fileNames.push_back(QString()); // the save dialog is cancelled
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_EQ(w.prompt.fileDialogs.size(), 1u);
    EXPECT_TRUE(w.d().isVisible());
    EXPECT_TRUE(w.session().dataModified());
}

TEST_F(DialogKeys, F1ShowsTheAboutBox) {
    QString caption;
    QStringList lines;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<AboutBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        caption = box->windowTitle();
        for (QLabel* l : box->findChildren<QLabel*>())
            if (!l->text().isEmpty())
                lines << l->text();
        box->accept();
    });
    w.control(kIdProjectName)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    EXPECT_EQ(caption, "关于砂浆抗压强度测试仪软件");
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], "关于砂浆抗压强度测试仪软件");
    EXPECT_TRUE(w.d().isVisible());
}

TEST_F(DialogKeys, KeysOfAMessageBoxOverTheGridAreItsOwn) {
    // A real message box parented to the dialog: Enter answers it even with the pointer
    // over the grid, and its Delete runs no member command.
    w.pointer = w.gridCentre();
    int answer = -1;
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box)
            return;
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClick(box, Qt::Key_Return);
    });
    QMessageBox box(QMessageBox::Information, "提示", "x", QMessageBox::Ok, &w.d());
    answer = box.exec();
    EXPECT_EQ(answer, int(QMessageBox::Ok));
    EXPECT_TRUE(w.prompt.messages.empty());
}

} // namespace
} // namespace morvik::test
