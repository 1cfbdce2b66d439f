// Copy, cut and paste of cell texts. On the clipboard the cells travel as GBK text: the
// selected range row by row, cells joined by tabs, rows by "\n", a selected empty cell as
// one space, and one zero byte at the end.
#include "controls/CTitleTip.h"
#include "core/GbkText.h"
#include "grid/CGridCtrl.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QRegularExpression>

namespace morvik {

QByteArray textToGbk(const QString& text) {
    const std::string gbk = utf8ToGbk(text.toStdString());
    return QByteArray(gbk.data(), qsizetype(gbk.size()));
}

QString gbkToText(const QByteArray& bytes) {
    const qsizetype end = bytes.indexOf('\0');
    const QByteArray body = end < 0 ? bytes : bytes.left(end);
    return QString::fromStdString(gbkToUtf8(body.toStdString()));
}

bool CGridCtrl::canCopy() const {
    return isValid(selectedRange());
}

bool CGridCtrl::canCut() const {
    return m_editable && canCopy();
}

bool CGridCtrl::canPaste() const {
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    return isValid(m_sel.focus) && isCellEditable(m_sel.focus.row, m_sel.focus.col) && mime &&
           mime->hasText();
}

QByteArray CGridCtrl::copyTextFromSelection() const {
    const CCellRange range = selectedRange();
    if (!isValid(range))
        return QByteArray();
    QString text;
    for (int r = range.minRow; r <= range.maxRow; ++r) {
        for (int c = range.minCol; c <= range.maxCol; ++c) {
            if (itemState(r, c) & CellSelected) {
                const QString t = itemText(r, c);
                text += t.isEmpty() ? QStringLiteral(" ") : t;
            }
            if (c != range.maxCol)
                text += QLatin1Char('\t');
        }
        if (r != range.maxRow)
            text += QLatin1Char('\n');
    }
    QByteArray bytes = textToGbk(text);
    bytes.append('\0');
    return bytes;
}

void CGridCtrl::onEditCopy() {
    const QByteArray bytes = copyTextFromSelection();
    if (bytes.isEmpty())
        return;
    QGuiApplication::clipboard()->setText(gbkToText(bytes));
}

void CGridCtrl::onEditCut() {
    if (!m_editable)
        return;
    cutSelectedText();
}

void CGridCtrl::cutSelectedText() {
    if (!m_editable)
        return;
    onEditCopy();
    for (const CCellID& id : selectedCells()) {
        if (itemState(id.row, id.col) & CellReadOnly)
            continue;
        sendNotify(GridBeginEdit, id.row, id.col);
        // State 0 through the state write, so the cell also leaves the selection map.
        setItemState(id.row, id.col, 0);
        setItemText(id.row, id.col, QString());
        setModified(id.row, id.col);
        sendNotify(GridEndEdit, id.row, id.col);
    }
    viewport()->update();
}

void CGridCtrl::onEditPaste() {
    if (!m_editable)
        return;
    const CCellID start = isValid(m_sel.focus) ? m_sel.focus : topLeftNonFixedCell();
    if (!isValid(start) || !isCellEditable(start.row, start.col))
        return;
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    if (!mime || !mime->hasText())
        return;
    pasteTextToGrid(start, textToGbk(mime->text()));
}

bool CGridCtrl::pasteTextToGrid(const CCellID& start, const QByteArray& gbkText) {
    if (!isValid(start) || !isCellEditable(start.row, start.col))
        return false;
    static const QRegularExpression fieldSeparators(QStringLiteral("[\\t,\\n]"));
    const QStringList lines = gbkToText(gbkText).split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const QStringList fields = lines[i].split(fieldSeparators, Qt::SkipEmptyParts);
        for (int j = 0; j < fields.size(); ++j) {
            const int row = start.row + i;
            const int col = start.col + j;
            // A read-only cell is never written, wherever the paste started.
            if (!isValid(row, col) || (itemState(row, col) & CellReadOnly))
                continue;
            sendNotify(GridBeginEdit, row, col);
            setItemText(row, col, fields[j].trimmed());
            setModified(row, col);
            sendNotify(GridEndEdit, row, col);
            setItemState(row, col, itemState(row, col) & ~std::uint32_t(CellSelected));
        }
    }
    viewport()->update();
    return true;
}

void CGridCtrl::onEditSelectAll() {
    if (m_enableSelection)
        selectAllCells();
}

void CGridCtrl::offerTitleTip(const QPoint& p) {
    if (!m_titleTip)
        return;
    const CCellID id = cellFromPoint(p, true);
    QRect rect;
    if (!isValid(id) || !cellRect(id.row, id.col, &rect))
        return;
    const QRect textRect = rect.adjusted(m_margin, 0, -m_margin, 0);
    QFont f = itemFont(id.row, id.col);
    m_titleTip->showTip(itemText(id.row, id.col), rect, textRect, f);
}

void CGridCtrl::hideTitleTip() {
    if (m_titleTip)
        m_titleTip->hideTip();
}

} // namespace morvik
