#include "session/Session.h"

#include "core/DateText.h"
#include "io/SettingsFile.h"

namespace morvik {

Session::Session(SessionView& view, std::function<CivilDate()> today)
    : view_(view), today_(today ? std::move(today) : std::function<CivilDate()>(localToday)) {}

void Session::start() {
    checkTriggersBatch_ = true;
    selectionSwitches_ = true;
    currentMember_ = -1;
    appendMember();
    showProjectInfo();
    currentFileName_ = kUntitledFileName;
    view_.setTitle(title());
    resetBatchResults();
}

bool Session::isChecked(int row) const {
    return row >= 0 && row < static_cast<int>(checks_.size()) && checks_[row];
}

std::vector<int> Session::checkedRows() const {
    std::vector<int> rows;
    for (int row = 0; row < static_cast<int>(checks_.size()); ++row)
        if (checks_[row])
            rows.push_back(row);
    return rows;
}

void Session::readSettings(const std::filesystem::path& readPath) {
    readSettingsFile(readPath, printSettings_);
}

std::vector<int> Session::previewMembers() {
    view_.commitReadingEdit(); // the sheet shows what was just typed
    writeBack();
    std::vector<int> rows = checkedRows();
    if (rows.empty() && currentMember_ >= 0)
        rows.push_back(currentMember_);
    return rows;
}

void Session::writeBack() {
    if (currentMember_ >= 0 && currentMember_ < memberCount())
        members_[currentMember_] = currentRecord_;
}

CivilDate Session::today() const {
    return today_();
}

} // namespace morvik
