#pragma once
// Whether a page number in a corner would overprint the header or the footer centred on the
// same edge. The placement check of "确定" refuses the centre positions outright; a long
// header or footer reaches into the corners as well, which only its measured width can tell.

#include "core/Message.h"
#include "core/Records.h"
#include "sheet/SheetCanvas.h"
#include <optional>

namespace morvik {

// The page number (and page count) every check assumes: the widest of three digits.
inline constexpr int kCheckedPageNumber = 999;

// The refusal "确定" shows for the centre of the same edge (header at the top, footer at the
// bottom) when the page number of `settings`, for page 999 of 999, would overlap the header
// or footer printed on its edge of a sheet of `width` × `height` device units measured on
// `dc`; nothing when they stand clear or one of them is not printed.
std::optional<Message> pageNumberOverlap(const PrintSettings& settings, SheetCanvas& dc, int width,
                                         int height);

// The same on the default page (A4 at the default PDF resolution), judged with the installed
// fonts and with the metrics of the sheet's own face, 宋体, so that settings accepted here
// do not overprint where that face is installed either.
std::optional<Message> pageNumberOverlap(const PrintSettings& settings);

} // namespace morvik
