// The batch summary sheet on the recording canvas: its pages hold every member once, a
// small batch fits one page, the batch block says what the dialog would, the chart's
// lines follow the batch and the grade below the top of its axis, and member labels stay
// readable and never overprint each other at any batch size.
#include "SheetFixture.h"
#include "core/StrengthGrade.h"
#include "sheet/SheetPdf.h"
#include "sheet/SummaryChart.h"
#include "sheet/SummaryLayout.h"
#include "sheet/SummarySheet.h"
#include <algorithm>
#include <climits>
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

    Summary(std::uint8_t code, const std::vector<float>& strengths, const char* grade = "",
            const std::vector<std::string>& names = {}) {
        project.mortarCode = code;
        textToField(grade, project.strengthGrade);
        std::vector<ShaJiang_GouJian_Struct> members;
        for (std::size_t i = 0; i < strengths.size(); ++i) {
            members.push_back(member(static_cast<int>(i + 1), strengths[i]));
            if (i < names.size() && !names[i].empty())
                textToField(names[i], members.back().memberName);
        }
        job = summaryJob(project, std::move(members), PrintSettings{}, kBatchMissing);
    }
    int pages(int dpi = 600) const {
        RecordingCanvas canvas(dpi);
        const PageSizeUnits a4 = a4PageUnits(dpi);
        return summaryPageCount(canvas, a4.width, a4.height, job);
    }
    // Every page drawn on one canvas.
    RecordingCanvas all(int dpi = 600) const {
        RecordingCanvas canvas(dpi);
        const PageSizeUnits a4 = a4PageUnits(dpi);
        for (int n = 1; n <= pages(dpi); ++n)
            DrawSummarySheet(canvas, a4.width, a4.height, n, job);
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
    EXPECT_TRUE(draws(a, QStringLiteral("推定值：--"))); // no unit without a value
    EXPECT_TRUE(draws(a, QStringLiteral("平均值 4.0 MPa")));
    EXPECT_EQ(a.findPrefix(QStringLiteral("推定值 ")), nullptr);

    const Summary plastering(0x10, {2.0f, 6.0f});
    const RecordingCanvas b = plastering.all();
    EXPECT_EQ(b.findPrefix(QStringLiteral("砌筑砂浆变异系数")), nullptr);
    EXPECT_TRUE(draws(b, QStringLiteral("推定值：") +
                             QString::fromStdString(plastering.job.batch.texts.estimate) +
                             QStringLiteral(" MPa")));
    EXPECT_NE(b.findPrefix(QStringLiteral("推定值 ")), nullptr);
    // 标准差 2.828 with the record sheet's two decimals, not the dialog field's one.
    EXPECT_TRUE(draws(b, QStringLiteral("标准差：2.83 MPa")));

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

TEST(SummarySheet, DesignLineForAGradeWithANumber) {
    EXPECT_EQ(designStrength("M7.5"), 7.5);
    EXPECT_EQ(designStrength(" M10 "), 10.0);
    EXPECT_EQ(designStrength("7.5"), 7.5);
    EXPECT_EQ(designStrength(" 10"), 10.0);
    for (const char* grade :
         {"7.5级", "", " ", "M", "M7.5级", "M-5", "-5", "M.5", ".5", "M5.", "M0", "0", "m5", "MM5"})
        EXPECT_FALSE(designStrength(grade).has_value()) << grade;

    auto heavyRules = [](const RecordingCanvas& canvas) {
        return std::count_if(canvas.rules.begin(), canvas.rules.end(),
                             [](const auto& r) { return r.width > 92 / 12; });
    };
    for (const char* grade : {"M7.5", "7.5"}) {
        const RecordingCanvas a = Summary(0x01, {5.0f, 7.0f}, grade).all();
        EXPECT_TRUE(draws(a, QStringLiteral("设计强度 ") + grade));
        EXPECT_EQ(heavyRules(a), 2) << grade; // the legend's sample and the line
    }
    for (const char* grade : {"7.5级", ""}) {
        const RecordingCanvas b = Summary(0x01, {5.0f, 7.0f}, grade).all();
        EXPECT_EQ(b.findPrefix(QStringLiteral("设计强度")), nullptr) << grade;
        EXPECT_EQ(heavyRules(b), 0) << grade;
    }
}

// Over random batches and grades: the axis's top tick stands clear above the design line,
// the value lines and the highest bar, by at least a twelfth of the plot.
TEST(SummarySheet, AxisReachesAboveEveryBarAndLine) {
    std::mt19937 random(34);
    std::uniform_real_distribution<float> strength(0.5f, 30.0f);
    std::uniform_int_distribution<int> count(2, 12);
    const char* grades[] = {"M10", "10", "M7.5", "5", "M2.5", "M30", ""};
    for (int trial = 0; trial < 200; ++trial) {
        std::vector<float> strengths(static_cast<std::size_t>(count(random)));
        for (float& s : strengths)
            s = strength(random);
        const char* grade = grades[trial % std::size(grades)];
        SCOPED_TRACE(testing::Message() << "trial " << trial << ", grade " << grade);
        const RecordingCanvas canvas = Summary(0x10, strengths, grade).all();

        // Ticks are the rules h/3 long left of the axis; bars stand on the plot's foot.
        int axisTop = INT_MAX;
        int plotFoot = 0;
        for (const auto& r : canvas.rules)
            if (r.y1 == r.y2 && r.x2 - r.x1 == 92 / 3) {
                axisTop = std::min(axisTop, r.y1);
                plotFoot = std::max(plotFoot, r.y1);
            }
        ASSERT_LT(axisTop, plotFoot);
        const int room = (plotFoot - axisTop) / 12;
        int lines = 0;
        for (const auto& r : canvas.rules)
            if (r.y1 == r.y2 && r.width > 1 && r.x2 - r.x1 > 10 * 92) { // across the plot
                EXPECT_GE(r.y1, axisTop + room);
                ++lines;
            }
        EXPECT_GE(lines, 3 + (*grade != 0)); // mean, minimum, estimate, design
        for (const auto& f : canvas.fills)
            if (f.y + f.height == plotFoot) {
                EXPECT_GE(f.y, axisTop + room);
            }
    }
}

// The labels under the bars: each at least kMinLabelPoints (9 pt cells) and clear of the
// next; the member names where they fit, else the row numbers of the table, all of them
// for forty members on A4.
TEST(SummarySheet, MemberLabelsAreReadableAndNeverOverlap) {
    const std::string longName = "幸福小区3号楼3层北侧承重墙";
    struct Case {
        int count;
        std::string name; // every member's, "" for G001...
        bool names;       // expect the names under the bars
        int shown;        // at least this many labels
    };
    for (const Case& c :
         {Case{2, longName, true, 2}, Case{5, "3号楼1层墙G001", true, 5},
          Case{5, longName, false, 5}, Case{12, "", true, 12}, Case{40, "", false, 40},
          Case{40, longName, false, 40}, Case{300, "", false, 20}, Case{1000, "", false, 20}}) {
        SCOPED_TRACE(testing::Message() << c.count << " members named " << c.name);
        std::vector<float> strengths;
        for (int i = 0; i < c.count; ++i)
            strengths.push_back(3.0f + static_cast<float>(i % 17) * 0.5f);
        const Summary summary(0x10, strengths, "", std::vector<std::string>(c.count, c.name));
        const RecordingCanvas canvas = summary.all();

        // The labels' row starts h/2 below the plot's foot, where the bars stand.
        int plotFoot = 0;
        for (const auto& f : canvas.fills)
            plotFoot = std::max(plotFoot, f.y + f.height);
        std::vector<std::pair<int, int>> spans;
        bool captioned = false;
        for (const auto& t : canvas.texts) {
            if (t.y != plotFoot + 92 / 2)
                continue;
            EXPECT_GE(t.points, 9) << t.text.toStdString();
            if (t.text == QStringLiteral("序号")) {
                captioned = true;
                continue;
            }
            const bool number = t.text.toInt() > 0;
            EXPECT_EQ(number, !c.names) << t.text.toStdString();
            spans.push_back({t.x, t.x + RecordingCanvas::textWidth(
                                            t.text, cellHeightForPoints(t.points, 600))});
        }
        EXPECT_EQ(captioned, !c.names);
        ASSERT_GE(static_cast<int>(spans.size()), c.shown);
        ASSERT_LE(static_cast<int>(spans.size()), c.count);
        std::sort(spans.begin(), spans.end());
        for (std::size_t i = 1; i < spans.size(); ++i)
            EXPECT_LE(spans[i - 1].second, spans[i].first) << i;
    }
}

// Five members, whatever their names, batch and grade, make one page at any resolution,
// with everything drawn inside the frame.
TEST(SummarySheet, FiveMembersMakeOnePage) {
    const std::vector<std::string> names(5, "幸福小区3号楼3层北侧承重墙");
    for (int dpi : {72, 96, 300, 600, 1200})
        for (const Summary& summary :
             {Summary(0x01, {5.0f, 7.0f, 6.5f, 8.0f, 7.2f}, "M10", names),
              Summary(0x00, {2.0f, 9.0f, 6.5f, 8.0f, 7.2f}, "7.5", names), // refused estimate
              Summary(0x01, {5.0f, kMissing, 6.5f, 8.0f, 7.2f}, "M5")}) {  // refused batch
            SCOPED_TRACE(testing::Message() << dpi << " dpi");
            ASSERT_EQ(summary.pages(dpi), 1);
            const RecordingCanvas canvas = summary.all(dpi);
            EXPECT_TRUE(draws(canvas, QStringLiteral("批检测信息：")));
            EXPECT_NE(canvas.findPrefix(QStringLiteral("砂浆抗压强度换算值")), nullptr);
            EXPECT_NE(canvas.findPrefix(QStringLiteral("检测日期：")), nullptr);
            const SheetGeometry g = sheetGeometry(a4PageUnits(dpi).width, a4PageUnits(dpi).height);
            const int h = cellHeightForPoints(11, dpi);
            for (const auto& t : canvas.texts) {
                EXPECT_LE(t.y + h, g.bottom) << t.text.toStdString();
            }
        }
}

// The span of the test dates runs from the earliest to the latest, however the members
// are ordered and whichever forms their dates take; texts that are no date are left out.
TEST(SummarySheet, TestDatesRunFromEarliestToLatest) {
    // The foot of the last page, for members with these dates.
    auto foot = [](std::vector<std::string> dates) {
        Summary summary(0x10, std::vector<float>(dates.size(), 6.0f));
        for (std::size_t i = 0; i < dates.size(); ++i)
            textToField(dates[i], summary.job.members[i].testDate);
        const RecordingCanvas canvas = summary.all();
        const RecordingCanvas::Text* t = canvas.findPrefix(QStringLiteral("检测日期："));
        return t == nullptr ? std::string() : t->text.toStdString();
    };
    std::vector<std::string> dates = {"2026年3月22日", "2026-03-11", "",
                                      "2026/3/15",     "不详",       "2025年12月31日"};
    std::mt19937 random(11);
    for (int trial = 0; trial < 20; ++trial) {
        std::shuffle(dates.begin(), dates.end(), random);
        EXPECT_EQ(foot(dates), "检测日期：2025年12月31日 ～ 2026年3月22日");
    }
    EXPECT_EQ(foot({"2026年3月22日", "2026-03-22"}), "检测日期：2026年3月22日");
    EXPECT_EQ(foot({"不详", "不详"}), "检测日期：不详");
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
        m.batchLines = trial % 4;
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
                if (summaryBatchBlockHeight(m.h, m.batchLines) < g.bottom - g.top - 10 * m.h) {
                    EXPECT_LE(page.batchTop + summaryBatchBlockHeight(m.h, m.batchLines), g.bottom);
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
    EXPECT_EQ(labelStride(10.0, 58), 7);
    EXPECT_EQ(labelStride(100.0, 58), 1);
}

} // namespace
} // namespace morvik
