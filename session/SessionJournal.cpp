// Keeping the recovery journal in step with the data set, and loading a recovered one.

#include "session/RecoveryJournal.h"
#include "session/Session.h"
#include <cstring>

namespace morvik {

namespace {

bool sameRecord(const ShaJiang_GouJian_Struct& a, const ShaJiang_GouJian_Struct& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

void Session::syncJournal() {
    if (!journal_)
        return;
    if (!dataModified()) {
        if (journalHolds_) {
            journal_->remove();
            journalHolds_ = false;
            journalled_ = DataSet{};
        }
        return;
    }
    // The timer that calls this can fire while a question is open in the middle of a
    // command, so the session's own state is only read: the working copy is laid over its
    // member in the copy, since what is on screen is what must survive.
    const int current = currentMember_ >= 0 && currentMember_ < memberCount() ? currentMember_ : -1;
    auto memberAt = [&](std::size_t i) -> const ShaJiang_GouJian_Struct& {
        return static_cast<int>(i) == current ? currentRecord_ : members_[i];
    };
    const std::string file = currentFilePath_ + '\n' + currentFileName_;
    bool unchanged = journalHolds_ && file == journalledFile_ &&
                     std::memcmp(&journalled_.project, &project_, sizeof project_) == 0 &&
                     journalled_.members.size() == members_.size();
    for (std::size_t i = 0; unchanged && i < members_.size(); ++i)
        unchanged = sameRecord(journalled_.members[i], memberAt(i));
    if (unchanged)
        return;
    journalled_.project = project_;
    journalled_.members = members_;
    if (current >= 0)
        journalled_.members[current] = currentRecord_;
    journalledFile_ = file;
    journalHolds_ = true;
    JournalRecord record;
    record.filePath = currentFilePath_;
    record.fileName = currentFileName_;
    journal_->update(encodeDataFile(journalled_), record);
}

void Session::discardJournal() {
    if (!journal_)
        return;
    journal_->remove();
    journal_->flush();
    journalHolds_ = false;
    journalled_ = DataSet{};
}

void Session::recoverDataSet(DataSet data, const std::string& fileName,
                             const std::string& filePath) {
    if (data.members.empty())
        return;
    view_.commitReadingEdit();
    project_ = data.project;
    members_ = std::move(data.members);
    checks_.assign(members_.size(), false);
    currentRecord_ = members_[0];
    currentMember_ = 0;
    currentFileName_ = fileName.empty() ? kUntitledFileName : fileName;
    currentFilePath_ = filePath;
    view_.setTitle(title());
    // Nothing of it is in a file yet: 保存 and 退出 must still ask.
    history_.reset(false);

    fillMemberList();
    showProjectInfo();
    showMemberInfo();
    showMemberReadings();
    showMemberResults(members_[0], 0);
    resetBatchResults();
    syncJournal();
}

} // namespace morvik
