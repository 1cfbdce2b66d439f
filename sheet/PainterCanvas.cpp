#include "sheet/PainterCanvas.h"

#include <QDir>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace morvik {

namespace {

constexpr double kPointsPerInch = 72.0;
// Size of the trial font whose metrics give the cell-to-em ratio of a family.
constexpr double kProbePointSize = 100.0;
// Rounding of the integer metrics can leave the first match a unit off; a couple of
// corrections always settle it.
constexpr int kMatchAttempts = 4;

bool isSongFace(const QString& face) {
    return face == QStringLiteral("宋体") || face.compare("SimSun", Qt::CaseInsensitive) == 0;
}

QString firstInstalled(const QStringList& wanted) {
    const QStringList installed = QFontDatabase::families();
    for (const QString& family : wanted)
        if (installed.contains(family, Qt::CaseInsensitive))
            return family;
    return {};
}

} // namespace

QString PainterCanvas::resolveFamily(const QString& face) {
    if (!isSongFace(face))
        return face;
    static const QString resolved = [] {
        const QString song =
            firstInstalled({"SimSun", "NSimSun", "AR PL UMing CN", "Noto Serif CJK SC"});
        if (!song.isEmpty())
            return song;
        const QStringList cjk = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
        return cjk.isEmpty() ? QStringLiteral("SimSun") : cjk.first();
    }();
    return resolved;
}

void PainterCanvas::addPackagedSongFonts(const QString& programDir) {
    if (!firstInstalled({"SimSun", "NSimSun"}).isEmpty())
        return;
    const QDir fonts(QDir(programDir).filePath(QStringLiteral("fonts")));
    for (const QString& file : fonts.entryList({"*.ttc", "*.ttf", "*.otf"}, QDir::Files))
        QFontDatabase::addApplicationFont(fonts.filePath(file));
}

PainterCanvas::PainterCanvas(QPainter& painter)
    : painter_(painter), savedPen_(painter.pen()), savedFont_(painter.font()),
      savedBackground_(painter.background()), savedBackgroundMode_(painter.backgroundMode()) {
    QPen pen(Qt::black);
    pen.setWidth(1);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    painter_.setPen(pen);
    // Text is drawn on an opaque white cell, as on a fresh printer page, so a text laid
    // over a rule or another text blanks what lies beneath it.
    painter_.setBackground(Qt::white);
    painter_.setBackgroundMode(Qt::OpaqueMode);
}

PainterCanvas::~PainterCanvas() {
    painter_.setPen(savedPen_);
    painter_.setFont(savedFont_);
    painter_.setBackground(savedBackground_);
    painter_.setBackgroundMode(savedBackgroundMode_);
}

int PainterCanvas::logPixelsY() const {
    return painter_.device()->logicalDpiY();
}

SheetCanvas::FontId PainterCanvas::createFont(const QString& face, int points) {
    QPaintDevice* device = painter_.device();
    const int dpi = logPixelsY();
    const int wanted = cellHeightForPoints(points, dpi);

    QFont font(resolveFamily(face));
    font.setWeight(QFont::Normal);
    font.setStyleStrategy(QFont::PreferOutline);
    font.setPointSizeF(kProbePointSize);
    const QFontMetricsF probe(font, device);
    const double probeCell = probe.ascent() + probe.descent();
    // The em size that gives the wanted cell height, as point size on this device.
    double emPixels =
        probeCell > 0 ? wanted * (kProbePointSize * dpi / kPointsPerInch) / probeCell : wanted;
    for (int attempt = 0; attempt < kMatchAttempts; ++attempt) {
        font.setPointSizeF(emPixels * kPointsPerInch / dpi);
        const int height = QFontMetrics(font, device).height();
        if (height == wanted || height <= 0)
            break;
        emPixels *= static_cast<double>(wanted) / height;
    }
    const QFontMetrics metrics(font, device);
    const FontId id = nextId_++;
    fonts_[id] = Font{font, metrics.ascent(), metrics.height()};
    return id;
}

SheetCanvas::FontId PainterCanvas::selectFont(FontId font) {
    const FontId previous = current_;
    current_ = font;
    const auto it = fonts_.find(font);
    if (it != fonts_.end())
        painter_.setFont(it->second.font);
    return previous;
}

void PainterCanvas::deleteFont(FontId font) {
    if (font != current_)
        fonts_.erase(font);
}

TextSize PainterCanvas::measureText(const QString& text) {
    const auto it = fonts_.find(current_);
    if (it == fonts_.end())
        return {};
    const QFontMetrics metrics(it->second.font, painter_.device());
    return {metrics.horizontalAdvance(text), it->second.height};
}

void PainterCanvas::drawText(int x, int y, const QString& text) {
    const auto it = fonts_.find(current_);
    const int ascent = it == fonts_.end() ? 0 : it->second.ascent;
    painter_.drawText(QPoint(x, y + ascent), text);
}

void PainterCanvas::setRuleStyle(RuleStyle style, int width) {
    QPen pen = painter_.pen();
    pen.setWidth(std::max(1, width));
    switch (style) {
    case RuleStyle::Solid:
        pen.setStyle(Qt::SolidLine);
        break;
    case RuleStyle::Dashed:
        pen.setStyle(Qt::DashLine);
        break;
    case RuleStyle::Dotted:
        pen.setStyle(Qt::DotLine);
        break;
    case RuleStyle::DashDotted:
        pen.setStyle(Qt::DashDotLine);
        break;
    }
    painter_.setPen(pen);
}

void PainterCanvas::fillRect(int x, int y, int width, int height, int grey) {
    const int level = std::clamp(grey, 0, 255);
    painter_.fillRect(x, y, width, height, QColor(level, level, level));
}

void PainterCanvas::moveTo(int x, int y) {
    x_ = x;
    y_ = y;
}

void PainterCanvas::lineTo(int x, int y) {
    painter_.drawLine(x_, y_, x, y);
    x_ = x;
    y_ = y;
}

} // namespace morvik
