// Keeping the recovery journal in step with the data set, and loading a recovered one.

#include "session/RecoveryJournal.h"
#include "session/Session.h"
#include <cstring>

namespace morvik {

namespace {

bool sameBytes(const DataSet& a, const ProjectInfo& project,
               const std::vector<ShaJiang_GouJian_Struct>& members) {
    return std::memcmp(&a.project, &project, sizeof project) == 0 &&
           a.members.size() == members.size() &&
           (members.empty() ||
            std::memcmp(a.members.data(), members.data(), members.size() * sizeof members[0]) == 0);
}

} // namespace

void Session::syncJournal() {
    if (!journal_)
        return;
    if (!dataModified_) {
        if (journalHolds_) {
            journal_->remove();
            journalHolds_ = false;
            journalled_ = DataSet{};
        }
        return;
    }
    // The working copy counts as written back: what is on screen is what is kept.
    writeBack();
    const std::string file = currentFilePath_ + '\n' + currentFileName_;
    if (journalHolds_ && file == journalledFile_ && sameBytes(journalled_, project_, members_))
        return;
    journalled_.project = project_;
    journalled_.members = members_;
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
    dataModified_ = true;

    fillMemberList();
    showProjectInfo();
    showMemberInfo();
    showMemberReadings();
    showMemberResults(members_[0], 0);
    resetBatchResults();
    syncJournal();
}

} // namespace morvik
