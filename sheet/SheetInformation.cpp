// The batch block and the information box with the project and member information.
#include "core/Batch.h"
#include "core/ResultText.h"
#include "core/Vocabulary.h"
#include "sheet/SheetPage.h"

namespace morvik {

namespace {

// A wrapped project name starts with this many characters and then grows by one.
constexpr int kNameFirstPiece = 8;

QString number1(double value) {
    return QString::fromStdString(strengthText(value));
}
QString number2(double value) {
    return QString::fromStdString(depthText(value));
}

bool showsBatchBlock(const SheetPage& page) {
    const BatchResults& b = page.context.batch;
    return page.pageNumber == 1 && page.context.batchMode && b.batchMean > 0 &&
           !(b.batchStdDev < 0) && b.batchMin > 0;
}

// The project name after its label, wrapped to the left half of the box. Moves y down by
// 3h/2 for every line drawn before the last.
void drawWrappedProjectName(SheetPage& page, const QString& label, const QString& name) {
    const SheetGeometry& g = page.g;
    const int labelWidth = page.measure(label).width;
    page.dc.drawText(g.left, page.y, label);
    const int x = g.left + labelWidth;
    int start = 0;
    for (int end = kNameFirstPiece; end <= name.size(); ++end) {
        const QString piece = name.mid(start, end - start);
        if (g.halfWidth - labelWidth - page.measure(piece).width < 2 * page.h) {
            page.dc.drawText(x, page.y, piece);
            start = end;
            page.y += 3 * page.h / 2;
        }
    }
    if (start < name.size())
        page.dc.drawText(x, page.y, name.mid(start));
}

} // namespace

QString listEntry(const std::vector<std::string>* list, std::size_t index) {
    if (list == nullptr || index >= list->size())
        return {};
    return QString::fromStdString((*list)[index]);
}

MortarNames mortarNames(const RecordSheetContext& c, std::uint8_t code) {
    const int kind = mortarKind(code) == kKindPlastering ? kKindPlastering : kKindMasonry;
    const std::size_t variety = mortarVariety(code);
    const auto* varieties = c.varieties == nullptr ? nullptr : &(*c.varieties)[kind];
    const bool known = varieties != nullptr && variety < varieties->size();
    return {listEntry(c.kinds, kind), listEntry(varieties, known ? variety : 0)};
}

void drawBatchBlock(SheetPage& page) {
    if (!showsBatchBlock(page))
        return;
    const SheetGeometry& g = page.g;
    const BatchResults& b = page.context.batch;
    const int h = page.h;
    SheetCanvas& dc = page.dc;

    page.y += 2 * h;
    const int blockTop = page.y - h / 2;
    page.rule(g.left, blockTop, g.right, blockTop);
    dc.drawText(g.left + h, page.y, QStringLiteral("批检测信息："));

    page.y += 2 * h;
    dc.drawText(g.left + h, page.y, "强度平均值：" + number1(b.batchMean) + " MPa");
    dc.drawText(g.middle + h, page.y,
                "标准差：" + QString::fromStdString(sheetStdDevText(b.batchStdDev)));

    page.y += 2 * h;
    dc.drawText(g.left + h, page.y, "强度最小值：" + number1(b.batchMin) + " MPa");
    dc.drawText(g.middle + h, page.y, "变异系数：" + number2(b.batchCv));

    // Left out above the coefficient limit, whatever the mortar kind.
    if (!(b.batchCv > kBatchCvLimit)) {
        page.y += 2 * h;
        dc.drawText(g.left + h, page.y, "抗压强度推定值：" + number1(b.batchEstimate) + " MPa");
    }

    // The information box's top rule closes the block at the bottom.
    const int sideFoot = page.y + 3 * h / 2;
    page.rule(g.left, sideFoot, g.left, blockTop);
    page.rule(g.right, sideFoot, g.right, blockTop);
}

void drawInformationBox(SheetPage& page) {
    const SheetGeometry& g = page.g;
    const ProjectInfo& p = *page.context.project;
    const ShaJiang_GouJian_Struct& m = page.member;
    SheetCanvas& dc = page.dc;
    const int h = page.h;

    page.y += 2 * h;
    const int boxTop = page.y - h / 2;
    page.rule(g.left, boxTop, g.right, boxTop);

    dc.drawText(g.middle + h, page.y, "构件名称及编号：" + fieldText(m.memberName));
    const QString projectLabel = QStringLiteral("工程名称：");
    const QString projectName = fieldText(p.projectName);
    if (page.measure(projectLabel + projectName).width < g.halfWidth - h)
        dc.drawText(g.left + h, page.y, projectLabel + projectName);
    else
        drawWrappedProjectName(page, projectLabel, projectName);

    page.y += 2 * h;
    dc.drawText(g.left + h, page.y, "贯入仪（型号 及编号）：" + fieldText(p.instrumentNumber));
    dc.drawText(g.middle + h, page.y, "施工日期：" + fieldText(p.constructionDate));

    const MortarNames names = mortarNames(page.context, p.mortarCode);
    page.y += 2 * h;
    dc.drawText(g.left + h, page.y, "砂浆种类：" + names.kind);
    dc.drawText(g.middle + h, page.y, "砂浆品种：" + names.variety);

    page.y += 2 * h;
    dc.drawText(g.left + h, page.y, "强度等级：" + fieldText(p.strengthGrade));
    dc.drawText(g.middle + h, page.y,
                "检测温度：" + QString::asprintf("%d ℃", int(p.testTemperature)));

    page.y += 2 * h;
    dc.drawText(g.left + h, page.y, "检测依据：" + listEntry(page.context.standards, p.basisIndex));

    page.y += 3 * h / 2;
    page.rule(g.left, page.y, g.left, boxTop);
    page.rule(g.right, page.y, g.right, boxTop);
    page.rule(g.left, page.y, g.right, page.y);
}

} // namespace morvik
