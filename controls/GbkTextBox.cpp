#include "controls/GbkTextBox.h"

#include "controls/GbkInput.h"
#include "core/GbkText.h"
#include <QApplication>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBoundaryFinder>
#include <QTextCursor>
#include <algorithm>

namespace morvik {

namespace {

// CR goes; the line breaks beyond the first `breaksLeft` become spaces, as CR/LF always
// did in a one-line box, whatever character the source used for them. Done before the
// text is split into characters, so a mark after a flattened break joins its space.
QString flattenExtraBreaks(QString text, int breaksLeft) {
    text.remove(u'\r');
    for (QChar& c : text)
        if (isLineSeparator(c) && breaksLeft-- <= 0)
            c = u' ';
    return text;
}

int lineBreakCount(const QString& text) {
    return int(std::count_if(text.begin(), text.end(), isLineSeparator));
}

// What is left of `limit` after `used`; an unlimited limit stays unlimited.
int left(int limit, int used) {
    return limit == GbkTextLimits::kUnlimited ? limit : limit - used;
}

} // namespace

int gbkByteCount(const QString& text) {
    return static_cast<int>(utf8ToGbk(text.toStdString()).size());
}

QString admitGbkText(const QString& text, int charsLeft, int bytesLeft, int breaksLeft) {
    const QString flat = flattenExtraBreaks(text, breaksLeft);
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

GbkTextBox::GbkTextBox(GbkTextLimits limits, QWidget* parent)
    : QPlainTextEdit(parent), limits_(limits) {
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

void GbkTextBox::focusInEvent(QFocusEvent* event) {
    QPlainTextEdit::focusInEvent(event);
    // Reached by the keyboard, the box offers its whole text to be typed over, as a
    // one-line edit field does; a click keeps the caret where it landed.
    const Qt::FocusReason reason = event->reason();
    if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
        reason == Qt::ShortcutFocusReason)
        selectAll();
}

QString GbkTextBox::admit(const QString& text) const {
    const QString selected = textCursor().selectedText();
    const QString all = toPlainText();
    const int bytesUsed =
        limits_.bytes == GbkTextLimits::kUnlimited ? 0 : gbkByteCount(all) - gbkByteCount(selected);
    const int linesUsed = 1 + lineBreakCount(all) - lineBreakCount(selected);
    return admitGbkText(text, left(limits_.characters, int(all.size() - selected.size())),
                        left(limits_.bytes, bytesUsed), left(limits_.lines, linesUsed));
}

void GbkTextBox::insertOrBeep(const QString& admitted) {
    if (admitted.isEmpty())
        QApplication::beep();
    else
        textCursor().insertText(admitted);
}

void GbkTextBox::keyPressEvent(QKeyEvent* event) {
    // Shift+Enter too: the edit would insert a line separator.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (!(event->modifiers() & Qt::ControlModifier) || limits_.lines <= 1) {
            event->ignore(); // the dialog's
            return;
        }
        insertOrBeep(admit(QStringLiteral("\n")));
        event->accept();
        return;
    }
    if (keyInsertsText(*event)) {
        const QString text = event->text();
        const QString admitted = admit(text);
        if (admitted != text) {
            // Refused, like a full edit box; a break beyond the lines still goes in as its
            // space.
            insertOrBeep(admitted);
            event->accept();
            return;
        }
    }
    QPlainTextEdit::keyPressEvent(event);
}

void GbkTextBox::inputMethodEvent(QInputMethodEvent* event) {
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

bool GbkTextBox::canInsertFromMimeData(const QMimeData* source) const {
    return source->hasText();
}

void GbkTextBox::insertFromMimeData(const QMimeData* source) {
    textCursor().insertText(admit(source->text()));
}

} // namespace morvik
