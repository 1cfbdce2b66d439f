#include "controls/CSortHeaderCtrl.h"

#include "controls/SongFont.h"

#include <QDataStream>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <algorithm>
#include <vector>

namespace morvik {

namespace {
// Room above and below the heading text.
constexpr int kHeaderTextPadding = 6;
// Each heading's face leaves this margin of the header's own colour around it.
constexpr int kHeadingMargin = 1;
} // namespace

CSortHeaderCtrl::CSortHeaderCtrl(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    setFont(songFont(kHeaderFontPoints));
    setSectionsClickable(true);
    setHighlightSections(false);
    setSectionsMovable(false);
    setStretchLastSection(false);
    setMinimumSectionSize(0);
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void CSortHeaderCtrl::setSortState(int column, bool ascending) {
    sortColumn_ = column;
    sortAscending_ = ascending;
    viewport()->update();
}

HeaderPens CSortHeaderCtrl::pens() const {
    return {colorRefFrom(palette().color(QPalette::Light)),
            colorRefFrom(palette().color(QPalette::Dark))};
}

QSize CSortHeaderCtrl::sizeHint() const {
    QSize s = QHeaderView::sizeHint();
    s.setHeight(fontMetrics().height() + kHeaderTextPadding);
    return s;
}

void CSortHeaderCtrl::saveWidths(QDataStream& out) const {
    out << qint32(count());
    for (int i = 0; i < count(); ++i)
        out << qint32(sectionSize(i));
}

bool CSortHeaderCtrl::loadWidths(QDataStream& in) {
    qint32 n = 0;
    in >> n;
    if (in.status() != QDataStream::Ok || n != count())
        return false;
    std::vector<qint32> widths(static_cast<size_t>(n));
    for (qint32& w : widths)
        in >> w;
    if (in.status() != QDataStream::Ok)
        return false;
    for (int i = 0; i < n; ++i)
        resizeSection(i, std::max(0, int(widths[size_t(i)])));
    return true;
}

void CSortHeaderCtrl::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    p.fillRect(viewport()->rect(), palette().color(QPalette::Button));
    p.setFont(font());
    p.setPen(palette().color(QPalette::ButtonText));
    const HeaderPens headerPens = pens();
    const int height = viewport()->height();
    QRect last;
    for (int visual = 0; visual < count(); ++visual) {
        const int li = logicalIndex(visual);
        if (isSectionHidden(li))
            continue;
        const QRect full(sectionViewportPosition(li), 0, sectionSize(li), height);
        const QRect face =
            full.adjusted(kHeadingMargin, kHeadingMargin, -kHeadingMargin, -kHeadingMargin);
        HeadingLook look;
        look.pressed = pressedShown_ && li == pressed_;
        look.rect = look.pressed ? full : face;
        look.text = model() ? model()->headerData(li, Qt::Horizontal).toString() : QString();
        if (model())
            look.alignment = Qt::Alignment(
                model()->headerData(li, Qt::Horizontal, Qt::TextAlignmentRole).toInt());
        if (li == sortColumn_)
            look.arrow = sortAscending_ ? SortArrow::Ascending : SortArrow::Descending;
        drawHeadingFace(p, look, headerPens);
        last = face;
    }
    if (last.isValid()) {
        const QRect strip(last.x() + last.width() + kHeaderStripGap, last.top(), kHeaderStripWidth,
                          last.height());
        p.fillRect(strip, colorFromRef(kHeaderFaceColour));
    }
}

bool CSortHeaderCtrl::onDivider(const QPoint& pos) const {
    const int margin = style()->pixelMetric(QStyle::PM_HeaderGripMargin, nullptr, this);
    const int li = logicalIndexAt(pos);
    if (li < 0)
        return false;
    const int left = sectionViewportPosition(li);
    const int right = left + sectionSize(li);
    return pos.x() - left < margin || right - pos.x() <= margin;
}

void CSortHeaderCtrl::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton && sectionsClickable() && !onDivider(pos)) {
        pressed_ = logicalIndexAt(pos);
        pressedShown_ = pressed_ >= 0;
        viewport()->update();
    }
    QHeaderView::mousePressEvent(event);
}

void CSortHeaderCtrl::mouseMoveEvent(QMouseEvent* event) {
    if (pressed_ >= 0) {
        const bool over = logicalIndexAt(event->position().toPoint()) == pressed_;
        if (over != pressedShown_) {
            pressedShown_ = over;
            viewport()->update();
        }
    }
    QHeaderView::mouseMoveEvent(event);
}

void CSortHeaderCtrl::mouseReleaseEvent(QMouseEvent* event) {
    if (pressed_ >= 0 && event->button() == Qt::LeftButton) {
        pressed_ = -1;
        pressedShown_ = false;
        viewport()->update();
    }
    QHeaderView::mouseReleaseEvent(event);
}

} // namespace morvik
