#pragma once
// The undo history of one data set: a line of steps with a position in it. Steps before the
// position can be taken back, steps after it (after an undo) applied again; a new step
// drops the latter. Each step holds only what its change replaced, so a history of many
// steps over a large data set stays small: a reading holds one point, a variety change
// the mortar code (evaluation is exact and repeatable, so the results follow from it).
//
// The history also knows where the data set was last saved or opened, to tell whether the
// state after an undo or redo is that one.

#include "core/Records.h"
#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace morvik {

// The most steps kept; the oldest go first.
inline constexpr std::size_t kUndoDepth = 1000;

// What one measuring point stores.
struct PointValues {
    float unevenness = kMissing;
    float gauge = kMissing;
    float depth = kMissing;
};

PointValues pointValues(const ShaJiang_GouJian_Struct& record, int point);
void setPointValues(ShaJiang_GouJian_Struct& record, int point, const PointValues& values);
// Bit for bit: a reading typed again as the same number is no change.
bool samePoint(const PointValues& a, const PointValues& b);

// The end of a reading edit at point 0..15 of a member.
struct ReadingStep {
    int member = 0;
    int point = 0;
    PointValues before;
    PointValues after;
};

// A field the inspector types or picks, replaced: of the project information (member
// -1) or of a member; `field` is its place in the record's table of fields.
struct BytesStep {
    int member = -1;
    std::size_t field = 0;
    std::string before;
    std::string after;
};

// A member's readings, depths and results emptied by 清空表格, with what they were.
struct ClearStep {
    int member = 0;
    std::array<PointValues, kPointCount> points;
    float meanDepth = kMissing;
    float strength = kMissing;
    float memberEstimate = kMissing;
};

// The mortar kind or variety: every member is evaluated again under the code applied.
struct CodeStep {
    std::uint8_t before = 0;
    std::uint8_t after = 0;
};

// Members added (增加构件) or removed (删除构件), each with its place in the list, in
// ascending order of place. `currentBefore` is the member that was current before.
struct MembersStep {
    bool added = false;
    std::vector<std::pair<int, ShaJiang_GouJian_Struct>> members;
    int currentBefore = 0;
};

using UndoStep = std::variant<ReadingStep, BytesStep, ClearStep, CodeStep, MembersStep>;

class UndoHistory {
public:
    explicit UndoHistory(std::size_t depth = kUndoDepth) : depth_(depth) {}

    // Forgets every step. `saved`: the data set as it stands is the one last saved or opened.
    void reset(bool saved);

    // A new step at the position: the steps that could have been redone are dropped, and
    // beyond the depth the oldest.
    void push(UndoStep step);
    // A field edit while typing: merged into the step of the same field typed just before,
    // unless the typing ended in between (endTyping), so one visit to a field is one step.
    // A merged step that comes back to its starting text is dropped.
    void pushTyping(BytesStep step);
    // The focus left the field, or something else happened: the next typing is a new step.
    void endTyping() { typingOpen_ = false; }
    bool typingOpen() const { return typingOpen_; }

    bool canUndo() const { return position_ > 0; }
    bool canRedo() const { return position_ < steps_.size(); }
    // Moves the position back over one step and returns it, to be taken back.
    const UndoStep& undo();
    // Moves the position forward over one step and returns it, to be applied again.
    const UndoStep& redo();

    // The data set as it stands now is the one in its file.
    void markSaved();
    // Whether the data set differs from the one last saved or opened: some step between
    // the saved point and the position changed it; after the saved state fell off the start
    // or lay on a dropped redo branch, always. Adding a member alone is no change
    // (an empty member that is never filled need not be saved), whichever way it is
    // travelled.
    bool changedSinceSaved() const;

    // Counts every change of the history, and so of the data set it tells: a step added,
    // merged or dropped, an undo, a redo, a reset. Equal counts mean an unchanged set.
    std::uint64_t revision() const { return revision_; }

    std::size_t size() const { return steps_.size(); }
    std::size_t position() const { return position_; }
    // The memory the steps hold, their own records and texts included.
    std::size_t memoryBytes() const;

private:
    std::size_t depth_;
    std::deque<UndoStep> steps_;
    std::size_t position_ = 0;
    // Positions counted from the first step ever pushed, so a dropped start is noticed.
    std::size_t dropped_ = 0;
    std::size_t saved_ = 0;
    bool savedReachable_ = true;
    bool typingOpen_ = false;
    std::uint64_t revision_ = 0;
};

} // namespace morvik
