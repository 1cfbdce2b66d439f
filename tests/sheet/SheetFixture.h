#pragma once
// A member, project and settings to draw record sheets from, and the drawing on the
// recording canvas. At 600 dpi the recording metrics give a body line height h of 92
// (11 pt), 58 for the small font, 117 for the sum sign and 183 for the title; a Chinese
// character is h wide, any ASCII character h/2.

#include "core/GbkText.h"
#include "core/Records.h"
#include "sheet/RecordSheet.h"
#include "sheet/RecordingCanvas.h"
#include <gtest/gtest.h>

namespace morvik {

constexpr int kA4Width600 = 4960;
constexpr int kA4Height600 = 7016;

struct SheetFixture {
    ProjectInfo project{};
    PrintSettings settings{};
    ShaJiang_GouJian_Struct member = newMemberRecord(1);
    bool batchMode = false;
    BatchResults batch;
    std::int16_t totalPages = 3;

    RecordingCanvas draw(int pageNumber = 1, int dpi = 600, int width = kA4Width600,
                         int height = kA4Height600) const {
        RecordSheetContext context = sheetContext(project, settings, totalPages);
        context.batchMode = batchMode;
        context.batch = batch;
        RecordingCanvas canvas(dpi);
        DrawRecordSheet(canvas, width, height, pageNumber, member, context);
        return canvas;
    }

    // A batch that passes every condition of the batch block.
    void useBatch(double cv) {
        batchMode = true;
        batch = BatchResults{6.0, 1.414, 5.0, cv, 5.46};
    }
};

// The one text drawn exactly as `text`; fails the test when there is not exactly one.
inline RecordingCanvas::Text only(const RecordingCanvas& canvas, const QString& text) {
    const auto found = canvas.find(text);
    EXPECT_EQ(found.size(), 1u) << text.toStdString();
    return found.empty() ? RecordingCanvas::Text{-1, -1, {}, 0} : found.front();
}

// The one text drawn as `text` with its top in [yMin, yMax).
inline RecordingCanvas::Text onlyBetween(const RecordingCanvas& canvas, const QString& text,
                                         int yMin, int yMax) {
    std::vector<RecordingCanvas::Text> found;
    for (const auto& t : canvas.find(text))
        if (t.y >= yMin && t.y < yMax)
            found.push_back(t);
    EXPECT_EQ(found.size(), 1u) << text.toStdString();
    return found.empty() ? RecordingCanvas::Text{-1, -1, {}, 0} : found.front();
}

inline RecordingCanvas::Text startingWith(const RecordingCanvas& canvas, const QString& prefix) {
    const RecordingCanvas::Text* t = canvas.findPrefix(prefix);
    EXPECT_NE(t, nullptr) << prefix.toStdString();
    return t == nullptr ? RecordingCanvas::Text{-1, -1, {}, 0} : *t;
}

inline int countRules(const RecordingCanvas& canvas, int x1, int y1, int x2, int y2) {
    int n = 0;
    for (const auto& r : canvas.rules)
        if (r.x1 == x1 && r.y1 == y1 && r.x2 == x2 && r.y2 == y2)
            ++n;
    return n;
}

} // namespace morvik
