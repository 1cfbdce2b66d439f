#include "sheet/RecordSheet.h"

#include "core/GbkText.h"
#include "core/Vocabulary.h"
#include "sheet/SheetPage.h"

namespace morvik {

namespace {

const QString kSongFace = QStringLiteral("宋体");
constexpr int kBodyPoints = 11;
constexpr int kSmallPoints = 7;
constexpr int kSignPoints = 14;

} // namespace

QString fieldText(const char* field, std::size_t width) {
    return QString::fromStdString(fieldToText(field, width));
}

RecordSheetContext sheetContext(const ProjectInfo& project, const PrintSettings& settings,
                                std::int16_t totalPages) {
    RecordSheetContext context;
    context.project = &project;
    context.standards = &standardsList();
    context.kinds = &kindList();
    context.varieties = &varietyLists();
    context.settings = &settings;
    context.totalPages = totalPages;
    return context;
}

void DrawRecordSheet(SheetCanvas& dc, int width, int height, int pageNumber,
                     ShaJiang_GouJian_Struct member, const RecordSheetContext& context) {
    if (context.project == nullptr || context.settings == nullptr)
        return;
    SheetPage page{dc, sheetGeometry(width, height), context, member, pageNumber};

    page.body = dc.createFont(kSongFace, kBodyPoints);
    page.small = dc.createFont(kSongFace, kSmallPoints);
    page.sign = dc.createFont(kSongFace, kSignPoints);

    drawTitle(page);
    const SheetCanvas::FontId previous = dc.selectFont(page.body);
    drawTopRuleAndHeader(page);
    drawPageCount(page);
    drawBatchBlock(page);
    drawInformationBox(page);
    drawReadingTable(page);
    drawRemarksBox(page);
    drawFormulaBox(page);
    drawSignatureLine(page);
    drawFooterAndPageNumber(page);

    dc.selectFont(previous);
    dc.deleteFont(page.body);
    dc.deleteFont(page.small);
    dc.deleteFont(page.sign);
}

} // namespace morvik
