// Undo and redo: recording what each change of the data set replaced, and putting it back
// through the same refreshes the commands use, so results, list rows and the batch follow.

#include "session/SessionHistory.h"

#include "core/Evaluation.h"
#include "core/GbkText.h"
#include "core/RecordFields.h"
#include "session/Columns.h"
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>

namespace morvik {

namespace {

// The table of fields of the record a step belongs to.
const RecordField& fieldOf(int member, std::size_t field) {
    return member < 0 ? kProjectFields[field] : kMemberFields[field];
}

std::string bytesOf(const void* record, const RecordField& field) {
    return std::string(fieldBytes(record, field), field.size);
}

} // namespace

FieldEditStep::~FieldEditStep() {
    for (std::size_t i = 0; i < kProjectFields.size(); ++i)
        if (kProjectFields[i].source == FieldSource::Typed)
            session_.recordFieldEdit(-1, i, &project_, &session_.project_);
    if (member_ >= 0 && member_ == session_.currentMember_)
        for (std::size_t i = 0; i < kMemberFields.size(); ++i)
            if (kMemberFields[i].source == FieldSource::Typed)
                session_.recordFieldEdit(member_, i, &record_, &session_.currentRecord_);
}

// --- recording ---------------------------------------------------------------------------

void Session::recordFieldEdit(int member, std::size_t field, const void* before,
                              const void* after) {
    const RecordField& f = fieldOf(member, field);
    BytesStep step{member, field, bytesOf(before, f), bytesOf(after, f)};
    if (step.before == step.after)
        return;
    // Typing that comes back to the text it started from leaves no step.
    history_.pushTyping(std::move(step));
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
    ClearStep step{currentMember_, {}, before.meanDepth, before.strength, before.memberEstimate};
    bool held = isPresent(before.meanDepth) || isPresent(before.strength) ||
                isPresent(before.memberEstimate);
    for (int k = 0; k < kPointCount; ++k) {
        step.points[k] = pointValues(before, k);
        held = held || isPresent(before.unevenness[k]) || isPresent(before.gaugeReading[k]) ||
               isPresent(before.depth[k]);
    }
    if (held) // emptying what held nothing is no change
        history_.push(step);
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
    if (const auto* reading = std::get_if<ReadingStep>(&step)) {
        applyReading(*reading, forward);
    } else if (const auto* bytes = std::get_if<BytesStep>(&step)) {
        applyBytes(*bytes, forward);
    } else if (const auto* cleared = std::get_if<ClearStep>(&step)) {
        applyClear(*cleared, forward);
    } else if (const auto* code = std::get_if<CodeStep>(&step)) {
        applyCode(forward ? code->after : code->before);
    } else if (const auto* members = std::get_if<MembersStep>(&step)) {
        if (members->added == forward)
            insertMembers(*members);
        else
            removeMembers(*members, members->added ? members->currentBefore : 0);
    }
    followBatch();
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
        std::memcpy(fieldBytes(&project_, kProjectFields[step.field]), bytes.data(), bytes.size());
        // Shown as stored: the defaults showProjectInfo fills in would change the set.
        view_.showProjectFields(projectFields());
        temperatureValid_ = true;
        return;
    }
    makeCurrentShown(step.member);
    std::memcpy(fieldBytes(&currentRecord_, kMemberFields[step.field]), bytes.data(), bytes.size());
    writeBack();
    showMemberInfo();
    showMemberReadings();
    showMemberResults(currentRecord_, currentMember_);
    view_.setListCellText(currentMember_, kListNameColumn, fieldToText(currentRecord_.memberName));
}

void Session::applyClear(const ClearStep& step, bool forward) {
    makeCurrentShown(step.member);
    if (forward) {
        clearMemberReadings(currentRecord_);
    } else {
        for (int k = 0; k < kPointCount; ++k)
            setPointValues(currentRecord_, k, step.points[k]);
        currentRecord_.meanDepth = step.meanDepth;
        currentRecord_.strength = step.strength;
        currentRecord_.memberEstimate = step.memberEstimate;
    }
    writeBack();
    showMemberReadings();
    showMemberResults(currentRecord_, currentMember_);
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
    const std::size_t first = static_cast<std::size_t>(step.members.front().first);
    const bool ticked = !step.added; // deleted members come back ticked, as they went
    // Merged from the end, in place: each member that stays moves once, to its new place.
    std::size_t kept = members_.size();
    std::size_t next = step.members.size();
    members_.resize(members_.size() + step.members.size());
    checks_.resize(members_.size());
    for (std::size_t row = members_.size(); row-- > first;) {
        if (next > 0 && static_cast<std::size_t>(step.members[next - 1].first) == row) {
            members_[row] = step.members[--next].second;
            checks_[row] = ticked;
        } else {
            --kept;
            members_[row] = members_[kept];
            checks_[row] = checks_[kept];
        }
    }

    // Only the members put back get new rows; the rows there keep theirs and are renumbered.
    std::vector<int> at;
    std::vector<ListRowTexts> rows;
    at.reserve(step.members.size());
    rows.reserve(step.members.size());
    for (const auto& entry : step.members) {
        at.push_back(entry.first);
        rows.push_back(rebuiltListRow(entry.first));
    }
    view_.insertListRows(at, rows, std::vector<bool>(at.size(), ticked));
    renumberList(static_cast<int>(first));
    currentMember_ = -1; // the rows moved: whatever was current is shown anew
    makeCurrentShown(static_cast<int>(first));
    showMemberReadings();
    showMemberResults(currentRecord_, currentMember_);
}

void Session::removeMembers(const MembersStep& step, int current) {
    writeBack();
    std::vector<int> rows;
    rows.reserve(step.members.size());
    for (const auto& entry : step.members)
        rows.push_back(entry.first);
    removeRows(rows);
    renumberList(rows.front());
    currentMember_ = -1;
    makeCurrentShown(std::min(std::max(current, 0), memberCount() - 1));
    showMemberReadings();
    showMemberResults(currentRecord_, currentMember_);
}

} // namespace morvik
