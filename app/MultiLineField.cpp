#include "app/MultiLineField.h"

#include "controls/GbkInput.h"
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>
#include <algorithm>

namespace morvik {

MultiLineField::MultiLineField(int maxChars, QWidget* parent)
    : QPlainTextEdit(parent), maxChars_(maxChars) {
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

int MultiLineField::room() const {
    const QTextCursor cursor = textCursor();
    const int selected = cursor.selectionEnd() - cursor.selectionStart();
    return maxChars_ - (toPlainText().size() - selected);
}

void MultiLineField::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (!(event->modifiers() & Qt::ControlModifier)) {
            event->ignore();
            return;
        }
        if (room() > 0)
            textCursor().insertText(QStringLiteral("\n"));
        event->accept();
        return;
    }
    const QString text = event->text();
    if (keyInsertsText(*event) && (text.size() > room() || !hasGbkForm(text))) {
        event->accept(); // refused, like a full edit box or a character the file cannot hold
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void MultiLineField::inputMethodEvent(QInputMethodEvent* event) {
    const QString commit = event->commitString();
    const QString kept = withoutNonGbkCharacters(commit);
    if (!commit.isEmpty() && (kept.size() > room() || kept != commit)) {
        QInputMethodEvent cut(event->preeditString(), event->attributes());
        cut.setCommitString(kept.left(std::max(0, room())), event->replacementStart(),
                            event->replacementLength());
        QPlainTextEdit::inputMethodEvent(&cut);
        return;
    }
    QPlainTextEdit::inputMethodEvent(event);
}

bool MultiLineField::canInsertFromMimeData(const QMimeData* source) const {
    return source->hasText();
}

void MultiLineField::insertFromMimeData(const QMimeData* source) {
    QString text = withoutNonGbkCharacters(source->text());
    text.remove(QLatin1Char('\r'));
    textCursor().insertText(text.left(std::max(0, room())));
}

} // namespace morvik
