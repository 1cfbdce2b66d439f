// The member list: adding, deleting, ticking, switching the current member, and the
// refreshes of the list, the reading grid and the result fields.

#include "core/Evaluation.h"
#include "core/GbkText.h"
#include "core/ResultText.h"
#include "session/Columns.h"
#include "session/Session.h"
#include <algorithm>
#include <cstdio>

namespace morvik {

namespace {

const char* const kCaptionWarning = "警告";
const char* const kNothingCheckedText = "请选中要删除的构件！";
const char* const kAllCheckedText = "不能全部删除！";
const char* const kConfirmDeleteText = "确定要删除选中的构件吗？";

std::string rowNumberText(int row) {
    return std::to_string(row + 1);
}

// The grid shows a stored reading as it is, widened to double, without rounding first,
// with a decimal point whatever the desktop's locale.
std::string storedReadingText(float value) {
    return fixedText(static_cast<double>(value), 2);
}

} // namespace

void Session::addMember() {
    view_.commitReadingEdit(); // a value still being typed belongs to the member it was typed for
    const int previous = currentMember_;
    appendMember();
    recordAddition(previous);
    followBatch();
}

void Session::appendMember() {
    writeBack();
    const int n = memberCount();
    ShaJiang_GouJian_Struct record = newMemberRecord(n + 1);
    evaluateMember(record, project_.mortarCode);
    view_.appendListRow(ListRowTexts{rowNumberText(n), fieldToText(record.memberName), "", ""});
    members_.push_back(record);
    checks_.push_back(false);

    selectionSwitches_ = false;
    currentRecord_ = record;
    currentMember_ = n;
    view_.selectListRow(n);
    view_.focusList();
    selectionSwitches_ = true;

    showMemberInfo();
    showMemberReadings();
    showMemberResults(currentRecord_, n);
}

void Session::deleteCheckedMembers() {
    view_.commitReadingEdit();
    const int n = memberCount();
    const int checked = static_cast<int>(checkedRows().size());
    if (n == 0 || checked == 0) {
        view_.showMessage(Message{kNothingCheckedText, kCaptionNotice, MessageIcon::Information});
        return;
    }
    if (checked == n) {
        view_.showMessage(Message{kAllCheckedText, kCaptionNotice, MessageIcon::Information});
        return;
    }
    const Answer answer = view_.showMessage(
        Message{kConfirmDeleteText, kCaptionWarning, MessageIcon::Question}, AskButtons::YesNo);
    if (answer != Answer::Yes && answer != Answer::Ok)
        return;

    const std::vector<int> doomed = checkedRows();
    recordRemoval(doomed);
    removeRows(doomed);
    if (memberCount() == n)
        return;
    renumberList(0);
    currentMember_ = 0;
    currentRecord_ = members_[0];
    showMemberInfo();
    showMemberReadings();
    showMemberResults(currentRecord_, 0);
    view_.selectListRow(0);
    view_.focusList();
    followBatch(); // the deleted members leave the batch
}

void Session::removeRows(const std::vector<int>& rows) {
    view_.removeListRows(rows);
    // One pass over the array: erasing row by row would move the records after each
    // removed row again and again, which freezes the program on large data sets.
    std::size_t kept = 0;
    std::size_t next = 0;
    for (std::size_t row = 0; row < members_.size(); ++row) {
        if (next < rows.size() && static_cast<std::size_t>(rows[next]) == row) {
            ++next;
            continue;
        }
        if (kept != row) {
            members_[kept] = members_[row];
            checks_[kept] = checks_[row];
        }
        ++kept;
    }
    members_.resize(kept);
    checks_.resize(kept);
}

void Session::toggleAllChecks() {
    selectionSwitches_ = false;
    bool target = false;
    for (bool check : checks_)
        if (!check)
            target = true;

    checkTriggersBatch_ = false;
    for (int row = 0; row < memberCount(); ++row) {
        checks_[row] = target;
        view_.setListRowChecked(row, target);
    }
    view_.selectListRow(-1);
    checkTriggersBatch_ = true;
    if (batchMode_ && memberCount() > 0)
        evaluateBatch();

    selectionSwitches_ = true;
    if (memberCount() > 0) {
        view_.selectListRow(0);
        switchToRow(0);
        view_.ensureListRowVisible(0);
    }
}

void Session::onMemberItemChanged(int row, bool becameSelected, bool checkChanged, bool checked) {
    if (row < 0 || row >= memberCount())
        return;
    if (checkChanged)
        checks_[row] = checked;
    if (becameSelected)
        switchToRow(row);
    if (checkChanged && checkTriggersBatch_ && batchMode_)
        evaluateBatch();
}

void Session::switchToRow(int row) {
    if (row == currentMember_)
        return;
    // Ends an open cell edit; it is stored for the member that is still current.
    view_.commitReadingEdit();
    if (!selectionSwitches_ || currentMember_ == -1)
        return;
    writeBack();
    currentMember_ = row;
    currentRecord_ = members_[row];
    showMemberInfo();
    showMemberReadings();
    showMemberResults(currentRecord_, currentMember_);
    // Which member is on screen does not change the batch of the ticked ones.
    if (batchMode_)
        followBatch();
    else
        resetBatchResults();
}

void Session::fillMemberList() {
    view_.clearListRows();
    for (int i = 0; i < memberCount(); ++i)
        view_.appendListRow(rebuiltListRow(i));
    checks_.assign(members_.size(), false);
    checkTriggersBatch_ = false;
    view_.selectListRow(currentMember_);
    view_.focusList();
    checkTriggersBatch_ = true;
}

void Session::showMemberReadings() {
    for (int k = 0; k < kPointCount; ++k) {
        const bool uneven = isPresent(currentRecord_.unevenness[k]);
        const bool gauge = isPresent(currentRecord_.gaugeReading[k]);
        view_.setReadingCellText(k + 1, kUnevennessColumn,
                                 uneven ? storedReadingText(currentRecord_.unevenness[k]) : "");
        view_.setReadingCellText(k + 1, kGaugeColumn,
                                 gauge ? storedReadingText(currentRecord_.gaugeReading[k]) : "");
        view_.setReadingCellText(
            k + 1, kDepthColumn,
            pointHasDepth(currentRecord_, k) ? storedReadingText(currentRecord_.depth[k]) : "");
    }
    view_.repaintReadingGrid();
}

ListRowTexts Session::rebuiltListRow(int row) const {
    const ShaJiang_GouJian_Struct& record = members_[row];
    return {rowNumberText(row), fieldToText(record.memberName), listMeanDepthText(record),
            listEstimateText(record)};
}

void Session::renumberList(int first) {
    std::vector<std::string> numbers;
    numbers.reserve(static_cast<std::size_t>(std::max(memberCount() - first, 0)));
    for (int row = first; row < memberCount(); ++row)
        numbers.push_back(rowNumberText(row));
    view_.setListColumnTexts(kListNumberColumn, first, numbers);
}

void Session::showResultFields(const MemberResultTexts& texts) {
    view_.setResultText(ResultField::MeanDepth, texts.meanDepth);
    view_.setResultText(ResultField::Strength, texts.strength);
    view_.setResultText(ResultField::MemberEstimate, texts.memberEstimate);
}

void Session::showMemberResults(const ShaJiang_GouJian_Struct& record, int index) {
    const MemberResultTexts texts = memberResultTexts(record);
    if (index == currentMember_)
        showResultFields(texts);
    if (index >= 0 && index < memberCount()) {
        view_.setListCellText(index, kListMeanDepthColumn, texts.listMeanDepth);
        view_.setListCellText(index, kListEstimateColumn, texts.listEstimate);
    }
}

} // namespace morvik
