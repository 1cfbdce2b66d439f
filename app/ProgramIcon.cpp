#include "app/ProgramIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace morvik {

namespace {

// The picture is designed on a 32 x 32 square.
constexpr qreal kDesignSize = 32.0;
const QColor kBrick(178, 74, 52);
const QColor kMortar(226, 220, 205);
const QColor kSteel(70, 80, 96);
const QColor kHandle(36, 96, 170);
constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128};

void drawWall(QPainter& p) {
    p.fillRect(QRectF(2, 14, 28, 16), kMortar);
    // Three courses of bricks, every other one shifted by half a brick.
    const qreal courseTop[] = {14.5, 20, 25.5};
    for (int course = 0; course < 3; ++course) {
        const qreal shift = (course % 2) ? -4.0 : 0.0;
        for (qreal x = 2.5 + shift; x < 30; x += 8.0) {
            QRectF brick(x, courseTop[course], 7.0, 4.5);
            brick = brick.intersected(QRectF(2.5, 14, 27, 16));
            p.fillRect(brick, kBrick);
        }
    }
}

void drawPenetrometer(QPainter& p) {
    // The needle, its tip resting in the bed joint between the first two courses.
    p.setPen(QPen(kSteel, 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(16, 5), QPointF(16, 19.5));
    // The body with its gauge, and the handle across the top.
    p.setPen(Qt::NoPen);
    p.setBrush(kSteel);
    p.drawRoundedRect(QRectF(12.5, 5, 7, 6), 1.2, 1.2);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 8), 1.8, 1.8);
    p.setBrush(kHandle);
    p.drawRoundedRect(QRectF(7, 1.5, 18, 3), 1.5, 1.5);
}

} // namespace

void drawProgramIcon(QPainter& painter, const QRectF& area) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal side = std::min(area.width(), area.height());
    painter.translate(area.center() - QPointF(side / 2, side / 2));
    painter.scale(side / kDesignSize, side / kDesignSize);
    drawWall(painter);
    drawPenetrometer(painter);
    painter.restore();
}

QIcon programIcon() {
    QIcon icon;
    for (int size : kIconSizes) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        drawProgramIcon(painter, QRectF(0, 0, size, size));
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace morvik
