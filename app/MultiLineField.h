#pragma once
// The multi-line edit fields of the main dialog (工程名称, 备注): they take typed, pasted
// and composed text up to a number of characters (text the dialog shows is not cut), and
// only characters the data file can store (GbkInput.h). Enter
// is left to the dialog, which ignores it; Ctrl+Enter breaks the line.
#include <QPlainTextEdit>

namespace morvik {

class MultiLineField : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit MultiLineField(int maxChars, QWidget* parent = nullptr);
    int maxChars() const { return maxChars_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // How many characters may still replace the selection.
    int room() const;
    int maxChars_;
};

} // namespace morvik
