#pragma once
// A plain-text box whose text is stored in a fixed-width GBK field (工程名称, 备注, the
// header and footer of the record sheet). What the box shows is what its field stores:
// typed keys, paste, drop and input-method commits all go through one rule
// (admitGbkText) that refuses characters GBK cannot hold and stops at the characters,
// bytes and lines the box has room for, never inside a character; undo and redo only go
// back and forth between texts made that way. Text set by the program is shown as it is.
// Enter is left to the dialog; Ctrl+Enter breaks the line where the box has lines to spare.

#include <QPlainTextEdit>
#include <limits>

namespace morvik {

// What a box may hold: characters (UTF-16 units), bytes of its GBK form, lines.
struct GbkTextLimits {
    static constexpr int kUnlimited = std::numeric_limits<int>::max();
    int characters = kUnlimited;
    int bytes = kUnlimited;
    int lines = kUnlimited;
};

// The part of `text` that may go in where `charsLeft` characters, `bytesLeft` GBK bytes
// and `breaksLeft` line breaks are still free: CR is dropped, the first `breaksLeft` line
// or paragraph separators stay and every later one becomes a space, characters without a
// GBK form are left out, and the text ends before the first whole character (a surrogate
// pair, a base with its combining marks) that would not fit.
QString admitGbkText(const QString& text, int charsLeft, int bytesLeft, int breaksLeft);

// The number of bytes `text` takes in GBK.
int gbkByteCount(const QString& text);

class GbkTextBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit GbkTextBox(GbkTextLimits limits, QWidget* parent = nullptr);
    const GbkTextLimits& limits() const { return limits_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // What of `text` may replace the selection.
    QString admit(const QString& text) const;
    // Inserts what was admitted; a beep, like a full edit box, when that is nothing.
    void insertOrBeep(const QString& admitted);
    GbkTextLimits limits_;
};

} // namespace morvik
