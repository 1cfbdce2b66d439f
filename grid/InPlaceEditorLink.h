#pragma once
// What an in-place editor keeps of its grid and cell, and the one end-of-edit report it
// sends. Both editors end the same way: the key that ends the edit is stored, the focus goes
// back to the grid, and the report goes out once, after the editor has hidden itself.

#include "grid/CGridCtrl.h"
#include "grid/GridTypes.h"

#include <QPointer>

class QWidget;

namespace morvik {

struct InPlaceEditorLink {
    InPlaceEditorLink(CGridCtrl* g, int editorId, int r, int c, const QString& text)
        : grid(g), id(editorId), row(r), col(c), initialText(text) {}

    // Stores the ending key and gives the focus back to the grid.
    void handBack(int key, Qt::KeyboardModifiers mods);
    // True once, for the first way of ending that gets here.
    bool startEnding();
    // Hides the editor, deletes it later and reports `text` to the grid.
    void report(QWidget* editor, const QString& text);
    // The grid is going away: nothing is reported.
    void abandon() {
        ended = true;
        grid = nullptr;
    }

    QPointer<CGridCtrl> grid;
    int id;
    int row;
    int col;
    QString initialText;
    int lastKey = 0;
    bool ended = false;
    Qt::KeyboardModifiers endModifiers;
};

} // namespace morvik
