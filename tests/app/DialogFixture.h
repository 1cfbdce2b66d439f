#pragma once
// The main dialog on screen (offscreen platform), started and active, with a scripted
// prompt, a fixed today and a mouse pointer the test places; plus helpers that type into
// its fields and the reading grid with QTest key events.
#include "app/CMorvikDlg.h"
#include "app/DialogIds.h"
#include "controls/CSortListCtrl.h"
#include "tests/support/PromptScripted.h"
#include "grid/CComboGridCtrl.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace morvik::test {

inline constexpr CivilDate kFixedToday{2024, 3, 9};
// Far from every widget: the character filter of the grid stays out of the way.
inline const QPoint kPointerAway(-10000, -10000);

class DialogWindow {
public:
    explicit DialogWindow(bool fixedToday = true) {
        std::function<CivilDate()> today;
        if (fixedToday)
            today = [] { return kFixedToday; };
        dialog = std::make_unique<CMorvikDlg>(prompt, today);
        dialog->setPointerPosition([this] { return pointer; });
        dialog->start();
        dialog->show();
        dialog->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        QApplication::processEvents();
    }
    ~DialogWindow() {
        dialog.reset();
        QApplication::processEvents();
    }

    CMorvikDlg& d() { return *dialog; }
    Session& session() { return dialog->session(); }
    CComboGridCtrl& grid() { return *dialog->readingGrid(); }
    CSortListCtrl& list() { return *dialog->memberList(); }
    QWidget* control(int id) {
        QWidget* w = dialog->control(id);
        EXPECT_NE(w, nullptr) << "control " << id;
        return w;
    }
    QString text(int id) {
        QWidget* w = control(id);
        if (auto* edit = qobject_cast<QLineEdit*>(w))
            return edit->text();
        if (auto* multi = qobject_cast<QPlainTextEdit*>(w))
            return multi->toPlainText();
        return {};
    }

    // The global centre of the reading grid, where the pointer rests "over the grid".
    QPoint gridCentre() { return grid().mapToGlobal(grid().rect().center()); }

    // Gives a field the focus and types `keys` into it, one key click per character.
    void typeInto(int id, const QString& keys) {
        QWidget* w = control(id);
        w->setFocus(Qt::OtherFocusReason);
        QTest::keyClicks(QApplication::focusWidget(), keys);
    }

    // Types `text` into a reading cell as the user does: the first character opens the
    // cell's editor, the rest go to whatever has the focus; `end` ends the edit (0: leave
    // the editor open).
    void typeReading(int point, int column, const QString& text, Qt::Key end = Qt::Key_Return) {
        grid().setFocus(Qt::OtherFocusReason);
        grid().setFocusCell(point, column);
        for (QChar ch : text)
            QTest::keyClick(QApplication::focusWidget(), ch.toLatin1());
        if (end != Qt::Key_unknown)
            QTest::keyClick(QApplication::focusWidget(), end);
    }

    // The texts of the shown message boxes, in order.
    std::vector<std::string> messageTexts() const {
        std::vector<std::string> out;
        for (const auto& m : prompt.messages)
            out.push_back(m.message.text);
        return out;
    }

    ScriptedPrompt prompt;
    QPoint pointer = kPointerAway;
    std::unique_ptr<CMorvikDlg> dialog;
};

} // namespace morvik::test
