#pragma once
// A drawing surface that draws nothing and records every text and rule, with simple
// fixed metrics so tests can work out each coordinate by hand: a font is as high as its
// cell height, a character below U+0080 is half that wide and any other character that
// wide.

#include "sheet/SheetCanvas.h"
#include <map>
#include <vector>

namespace morvik {

class RecordingCanvas : public SheetCanvas {
public:
    struct Text {
        int x;
        int y;
        QString text;
        int points; // of the font it was drawn in
    };
    struct Rule {
        int x1, y1, x2, y2;
        RuleStyle style = RuleStyle::Solid;
        int width = 1;
    };
    struct Fill {
        int x, y, width, height, grey;
    };

    explicit RecordingCanvas(int dotsPerInch) : dpi_(dotsPerInch) {}

    int logPixelsY() const override { return dpi_; }
    FontId createFont(const QString& face, int points) override;
    FontId selectFont(FontId font) override;
    void deleteFont(FontId font) override;
    TextSize measureText(const QString& text) override;
    void drawText(int x, int y, const QString& text) override;
    void moveTo(int x, int y) override;
    void lineTo(int x, int y) override;
    void setRuleStyle(RuleStyle style, int width) override;
    void fillRect(int x, int y, int width, int height, int grey) override;

    // The width a text has in a font of cell height `height`.
    static int textWidth(const QString& text, int height);

    std::vector<Text> texts;
    std::vector<Rule> rules;
    std::vector<Fill> fills;
    QString lastFace; // face of the last font created
    int liveFonts() const { return static_cast<int>(fonts_.size()); }
    FontId currentFont() const { return current_; }

    // The texts drawn exactly as `text`, in drawing order.
    std::vector<Text> find(const QString& text) const;
    // The first text that starts with `prefix`; nullptr when none.
    const Text* findPrefix(const QString& prefix) const;

private:
    struct Font {
        int points;
        int height;
    };
    int dpi_;
    std::map<FontId, Font> fonts_;
    FontId nextId_ = 1;
    FontId current_ = kNoFont;
    int x_ = 0;
    int y_ = 0;
    RuleStyle style_ = RuleStyle::Solid;
    int width_ = 1;
};

} // namespace morvik
