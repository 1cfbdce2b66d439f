#pragma once
// The record sheet's drawing surface over a QPainter: screen, printer or PDF. Fonts are
// matched on their cell height, so a measured text is as high as the height the layout
// asked for; the face "宋体" is served by the Song-style CJK fonts that are installed.

#include "sheet/SheetCanvas.h"
#include <QBrush>
#include <QFont>
#include <QPen>
#include <map>

class QPainter;

namespace morvik {

class PainterCanvas : public SheetCanvas {
public:
    // Draws on `painter`, whose device gives the resolution and the units. A black pen one
    // device unit wide, black text on an opaque white background are set for the canvas's
    // lifetime; the painter's previous pen, font and background come back when the canvas
    // is destroyed.
    explicit PainterCanvas(QPainter& painter);
    ~PainterCanvas() override;
    PainterCanvas(const PainterCanvas&) = delete;
    PainterCanvas& operator=(const PainterCanvas&) = delete;

    int logPixelsY() const override;
    FontId createFont(const QString& face, int points) override;
    FontId selectFont(FontId font) override;
    void deleteFont(FontId font) override;
    TextSize measureText(const QString& text) override;
    void drawText(int x, int y, const QString& text) override;
    void moveTo(int x, int y) override;
    void lineTo(int x, int y) override;
    void setRuleStyle(RuleStyle style, int width) override;
    void fillRect(int x, int y, int width, int height, int grey) override;

    // The installed family that stands in for `face` ("宋体" and its Latin name SimSun go
    // to the Song-style CJK fonts, in order of preference); `face` itself otherwise.
    static QString resolveFamily(const QString& face);

    // Where the system has no 宋体 (SimSun), the Song-style fonts packaged in
    // `programDir`/fonts stand in for it; call once at start, before anything is drawn.
    static void addPackagedSongFonts(const QString& programDir);

private:
    struct Font {
        QFont font;
        int ascent;
        int height;
    };
    QPainter& painter_;
    QPen savedPen_;
    QFont savedFont_;
    QBrush savedBackground_;
    Qt::BGMode savedBackgroundMode_;
    std::map<FontId, Font> fonts_;
    FontId nextId_ = 1;
    FontId current_ = kNoFont;
    int x_ = 0;
    int y_ = 0;
};

} // namespace morvik
