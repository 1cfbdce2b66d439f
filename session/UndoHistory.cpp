#include "session/UndoHistory.h"

#include <algorithm>
#include <cstring>

namespace morvik {

PointValues pointValues(const ShaJiang_GouJian_Struct& record, int point) {
    return {record.unevenness[point], record.gaugeReading[point], record.depth[point]};
}

void setPointValues(ShaJiang_GouJian_Struct& record, int point, const PointValues& values) {
    record.unevenness[point] = values.unevenness;
    record.gaugeReading[point] = values.gauge;
    record.depth[point] = values.depth;
}

bool samePoint(const PointValues& a, const PointValues& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

void UndoHistory::reset(bool saved) {
    ++revision_;
    steps_.clear();
    position_ = 0;
    dropped_ = 0;
    saved_ = 0;
    savedReachable_ = saved;
    typingOpen_ = false;
}

void UndoHistory::push(UndoStep step) {
    ++revision_;
    typingOpen_ = false;
    steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(position_), steps_.end());
    // The saved state lay on the branch just dropped.
    if (saved_ > dropped_ + position_)
        savedReachable_ = false;
    steps_.push_back(std::move(step));
    ++position_;
    while (steps_.size() > depth_) {
        steps_.pop_front();
        --position_;
        ++dropped_;
    }
    if (saved_ < dropped_)
        savedReachable_ = false;
}

void UndoHistory::pushTyping(BytesStep step) {
    ++revision_;
    BytesStep* last = typingOpen_ && position_ == steps_.size() && position_ > 0
                          ? std::get_if<BytesStep>(&steps_.back())
                          : nullptr;
    if (!last || last->member != step.member || last->field != step.field ||
        last->before.size() != step.before.size()) {
        push(std::move(step));
        typingOpen_ = true;
        return;
    }
    last->after = std::move(step.after);
    if (last->after != last->before)
        return;
    steps_.pop_back();
    --position_;
    typingOpen_ = false;
}

const UndoStep& UndoHistory::undo() {
    ++revision_;
    typingOpen_ = false;
    --position_;
    return steps_[position_];
}

const UndoStep& UndoHistory::redo() {
    ++revision_;
    typingOpen_ = false;
    return steps_[position_++];
}

void UndoHistory::markSaved() {
    typingOpen_ = false;
    saved_ = dropped_ + position_;
    savedReachable_ = true;
}

namespace {

bool changesTheSet(const UndoStep& step) {
    const auto* members = std::get_if<MembersStep>(&step);
    return !(members && members->added);
}

} // namespace

bool UndoHistory::changedSinceSaved() const {
    if (!savedReachable_)
        return true;
    const std::size_t here = dropped_ + position_;
    const std::size_t from = std::min(saved_, here) - dropped_;
    const std::size_t to = std::max(saved_, here) - dropped_;
    for (std::size_t i = from; i < to; ++i)
        if (changesTheSet(steps_[i]))
            return true;
    return false;
}

std::size_t UndoHistory::memoryBytes() const {
    struct Owned {
        std::size_t operator()(const ReadingStep&) const { return 0; }
        std::size_t operator()(const ClearStep&) const { return 0; }
        std::size_t operator()(const CodeStep&) const { return 0; }
        std::size_t operator()(const BytesStep& s) const {
            // Short texts live inside the string itself.
            const std::size_t inPlace = sizeof(std::string) - 1;
            return (s.before.size() > inPlace ? s.before.capacity() : 0) +
                   (s.after.size() > inPlace ? s.after.capacity() : 0);
        }
        std::size_t operator()(const MembersStep& s) const {
            return s.members.capacity() * sizeof s.members.front();
        }
    };
    std::size_t bytes = sizeof *this;
    for (const UndoStep& step : steps_)
        bytes += sizeof step + std::visit(Owned{}, step);
    return bytes;
}

} // namespace morvik
