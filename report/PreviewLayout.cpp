#include "report/PreviewLayout.h"

#include <algorithm>
#include <cmath>

namespace morvik {

QSize PreviewLayout::slot() const {
    return {std::max(1, static_cast<int>(std::lround(paper.width() * scale))),
            std::max(1, static_cast<int>(std::lround(paper.height() * scale)))};
}

int PreviewLayout::rows() const {
    return (std::max(1, pageCount) + columns - 1) / columns;
}

QSize PreviewLayout::contentSize() const {
    const QSize s = slot();
    return {columns * s.width() + (columns + 1) * kPreviewGap,
            rows() * s.height() + (rows() + 1) * kPreviewGap};
}

QRect PreviewLayout::pageRect(int pageNumber) const {
    const QSize s = slot();
    const int index = std::clamp(pageNumber, 1, std::max(1, pageCount)) - 1;
    const int row = index / columns;
    const int column = index % columns;
    return QRect(kPreviewGap + column * (s.width() + kPreviewGap),
                 kPreviewGap + row * (s.height() + kPreviewGap), s.width(), s.height());
}

int PreviewLayout::pageAt(int y) const {
    const int step = slot().height() + kPreviewGap;
    const int row = std::clamp((y - kPreviewGap) / step, 0, rows() - 1);
    return std::min(row * columns + 1, std::max(1, pageCount));
}

double PreviewLayout::fitWidthScale(QSize paper, int columns, int width) {
    const int room = width - (columns + 1) * kPreviewGap;
    return clampScale(paper, static_cast<double>(room) / (columns * std::max(1, paper.width())));
}

double PreviewLayout::fitPageScale(QSize paper, int columns, QSize viewport) {
    const double across = fitWidthScale(paper, columns, viewport.width());
    const double down =
        static_cast<double>(viewport.height() - 2 * kPreviewGap) / std::max(1, paper.height());
    return clampScale(paper, std::min(across, down));
}

double PreviewLayout::clampScale(QSize paper, double scale) {
    const double width = std::max(1, paper.width());
    return std::clamp(scale, kPreviewMinPageWidth / width, kPreviewMaxPageWidth / width);
}

} // namespace morvik
