#pragma once
// The multi-line edit of the header and footer texts: it takes typed, pasted and composed
// text only up to a number of characters (text set by the program is not cut), and leaves
// Enter to the dialog, so Enter accepts the dialog as in every other field.

#include <QPlainTextEdit>

namespace morvik {

class PrintTextEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit PrintTextEdit(int maxChars, QWidget* parent = nullptr);
    int maxChars() const { return maxChars_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // How many characters may still be inserted in place of the selection.
    int room() const;
    int maxChars_;
};

} // namespace morvik
