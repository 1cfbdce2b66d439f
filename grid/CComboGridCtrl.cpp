#include "grid/CComboGridCtrl.h"
#include "grid/CGridCell.h"
#include "grid/CInPlaceList.h"

#include <QDataStream>
#include <QIODevice>

namespace morvik {

CComboGridCtrl::CComboGridCtrl(QWidget* parent) : CGridCtrl(parent) {}

void CComboGridCtrl::addComboColumn(int col, const QStringList* items) {
    m_comboColumns.push_back(_combocol{col, items});
}

const _combocol* CComboGridCtrl::comboColumn(int col) const {
    for (const _combocol& c : m_comboColumns)
        if (c.col == col)
            return &c;
    return nullptr;
}

bool CComboGridCtrl::acceptsText(int row, int col, const QString& text) const {
    const _combocol* combo = comboColumn(col);
    if (!combo || row < fixedRowCount())
        return true;
    return combo->items && combo->items->contains(text, Qt::CaseSensitive);
}

bool CComboGridCtrl::setItemText(int row, int col, const QString& text) {
    if (!acceptsText(row, col, text))
        return false;
    return CGridCtrl::setItemText(row, col, text);
}

bool CComboGridCtrl::setItemWithComboCheck(const GridItem* item) {
    if (!item || !isValid(item->row, item->col) || !cell(item->row, item->col))
        return false;
    if ((item->mask & ItemText) && !acceptsText(item->row, item->col, item->text))
        return false;
    return CGridCtrl::setItem(*item);
}

QByteArray CComboGridCtrl::saveComboColumns() const {
    QByteArray out;
    QDataStream s(&out, QIODevice::WriteOnly);
    s.setByteOrder(QDataStream::LittleEndian);
    s << qint32(m_comboColumns.size());
    for (const _combocol& c : m_comboColumns)
        s << qint32(c.col) << qint32(0);
    return out;
}

bool CComboGridCtrl::loadComboColumns(const QByteArray& archive) {
    QDataStream s(archive);
    s.setByteOrder(QDataStream::LittleEndian);
    qint32 count = 0;
    s >> count;
    constexpr qsizetype kDescriptorBytes = 8;
    if (s.status() != QDataStream::Ok || count < 0 ||
        qsizetype(count) > (archive.size() - 4) / kDescriptorBytes)
        return false;
    std::vector<_combocol> loaded;
    for (qint32 i = 0; i < count; ++i) {
        qint32 col = 0, slot = 0;
        s >> col >> slot;
        loaded.push_back(_combocol{col, nullptr});
    }
    m_comboColumns = std::move(loaded);
    return true;
}

QWidget* CComboGridCtrl::createInPlaceEditor(const QRect& rect, std::uint32_t format, int id,
                                             int row, int col, const QString& text, int firstKey) {
    const _combocol* combo = comboColumn(col);
    if (!combo)
        return CGridCtrl::createInPlaceEditor(rect, format, id, row, col, text, firstKey);
    return new CInPlaceList(this, rect, m_dropDownStyle, id, row, col,
                            combo->items ? *combo->items : QStringList(), text, firstKey);
}

} // namespace morvik
