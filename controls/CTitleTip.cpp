#include "controls/CTitleTip.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace morvik {

namespace {

// One space on each side keeps the text off the tip's border.
const QString kTipPadding = QStringLiteral(" ");

bool applicationHasFocus() {
    return QApplication::focusWidget() != nullptr;
}

bool isInputEvent(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
        return true;
    default:
        return false;
    }
}

bool isPassedOnButton(Qt::MouseButton b) {
    return b == Qt::LeftButton || b == Qt::RightButton || b == Qt::MiddleButton;
}

} // namespace

CTitleTip::CTitleTip(QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
    setMouseTracking(true);
}

CTitleTip::~CTitleTip() {
    qApp->removeEventFilter(this);
    if (QWidget::mouseGrabber() == this)
        releaseMouse();
}

bool CTitleTip::showTip(const QString& text, std::optional<QRect> hoverRect, const QRect& textRect,
                        std::optional<QFont> font) {
    if (textRect.isEmpty() || !ownerWidget())
        return false;
    // Kept in the grid's coordinates: the tip moves when it opens, so a rectangle taken
    // relative to the tip's previous place would close it on the first move.
    hoverRect_ = hoverRect ? *hoverRect : textRect;
    if (isVisible() || !applicationHasFocus())
        return false;

    const QString shown = kTipPadding + text + kTipPadding;
    const QFont useFont = font ? *font : ownerWidget()->font();
    const int needed = QFontMetrics(useFont).horizontalAdvance(shown);
    if (textRect.width() >= needed)
        return false;

    shownText_ = shown;
    textFont_ = useFont;
    const QPoint topLeft = ownerWidget()->mapToGlobal(textRect.topLeft());
    setGeometry(topLeft.x(), topLeft.y(), needed, textRect.height());
    qApp->installEventFilter(this);
    show();
    raise();
    grabMouse();
    update();
    return true;
}

void CTitleTip::hideTip() {
    if (QWidget::mouseGrabber() == this)
        releaseMouse();
    qApp->removeEventFilter(this);
    if (isVisible())
        hide();
}

QWidget* CTitleTip::widgetUnder(const QPointF& globalPos) const {
    QWidget* w = QApplication::widgetAt(globalPos.toPoint());
    if (!w || w == this)
        return ownerWidget();
    return w;
}

void CTitleTip::forwardMouse(QMouseEvent* event, QWidget* target, bool post) {
    if (!target)
        return;
    const QPointF local = target->mapFromGlobal(event->globalPosition());
    auto* copy = new QMouseEvent(event->type(), local, local, event->globalPosition(),
                                 event->button(), event->buttons(), event->modifiers());
    if (post) {
        QCoreApplication::postEvent(target, copy);
    } else {
        QCoreApplication::sendEvent(target, copy);
        delete copy;
    }
}

bool CTitleTip::event(QEvent* event) {
    if (isInputEvent(event->type()) && !applicationHasFocus()) {
        hideTip();
        return true;
    }
    // A key never reaches the tip normally (it takes no focus); if one does, the grid gets it.
    if (event->type() == QEvent::KeyPress) {
        hideTip();
        if (ownerWidget()) {
            const auto* key = static_cast<QKeyEvent*>(event);
            QCoreApplication::postEvent(
                ownerWidget(), new QKeyEvent(key->type(), key->key(), key->modifiers(), key->text(),
                                             key->isAutoRepeat(), ushort(key->count())));
        }
        return true;
    }
    return QWidget::event(event);
}

bool CTitleTip::eventFilter(QObject* watched, QEvent* event) {
    // Any key hides the tip; the key itself goes on to its receiver untouched.
    if (watched != this &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride))
        hideTip();
    return QWidget::eventFilter(watched, event);
}

void CTitleTip::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::ToolTipBase));
    p.setPen(palette().color(QPalette::ToolTipText));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.setFont(textFont_);
    p.setBackgroundMode(Qt::TransparentMode);
    // The text sits at the top-left of the area inside the 1-pixel border.
    p.drawText(QPoint(1, 1 + QFontMetrics(textFont_).ascent()), shownText_);
}

void CTitleTip::mouseMoveEvent(QMouseEvent* event) {
    if (ownerWidget()) {
        const QPoint inOwner = ownerWidget()->mapFromGlobal(event->globalPosition().toPoint());
        if (!hoverRect_.contains(inOwner))
            hideTip();
    }
    forwardMouse(event, widgetUnder(event->globalPosition()), false);
}

void CTitleTip::mousePressEvent(QMouseEvent* event) {
    if (!isPassedOnButton(event->button()))
        return;
    hideTip();
    pressTarget_ = widgetUnder(event->globalPosition());
    forwardMouse(event, pressTarget_, true);
}

void CTitleTip::mouseReleaseEvent(QMouseEvent* event) {
    // The press went on to another widget; its release belongs there too.
    if (pressTarget_ && isPassedOnButton(event->button()))
        forwardMouse(event, pressTarget_, true);
    pressTarget_.clear();
}

} // namespace morvik
