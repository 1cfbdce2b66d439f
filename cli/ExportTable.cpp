#include "ExportTable.h"

#include "core/GbkText.h"
#include "core/ResultText.h"
#include "core/ShownProject.h"
#include "core/Vocabulary.h"
#include <cstring>

namespace morvik::cli {

namespace {

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

const std::string& ReadingTexts::text(float value) {
    static const std::string none;
    if (!isPresent(value))
        return none;
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    // Fibonacci hashing spreads nearby bit patterns over the whole table.
    constexpr std::uint32_t kGoldenRatio = 2654435769u;
    Slot& slot = slots_[(bits * kGoldenRatio) >> (32 - kSlotBits)];
    if (!slot.filled || slot.bits != bits) {
        slot.bits = bits;
        slot.filled = true;
        slot.text = depthText(value);
    }
    return slot.text;
}

void writeMemberRow(int rowNumber, const ShaJiang_GouJian_Struct& member, ReadingTexts& readings,
                    RowSink& sink) {
    sink.number(std::to_string(rowNumber));
    sink.text(fieldToText(member.memberName));
    sink.text(fieldToText(member.testDate));
    sink.text(fieldToText(member.remark));
    for (int k = 0; k < kPointCount; ++k) {
        sink.number(readings.text(member.unevenness[k]));
        sink.number(readings.text(member.gaugeReading[k]));
        sink.number(readings.text(member.depth[k]));
    }
    const MemberResultTexts shown = memberResultTexts(member);
    sink.number(shown.meanDepth);
    sink.number(shown.strength);
    sink.number(shown.memberEstimate);
}

LabelledCells projectCells(ProjectInfo project) {
    applyShownDefaults(project);
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
    applyShownDefaults(shown);
    return evaluateBatch(members, shown.mortarCode, kBatchMissing);
}

} // namespace morvik::cli
