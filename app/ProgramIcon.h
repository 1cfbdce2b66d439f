#pragma once
// The program's icon: a penetrometer needle driven into the mortar joint of a brick wall,
// drawn by code at every size the window system asks for.
#include <QIcon>

class QPainter;
class QRectF;

namespace morvik {

// Draws the picture into `area` (any size; the picture keeps its proportions).
void drawProgramIcon(QPainter& painter, const QRectF& area);

QIcon programIcon();

} // namespace morvik
