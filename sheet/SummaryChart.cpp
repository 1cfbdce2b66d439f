#include "sheet/SummaryChart.h"

#include "core/GbkText.h"
#include "core/ResultText.h"
#include "core/StrengthGrade.h"
#include "sheet/SheetPage.h"
#include <algorithm>
#include <cmath>
#include <iterator>
#include <optional>

namespace morvik {

namespace {

constexpr int kAxisSteps = 6;
constexpr double kNiceSteps[] = {1, 2, 5, 10};
// The axis reaches at least this share above the largest value, so no bar and no line
// touches the plot's top.
constexpr double kAxisHeadroom = 0.1;
// Vertical parts of the chart, in halves of h from its top.
constexpr int kLegendRowHalves = 3;
constexpr int kPlotTopHalves = 12;
constexpr int kPlotHalves = 24;
constexpr int kSignatureHalves = 42; // below the plot, its labels and a gap
// Horizontal parts, in h: the tick labels left of the axis, a margin right of the plot.
constexpr int kAxisLabelLines = 4;
constexpr int kRightMarginLines = 1;
constexpr int kLegendSampleLines = 3;
// A bar takes this share of its slot; labels keep this share of their extent apart.
constexpr double kBarShare = 0.6;
constexpr double kLabelSpacing = 1.2;
// Labels shrink from the body's size down to this one, whose glyphs stay at least 6 pt
// high even in faces whose cell is half as high again as the glyphs.
constexpr int kMinLabelPoints = 9;
// Grey of the bars: light enough for the black lines and the value lines over them.
constexpr int kBarGrey = 190;
// Line widths as a share of h: thin value lines, a heavy design line.
constexpr int kValueLineDivisor = 12;
constexpr int kDesignLineDivisor = 5;

bool hasValue(double value) {
    return isPresent(value) && std::isfinite(value);
}

struct LegendEntry {
    RuleStyle style;
    int width;
    double value;
    QString text;
    bool bar;
};

std::vector<LegendEntry> legendEntries(const SummaryJob& job, int h) {
    const BatchOutcome& b = job.batch;
    const int thin = std::max(1, h / kValueLineDivisor);
    std::vector<LegendEntry> entries;
    entries.push_back({RuleStyle::Solid, 0, 0, QStringLiteral("砂浆抗压强度换算值"), true});
    if (hasValue(b.values.batchMean))
        entries.push_back({RuleStyle::Dashed, thin, b.values.batchMean,
                           "平均值 " + QString::fromStdString(b.texts.mean) + " MPa", false});
    if (hasValue(b.values.batchMin))
        entries.push_back({RuleStyle::Dotted, thin, b.values.batchMin,
                           "最小值 " + QString::fromStdString(b.texts.min) + " MPa", false});
    // A refused batch has no estimate to show, whatever value it kept.
    if (!b.message && hasValue(b.values.batchEstimate))
        entries.push_back({RuleStyle::DashDotted, thin, b.values.batchEstimate,
                           "推定值 " + QString::fromStdString(b.texts.estimate) + " MPa", false});
    const std::string grade = fieldToText(job.project->strengthGrade);
    if (const std::optional<double> design = designStrength(grade))
        entries.push_back({RuleStyle::Solid, std::max(1, h / kDesignLineDivisor), *design,
                           "设计强度 " + QString::fromStdString(grade), false});
    return entries;
}

void drawLegend(SheetPage& page, const std::vector<LegendEntry>& entries, int top) {
    const SheetGeometry& g = page.g;
    const int h = page.h;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const LegendEntry& e = entries[i];
        const int x = (i % 2 == 0 ? g.left : g.middle) + h;
        const int y = top + static_cast<int>(i / 2) * kLegendRowHalves * h / 2;
        if (e.bar) {
            page.dc.fillRect(x, y + h / 4, kLegendSampleLines * h, h / 2, kBarGrey);
        } else {
            page.dc.setRuleStyle(e.style, e.width);
            page.rule(x, y + h / 2, x + kLegendSampleLines * h, y + h / 2);
            page.dc.setRuleStyle(RuleStyle::Solid, 1);
        }
        page.dc.drawText(x + (kLegendSampleLines + 1) * h, y, e.text);
    }
}

struct Plot {
    int left, right, top, bottom;
    ValueAxis axis;
    int yOf(double value) const {
        const double share = std::clamp(value / axis.top, 0.0, 1.0);
        return bottom - static_cast<int>(std::lround(share * (bottom - top)));
    }
};

void drawAxis(SheetPage& page, const Plot& plot) {
    SheetCanvas& dc = page.dc;
    const int h = page.h;
    page.rule(plot.left, plot.top, plot.left, plot.bottom);
    page.rule(plot.left, plot.bottom, plot.right, plot.bottom);
    const int ticks = static_cast<int>(std::lround(plot.axis.top / plot.axis.step));
    for (int i = 0; i <= ticks; ++i) {
        const double value = i * plot.axis.step;
        const int y = plot.yOf(value);
        page.rule(plot.left - h / 3, y, plot.left, y);
        const QString text = QString::fromStdString(fixedText(value, plot.axis.decimals));
        const TextSize size = page.measure(text);
        dc.drawText(plot.left - h / 2 - size.width, y - size.height / 2, text);
    }
    const QString unit = QStringLiteral("MPa");
    const TextSize size = page.measure(unit);
    dc.drawText(plot.left - size.width / 2, plot.top - 3 * size.height / 2, unit);
}

struct LabelChoice {
    bool numbers = true;
    int points = kMinLabelPoints;
    int stride = 1;
};

// The member names in the largest size from the body's down to kMinLabelPoints at which
// each stands clear of the next; when even the smallest would touch, the table's row
// numbers 序号 in their place, and when those touch too, only every stride-th.
LabelChoice chooseLabels(SheetCanvas& dc, const std::vector<QString>& names,
                         const std::vector<QString>& numbers, double slot) {
    // The widest of `labels` in a font of `points`.
    auto widest = [&dc](const std::vector<QString>& labels, int points) {
        const SheetCanvas::FontId font = dc.createFont(sheetFace(), points);
        const SheetCanvas::FontId previous = dc.selectFont(font);
        int width = 0;
        for (const QString& label : labels)
            width = std::max(width, dc.measureText(label).width);
        dc.selectFont(previous);
        dc.deleteFont(font);
        return width;
    };
    for (const bool useNumbers : {false, true})
        for (int points = kBodyPoints; points >= kMinLabelPoints; --points)
            if (widest(useNumbers ? numbers : names, points) * kLabelSpacing <= slot)
                return {useNumbers, points, 1};
    return {true, kMinLabelPoints, labelStride(slot, widest(numbers, kMinLabelPoints))};
}

// The labels under the bars, level; row numbers get the caption 序号 left of their row.
void drawLabels(SheetPage& page, const SummaryJob& job, const Plot& plot, double slot) {
    SheetCanvas& dc = page.dc;
    const int h = page.h;
    const int top = plot.bottom + h / 2;
    std::vector<QString> names;
    std::vector<QString> numbers;
    for (std::size_t i = 0; i < job.members.size(); ++i) {
        names.push_back(fieldText(job.members[i].memberName));
        numbers.push_back(QString::number(i + 1));
    }
    const LabelChoice choice = chooseLabels(dc, names, numbers, slot);
    const std::vector<QString>& labels = choice.numbers ? numbers : names;
    const SheetCanvas::FontId font = dc.createFont(sheetFace(), choice.points);
    dc.selectFont(font);
    for (std::size_t i = 0; i < labels.size(); i += static_cast<std::size_t>(choice.stride)) {
        const int centre = plot.left + static_cast<int>((i + 0.5) * slot);
        dc.drawText(centre - dc.measureText(labels[i]).width / 2, top, labels[i]);
    }
    if (choice.numbers) {
        const QString caption = QStringLiteral("序号");
        dc.drawText(plot.left - h / 2 - dc.measureText(caption).width, top, caption);
    }
    dc.selectFont(page.body);
    dc.deleteFont(font);
}

} // namespace

ValueAxis valueAxis(double largest) {
    ValueAxis axis;
    if (!(largest > 0) || !std::isfinite(largest))
        return axis;
    const double reach = largest * (1 + kAxisHeadroom);
    const double raw = reach / kAxisSteps;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    double step = magnitude * kNiceSteps[std::size(kNiceSteps) - 1];
    for (double nice : kNiceSteps)
        if (raw <= nice * magnitude) {
            step = nice * magnitude;
            break;
        }
    axis.step = step;
    axis.top = std::ceil(reach / step - 1e-9) * step;
    axis.decimals =
        std::clamp(static_cast<int>(-std::floor(std::log10(step) + 1e-9)), 0, kMaxFixedDecimals);
    return axis;
}

int labelStride(double slotWidth, int labelExtent) {
    if (!(slotWidth > 0))
        return 1;
    const double needed = labelExtent * kLabelSpacing;
    return std::max(1, static_cast<int>(std::ceil(needed / slotWidth - 1e-9)));
}

void drawSummaryChart(SheetPage& page, const SummaryJob& job, int top) {
    const SheetGeometry& g = page.g;
    const int h = page.h;
    const std::vector<LegendEntry> entries = legendEntries(job, h);
    drawLegend(page, entries, top);

    double largest = 0;
    for (const ShaJiang_GouJian_Struct& m : job.members)
        if (hasValue(m.strength))
            largest = std::max(largest, static_cast<double>(m.strength));
    for (const LegendEntry& e : entries)
        largest = std::max(largest, e.value);

    Plot plot{g.left + kAxisLabelLines * h, g.right - kRightMarginLines * h,
              top + kPlotTopHalves * h / 2, top + (kPlotTopHalves + kPlotHalves) * h / 2,
              valueAxis(largest)};
    const double slot =
        static_cast<double>(plot.right - plot.left) / std::max<std::size_t>(1, job.members.size());
    const int barWidth = std::max(1, static_cast<int>(slot * kBarShare));
    for (std::size_t i = 0; i < job.members.size(); ++i) {
        const float s = job.members[i].strength;
        if (!hasValue(s) || !(s > 0))
            continue;
        const int x = plot.left + static_cast<int>((i + 0.5) * slot) - barWidth / 2;
        const int y = plot.yOf(s);
        page.dc.fillRect(x, y, barWidth, plot.bottom - y, kBarGrey);
    }
    for (const LegendEntry& e : entries) {
        if (e.bar)
            continue;
        page.dc.setRuleStyle(e.style, e.width);
        page.rule(plot.left, plot.yOf(e.value), plot.right, plot.yOf(e.value));
    }
    page.dc.setRuleStyle(RuleStyle::Solid, 1);
    drawAxis(page, plot);
    drawLabels(page, job, plot, slot);
}

int summarySignatureOffset(int h) {
    return kSignatureHalves * h / 2;
}

} // namespace morvik
