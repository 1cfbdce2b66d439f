#include "report/PrintTextEdit.h"

#include "controls/GbkInput.h"
#include "core/GbkText.h"
#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBoundaryFinder>
#include <QTextCursor>

namespace morvik {

namespace {

// The box is one line on the page: a pasted or composed line break becomes a space, as
// CR/LF always did, whatever character the source used for it.
QString flattenLines(QString text) {
    text.remove(u'\r');
    for (QChar& c : text)
        if (isLineSeparator(c))
            c = u' ';
    return text;
}

} // namespace

int gbkByteCount(const QString& text) {
    return static_cast<int>(utf8ToGbk(text.toStdString()).size());
}

QString admitPrintText(const QString& text, int charsLeft, int bytesLeft) {
    const QString flat = flattenLines(text);
    QString admitted;
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, flat);
    qsizetype start = 0;
    for (qsizetype end = graphemes.toNextBoundary(); end > 0; end = graphemes.toNextBoundary()) {
        const QString character = flat.mid(start, end - start);
        start = end;
        if (!hasGbkForm(character))
            continue; // refused, not stored as '?'
        const int bytes = gbkByteCount(character);
        if (character.size() > charsLeft || bytes > bytesLeft)
            break;
        admitted += character;
        charsLeft -= int(character.size());
        bytesLeft -= bytes;
    }
    return admitted;
}

PrintTextEdit::PrintTextEdit(int maxChars, int maxBytes, QWidget* parent)
    : QPlainTextEdit(parent), maxChars_(maxChars), maxBytes_(maxBytes) {
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

QString PrintTextEdit::admit(const QString& text) const {
    const QTextCursor cursor = textCursor();
    const QString selected = cursor.selectedText();
    const QString all = toPlainText();
    return admitPrintText(text, maxChars_ - int(all.size() - selected.size()),
                          maxBytes_ - (gbkByteCount(all) - gbkByteCount(selected)));
}

void PrintTextEdit::keyPressEvent(QKeyEvent* event) {
    // Shift+Enter too: the edit would insert a line separator.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->ignore(); // the dialog's default button
        return;
    }
    if (keyInsertsText(*event)) {
        const QString text = event->text();
        const QString admitted = admit(text);
        if (admitted != text) {
            // Refused, like a full edit box; a separator still goes in as its space.
            if (!admitted.isEmpty())
                textCursor().insertText(admitted);
            else
                QApplication::beep();
            event->accept();
            return;
        }
    }
    QPlainTextEdit::keyPressEvent(event);
}

void PrintTextEdit::inputMethodEvent(QInputMethodEvent* event) {
    const QString commit = event->commitString();
    if (commit.isEmpty()) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    const QString admitted = admit(commit);
    if (admitted == commit) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent cut(event->preeditString(), event->attributes());
    cut.setCommitString(admitted, event->replacementStart(), event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&cut);
}

bool PrintTextEdit::canInsertFromMimeData(const QMimeData* source) const {
    return source->hasText();
}

void PrintTextEdit::insertFromMimeData(const QMimeData* source) {
    textCursor().insertText(admit(source->text()));
}

} // namespace morvik
