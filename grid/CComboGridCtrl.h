#pragma once
// A grid whose chosen columns are edited with a drop-down list of fixed texts. A combo
// column accepts only texts that are one of its items, whether typed, pasted or written by
// the owner; every other column behaves as in CGridCtrl.

#include "grid/CGridCtrl.h"

#include <QStringList>
#include <vector>

namespace morvik {

// One combo column: its index and the caller's list of item texts (not owned).
struct _combocol {
    int col = -1;
    const QStringList* items = nullptr;
};

class CComboGridCtrl : public CGridCtrl {
    Q_OBJECT
public:
    static constexpr int kComboDropDown = 2;     // editable text with a drop-down list
    static constexpr int kComboDropDownList = 3; // choose from the list only

    explicit CComboGridCtrl(QWidget* parent = nullptr);

    // Declares `col` a combo column with the given items; the list must outlive the grid.
    void addComboColumn(int col, const QStringList* items);
    const std::vector<_combocol>& comboColumns() const { return m_comboColumns; }
    int dropDownStyle() const { return m_dropDownStyle; }
    void setDropDownStyle(int style) { m_dropDownStyle = style; }

    // In a combo column below the fixed rows, only an item text is written; false otherwise.
    bool setItemText(int row, int col, const QString& text) override;
    // Writes the item as setItem does, but refuses the whole write (false, nothing changed)
    // when it carries a text for a combo column that is not one of its items. False for a
    // null item or an invalid cell.
    bool setItemWithComboCheck(const GridItem* item);

    // The descriptor table as an archive: count, then 8 bytes per descriptor (the column
    // and a 32-bit slot where the list reference stood). Loaded descriptors have no items
    // until the owner gives them again with addComboColumn.
    QByteArray saveComboColumns() const;
    bool loadComboColumns(const QByteArray& archive);

protected:
    QWidget* createInPlaceEditor(const QRect& rect, std::uint32_t format, int id, int row, int col,
                                 const QString& text, int firstKey) override;

private:
    const _combocol* comboColumn(int col) const;
    bool acceptsText(int row, int col, const QString& text) const;

    std::vector<_combocol> m_comboColumns;
    int m_dropDownStyle = kComboDropDown;
};

} // namespace morvik
