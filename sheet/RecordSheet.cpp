#include "sheet/RecordSheet.h"

#include "core/GbkText.h"
#include "core/Vocabulary.h"
#include "sheet/SheetPage.h"

namespace morvik {

namespace {

const QString kTitle = QStringLiteral("砂浆抗压强度贯入检测记录表");
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

const QString& sheetFace() {
    static const QString face = QStringLiteral("宋体");
    return face;
}

void openPageFonts(SheetPage& page) {
    page.body = page.dc.createFont(sheetFace(), kBodyPoints);
    page.small = page.dc.createFont(sheetFace(), kSmallPoints);
    page.sign = page.dc.createFont(sheetFace(), kSignPoints);
    page.previousFont = page.dc.selectFont(page.body);
}

void closePageFonts(SheetPage& page) {
    page.dc.selectFont(page.previousFont);
    page.dc.deleteFont(page.body);
    page.dc.deleteFont(page.small);
    page.dc.deleteFont(page.sign);
}

void DrawRecordSheet(SheetCanvas& dc, int width, int height, int pageNumber,
                     ShaJiang_GouJian_Struct member, const RecordSheetContext& context) {
    if (context.project == nullptr || context.settings == nullptr)
        return;
    SheetPage page{dc, sheetGeometry(width, height), context, member, pageNumber};
    openPageFonts(page);
    drawTitle(page, kTitle);
    drawTopRuleAndHeader(page);
    drawPageCount(page);
    drawBatchBlock(page);
    drawInformationBox(page);
    drawReadingTable(page);
    drawRemarksBox(page);
    drawFormulaBox(page);
    drawSignatureLine(page);
    drawFooterAndPageNumber(page);
    closePageFonts(page);
}

} // namespace morvik
