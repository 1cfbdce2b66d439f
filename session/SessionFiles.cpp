// The file commands and the change flag: save, open, new file, clearing, leaving.

#include "core/Evaluation.h"
#include "io/DataFile.h"
#include "io/SettingsFile.h"
#include "session/Columns.h"
#include "session/Session.h"
#include <cstring>

namespace morvik {

namespace {

const char* const kSaveQuestionText = "文件内容已被修改，是否保存当前更改？";
const char* const kSaveFailedText = "保存文件失败，请重试。";
const char* const kSaveDoneText = "保存文件成功。";
const char* const kOpenFailedText = "打开文件失败！";
const char* const kWholeNumberText = "请输入一个整数。";
const std::string kSettingsFailedText = "打印设置未能保存到：";

std::string fileNameOf(const std::string& path) {
    return std::filesystem::u8path(path).filename().u8string();
}

} // namespace

bool Session::confirmSaveChanges() {
    view_.commitReadingEdit(); // a value still being typed counts as a change
    if (!dataModified())
        return true;
    const Answer answer =
        view_.showMessage(Message{kSaveQuestionText, kCaptionNotice, MessageIcon::Information},
                          AskButtons::YesNoCancel);
    if (answer == Answer::No)
        return true;
    // 取消, Esc or the box's close button: the work stays, and so does the program.
    if (answer != Answer::Yes)
        return false;
    return saveDataSet();
}

bool Session::saveDataSet() {
    view_.commitReadingEdit();
    // The file the set came from, folder and all, so that 保存 lands there unless the user
    // chooses otherwise.
    const std::string proposed = currentFilePath_.empty() ? currentFileName_ : currentFilePath_;
    writeBack();
    const std::optional<std::string> path = view_.chooseSaveFile(proposed);
    if (!path)
        return false;

    DataSet data;
    data.project = project_;
    data.members = members_;
    if (writeDataFile(std::filesystem::u8path(*path), data) != WriteResult::Written) {
        view_.showMessage(Message{kSaveFailedText, kCaptionNotice, MessageIcon::Information});
        return false;
    }
    currentFileName_ = fileNameOf(*path);
    currentFilePath_ = *path;
    view_.setTitle(title());
    view_.showMessage(Message{kSaveDoneText, kCaptionNotice, MessageIcon::None});
    history_.markSaved();
    syncJournal();
    return true;
}

void Session::openDataSet() {
    if (!confirmSaveChanges())
        return;
    const std::optional<std::string> path = view_.chooseOpenFile();
    if (!path)
        return;
    openPath(*path);
}

void Session::openPath(const std::string& path) {
    // An edit still open belongs to the data set on screen, not to the one being read.
    view_.commitReadingEdit();
    DataSet data;
    const ReadResult result = readDataFile(std::filesystem::u8path(path), data);
    if (result == ReadResult::OpenFailed || result == ReadResult::Refused ||
        result == ReadResult::NotADataFile) {
        // The title keeps naming the data on screen, so a later 保存 cannot propose the
        // damaged file for data that never came from it.
        view_.showMessage(Message{kOpenFailedText, kCaptionNotice, MessageIcon::Information});
        return;
    }
    currentFileName_ = fileNameOf(path);
    currentFilePath_ = path;
    view_.setTitle(title());
    if (result == ReadResult::Loaded) {
        project_ = data.project;
        members_ = std::move(data.members);
    }
    if (members_.empty()) { // every later step relies on a member 1
        ShaJiang_GouJian_Struct first = newMemberRecord(1);
        evaluateMember(first, project_.mortarCode);
        members_.push_back(first);
    }
    checks_.assign(members_.size(), false);
    currentRecord_ = members_[0];
    currentMember_ = 0;
    history_.reset(true);

    fillMemberList();
    showProjectInfo();
    showMemberInfo();
    showMemberReadings();
    showMemberResults(members_[0], 0);
    resetBatchResults(); // the ticks went with the data set they belonged to
    syncJournal();
}

void Session::newDataSet() {
    if (!confirmSaveChanges())
        return;
    members_.clear();
    checks_.clear();
    view_.clearListRows();
    currentMember_ = -1;
    std::memset(&currentRecord_, 0, sizeof currentRecord_);
    clearMemberReadings(currentRecord_);
    appendMember();
    showProjectInfo();
    resetBatchResults(); // no member is ticked: no batch, in batch mode or not
    currentFileName_ = kUntitledFileName;
    currentFilePath_.clear();
    view_.setTitle(title());
    // The changes of the set just left were saved or declined; the new set has none.
    history_.reset(true);
    syncJournal();
}

void Session::clearReadings() {
    view_.commitReadingEdit();
    const ShaJiang_GouJian_Struct before = currentRecord_;
    for (int point = 1; point <= kPointCount; ++point)
        for (int column = kUnevennessColumn; column <= kDepthColumn; ++column)
            view_.setReadingCellText(point, column, std::string());
    clearMemberReadings(currentRecord_);
    view_.repaintReadingGrid();
    writeBack();
    recordCleared(before);
    showMemberResults(currentRecord_, currentMember_);
    followBatch();
}

void Session::clearProjectInfo() {
    std::memset(&project_, 0, sizeof project_);
    showProjectInfo();
    currentFileName_ = kUntitledFileName;
    currentFilePath_.clear();
    view_.setTitle(title());
}

bool Session::exitProgram() {
    // Checked before anything is written, so a refused 退出 leaves no trace.
    if (!temperatureValid_) {
        view_.showMessage(Message{kWholeNumberText, kCaptionNotice, MessageIcon::Information});
        view_.focusTemperature();
        return false;
    }
    if (!confirmSaveChanges())
        return false;
    // The settings are lost with the program if they cannot be written: say so, then end.
    if (!settingsPath_.empty() && !writeSettingsFile(settingsPath_, printSettings_))
        view_.showMessage(Message{kSettingsFailedText + settingsPath_.u8string(), kCaptionNotice,
                                  MessageIcon::Information});
    return true;
}

bool Session::escapePressed() {
    return confirmSaveChanges();
}

} // namespace morvik
