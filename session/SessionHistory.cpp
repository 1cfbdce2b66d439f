// Undo and redo: recording what each change of the data set replaced, and putting it back
// through the same refreshes the commands use, so results, list rows and the batch follow.

#include "session/SessionHistory.h"

#include "core/Evaluation.h"
#include "core/GbkText.h"
#include "core/ResultText.h"
#include "session/Columns.h"
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>

namespace morvik {

namespace {

struct Span {
    std::size_t offset;
    std::size_t size;
};

// The fields the user edits in the project information and in a member.
const Span kProjectFields[] = {
    {offsetof(ProjectInfo, projectName), sizeof ProjectInfo::projectName},
    {offsetof(ProjectInfo, instrumentNumber), sizeof ProjectInfo::instrumentNumber},
    {offsetof(ProjectInfo, testTemperature), sizeof ProjectInfo::testTemperature},
    {offsetof(ProjectInfo, basisIndex), sizeof ProjectInfo::basisIndex},
    {offsetof(ProjectInfo, reviewer), sizeof ProjectInfo::reviewer},
    {offsetof(ProjectInfo, chiefInspector), sizeof ProjectInfo::chiefInspector},
    {offsetof(ProjectInfo, constructionDate), sizeof ProjectInfo::constructionDate},
    {offsetof(ProjectInfo, strengthGrade), sizeof ProjectInfo::strengthGrade},
};
const Span kMemberFields[] = {
    {offsetof(ShaJiang_GouJian_Struct, memberName), sizeof ShaJiang_GouJian_Struct::memberName},
    {offsetof(ShaJiang_GouJian_Struct, testDate), sizeof ShaJiang_GouJian_Struct::testDate},
    {offsetof(ShaJiang_GouJian_Struct, remark), sizeof ShaJiang_GouJian_Struct::remark},
};
// The readings, depths and results of a member, which 清空表格 empties.
constexpr Span kMemberPoints{offsetof(ShaJiang_GouJian_Struct, unevenness),
                             offsetof(ShaJiang_GouJian_Struct, memberEstimate) + sizeof(float) -
                                 offsetof(ShaJiang_GouJian_Struct, unevenness)};

std::string bytesOf(const void* record, const Span& span) {
    return std::string(static_cast<const char*>(record) + span.offset, span.size);
}

void putBytes(void* record, std::size_t offset, const std::string& bytes) {
    std::memcpy(static_cast<char*>(record) + offset, bytes.data(), bytes.size());
}

ListRowTexts listRow(int row, const ShaJiang_GouJian_Struct& record) {
    return {std::to_string(row + 1), fieldToText(record.memberName), listMeanDepthText(record),
            listEstimateText(record)};
}

} // namespace

FieldEditStep::~FieldEditStep() {
    for (const Span& span : kProjectFields)
        session_.recordFieldEdit(-1, &project_, &session_.project_, span.offset, span.size);
    if (member_ >= 0 && member_ == session_.currentMember_)
        for (const Span& span : kMemberFields)
            session_.recordFieldEdit(member_, &record_, &session_.currentRecord_, span.offset,
                                     span.size);
}

// --- recording ---------------------------------------------------------------------------

void Session::recordFieldEdit(int member, const void* before, const void* after, std::size_t offset,
                              std::size_t size) {
    const Span span{offset, size};
    BytesStep step{member, offset, bytesOf(before, span), bytesOf(after, span)};
    if (step.before == step.after)
        return;
    // Typing that came back to the text it started from leaves no step; where that is
    // also the saved text, the set is as saved again.
    if (history_.pushTyping(std::move(step)) == UndoHistory::Typed::Dropped && history_.atSaved())
        dataModified_ = false;
}

void Session::recordReading(int point, const PointValues& before) {
    const PointValues after = pointValues(currentRecord_, point);
    if (!samePoint(before, after))
        history_.push(ReadingStep{currentMember_, point, before, after});
}

void Session::recordCode(std::uint8_t before) {
    if (before != project_.mortarCode)
        history_.push(CodeStep{before, project_.mortarCode});
}

void Session::recordCleared(const ShaJiang_GouJian_Struct& before) {
    BytesStep step{currentMember_, kMemberPoints.offset, bytesOf(&before, kMemberPoints),
                   bytesOf(&currentRecord_, kMemberPoints)};
    if (step.before != step.after)
        history_.push(std::move(step));
}

void Session::recordRemoval(const std::vector<int>& rows) {
    writeBack();
    MembersStep step;
    step.currentBefore = currentMember_;
    step.members.reserve(rows.size());
    for (int row : rows)
        step.members.emplace_back(row, members_[row]);
    history_.push(std::move(step));
}

void Session::recordAddition(int currentBefore) {
    MembersStep step;
    step.added = true;
    step.currentBefore = currentBefore;
    step.members.emplace_back(currentMember_, members_[currentMember_]);
    history_.push(std::move(step));
}

// --- travelling --------------------------------------------------------------------------

void Session::undo() {
    view_.commitReadingEdit(); // typing still open in a cell is the latest change
    history_.endTyping();
    if (history_.canUndo())
        travel(history_.undo(), false);
}

void Session::redo() {
    view_.commitReadingEdit();
    history_.endTyping();
    if (history_.canRedo())
        travel(history_.redo(), true);
}

void Session::travel(const UndoStep& step, bool forward) {
    bool batchFollows = true;
    if (const auto* reading = std::get_if<ReadingStep>(&step)) {
        applyReading(*reading, forward);
    } else if (const auto* bytes = std::get_if<BytesStep>(&step)) {
        applyBytes(*bytes, forward);
        batchFollows = bytes->member >= 0 && bytes->offset == kMemberPoints.offset;
    } else if (const auto* code = std::get_if<CodeStep>(&step)) {
        applyCode(forward ? code->after : code->before);
    } else if (const auto* members = std::get_if<MembersStep>(&step)) {
        if (members->added == forward)
            insertMembers(*members);
        else
            removeMembers(*members, members->added ? members->currentBefore : 0);
    }
    dataModified_ = !history_.atSaved();
    if (batchMode_ && batchFollows)
        evaluateBatch();
}

void Session::makeCurrentShown(int member) {
    writeBack();
    if (member == currentMember_)
        return;
    currentMember_ = member;
    currentRecord_ = members_[member];
    view_.selectListRow(member);
    view_.ensureListRowVisible(member);
    showMemberInfo();
}

void Session::applyReading(const ReadingStep& step, bool forward) {
    makeCurrentShown(step.member);
    setPointValues(currentRecord_, step.point, forward ? step.after : step.before);
    evaluateMember(currentRecord_, project_.mortarCode);
    writeBack();
    showMemberReadings();
    showMemberResults(currentRecord_, currentMember_);
}

void Session::applyBytes(const BytesStep& step, bool forward) {
    const std::string& bytes = forward ? step.after : step.before;
    if (step.member < 0) {
        putBytes(&project_, step.offset, bytes);
        // Shown as stored: the defaults showProjectInfo fills in would change the set.
        view_.showProjectFields(projectFields());
        temperatureValid_ = true;
        return;
    }
    makeCurrentShown(step.member);
    putBytes(&currentRecord_, step.offset, bytes);
    writeBack();
    showMemberInfo();
    showMemberReadings();
    showMemberResults(currentRecord_, currentMember_);
    view_.setListCellText(currentMember_, kListNameColumn, fieldToText(currentRecord_.memberName));
}

void Session::applyCode(std::uint8_t code) {
    writeBack();
    project_.mortarCode = code;
    recomputeAllMembers();
    view_.showProjectFields(projectFields());
    temperatureValid_ = true; // the field shows the stored number again
    if (currentMember_ >= 0)
        currentRecord_ = members_[currentMember_];
}

void Session::insertMembers(const MembersStep& step) {
    writeBack();
    const int first = step.members.front().first;
    std::vector<ShaJiang_GouJian_Struct> merged;
    std::vector<bool> checks;
    merged.reserve(members_.size() + step.members.size());
    checks.reserve(merged.capacity());
    std::size_t kept = 0;
    for (const auto& [row, record] : step.members) {
        for (; merged.size() < static_cast<std::size_t>(row); ++kept) {
            merged.push_back(members_[kept]);
            checks.push_back(checks_[kept]);
        }
        merged.push_back(record);
        checks.push_back(!step.added); // deleted members come back ticked, as they went
    }
    for (; kept < members_.size(); ++kept) {
        merged.push_back(members_[kept]);
        checks.push_back(checks_[kept]);
    }
    members_ = std::move(merged);
    checks_ = std::move(checks);

    // The list has no place to insert at: the rows from the first restored one are laid
    // out again.
    std::vector<int> tail;
    for (int row = first; row < memberCount() - static_cast<int>(step.members.size()); ++row)
        tail.push_back(row);
    view_.removeListRows(tail);
    std::vector<ListRowTexts> rows;
    rows.reserve(static_cast<std::size_t>(memberCount() - first));
    for (int row = first; row < memberCount(); ++row)
        rows.push_back(listRow(row, members_[row]));
    view_.appendListRows(first, rows, std::vector<bool>(checks_.begin() + first, checks_.end()));
    currentMember_ = -1; // the rows moved: whatever was current is shown anew
    makeCurrentShown(first);
    showMemberReadings();
    showMemberResults(currentRecord_, currentMember_);
}

void Session::removeMembers(const MembersStep& step, int current) {
    writeBack();
    std::vector<int> rows;
    rows.reserve(step.members.size());
    for (const auto& entry : step.members)
        rows.push_back(entry.first);
    view_.removeListRows(rows);
    std::size_t kept = 0;
    std::size_t next = 0;
    for (std::size_t row = 0; row < members_.size(); ++row) {
        if (next < rows.size() && static_cast<std::size_t>(rows[next]) == row) {
            ++next;
            continue;
        }
        members_[kept] = members_[row];
        checks_[kept] = checks_[row];
        ++kept;
    }
    members_.resize(kept);
    checks_.resize(kept);
    for (int row = rows.front(); row < memberCount(); ++row)
        view_.setListCellText(row, kListNumberColumn, std::to_string(row + 1));
    currentMember_ = -1;
    makeCurrentShown(std::min(std::max(current, 0), memberCount() - 1));
    showMemberReadings();
    showMemberResults(currentRecord_, currentMember_);
}

} // namespace morvik
