#pragma once
// The small drawing surface the record sheet is laid out on: fonts by face and points,
// text measured and drawn at its top-left corner, straight rules from a current
// position, grey fills for the summary's chart. Everything is in device units of the target (a
// printer page, a PDF page). PainterCanvas draws on a QPainter; RecordingCanvas records for the
// tests.

#include <QString>

namespace morvik {

struct TextSize {
    int width = 0;
    int height = 0;
};

// Patterns of a rule that stay apart in black and white.
enum class RuleStyle { Solid, Dashed, Dotted, DashDotted };

class SheetCanvas {
public:
    using FontId = int;
    static constexpr FontId kNoFont = 0;

    virtual ~SheetCanvas() = default;

    // The vertical resolution in dots per inch (LOGPIXELSY).
    virtual int logPixelsY() const = 0;

    // A font of `face` whose cell height (ascent plus descent) is
    // cellHeightForPoints(points, logPixelsY()). Stays valid until deleted.
    virtual FontId createFont(const QString& face, int points) = 0;
    // Makes `font` current and returns the font that was current before (kNoFont at
    // first). Measuring and drawing use the current font.
    virtual FontId selectFont(FontId font) = 0;
    virtual void deleteFont(FontId font) = 0;

    // Width and height of `text` in the current font; the height is the font's cell height
    // whatever the text, so every string of a font measures the same height.
    virtual TextSize measureText(const QString& text) = 0;
    // Draws `text` in the current font with its cell's top-left corner at (x, y).
    virtual void drawText(int x, int y, const QString& text) = 0;

    // A rule from the current position to (x, y), which then becomes the current
    // position; one device unit wide and solid unless setRuleStyle said otherwise.
    virtual void moveTo(int x, int y) = 0;
    virtual void lineTo(int x, int y) = 0;

    // The pattern and width (device units) of the rules drawn from now on.
    virtual void setRuleStyle(RuleStyle style, int width) = 0;
    // A rectangle filled in a grey level from 0 (black) to 255 (white), without outline.
    virtual void fillRect(int x, int y, int width, int height, int grey) = 0;
};

// The cell height a font of `points` gets at `dotsPerInch`: points × dpi / 72, rounded
// to the nearest integer with halves away from zero (MulDiv's rounding).
int cellHeightForPoints(int points, int dotsPerInch);

} // namespace morvik
