#pragma once
// Borderless pop-up that shows the whole text of a grid cell whose text is clipped,
// exactly over the cell, while the mouse rests on it.
//
// Use from the grid:
//   - Construct it with the grid as parent once the grid widget exists. Keeping a null
//     pointer instead is fine: the grid simply offers no tips then.
//   - On mouse moves, call showTip(text, hoverRect, textRect, font) for the cell under the
//     pointer. All rectangles are in the grid's coordinates. The tip appears only when the
//     text (with one space before and after) is wider than textRect, only when a widget of
//     the application has the keyboard focus, and not again while it already shows.
//     hoverRect is where the pointer may wander without the tip closing (normally the cell
//     rectangle); without one, textRect is used. Without a font the grid's font is used.
//   - Call hideTip() whenever the tip must go (scrolling, editing, losing focus). Calling it
//     while the tip is hidden does nothing.
// While the tip shows:
//   - it holds the mouse grab; leaving the hover rectangle hides it, and every mouse move is
//     passed on to the widget under the pointer (the grid when that is the tip itself);
//   - a key press hides it and still reaches the grid (it is never swallowed);
//   - a left, right or middle button press hides it and is passed on to the widget under the
//     pointer, in that widget's coordinates; the matching release follows the press there;
//   - input arriving while no widget of the application has the focus hides it and is dropped.
#include <QFont>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>
#include <optional>

namespace morvik {

class CTitleTip : public QWidget {
    Q_OBJECT
public:
    explicit CTitleTip(QWidget* parent);
    ~CTitleTip() override;

    // Returns true when the tip was (newly) shown by this call.
    bool showTip(const QString& text, std::optional<QRect> hoverRect, const QRect& textRect,
                 std::optional<QFont> font = std::nullopt);
    void hideTip();

    // The text shown by the last showTip() that opened the tip (with its two spaces).
    QString shownText() const { return shownText_; }
    // The hover rectangle in the tip's own coordinates.
    QRect hoverRect() const { return hoverRect_; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QWidget* ownerWidget() const { return parentWidget(); }
    QWidget* widgetUnder(const QPointF& globalPos) const;
    void forwardMouse(QMouseEvent* event, QWidget* target, bool post);

    QRect hoverRect_;
    QString shownText_;
    QFont textFont_;
    QPointer<QWidget> pressTarget_;
};

} // namespace morvik
