// Keeping the recovery journal in step with the data set, and loading a recovered one.

#include "session/RecoveryJournal.h"
#include "session/Session.h"

namespace morvik {

void Session::syncJournal() {
    if (!journal_)
        return;
    if (!dataModified()) {
        if (journalHolds_) {
            journal_->remove();
            journalHolds_ = false;
        }
        return;
    }
    // Every change of the data set is a change of its history: the same revision and file
    // leave the journal as it is, at the cost of a comparison.
    const std::string file = currentFilePath_ + '\n' + currentFileName_;
    if (journalHolds_ && history_.revision() == journalledRevision_ && file == journalledFile_)
        return;
    // The timer that calls this can fire while a question is open in the middle of a
    // command, so the session's own state is only read: the working copy is laid over its
    // member in the copy, since what is on screen is what must survive.
    DataSet copy;
    copy.project = project_;
    copy.members = members_;
    if (currentMember_ >= 0 && currentMember_ < memberCount())
        copy.members[currentMember_] = currentRecord_;
    journalledRevision_ = history_.revision();
    journalledFile_ = file;
    journalHolds_ = true;
    JournalRecord record;
    record.filePath = currentFilePath_;
    record.fileName = currentFileName_;
    journal_->update(encodeDataFile(copy), record);
}

void Session::discardJournal() {
    if (!journal_)
        return;
    journal_->remove();
    journal_->flush();
    journalHolds_ = false;
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
