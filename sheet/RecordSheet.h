#pragma once
// The record sheet "砂浆抗压强度贯入检测记录表": one page for one member, laid out from the
// page size in device units and the measured height of the body font, so it scales to any
// resolution and paper.

#include "core/Batch.h"
#include "core/Records.h"
#include "sheet/SheetCanvas.h"
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace morvik {

// Everything a page reads besides the member: the data set's project information, the
// batch state of the main dialog, the word lists and the print settings.
struct RecordSheetContext {
    const ProjectInfo* project = nullptr;
    bool batchMode = false;
    BatchResults batch;
    const std::vector<std::string>* standards = nullptr;                // 检测依据 names
    const std::vector<std::string>* kinds = nullptr;                    // 砂浆种类 names
    const std::array<std::vector<std::string>, 2>* varieties = nullptr; // per kind
    const PrintSettings* settings = nullptr;
    std::int16_t totalPages = 1;
};

// A context over `project` and `settings` with the program's word lists and no batch.
// Both records must outlive the context.
RecordSheetContext sheetContext(const ProjectInfo& project, const PrintSettings& settings,
                                std::int16_t totalPages);

// Draws page `pageNumber` (1-based) of `width` × `height` device units for `member`.
// Changes nothing but the canvas; leaves the canvas's current font as it found it. Draws
// nothing when the context has no project or no settings; a missing word list prints
// empty names.
void DrawRecordSheet(SheetCanvas& dc, int width, int height, int pageNumber,
                     ShaJiang_GouJian_Struct member, const RecordSheetContext& context);

} // namespace morvik
