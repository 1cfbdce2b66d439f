#pragma once
// The multi-line edit of the header and footer texts. What the box shows is what its field
// stores and the page prints: typed keys, paste, drop and input-method commits all go
// through one rule (admitPrintText) that keeps the text on one line, refuses characters the
// GBK field cannot hold and stops at the characters and bytes the field has room for,
// never inside a character; undo and redo only go back and forth between texts made that
// way. Text set by the program is shown as it is. Enter is left to the dialog, so Enter
// accepts the dialog as in every other field.

#include <QPlainTextEdit>

namespace morvik {

// The part of `text` that may go in where `charsLeft` characters (UTF-16 units) and
// `bytesLeft` GBK bytes are still free: CR is dropped, LF and every other line or paragraph
// separator becomes a space, characters without a GBK form are left out, and the text ends
// before the first whole character (a surrogate pair, a base with its combining marks)
// that would not fit.
QString admitPrintText(const QString& text, int charsLeft, int bytesLeft);

// The number of bytes `text` takes in GBK.
int gbkByteCount(const QString& text);

class PrintTextEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    // A box of at most `maxChars` characters whose GBK form needs at most `maxBytes` bytes
    // (the field's width less its terminator).
    PrintTextEdit(int maxChars, int maxBytes, QWidget* parent = nullptr);
    int maxChars() const { return maxChars_; }
    int maxBytes() const { return maxBytes_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // What of `text` may replace the selection.
    QString admit(const QString& text) const;
    int maxChars_;
    int maxBytes_;
};

} // namespace morvik
