#pragma once
// Keeping a fixed-size window on the screen: a dialog laid out for a larger screen (or a
// larger scale) than the one it is shown on would put its title bar or its buttons out of
// reach. It then shrinks to the screen, scrolls its content, and is moved inside.
#include <QMargins>
#include <QRect>
#include <QSize>

namespace morvik {

// Where the client area of a window whose content is `page` goes, given the window
// manager's `frame` around it, the screen's `available` area and the client area `now`.
// Where the framed page fits, the result is `now` at the page's size: nothing moves.
// Otherwise each dimension is cut to what the screen holds, a dimension that scrolls takes
// `scrollBar` pixels from the other, and the framed window is moved inside the screen.
QRect fitClientArea(QSize page, QMargins frame, QRect available, QRect now, int scrollBar);

} // namespace morvik
