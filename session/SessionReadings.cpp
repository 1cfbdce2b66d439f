// The reading grid of the current member and the mortar kind and variety that every
// member is evaluated under.

#include "core/Evaluation.h"
#include "core/ReadingText.h"
#include "core/ResultText.h"
#include "core/Vocabulary.h"
#include "session/Columns.h"
#include "session/Session.h"

namespace morvik {

namespace {

const char* const kTooFewPointsText = "请输入7组以上不为0的数据！";

} // namespace

void Session::onReadingEdited(int row, int column, const std::string& text) {
    if (currentMember_ < 0 || row < 1 || row > kPointCount || column < kUnevennessColumn ||
        column > kDepthColumn)
        return;
    const int k = row - 1;
    const PointValues before = pointValues(currentRecord_, k);

    const ReadingCheck check = checkReadingText(text);
    if (check.message)
        view_.showMessage(*check.message);

    float* reading = column == kUnevennessColumn ? &currentRecord_.unevenness[k]
                     : column == kGaugeColumn    ? &currentRecord_.gaugeReading[k]
                                                 : nullptr;
    if (check.status == ReadingStatus::Valid) {
        if (reading) {
            *reading = static_cast<float>(check.value);
            view_.setReadingCellText(row, column, depthText(*reading));
        }
    } else {
        if (reading)
            *reading = kMissing;
        view_.setReadingCellText(row, column, std::string());
    }

    view_.setReadingCellText(
        row, kDepthColumn,
        updatePointDepth(currentRecord_, k) ? depthText(currentRecord_.depth[k]) : std::string());
    view_.repaintReadingGrid();

    evaluateMember(currentRecord_, project_.mortarCode);
    showMemberResults(currentRecord_, currentMember_);
    writeBack();
    recordReading(k, before);
    followBatch();
}

void Session::onCalculate() {
    int counted = 0;
    for (int k = 0; k < kPointCount; ++k) {
        if (updatePointDepth(currentRecord_, k)) {
            view_.setReadingCellText(k + 1, kDepthColumn, depthText(currentRecord_.depth[k]));
            ++counted;
        }
    }
    if (counted < kMinUsablePoints) {
        view_.showMessage(Message{kTooFewPointsText, kCaptionNotice, MessageIcon::Information});
        return;
    }
    evaluateMember(currentRecord_, project_.mortarCode);
}

void Session::onKindChanged(int kindIndex) {
    if (kindIndex < 0 || kindIndex >= static_cast<int>(kindList().size()))
        return; // a list being emptied reports no entry
    const std::uint8_t codeBefore = project_.mortarCode;
    applyCode(packMortarCode(kindIndex, 0)); // also refills 砂浆品种 for the new kind
    recordCode(codeBefore);
    followBatch();
}

void Session::onVarietyChanged(int varietyIndex) {
    const int kind = mortarKind(project_.mortarCode);
    const int varieties = kind < static_cast<int>(varietyLists().size())
                              ? static_cast<int>(varietyLists()[kind].size())
                              : 0;
    if (varietyIndex < 0 || varietyIndex >= varieties)
        return;
    const std::uint8_t codeBefore = project_.mortarCode;
    project_.mortarCode = packMortarCode(kind, varietyIndex);
    recomputeAllMembers();
    if (currentMember_ >= 0)
        currentRecord_ = members_[currentMember_];
    recordCode(codeBefore);
    followBatch();
}

void Session::recomputeAllMembers() {
    // Each column goes to the list in one step: cell by cell, a large set would take
    // several frames.
    std::vector<std::string> depths;
    std::vector<std::string> estimates;
    depths.reserve(members_.size());
    estimates.reserve(members_.size());
    for (ShaJiang_GouJian_Struct& record : members_) {
        evaluateMember(record, project_.mortarCode);
        MemberListTexts texts = memberListTexts(record);
        depths.push_back(std::move(texts.meanDepth));
        estimates.push_back(std::move(texts.estimate));
    }
    if (currentMember_ >= 0 && currentMember_ < memberCount())
        showResultFields(memberResultTexts(members_[currentMember_]));
    view_.setListColumnTexts(kListMeanDepthColumn, 0, depths);
    view_.setListColumnTexts(kListEstimateColumn, 0, estimates);
}

} // namespace morvik
