// The record sheet's layout on the recording canvas: every coordinate worked out by hand
// for an A4 page at 600 dpi (L 450, R 4509, T 438, B 6378, M 2479, h 92, cw 615).
#include "SheetFixture.h"
#include "sheet/SheetGeometry.h"

namespace morvik {
namespace {

// Without a batch block: page count at 895, information rows 2h apart from 1079.
constexpr int kPageCountY = 895;
constexpr int kFirstInfoRowY = 1079;
constexpr int kInfoBoxFootY = 1953; // last row 1815 + 3h/2
constexpr int kHeadingFootY = 2321; // + 4h
constexpr int kRemarksTopY = 3793;  // + 16h
constexpr int kFormulaTopY = 4253;  // + 5h

struct GeometryCase {
    const char* name;
    int width, height;
    SheetGeometry expected;
};

TEST(SheetGeometry, FrameFollowsThePageSize) {
    const GeometryCase cases[] = {
        {"A4 at 600 dpi", 4960, 7016, {450, 4509, 438, 6378, 2479, 2479.5, 2029}},
        {"A4 at 300 dpi", 2480, 3508, {225, 2254, 219, 3189, 1239, 1239.5, 1014}},
        {"odd sizes truncate", 111, 17, {10, 100, 1, 15, 55, 55.0, 45}},
    };
    for (const auto& c : cases) {
        const SheetGeometry g = sheetGeometry(c.width, c.height);
        EXPECT_EQ(g.left, c.expected.left) << c.name;
        EXPECT_EQ(g.right, c.expected.right) << c.name;
        EXPECT_EQ(g.top, c.expected.top) << c.name;
        EXPECT_EQ(g.bottom, c.expected.bottom) << c.name;
        EXPECT_EQ(g.middle, c.expected.middle) << c.name;
        EXPECT_DOUBLE_EQ(g.middleExact, c.expected.middleExact) << c.name;
        EXPECT_EQ(g.halfWidth, c.expected.halfWidth) << c.name;
    }
    EXPECT_EQ(dataColumnWidth(sheetGeometry(4960, 7016), 92), 615);
}

TEST(RecordSheet, FontsAreCreatedFromSongAndAllReleased) {
    SheetFixture f;
    const RecordingCanvas c = f.draw();
    EXPECT_EQ(c.lastFace, QStringLiteral("宋体"));
    EXPECT_EQ(c.liveFonts(), 0);
    EXPECT_EQ(c.currentFont(), SheetCanvas::kNoFont);
    const auto title = only(c, "砂浆抗压强度贯入检测记录表");
    EXPECT_EQ(title.points, 22);
    EXPECT_EQ(only(c, "共3页 第1页").points, 11);
}

TEST(RecordSheet, TitleIsCentredAndThePageCountBelowIt) {
    SheetFixture f;
    const RecordingCanvas c = f.draw(2);
    // Title 13 × 183 wide: trunc((4509 − 2379 − 450) × 0.5 + 450), trunc(183 / 2 + 438).
    const auto title = only(c, "砂浆抗压强度贯入检测记录表");
    EXPECT_EQ(title.x, 1290);
    EXPECT_EQ(title.y, 529);
    const auto count = only(c, "共3页 第2页");
    EXPECT_EQ(count.x, 4509 - 10 * 92);
    EXPECT_EQ(count.y, kPageCountY);
}

TEST(RecordSheet, InformationRowsWithoutBatchBlock) {
    SheetFixture f;
    textToField("G017", f.member.memberName);
    textToField("一号楼", f.project.projectName);
    textToField("SJY-800B", f.project.instrumentNumber);
    textToField("2024年5月1日", f.project.constructionDate);
    textToField("M7.5", f.project.strengthGrade);
    f.project.testTemperature = 18;
    f.project.mortarCode = 0x02;
    const RecordingCanvas c = f.draw();

    struct Expected {
        const char* text;
        int x, y;
    };
    const Expected rows[] = {
        {"构件名称及编号：G017", 2479 + 92, kFirstInfoRowY},
        {"工程名称：一号楼", 450 + 92, kFirstInfoRowY},
        {"贯入仪（型号 及编号）：SJY-800B", 542, kFirstInfoRowY + 184},
        {"施工日期：2024年5月1日", 2571, kFirstInfoRowY + 184},
        {"砂浆种类：砌筑砂浆", 542, kFirstInfoRowY + 368},
        {"砂浆品种：水泥砂浆", 2571, kFirstInfoRowY + 368},
        {"强度等级：M7.5", 542, kFirstInfoRowY + 552},
        {"检测温度：18 ℃", 2571, kFirstInfoRowY + 552},
        {"检测依据：JGJ/T 136-2017", 542, kFirstInfoRowY + 736},
    };
    for (const auto& r : rows) {
        const auto t = only(c, QString::fromUtf8(r.text));
        EXPECT_EQ(t.x, r.x) << r.text;
        EXPECT_EQ(t.y, r.y) << r.text;
    }
    // Box: top rule h/2 above the first row, sides and bottom 3h/2 below the last row.
    EXPECT_EQ(countRules(c, 450, kFirstInfoRowY - 46, 4509, kFirstInfoRowY - 46), 1);
    EXPECT_EQ(countRules(c, 450, kInfoBoxFootY, 450, kFirstInfoRowY - 46), 1);
    EXPECT_EQ(countRules(c, 4509, kInfoBoxFootY, 4509, kFirstInfoRowY - 46), 1);
    EXPECT_EQ(countRules(c, 450, kInfoBoxFootY, 4509, kInfoBoxFootY), 1);
}

TEST(RecordSheet, MortarNamesForEveryCode) {
    struct Case {
        std::uint8_t code;
        const char* kind;
        const char* variety;
    };
    const Case cases[] = {
        {0x00, "砌筑砂浆", "预拌砂浆"},         {0x01, "砌筑砂浆", "水泥混合砂浆"},
        {0x02, "砌筑砂浆", "水泥砂浆"},         {0x10, "水泥抹灰砂浆", "预拌砂浆"},
        {0x11, "水泥抹灰砂浆", "现场拌制砂浆"}, {0x13, "水泥抹灰砂浆", "预拌砂浆"},
        {0x12, "水泥抹灰砂浆", "预拌砂浆"},     {0x21, "砌筑砂浆", "水泥混合砂浆"},
        {0x25, "砌筑砂浆", "预拌砂浆"},         {0xF2, "砌筑砂浆", "水泥砂浆"},
    };
    for (const auto& k : cases) {
        SheetFixture f;
        f.project.mortarCode = k.code;
        const RecordingCanvas c = f.draw();
        EXPECT_EQ(c.find(QString("砂浆种类：") + k.kind).size(), 1u) << int(k.code);
        EXPECT_EQ(c.find(QString("砂浆品种：") + k.variety).size(), 1u) << int(k.code);
    }
}

TEST(RecordSheet, StandardIndexOutsideTheListPrintsNoName) {
    SheetFixture f;
    f.project.basisIndex = 200;
    const RecordingCanvas c = f.draw();
    EXPECT_EQ(only(c, "检测依据：").y, kFirstInfoRowY + 736);
}

struct BatchCase {
    const char* name;
    int page;
    bool mode;
    BatchResults values;
    bool block;
};

TEST(RecordSheet, BatchBlockOnlyOnPageOneAndOnlyWhenItsConditionsHold) {
    const BatchResults good{6.0, 1.414, 5.0, 0.2357, 5.46};
    const BatchCase cases[] = {
        {"page 1 in batch mode", 1, true, good, true},
        {"page 2 in batch mode", 2, true, good, false},
        {"batch mode off", 1, false, good, false},
        {"mean 0", 1, true, {0.0, 1.414, 5.0, 0.2357, 5.46}, false},
        {"minimum 0", 1, true, {6.0, 1.414, 0.0, 0.2357, 5.46}, false},
        {"deviation negative", 1, true, {6.0, -0.01, 5.0, 0.2357, 5.46}, false},
        {"deviation 0", 1, true, {6.0, 0.0, 5.0, 0.0, 5.46}, true},
        {"results reset", 1, true, BatchResults{}, false},
    };
    for (const auto& k : cases) {
        SheetFixture f;
        f.batchMode = k.mode;
        f.batch = k.values;
        const RecordingCanvas c = f.draw(k.page);
        EXPECT_EQ(c.find("批检测信息：").size(), k.block ? 1u : 0u) << k.name;
        // Without the block the first information row lies 2h below the page count.
        const int firstRow = startingWith(c, "构件名称及编号：").y;
        EXPECT_EQ(firstRow == kFirstInfoRowY, !k.block) << k.name;
    }
}

TEST(RecordSheet, BatchBlockLines) {
    SheetFixture f;
    f.useBatch(0.2357);
    const RecordingCanvas c = f.draw();
    const int top = kPageCountY + 184; // 1079
    EXPECT_EQ(only(c, "批检测信息：").y, top);
    EXPECT_EQ(only(c, "批检测信息：").x, 542);
    EXPECT_EQ(only(c, "强度平均值：6.0 MPa").y, top + 184);
    EXPECT_EQ(only(c, "标准差：1.41").x, 2571);
    EXPECT_EQ(only(c, "强度最小值：5.0 MPa").y, top + 368);
    EXPECT_EQ(only(c, "变异系数：0.24").y, top + 368);
    EXPECT_EQ(only(c, "抗压强度推定值：5.5 MPa").y, top + 552);
    EXPECT_EQ(countRules(c, 450, top - 46, 4509, top - 46), 1);
    // Side rules from 3h/2 below the last line up to the block's top.
    EXPECT_EQ(countRules(c, 450, top + 552 + 138, 450, top - 46), 1);
    EXPECT_EQ(countRules(c, 4509, top + 552 + 138, 4509, top - 46), 1);
    EXPECT_EQ(startingWith(c, "构件名称及编号：").y, top + 736);
}

TEST(RecordSheet, EstimateLineDependsOnTheUnroundedCoefficient) {
    struct Case {
        double cv;
        const char* cvText;
        bool estimate;
    };
    const Case cases[] = {
        {0.29, "变异系数：0.29", true},
        {0.30, "变异系数：0.30", true},
        {0.31, "变异系数：0.31", false},
        {0.3004, "变异系数：0.30", false},
    };
    for (const auto& k : cases) {
        for (std::uint8_t code : {std::uint8_t(0x01), std::uint8_t(0x10)}) {
            SheetFixture f;
            f.project.mortarCode = code;
            f.useBatch(k.cv);
            const RecordingCanvas c = f.draw();
            const int minimumLine = only(c, "强度最小值：5.0 MPa").y;
            EXPECT_EQ(c.find(QString::fromUtf8(k.cvText)).size(), 1u) << k.cv;
            EXPECT_EQ(c.find("抗压强度推定值：5.5 MPa").size(), k.estimate ? 1u : 0u) << k.cv;
            const int lastLine = k.estimate ? minimumLine + 184 : minimumLine;
            EXPECT_EQ(countRules(c, 450, lastLine + 138, 450, kPageCountY + 184 - 46), 1) << k.cv;
            EXPECT_EQ(startingWith(c, "构件名称及编号：").y, lastLine + 184) << k.cv;
        }
    }
}

// A name of n Chinese characters; the label "工程名称：" is 460 wide, so a piece is cut
// once it is wider than HW − 460 − 2h = 1385, that is at 16 characters.
QString chineseName(int n) {
    const QString pool = QStringLiteral("甲乙丙丁戊己庚辛壬癸子丑寅卯辰巳午未申酉");
    QString s;
    for (int i = 0; i < n; ++i)
        s += pool[i % pool.size()];
    return s;
}

TEST(RecordSheet, ProjectNameWrapsAndPushesLaterBlocksDown) {
    struct Case {
        int chars;
        std::vector<int> pieces; // characters per drawn line; empty = one unwrapped text
    };
    const Case cases[] = {
        {16, {}},          // 21 × 92 = 1932 < HW − h = 1937 fits
        {17, {16, 1}},     // wraps
        {40, {16, 16, 8}}, // three lines
        {32, {16, 16}},    // the last cut ends the name: y still moves twice
    };
    for (const auto& k : cases) {
        SheetFixture f;
        const QString name = chineseName(k.chars);
        textToField(name.toStdString(), f.project.projectName);
        const RecordingCanvas c = f.draw();
        if (k.pieces.empty()) {
            EXPECT_EQ(only(c, "工程名称：" + name).x, 542);
            EXPECT_EQ(startingWith(c, "贯入仪").y, kFirstInfoRowY + 184);
            continue;
        }
        const auto label = only(c, "工程名称：");
        EXPECT_EQ(label.x, 450);
        EXPECT_EQ(label.y, kFirstInfoRowY);
        int start = 0;
        for (std::size_t line = 0; line < k.pieces.size(); ++line) {
            const auto piece = only(c, name.mid(start, k.pieces[line]));
            EXPECT_EQ(piece.x, 450 + 460) << k.chars;
            EXPECT_EQ(piece.y, kFirstInfoRowY + 138 * int(line)) << k.chars;
            start += k.pieces[line];
        }
        const int cuts = k.chars / 16;
        EXPECT_EQ(startingWith(c, "贯入仪").y, kFirstInfoRowY + 138 * cuts + 184) << k.chars;
        EXPECT_EQ(only(c, "备  注").y, kRemarksTopY + 184 + 138 * cuts) << k.chars;
    }
}

TEST(RecordSheet, TableHeadingAndRules) {
    SheetFixture f;
    const RecordingCanvas c = f.draw();
    const int ya = kInfoBoxFootY + 46;
    const int yc = kInfoBoxFootY + 230;
    struct Expected {
        const char* text;
        std::vector<int> xs;
        int y;
    };
    const Expected heading[] = {
        {"序", {496, 2525}, ya},
        {"号", {496, 2525}, yc},
        {"不平整度", {757, 2787}, ya},
        {"读数(mm)", {770, 2800}, yc},
        {"贯入深度测量", {1280, 3310}, ya},
        {"表读数(mm)", {1341, 3402}, yc},
        {"贯入深度", {1987, 4017}, ya},
        {"(mm)", {2092, 4122}, yc},
    };
    for (const auto& e : heading) {
        const auto found = c.find(QString::fromUtf8(e.text));
        ASSERT_EQ(found.size(), 2u) << e.text;
        EXPECT_EQ(found[0].x, e.xs[0]) << e.text;
        EXPECT_EQ(found[1].x, e.xs[1]) << e.text;
        EXPECT_EQ(found[0].y, e.y) << e.text;
    }
    // Outline of the heading as one path, and a vertical rule at each column border.
    EXPECT_EQ(countRules(c, 4509, kInfoBoxFootY, 4509, kHeadingFootY), 1);
    EXPECT_EQ(countRules(c, 4509, kHeadingFootY, 450, kHeadingFootY), 1);
    EXPECT_EQ(countRules(c, 450, kHeadingFootY, 450, kInfoBoxFootY), 1);
    for (int x : {634, 1249, 1864, 2479, 2663, 3278, 3893}) {
        EXPECT_EQ(countRules(c, x, kInfoBoxFootY, x, kHeadingFootY), 1) << x;
        for (int r = 0; r < 8; ++r) {
            const int top = kHeadingFootY + 184 * r;
            EXPECT_EQ(countRules(c, x, top, x, top + 184), 1) << x << " row " << r;
        }
    }
}

TEST(RecordSheet, ReadingsAreCentredAndMissingOnesLeaveCellsEmpty) {
    SheetFixture f;
    f.member.unevenness[0] = 1.25f; // point 1, left half
    f.member.gaugeReading[0] = 5.5f;
    f.member.depth[0] = 4.25f;
    f.member.unevenness[8] = 0.125f; // point 9, right half: 0.1250 goes to the even digit
    f.member.depth[15] = 12.345f;    // point 16: 12.3450 also goes to the even digit
    const RecordingCanvas c = f.draw();
    const int row0 = kHeadingFootY + 46;
    const int row7 = kHeadingFootY + 7 * 184 + 46;
    struct Expected {
        const char* text;
        int x, y;
    };
    // "1.25" is 184 wide: centred on cw/2 + L + 2h = 941 (left) and trunc(184 + 2479.5 +
    // 307 − 92) (right).
    const Expected cells[] = {
        {"1.25", 941 - 92, row0},
        {"5.50", 1556 - 92, row0},
        {"4.25", 2171 - 92, row0},
        {"0.12", 2878, row0},
        {"12.34", 184 + 2479 + 1537 - 115, row7},
    };
    for (const auto& e : cells) {
        const auto t = only(c, e.text);
        EXPECT_EQ(t.x, e.x) << e.text;
        EXPECT_EQ(t.y, e.y) << e.text;
    }
    // Point numbers in every row, nothing else where values are missing.
    for (int p = 1; p <= 16; ++p) {
        const auto number = onlyBetween(c, QString::number(p), kHeadingFootY, kRemarksTopY);
        const int half = p <= 8 ? 450 : 2479;
        EXPECT_EQ(number.x, half + 92 - QString::number(p).size() * 23) << p;
        EXPECT_EQ(number.y, kHeadingFootY + 184 * ((p - 1) % 8) + 46) << p;
    }
    int tableTexts = 0;
    for (const auto& t : c.texts)
        if (t.y > kHeadingFootY && t.y < kRemarksTopY)
            ++tableTexts;
    EXPECT_EQ(tableTexts, 16 + 5);
}

TEST(RecordSheet, EmptyMemberPrintsDashesInTheFormulas) {
    SheetFixture f;
    const RecordingCanvas c = f.draw();
    EXPECT_EQ(c.find(" = -- (mm)").size(), 1u);
    EXPECT_EQ(c.find(" = -- (MPa)").size(), 1u);
}

TEST(RecordSheet, RemarksFitOrWrapFromTheTopOfTheirBox) {
    SheetFixture f;
    textToField("东侧墙体", f.member.remark);
    RecordingCanvas c = f.draw();
    EXPECT_EQ(only(c, "备  注").x, 450 + 184);
    EXPECT_EQ(only(c, "备  注").y, kRemarksTopY + 184);
    EXPECT_EQ(only(c, "东侧墙体").x, 450 + 736);
    EXPECT_EQ(only(c, "东侧墙体").y, kRemarksTopY + 184);
    EXPECT_EQ(countRules(c, 450 + 644, kRemarksTopY, 450 + 644, kRemarksTopY + 460), 1);

    // 36 characters (3312) no longer fit R − 9h − L = 3231: the four-space indent and 33
    // characters make a line, as 184 + 33 × 92 > 4059 − 920.
    const QString remark = chineseName(36);
    textToField(remark.toStdString(), f.member.remark);
    c = f.draw();
    EXPECT_EQ(only(c, "    " + remark.left(33)).y, kRemarksTopY + 92);
    EXPECT_EQ(only(c, remark.mid(33)).y, kRemarksTopY + 92 + 138);
    EXPECT_EQ(only(c, remark.mid(33)).x, 450 + 736);
}

TEST(RecordSheet, LongRemarksRunIntoTheFormulaBox) {
    // On a narrow page (L 200, R 2000) a line holds little, so 60 characters need seven
    // lines; the box stays 5h high and the text runs on below it.
    SheetFixture f;
    const QString remark = chineseName(60);
    textToField(remark.toStdString(), f.member.remark);
    const RecordingCanvas c = f.draw(1, 600, 2200, kA4Height600);
    const auto first = only(c, "    " + remark.left(8));
    const auto last = only(c, remark.mid(58));
    const int remarksTop = first.y - 92;
    EXPECT_EQ(last.y, remarksTop + 92 + 6 * 138);
    EXPECT_GT(last.y, remarksTop + 5 * 92);
    EXPECT_EQ(countRules(c, 200, remarksTop + 460, 200, remarksTop + 460 + 552), 1);
}

TEST(RecordSheet, FormulaLinesPlaceEveryPiece) {
    SheetFixture f;
    f.member.meanDepth = 4.0f;
    f.member.memberEstimate = 7.25f;
    const RecordingCanvas c = f.draw();
    const int y1 = kFormulaTopY + 92;
    const int y2 = kFormulaTopY + 368;
    struct Expected {
        const char* text;
        int points;
        int x, y;
    };
    const Expected pieces[] = {
        {"贯入深度平均值 m", 11, 542, y1},
        {"dj", 7, 1288, y1 + 43},
        {"=", 11, 1365, y1},
        {"1", 11, 1472, y1 - 46 - 20},
        {"∑", 14, 1564, y1 - 12},
        {"i=1", 7, 1579, y1 + 104},
        {"d", 11, 1681, y1},
        {"i", 7, 1727, y1 + 43},
        {" = 4.00 (mm)", 11, 1756, y1},
        {"砂浆抗压强度推定值 f", 11, 542, y2},
        {"c", 7, 1472, y2 - 9},
        {"2,e", 7, 1472, y2 + 61},
        {" = 7.2 (MPa)", 11, 1579, y2}, // the exact tie 7.25 goes to the even digit
    };
    for (const auto& e : pieces) {
        const auto t = onlyBetween(c, QString::fromUtf8(e.text), kFormulaTopY, kFormulaTopY + 552);
        EXPECT_EQ(t.points, e.points) << e.text;
        EXPECT_EQ(t.x, e.x) << e.text;
        EXPECT_EQ(t.y, e.y) << e.text;
    }
    std::vector<RecordingCanvas::Text> tens;
    for (const auto& t : c.find("10"))
        if (t.y > kFormulaTopY)
            tens.push_back(t);
    ASSERT_EQ(tens.size(), 2u);
    EXPECT_EQ(tens[0].points, 11); // denominator
    EXPECT_EQ(tens[0].x, 1449);
    EXPECT_EQ(tens[0].y, y1 + 46 + 20);
    EXPECT_EQ(tens[1].points, 7); // upper limit of the sum
    EXPECT_EQ(tens[1].x, 1593);
    EXPECT_EQ(tens[1].y, y1 - 12 - 58);
    EXPECT_EQ(countRules(c, 1426, y1 + 46, 1564, y1 + 46), 1); // fraction bar
    EXPECT_EQ(countRules(c, 450, kFormulaTopY, 450, kFormulaTopY + 552), 1);
}

TEST(RecordSheet, EstimatePrintsAsTheDialogShowsIt) {
    // A masonry member of strength 5.0 stores the estimate 4.55 (as float): fixed to
    // 4.5500 and rounded half to even it is 4.6, on screen and on paper alike.
    SheetFixture f;
    f.member.memberEstimate = 4.55f;
    EXPECT_EQ(f.draw().find(" = 4.6 (MPa)").size(), 1u);
    EXPECT_EQ(f.draw().find(" = 4.5 (MPa)").size(), 0u);
    f.member.memberEstimate = 4.65f; // stored just above 4.65, still the even digit
    EXPECT_EQ(f.draw().find(" = 4.6 (MPa)").size(), 1u);
}

TEST(RecordSheet, SignatureLine) {
    SheetFixture f;
    textToField("张三", f.project.reviewer);
    textToField("李四", f.project.chiefInspector);
    textToField("2024年5月3日", f.member.testDate);
    const RecordingCanvas c = f.draw();
    const int yS = kFormulaTopY + 736;
    EXPECT_EQ(only(c, "复核：张三").x, 450);
    EXPECT_EQ(only(c, "复核：张三").y, yS);
    EXPECT_EQ(only(c, "主检：李四").x, 15 * 92);
    EXPECT_EQ(only(c, "主检：李四").y, yS);
    EXPECT_EQ(only(c, "检测日期：2024年5月3日").x, 4509 - 15 * 92);
    EXPECT_EQ(only(c, "检测日期：2024年5月3日").y, yS + 276);
}

// Offsets a doubled page keeps from twice the original: the fixed gaps of the formulas.
struct FixedOffset {
    const char* text;
    int points;
    int dx, dy; // doubled = 2 × original − d
};

TEST(RecordSheet, DoublingTheResolutionDoublesAllButTheFixedOffsets) {
    // At 6048 dpi the recording metrics make every division of the layout exact (h 924,
    // small 588, sign 1176, title 1848), so doubling shows up unblurred by truncation.
    SheetFixture f;
    f.settings.printHeader = 1;
    textToField("页眉", f.settings.headerText);
    f.settings.printFooter = 1;
    textToField("页脚", f.settings.footerText);
    f.settings.printPageNumber = 1;
    f.settings.pageNumberPosition = 4;
    f.useBatch(0.2357);
    f.member.meanDepth = 4.0f;
    f.member.memberEstimate = 7.0f;
    f.member.unevenness[3] = 1.5f;
    textToField(chineseName(40).toStdString(), f.project.projectName);
    textToField(chineseName(50).toStdString(), f.member.remark);
    const RecordingCanvas base = f.draw(1, 6048, 49720, 70400);
    const RecordingCanvas twice = f.draw(1, 12096, 99440, 140800);

    const FixedOffset offsets[] = {
        {"dj", 7, 10, 0},
        {"=", 11, 10, 0},
        {"1", 11, 10, -20},
        {"10", 11, 10, 20},
        {"∑", 14, 10, 0},
        {"10", 7, 10, 0},
        {"i=1", 7, 10, 0},
        {"d", 11, 10, 0},
        {"i", 7, 10, 0},
        {" = 4.00 (mm)", 11, 10, 0},
        {"c", 7, 10, 0},
        {"2,e", 7, 10, 0},
        {" = 7.0 (MPa)", 11, 30, 0},
    };
    const int formulaArea = only(base, "备  注").y;
    ASSERT_EQ(base.texts.size(), twice.texts.size());
    for (std::size_t i = 0; i < base.texts.size(); ++i) {
        const auto& a = base.texts[i];
        const auto& b = twice.texts[i];
        ASSERT_EQ(a.text, b.text);
        int dx = 0, dy = 0;
        for (const auto& o : offsets)
            if (a.text == QString::fromUtf8(o.text) && a.points == o.points && a.y > formulaArea) {
                dx = o.dx;
                dy = o.dy;
            }
        EXPECT_EQ(b.x, 2 * a.x - dx) << a.text.toStdString();
        EXPECT_EQ(b.y, 2 * a.y - dy) << a.text.toStdString();
    }
    ASSERT_EQ(base.rules.size(), twice.rules.size());
    int fractionBars = 0;
    for (std::size_t i = 0; i < base.rules.size(); ++i) {
        const auto& a = base.rules[i];
        const auto& b = twice.rules[i];
        const bool bar = b.x1 == 2 * a.x1 - 10;
        fractionBars += bar ? 1 : 0;
        const int dx = bar ? 10 : 0;
        EXPECT_EQ(b.x1, 2 * a.x1 - dx) << i;
        EXPECT_EQ(b.x2, 2 * a.x2 - dx) << i;
        EXPECT_EQ(b.y1, 2 * a.y1) << i;
        EXPECT_EQ(b.y2, 2 * a.y2) << i;
    }
    EXPECT_EQ(fractionBars, 1);
}

} // namespace
} // namespace morvik
