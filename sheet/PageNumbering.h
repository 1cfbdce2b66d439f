#pragma once
// What the print settings mean: the page-number formats and positions, the values of
// "默认", the check that keeps the page number off the header and footer, and where
// header, footer and page number go on a sheet.

#include "core/Message.h"
#include "core/Records.h"
#include <QString>
#include <QStringList>
#include <optional>

namespace morvik {

enum class PageNumberPosition {
    BottomRight = 0, // 底部居右
    BottomCentre,    // 底部居中
    BottomLeft,      // 底部居左
    TopRight,        // 顶部居右
    TopCentre,       // 顶部居中
    TopLeft,         // 顶部居左
};

constexpr int kPageNumberFormatCount = 5;
constexpr int kPageNumberPositionCount = 6;
constexpr int kPrintTextMaxChars = 32; // what the header and footer edits accept

// The entries of the format list (samples for page 1) and of the position list, in order.
const QStringList& pageNumberFormatSamples();
const QStringList& pageNumberPositionTexts();

// The page number as printed; a format index above the list prints as the last format.
QString pageNumberText(const PrintSettings& settings, int pageNumber, int totalPages);

// The stored position as one of the six; positions beyond the list come from files written
// by other means and are placed top left, consistent with the top rule they get.
PageNumberPosition pagePosition(const PrintSettings& settings);
bool isBottomPosition(PageNumberPosition position);

// True when the sheet gets the rule at T: a header, or a page number at the top.
bool drawsTopRule(const PrintSettings& settings);

// `current` with the values of "默认"; the two reserved bytes stay as they are.
PrintSettings defaultPrintSettings(const PrintSettings& current);

// The refusal "确定" shows when the page number would stand on the footer or the header;
// nothing when the placement is accepted.
std::optional<Message> placementConflict(const PrintSettings& settings);

} // namespace morvik
