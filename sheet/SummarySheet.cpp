#include "sheet/SummarySheet.h"

#include "core/DateText.h"
#include "core/GbkText.h"
#include "core/ResultText.h"
#include "sheet/SheetPage.h"
#include "sheet/SummaryChart.h"
#include "sheet/SummaryLayout.h"
#include <array>
#include <optional>
#include <tuple>

namespace morvik {

namespace {

const QString kDateRangeSeparator = QStringLiteral(" ～ ");

// The table's columns, right-aligned to R: widths in h, the member name taking the rest.
constexpr int kNumberColumnLines = 3;
constexpr std::array<int, 4> kRightColumnLines = {8, 7, 7, 7}; // date, depth, strength, estimate
constexpr int kColumns = 6;
// Column x positions and the heading texts, two lines each.
struct Heading {
    const char* first;
    const char* second;
};
constexpr Heading kHeadings[kColumns] = {
    {"序号", ""},
    {"构件编号", ""},
    {"检测日期", ""},
    {"贯入深度", "平均值(mm)"},
    {"砂浆抗压强度", "换算值(MPa)"},
    {"构件强度", "推定值(MPa)"},
};

std::array<int, kColumns + 1> columnEdges(const SheetGeometry& g, int h) {
    std::array<int, kColumns + 1> x{};
    x[0] = g.left;
    x[1] = g.left + kNumberColumnLines * h;
    x[kColumns] = g.right;
    for (int c = kColumns - 1; c >= 2; --c)
        x[c] = x[c + 1] - kRightColumnLines[c - 2] * h;
    return x;
}

void drawCentred(SheetPage& page, int left, int right, int y, const QString& text) {
    const QString shown = elidedText(page.dc, text, right - left - page.h / 2);
    page.dc.drawText((left + right - page.measure(shown).width) / 2, y, shown);
}

// The span of the members' test dates, from the earliest to the latest as the stored
// texts give them; one date when they agree. Texts that are no date are left out, so a
// blank field does not widen the span; when none is a date, the one text they share.
QString testDates(const std::vector<ShaJiang_GouJian_Struct>& members) {
    using DayKey = std::tuple<int, int, int>;
    const ShaJiang_GouJian_Struct* earliest = nullptr;
    const ShaJiang_GouJian_Struct* latest = nullptr;
    DayKey first{};
    DayKey last{};
    for (const ShaJiang_GouJian_Struct& m : members) {
        const std::optional<CivilDate> date = parseDateText(fieldToText(m.testDate));
        if (!date)
            continue;
        const DayKey day{date->year, date->month, date->day};
        if (earliest == nullptr || day < first) {
            first = day;
            earliest = &m;
        }
        if (latest == nullptr || last < day) {
            last = day;
            latest = &m;
        }
    }
    if (earliest != nullptr)
        return first < last ? fieldText(earliest->testDate) + kDateRangeSeparator +
                                  fieldText(latest->testDate)
                            : fieldText(earliest->testDate);
    if (members.empty())
        return {};
    const QString shared = fieldText(members.front().testDate);
    for (const ShaJiang_GouJian_Struct& m : members)
        if (fieldText(m.testDate) != shared)
            return {};
    return shared;
}

void drawProjectBlock(SheetPage& page) {
    const SheetGeometry& g = page.g;
    const ProjectInfo& p = *page.context.project;
    const int h = page.h;
    const int step = 3 * h / 2;
    SheetCanvas& dc = page.dc;

    int y = page.y + 2 * h;
    const int boxTop = y - h / 2;
    page.rule(g.left, boxTop, g.right, boxTop);
    dc.drawText(
        g.left + h, y,
        elidedText(page.dc, "工程名称：" + fieldText(p.projectName), g.right - g.left - 2 * h));
    y += step;
    dc.drawText(g.left + h, y, "仪器编号：" + fieldText(p.instrumentNumber));
    dc.drawText(g.middle + h, y, "施工日期：" + fieldText(p.constructionDate));
    const MortarNames names = mortarNames(page.context, p.mortarCode);
    y += step;
    dc.drawText(g.left + h, y, "砂浆种类：" + names.kind);
    dc.drawText(g.middle + h, y, "砂浆品种：" + names.variety);
    y += step;
    dc.drawText(g.left + h, y, "强度等级：" + fieldText(p.strengthGrade));
    dc.drawText(g.middle + h, y, "检测温度：" + QString::asprintf("%d ℃", int(p.testTemperature)));
    y += step;
    dc.drawText(g.left + h, y, "检测依据：" + listEntry(page.context.standards, p.basisIndex));
    const int foot = y + step;
    page.rule(g.left, foot, g.left, boxTop);
    page.rule(g.right, foot, g.right, boxTop);
    page.rule(g.left, foot, g.right, foot);
}

void drawTable(SheetPage& page, const SummaryJob& job, const SummaryPagePlan& plan) {
    const SheetGeometry& g = page.g;
    const int h = page.h;
    const auto x = columnEdges(g, h);
    const int headingFoot = plan.tableTop + summaryHeadingHeight(h);
    const int rowHeight = summaryRowHeight(h);
    const int foot = headingFoot + plan.rowCount * rowHeight;

    page.rule(g.left, plan.tableTop, g.right, plan.tableTop);
    for (int edge : x)
        page.rule(edge, plan.tableTop, edge, foot);
    for (int c = 0; c < kColumns; ++c) {
        const QString second = QString::fromUtf8(kHeadings[c].second);
        const QString first = QString::fromUtf8(kHeadings[c].first);
        if (second.isEmpty()) {
            drawCentred(page, x[c], x[c + 1], plan.tableTop + h, first);
        } else {
            drawCentred(page, x[c], x[c + 1], plan.tableTop + h / 4, first);
            drawCentred(page, x[c], x[c + 1], plan.tableTop + 3 * h / 2, second);
        }
    }
    page.rule(g.left, headingFoot, g.right, headingFoot);

    for (int r = 0; r < plan.rowCount; ++r) {
        const int index = plan.firstRow + r;
        const ShaJiang_GouJian_Struct& m = job.members[static_cast<std::size_t>(index)];
        const MemberResultTexts results = memberResultTexts(m);
        const int top = headingFoot + r * rowHeight;
        const int y = top + h / 4;
        const QString cells[kColumns] = {QString::number(index + 1),
                                         fieldText(m.memberName),
                                         fieldText(m.testDate),
                                         QString::fromStdString(results.meanDepth),
                                         QString::fromStdString(results.strength),
                                         QString::fromStdString(results.memberEstimate)};
        for (int c = 0; c < kColumns; ++c)
            drawCentred(page, x[c], x[c + 1], y, cells[c]);
        page.rule(g.left, top + rowHeight, g.right, top + rowHeight);
    }
}

// A value of the batch with its unit; a value refused or missing is "--" alone.
QString batchValue(const std::string& text) {
    const QString value = QString::fromStdString(text);
    return text == kNoValueText ? value : value + QStringLiteral(" MPa");
}

// A batch refused before its values were known shows its sentence in their place.
bool showsBatchValues(const BatchOutcome& b) {
    return isPresent(b.values.batchMean);
}

int batchLines(const BatchOutcome& b) {
    return (showsBatchValues(b) ? 2 : 0) + (b.message ? 1 : 0);
}

void drawBatch(SheetPage& page, const SummaryJob& job, int top) {
    const SheetGeometry& g = page.g;
    const int h = page.h;
    const BatchOutcome& b = job.batch;
    const BatchTexts& t = b.texts;
    SheetCanvas& dc = page.dc;
    const int third = (g.right - g.left) / 3;
    const int foot = top + summaryBatchBlockHeight(h, batchLines(b));

    page.rule(g.left, top, g.right, top);
    dc.drawText(g.left + h, top + h / 2, QStringLiteral("批检测信息："));
    int y = top + 2 * h;
    if (showsBatchValues(b)) {
        dc.drawText(g.left + h, y, "平均值：" + batchValue(t.mean));
        // With the decimals of the record sheet's batch block, not the dialog's field.
        dc.drawText(g.left + third + h, y,
                    "标准差：" + batchValue(sheetStdDevText(b.values.batchStdDev)));
        dc.drawText(g.left + 2 * third + h, y, "最小值：" + batchValue(t.min));
        y += 3 * h / 2;
        dc.drawText(g.left + h, y, "变异系数：" + QString::fromStdString(t.cv));
        dc.drawText(g.left + third + h, y, "推定值：" + batchValue(t.estimate));
        y += 3 * h / 2;
    }
    if (b.message)
        dc.drawText(g.left + h, y, QString::fromStdString(b.message->text));
    page.rule(g.left, top, g.left, foot);
    page.rule(g.right, top, g.right, foot);
    page.rule(g.left, foot, g.right, foot);
}

} // namespace

QString summarySheetTitle() {
    return QStringLiteral("砂浆抗压强度贯入检测汇总表");
}

QString elidedText(SheetCanvas& dc, const QString& text, int extent) {
    static const QString ellipsis = QStringLiteral("…");
    if (dc.measureText(text).width <= extent)
        return text;
    QString shortened = text;
    while (!shortened.isEmpty() && dc.measureText(shortened + ellipsis).width > extent)
        shortened.chop(1);
    return shortened + ellipsis;
}

SummaryJob summaryJob(const ProjectInfo& project, std::vector<ShaJiang_GouJian_Struct> members,
                      const PrintSettings& settings, double previousEstimate) {
    SummaryJob job;
    job.project = &project;
    job.members = std::move(members);
    job.settings = settings;
    std::vector<const ShaJiang_GouJian_Struct*> batch;
    batch.reserve(job.members.size());
    for (const ShaJiang_GouJian_Struct& m : job.members)
        batch.push_back(&m);
    job.batch = evaluateBatch(batch, project.mortarCode, previousEstimate);
    return job;
}

namespace {

SummaryMetrics measureSummary(SheetPage& page, const SummaryJob& job) {
    SummaryMetrics m;
    m.batchLines = batchLines(job.batch);
    m.h = page.measure(QStringLiteral("0")).height;
    m.pageCountY = pageCountY(page.g, titleHeight(page.dc, summarySheetTitle()));
    return m;
}

} // namespace

int summaryPageCount(SheetCanvas& dc, int width, int height, const SummaryJob& job) {
    if (job.project == nullptr)
        return 0;
    const ShaJiang_GouJian_Struct blank = newMemberRecord(1);
    const RecordSheetContext context = sheetContext(*job.project, job.settings, 1);
    SheetPage page{dc, sheetGeometry(width, height), context, blank, 1};
    openPageFonts(page);
    const SummaryMetrics metrics = measureSummary(page, job);
    closePageFonts(page);
    return static_cast<int>(
        planSummary(page.g, metrics, static_cast<int>(job.members.size())).size());
}

void DrawSummarySheet(SheetCanvas& dc, int width, int height, int pageNumber,
                      const SummaryJob& job) {
    if (job.project == nullptr)
        return;
    const ShaJiang_GouJian_Struct blank = newMemberRecord(1);
    RecordSheetContext context = sheetContext(*job.project, job.settings, 1);
    SheetPage page{dc, sheetGeometry(width, height), context, blank, pageNumber};
    openPageFonts(page);
    const SummaryMetrics metrics = measureSummary(page, job);
    const std::vector<SummaryPagePlan> plan =
        planSummary(page.g, metrics, static_cast<int>(job.members.size()));
    if (pageNumber < 1 || pageNumber > static_cast<int>(plan.size())) {
        closePageFonts(page);
        return;
    }
    context.totalPages = static_cast<std::int16_t>(plan.size());
    const SummaryPagePlan& here = plan[static_cast<std::size_t>(pageNumber - 1)];

    drawTitle(page, summarySheetTitle());
    drawTopRuleAndHeader(page);
    drawPageCount(page);
    if (pageNumber == 1)
        drawProjectBlock(page);
    if (here.rowCount > 0)
        drawTable(page, job, here);
    if (here.batchTop >= 0)
        drawBatch(page, job, here.batchTop);
    if (here.chartTop >= 0) {
        drawSummaryChart(page, job, here.chartTop);
        drawSignatures(page, here.chartTop + summarySignatureOffset(page.h),
                       testDates(job.members));
    }
    drawFooterAndPageNumber(page);
    closePageFonts(page);
}

} // namespace morvik
