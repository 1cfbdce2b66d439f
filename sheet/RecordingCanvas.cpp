#include "sheet/RecordingCanvas.h"

namespace morvik {

SheetCanvas::FontId RecordingCanvas::createFont(const QString& face, int points) {
    lastFace = face;
    const FontId id = nextId_++;
    fonts_[id] = Font{points, cellHeightForPoints(points, dpi_)};
    return id;
}

SheetCanvas::FontId RecordingCanvas::selectFont(FontId font) {
    const FontId previous = current_;
    current_ = font;
    return previous;
}

void RecordingCanvas::deleteFont(FontId font) {
    fonts_.erase(font);
}

int RecordingCanvas::textWidth(const QString& text, int height) {
    int width = 0;
    for (QChar c : text)
        width += c.unicode() < 0x80 ? height / 2 : height;
    return width;
}

TextSize RecordingCanvas::measureText(const QString& text) {
    const auto it = fonts_.find(current_);
    if (it == fonts_.end())
        return {};
    return {textWidth(text, it->second.height), it->second.height};
}

void RecordingCanvas::drawText(int x, int y, const QString& text) {
    const auto it = fonts_.find(current_);
    texts.push_back({x, y, text, it == fonts_.end() ? 0 : it->second.points});
}

void RecordingCanvas::moveTo(int x, int y) {
    x_ = x;
    y_ = y;
}

void RecordingCanvas::lineTo(int x, int y) {
    rules.push_back({x_, y_, x, y, style_, width_});
    x_ = x;
    y_ = y;
}

void RecordingCanvas::setRuleStyle(RuleStyle style, int width) {
    style_ = style;
    width_ = width;
}

void RecordingCanvas::fillRect(int x, int y, int width, int height, int grey) {
    fills.push_back({x, y, width, height, grey});
}

std::vector<RecordingCanvas::Text> RecordingCanvas::find(const QString& text) const {
    std::vector<Text> found;
    for (const Text& t : texts)
        if (t.text == text)
            found.push_back(t);
    return found;
}

const RecordingCanvas::Text* RecordingCanvas::findPrefix(const QString& prefix) const {
    for (const Text& t : texts)
        if (t.text.startsWith(prefix))
            return &t;
    return nullptr;
}

} // namespace morvik
