#include "ExportTable.h"

#include "ShownProject.h"
#include "core/GbkText.h"
#include "core/ResultText.h"
#include "core/Vocabulary.h"

namespace morvik::cli {

namespace {

// A stored reading or depth as the reading grid shows it: empty when it is missing.
Cell readingCell(float value) {
    return isPresent(value) ? shownNumberCell(depthText(value)) : Cell{};
}

std::vector<std::string> makeMemberHeadings() {
    std::vector<std::string> headings{"序号", "构件编号", "检测日期", "备注"};
    for (int k = 1; k <= kPointCount; ++k) {
        const std::string point = std::to_string(k);
        headings.push_back("不平整读数" + point);
        headings.push_back("贯入仪读数" + point);
        headings.push_back("贯入深度" + point);
    }
    headings.push_back("贯入深度平均值 (mm)");
    headings.push_back("砂浆抗压强度换算值 (MPa)");
    headings.push_back("构件强度推定值 (MPa)");
    return headings;
}

} // namespace

int Cell::decimals() const {
    const std::size_t point = text.find('.');
    return kind != Kind::Number || point == std::string::npos
               ? 0
               : static_cast<int>(text.size() - point - 1);
}

Cell textCell(std::string text) {
    return Cell{Cell::Kind::Text, std::move(text)};
}

Cell shownNumberCell(std::string shown) {
    if (shown == kNoValueText)
        return Cell{};
    return Cell{Cell::Kind::Number, std::move(shown)};
}

const std::vector<std::string>& memberHeadings() {
    static const std::vector<std::string> headings = makeMemberHeadings();
    return headings;
}

void memberRow(int rowNumber, const ShaJiang_GouJian_Struct& member, std::vector<Cell>& cells) {
    cells.clear();
    cells.push_back(shownNumberCell(std::to_string(rowNumber)));
    cells.push_back(textCell(fieldToText(member.memberName)));
    cells.push_back(textCell(fieldToText(member.testDate)));
    cells.push_back(textCell(fieldToText(member.remark)));
    for (int k = 0; k < kPointCount; ++k) {
        cells.push_back(readingCell(member.unevenness[k]));
        cells.push_back(readingCell(member.gaugeReading[k]));
        cells.push_back(readingCell(member.depth[k]));
    }
    const MemberResultTexts shown = memberResultTexts(member);
    cells.push_back(shownNumberCell(shown.meanDepth));
    cells.push_back(shownNumberCell(shown.strength));
    cells.push_back(shownNumberCell(shown.memberEstimate));
}

LabelledCells projectCells(ProjectInfo project) {
    asShownAfterOpening(project);
    return {
        {"工程名称", textCell(fieldToText(project.projectName))},
        {"仪器编号", textCell(fieldToText(project.instrumentNumber))},
        {"检测温度", shownNumberCell(std::to_string(project.testTemperature))},
        {"检测依据", textCell(standardsList()[project.basisIndex])},
        {"施工日期", textCell(fieldToText(project.constructionDate))},
        {"砂浆种类", textCell(kindText(project.mortarCode))},
        {"砂浆品种", textCell(varietyText(project.mortarCode))},
        {"强度等级", textCell(fieldToText(project.strengthGrade))},
        {"复核", textCell(fieldToText(project.reviewer))},
        {"主检", textCell(fieldToText(project.chiefInspector))},
    };
}

LabelledCells batchCells(const BatchOutcome& outcome) {
    const BatchTexts& t = outcome.texts;
    return {
        {"平均值 (MPa)", shownNumberCell(t.mean)},
        {"标准差 (MPa)", shownNumberCell(t.stdDev)},
        {"最小值 (MPa)", shownNumberCell(t.min)},
        {"变异系数", shownNumberCell(t.cv)},
        {"推定值 (MPa)", shownNumberCell(t.estimate)},
        {kCaptionNotice, outcome.message ? textCell(outcome.message->text) : Cell{}},
    };
}

BatchOutcome exportBatch(const std::vector<const ShaJiang_GouJian_Struct*>& members,
                         const ProjectInfo& project) {
    ProjectInfo shown = project;
    asShownAfterOpening(shown);
    return evaluateBatch(members, shown.mortarCode, kBatchMissing);
}

} // namespace morvik::cli
