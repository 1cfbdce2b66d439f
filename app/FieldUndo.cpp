#include "app/FieldUndo.h"

#include "grid/CInPlaceEdit.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>

namespace morvik {

namespace {

// Called directly: the platform's own redo key need not be Ctrl+Y. The field reports the
// change as the user's edit, so the data set follows it.
template <class Edit>
bool stepTyping(Edit* edit, bool undoAvailable, bool redoAvailable, bool redo) {
    if (edit->isReadOnly() || !(redo ? redoAvailable : undoAvailable))
        return false;
    if (redo)
        edit->redo();
    else
        edit->undo();
    return true;
}

} // namespace

bool undoTypingInField(QWidget* field, bool redo) {
    if (auto* edit = qobject_cast<QLineEdit*>(field))
        return stepTyping(edit, edit->isUndoAvailable(), edit->isRedoAvailable(), redo);
    if (auto* edit = qobject_cast<QPlainTextEdit*>(field))
        return stepTyping(edit, edit->document()->isUndoAvailable(),
                          edit->document()->isRedoAvailable(), redo);
    return false;
}

void forgetTypingInField(QWidget* field) {
    if (qobject_cast<CInPlaceEdit*>(field))
        return; // ends with its visit anyway
    if (auto* edit = qobject_cast<QLineEdit*>(field)) {
        if (!edit->isUndoAvailable() && !edit->isRedoAvailable())
            return;
        // Setting the text is the line edit's only way to forget its undo; it is quiet
        // towards the data set, which raises changes on the user's edits alone.
        const QSignalBlocker quiet(edit);
        const int cursor = edit->cursorPosition();
        edit->setText(edit->text());
        edit->setCursorPosition(cursor);
    } else if (auto* edit = qobject_cast<QPlainTextEdit*>(field)) {
        edit->document()->clearUndoRedoStacks();
    }
}

bool cellEditorOpen(const QWidget& grid) {
    for (const CInPlaceEdit* editor : grid.findChildren<CInPlaceEdit*>())
        if (editor->isVisible())
            return true;
    return false;
}

} // namespace morvik
