// The batch summary sheet on the recording canvas: its pages hold every member once, the
// batch block says what the dialog would, the chart's lines follow the batch and the
// grade, and member labels never overprint each other at any batch size.
#include "SheetFixture.h"
#include "core/StrengthGrade.h"
#include "sheet/SummaryChart.h"
#include "sheet/SummaryLayout.h"
#include "sheet/SummarySheet.h"
#include <algorithm>
#include <random>

namespace morvik {
namespace {

// A member whose results are set directly: the summary only shows them.
ShaJiang_GouJian_Struct member(int position, float strength) {
    ShaJiang_GouJian_Struct m = newMemberRecord(position);
    m.meanDepth = 4.0f;
    m.strength = strength;
    m.memberEstimate = isPresent(strength) ? 0.91f * strength : strength;
    return m;
}

struct Summary {
    ProjectInfo project{};
    SummaryJob job;

    Summary(std::uint8_t code, const std::vector<float>& strengths, const char* grade = "") {
        project.mortarCode = code;
        textToField(grade, project.strengthGrade);
        std::vector<ShaJiang_GouJian_Struct> members;
        for (std::size_t i = 0; i < strengths.size(); ++i)
            members.push_back(member(static_cast<int>(i + 1), strengths[i]));
        job = summaryJob(project, std::move(members), PrintSettings{}, kBatchMissing);
    }
    int pages() const {
        RecordingCanvas canvas(600);
        return summaryPageCount(canvas, kA4Width600, kA4Height600, job);
    }
    // Every page drawn on one canvas.
    RecordingCanvas all() const {
        RecordingCanvas canvas(600);
        for (int n = 1; n <= pages(); ++n)
            DrawSummarySheet(canvas, kA4Width600, kA4Height600, n, job);
        return canvas;
    }
};

bool draws(const RecordingCanvas& canvas, const QString& text) {
    return !canvas.find(text).empty();
}

TEST(SummarySheet, RefusedBatchesSayWhyAndDrawNoEstimate) {
    // Masonry with a coefficient of variation above 0.30: four values, the sentence, no
    // estimate line. The same strengths as plastering mortar are not refused.
    const Summary refused(0x00, {2.0f, 6.0f});
    const RecordingCanvas a = refused.all();
    EXPECT_TRUE(draws(a, QStringLiteral("砌筑砂浆变异系数大于0.30时无法批处理。")));
    EXPECT_TRUE(draws(a, QStringLiteral("平均值：4.0 MPa")));
    EXPECT_TRUE(draws(a, QStringLiteral("推定值：-- MPa")));
    EXPECT_TRUE(draws(a, QStringLiteral("平均值 4.0 MPa")));
    EXPECT_EQ(a.findPrefix(QStringLiteral("推定值 ")), nullptr);

    const Summary plastering(0x10, {2.0f, 6.0f});
    const RecordingCanvas b = plastering.all();
    EXPECT_EQ(b.findPrefix(QStringLiteral("砌筑砂浆变异系数")), nullptr);
    EXPECT_TRUE(draws(b, QStringLiteral("推定值：") +
                             QString::fromStdString(plastering.job.batch.texts.estimate) +
                             QStringLiteral(" MPa")));
    EXPECT_NE(b.findPrefix(QStringLiteral("推定值 ")), nullptr);

    // A member without a converted strength, and a batch of one: the sentence in place of
    // the values, and no value line at all.
    const Summary missing(0x01, {5.0f, kMissing, 7.0f});
    const RecordingCanvas c = missing.all();
    EXPECT_TRUE(draws(c, QStringLiteral("构件：G002无法计算出抗压强度换算值，请检查数据。")));
    EXPECT_EQ(c.findPrefix(QStringLiteral("平均值：")), nullptr);
    EXPECT_EQ(c.findPrefix(QStringLiteral("平均值 ")), nullptr);
    EXPECT_TRUE(draws(c, QStringLiteral("--"))); // G002's row

    const Summary single(0x01, {5.0f});
    const RecordingCanvas d = single.all();
    EXPECT_TRUE(draws(d, QStringLiteral("请选中两组以上的数据进行计算。")));
    EXPECT_EQ(d.findPrefix(QStringLiteral("平均值：")), nullptr);
    for (const RecordingCanvas* canvas : {&c, &d})
        for (const auto& rule : canvas->rules)
            EXPECT_EQ(rule.style, RuleStyle::Solid);
}

TEST(SummarySheet, DesignLineOnlyForAnMGrade) {
    EXPECT_EQ(designStrength("M7.5"), 7.5);
    EXPECT_EQ(designStrength(" M10 "), 10.0);
    for (const char* grade : {"7.5级", "", "M", "M7.5级", "M-5", "M.5", "M5.", "M0", "m5"})
        EXPECT_FALSE(designStrength(grade).has_value()) << grade;

    auto heavyRules = [](const RecordingCanvas& canvas) {
        return std::count_if(canvas.rules.begin(), canvas.rules.end(),
                             [](const auto& r) { return r.width > 92 / 12; });
    };
    const Summary graded(0x01, {5.0f, 7.0f}, "M7.5");
    const RecordingCanvas a = graded.all();
    EXPECT_TRUE(draws(a, QStringLiteral("设计强度 M7.5")));
    EXPECT_EQ(heavyRules(a), 2); // the legend's sample and the line
    for (const char* grade : {"7.5级", ""}) {
        const RecordingCanvas b = Summary(0x01, {5.0f, 7.0f}, grade).all();
        EXPECT_EQ(b.findPrefix(QStringLiteral("设计强度")), nullptr) << grade;
        EXPECT_EQ(heavyRules(b), 0) << grade;
    }
}

TEST(SummarySheet, MemberLabelsNeverOverlap) {
    const int smallHeight = cellHeightForPoints(7, 600);
    for (int count : {2, 3, 40, 300, 1000}) {
        SCOPED_TRACE(count);
        std::vector<float> strengths;
        for (int i = 0; i < count; ++i)
            strengths.push_back(3.0f + static_cast<float>(i % 17) * 0.5f);
        const Summary summary(0x10, strengths);
        const RecordingCanvas canvas = summary.all();
        // Level labels are the small texts "G..." drawn under the plot, the table's
        // names being in the body font.
        std::vector<std::pair<int, int>> spans;
        for (const auto& t : canvas.texts)
            if (t.points == 7 && t.text.startsWith('G'))
                spans.push_back({t.x, t.x + RecordingCanvas::textWidth(t.text, smallHeight)});
        for (const auto& t : canvas.turnedTexts)
            spans.push_back({t.x, t.x + smallHeight});
        ASSERT_FALSE(spans.empty());
        ASSERT_LE(static_cast<int>(spans.size()), count);
        std::sort(spans.begin(), spans.end());
        for (std::size_t i = 1; i < spans.size(); ++i)
            EXPECT_LE(spans[i - 1].second, spans[i].first) << i;
        // Thinned, but not thinner than needed: forty fit side by side on A4.
        EXPECT_GE(static_cast<int>(spans.size()), std::min(count, 40));
    }
}

// The plan over many batch sizes and line heights: every member once and in order, each
// page's blocks inside the frame, the batch block and the chart after the last row.
TEST(SummarySheet, PlanPlacesEveryRowOnceInsideTheFrame) {
    std::mt19937 random(29);
    std::uniform_int_distribution<int> members(1, 1200);
    std::uniform_int_distribution<int> lineHeight(8, 400);
    const SheetGeometry g = sheetGeometry(kA4Width600, kA4Height600);
    for (int trial = 0; trial < 400; ++trial) {
        const int n = trial < 60 ? trial + 1 : members(random);
        SummaryMetrics m;
        m.h = trial < 60 ? 92 : lineHeight(random);
        m.pageCountY = g.top + 5 * m.h;
        SCOPED_TRACE(testing::Message() << n << " members, h " << m.h);
        const std::vector<SummaryPagePlan> pages = planSummary(g, m, n);
        ASSERT_FALSE(pages.empty());
        int next = 0;
        int batchPage = -1;
        for (std::size_t p = 0; p < pages.size(); ++p) {
            const SummaryPagePlan& page = pages[p];
            if (page.rowCount > 0) {
                EXPECT_EQ(page.firstRow, next);
                EXPECT_EQ(batchPage, -1);
                next += page.rowCount;
                const int foot = page.tableTop + summaryHeadingHeight(m.h) +
                                 page.rowCount * summaryRowHeight(m.h);
                // A page holds one row even where the frame is too small for it.
                if (page.rowCount > 1) {
                    EXPECT_LE(foot, g.bottom);
                }
                if (page.batchTop >= 0) {
                    EXPECT_GE(page.batchTop, foot);
                }
            }
            if (page.batchTop >= 0) {
                batchPage = static_cast<int>(p);
                if (summaryBatchBlockHeight(m.h) < g.bottom - g.top - 10 * m.h) {
                    EXPECT_LE(page.batchTop + summaryBatchBlockHeight(m.h), g.bottom);
                }
            }
            if (page.chartTop >= 0) {
                EXPECT_EQ(p + 1, pages.size());
                if (summaryChartHeight(m.h) < g.bottom - g.top - 10 * m.h) {
                    EXPECT_LE(page.chartTop + summaryChartHeight(m.h), g.bottom);
                }
            }
        }
        EXPECT_EQ(next, n);
        EXPECT_GE(batchPage, static_cast<int>(pages.size()) - 2);
        EXPECT_GE(pages.back().chartTop, 0);
    }
}

TEST(SummarySheet, ValueAxisStepsAreRound) {
    for (double largest : {0.4, 1.0, 6.6, 7.5, 12.3, 14.0, 33.3, 101.0}) {
        const ValueAxis axis = valueAxis(largest);
        EXPECT_GE(axis.top, largest);
        EXPECT_LE(axis.top / axis.step, 7.0 + 1e-9) << largest;
        const double mantissa = axis.step / std::pow(10.0, std::floor(std::log10(axis.step)));
        EXPECT_TRUE(std::abs(mantissa - 1) < 1e-9 || std::abs(mantissa - 2) < 1e-9 ||
                    std::abs(mantissa - 5) < 1e-9)
            << largest;
    }
    EXPECT_EQ(labelStride(10.0, 58), 8);
    EXPECT_EQ(labelStride(100.0, 58), 1);
}

} // namespace
} // namespace morvik
