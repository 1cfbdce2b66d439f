#include "report/PrintTextEdit.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>
#include <algorithm>

namespace morvik {

PrintTextEdit::PrintTextEdit(int maxChars, QWidget* parent)
    : QPlainTextEdit(parent), maxChars_(maxChars) {
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

int PrintTextEdit::room() const {
    const QTextCursor cursor = textCursor();
    const int selected = cursor.selectionEnd() - cursor.selectionStart();
    return maxChars_ - (toPlainText().size() - selected);
}

void PrintTextEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->ignore(); // the dialog's default button
        return;
    }
    const QString text = event->text();
    const bool inserts = !text.isEmpty() && text.at(0).isPrint();
    if (inserts && text.size() > room()) {
        event->accept(); // refused, like a full edit box
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void PrintTextEdit::inputMethodEvent(QInputMethodEvent* event) {
    const QString commit = event->commitString();
    if (!commit.isEmpty() && commit.size() > room()) {
        QInputMethodEvent cut(event->preeditString(), event->attributes());
        cut.setCommitString(commit.left(std::max(0, room())), event->replacementStart(),
                            event->replacementLength());
        QPlainTextEdit::inputMethodEvent(&cut);
        return;
    }
    QPlainTextEdit::inputMethodEvent(event);
}

bool PrintTextEdit::canInsertFromMimeData(const QMimeData* source) const {
    return source->hasText();
}

void PrintTextEdit::insertFromMimeData(const QMimeData* source) {
    QString text = source->text();
    text.remove('\r');
    text.replace('\n', ' ');
    textCursor().insertText(text.left(std::max(0, room())));
}

} // namespace morvik
