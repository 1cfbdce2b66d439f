// 批检测: batch mode and the five batch results over the ticked members.

#include "session/Session.h"

namespace morvik {

namespace {

const char* const kNothingToBatchText = "请选择需要批处理的构件。";

} // namespace

void Session::toggleBatchMode(bool checked) {
    batchMode_ = checked;
    if (batchMode_) {
        const std::vector<int> ticked = checkedRows();
        if (ticked.empty()) {
            view_.showMessage(Message{kNothingToBatchText, kCaptionNotice, MessageIcon::Warning});
            batchMode_ = false;
            view_.setBatchModeChecked(false);
            resetBatchResults();
            return;
        }
        evaluateBatch();
        fillMemberList();
        if (currentMember_ >= 0)
            currentRecord_ = members_[currentMember_];
        // The refilled list comes back without ticks; put the batch's ticks back quietly.
        checkTriggersBatch_ = false;
        for (int row : ticked) {
            checks_[row] = true;
            view_.setListRowChecked(row, true);
        }
        checkTriggersBatch_ = true;
    } else {
        if (currentMember_ >= 0) {
            currentRecord_ = members_[currentMember_];
            showMemberResults(currentRecord_, currentMember_);
        }
        resetBatchResults();
    }
}

BatchOutcome Session::tickedBatch() {
    writeBack();
    std::vector<const ShaJiang_GouJian_Struct*> ticked;
    for (int row : checkedRows())
        ticked.push_back(&members_[row]);
    return morvik::evaluateBatch(ticked, project_.mortarCode, batch_.batchEstimate);
}

void Session::evaluateBatch() {
    showBatch(tickedBatch());
}

void Session::followBatch() {
    if (!batchMode_)
        return;
    BatchOutcome outcome = tickedBatch();
    outcome.message.reset();
    showBatch(outcome);
}

void Session::resetBatchResults() {
    showBatch(morvik::resetBatchResults());
}

void Session::showBatch(const BatchOutcome& outcome) {
    batch_ = outcome.values;
    // A masonry batch refused for its coefficient of variation still shows its other four
    // values before the warning; every other message comes before the fields are reset.
    const bool refusedAfterValues = outcome.message && isPresent(outcome.values.batchMean);
    if (outcome.message && !refusedAfterValues)
        view_.showMessage(*outcome.message);
    view_.setResultText(ResultField::BatchMean, outcome.texts.mean);
    view_.setResultText(ResultField::BatchMin, outcome.texts.min);
    view_.setResultText(ResultField::BatchStdDev, outcome.texts.stdDev);
    view_.setResultText(ResultField::BatchCv, outcome.texts.cv);
    if (refusedAfterValues)
        view_.showMessage(*outcome.message);
    view_.setResultText(ResultField::BatchEstimate, outcome.texts.estimate);
}

} // namespace morvik
