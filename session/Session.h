#pragma once
// The one data set of the main dialog and the rules of its commands, without widgets.
//
//   widget event -> Session operation -> state change -> SessionView (texts, rows, questions)
//
// The session owns the project information, the member array with its check marks, the
// current member and its working copy, the change flag, batch mode with the five batch
// results, the current file name and the print settings. The dialog only mirrors them.

#include "core/Batch.h"
#include "core/Records.h"
#include "io/DataFile.h"
#include "session/SessionView.h"
#include "session/UndoHistory.h"
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace morvik {

struct MemberResultTexts;

inline constexpr const char* kTitlePrefix = "Velkan贯入仪检测软件V2.01-";
inline constexpr const char* kUntitledFileName = "新文件.stl";

// The limited text fields of the project information.
enum class ProjectText { ProjectName, InstrumentNumber, Reviewer, ChiefInspector, StrengthGrade };
// The two date pickers.
enum class DateField { TestDate, ConstructionDate };

class RecoveryJournal;

class Session {
public:
    // `today` gives the local date whenever a field needs today's date (tests fix it).
    explicit Session(SessionView& view, std::function<CivilDate()> today = {});

    // --- start and state ------------------------------------------------------------------
    // The dialog's initialisation from the flags on: current member none, the first member
    // G001 added and current, project information shown, title, batch results reset.
    void start();

    const ProjectInfo& project() const { return project_; }
    std::uint8_t mortarCode() const { return project_.mortarCode; }
    const std::vector<ShaJiang_GouJian_Struct>& members() const { return members_; }
    int memberCount() const { return static_cast<int>(members_.size()); }
    int currentMember() const { return currentMember_; }
    const ShaJiang_GouJian_Struct& currentRecord() const { return currentRecord_; }
    // Whether the data set differs from the one last saved or opened: the history says so.
    bool dataModified() const { return history_.changedSinceSaved(); }
    bool batchMode() const { return batchMode_; }
    const BatchResults& batch() const { return batch_; }
    const std::string& currentFileName() const { return currentFileName_; }
    std::string title() const { return kTitlePrefix + currentFileName_; }
    bool isChecked(int row) const;
    std::vector<int> checkedRows() const;
    PrintSettings& printSettings() { return printSettings_; }
    const PrintSettings& printSettings() const { return printSettings_; }

    // The settings file: read at start from `readPath`, written on exit to `writePath`.
    void readSettings(const std::filesystem::path& readPath);
    void setSettingsWritePath(const std::filesystem::path& writePath) { settingsPath_ = writePath; }

    // --- reading grid ---------------------------------------------------------------------
    // End of a cell edit at grid (row 1..16, column) with the cell's text.
    void onReadingEdited(int row, int column, const std::string& text);
    void onCalculate(); // the hidden 计算 button

    // --- mortar kind and variety ----------------------------------------------------------
    void onKindChanged(int kindIndex);
    void onVarietyChanged(int varietyIndex);

    // --- project and member fields (the user changed a control) ---------------------------
    void onProjectTextChanged(ProjectText field, const std::string& text);
    // The 检测温度 text as typed (digits only). A text that holds no whole number leaves the
    // stored temperature as it is and is remembered, so 退出 can ask for a whole number.
    void onTemperatureChanged(const std::string& text);
    void onBasisChanged(int index);
    // Nothing when the picker holds no valid date.
    void onDateChanged(DateField field, std::optional<CivilDate> date);
    void onMemberNameChanged(const std::string& text);
    void onRemarkChanged(const std::string& text);

    // --- batch ----------------------------------------------------------------------------
    // The user clicked 批检测; `checked` is the box's new state.
    void toggleBatchMode(bool checked);
    void evaluateBatch();
    void resetBatchResults();
    // In batch mode, the five fields show the batch of the members ticked now, with their
    // readings now: every change of those inputs evaluates it again. Quietly, since only
    // the inspector's own ticks and 批检测 itself ask; the fields say "--" for a batch
    // that cannot be evaluated.
    void followBatch();

    // --- member list ----------------------------------------------------------------------
    void addMember();
    void deleteCheckedMembers();
    void toggleAllChecks();
    // The list's item-changed notification of a change the user made.
    void onMemberItemChanged(int row, bool becameSelected, bool checkChanged, bool checked);
    void fillMemberList();
    void showMemberReadings();
    void showMemberResults(const ShaJiang_GouJian_Struct& record, int index);

    // --- files ----------------------------------------------------------------------------
    // Asks to save unsaved changes (是, 否, 取消). False when the user chose 取消, or said
    // Yes and the save did not happen (cancelled or failed): the command that asked must
    // stop and nothing changes.
    bool confirmSaveChanges();
    // 保存: always asks for a name. True when the file was written.
    bool saveDataSet();
    void openDataSet();
    // Opens `path` as 打开 does after its file dialog (command line, a dropped file).
    void openPath(const std::string& path);
    void newDataSet();
    void clearReadings();
    void clearProjectInfo();
    // 退出 and the close box: true when the dialog may end (settings written).
    bool exitProgram();
    // Esc: true when the dialog may end (asks first when there are unsaved changes).
    bool escapePressed();

    // --- recovery journal -----------------------------------------------------------------
    // The journal that keeps a copy of the data set while it is modified (none: no copy).
    void setJournal(RecoveryJournal* journal) { journal_ = journal; }
    // Brings the journal up to date: the whole data set while it differs from what was last
    // opened or saved, nothing once it does not. Costs a comparison of two counts when
    // nothing changed;
    // the writing itself happens off this thread.
    void syncJournal();
    // The dialog ends with the user's consent (saved, or the changes declined): no copy stays.
    void discardJournal();
    // Makes a recovered data set the current one, as opening does, but marked modified and
    // named after the file it belongs to (`filePath` empty when it was never saved).
    void recoverDataSet(DataSet data, const std::string& fileName, const std::string& filePath);
    // The full path of the file the data set was last opened from or saved to; empty when
    // untitled.
    const std::string& currentFilePath() const { return currentFilePath_; }

    // --- print preview --------------------------------------------------------------------
    // Writes the working copy back and returns the members of the preview pages in page
    // order: the ticked rows, else the current member, else none.
    std::vector<int> previewMembers();

    // --- undo history ---------------------------------------------------------------------
    // Takes back the last change of the data set (or applies again the last one taken
    // back), making the member it changed current and showing it. An edit still open in a
    // cell is the caller's to end first; the keyboard focus stays where it is.
    void undo();
    void redo();
    bool canUndo() const { return history_.canUndo(); }
    bool canRedo() const { return history_.canRedo(); }
    // The focus left a field: typing there again is a step of its own.
    void endTyping() { history_.endTyping(); }
    const UndoHistory& history() const { return history_; }

private:
    friend class FieldEditStep;
    // Records the steps of the changes the handlers make (SessionHistory.cpp).
    void recordReading(int point, const PointValues& before);
    void recordCode(std::uint8_t before);
    void recordCleared(const ShaJiang_GouJian_Struct& before);
    void recordRemoval(const std::vector<int>& rows);
    void recordAddition(int currentBefore);
    // The field at `field` of the table of its record (the project's for member -1).
    void recordFieldEdit(int member, std::size_t field, const void* before, const void* after);
    // Takes a step back (`forward` false) or applies it again.
    void travel(const UndoStep& step, bool forward);
    void applyReading(const ReadingStep& step, bool forward);
    void applyBytes(const BytesStep& step, bool forward);
    void applyClear(const ClearStep& step, bool forward);
    void applyCode(std::uint8_t code);
    void insertMembers(const MembersStep& step);
    void removeMembers(const MembersStep& step, int current);
    void makeCurrentShown(int member);
    // A list row as filling the whole list writes it.
    ListRowTexts rebuiltListRow(int row) const;
    // 序号 of every row from `first` on, after rows were removed or put back before them.
    void renumberList(int first);
    // The current member's three result fields.
    void showResultFields(const MemberResultTexts& texts);

    // Removes the listed rows (ascending, no repeats) from the members, their ticks and the
    // list.
    void removeRows(const std::vector<int>& rows);
    // Working copy back into the member array (nothing while no member is current).
    void writeBack();
    // The first member at start and after 新文件; 增加构件 ends a pending cell edit first.
    void appendMember();
    // Makes `row` the current member as selecting its list row does.
    void switchToRow(int row);
    void showProjectInfo();
    void showMemberInfo();
    ProjectFields projectFields() const;
    void recomputeAllMembers();
    // The batch of the ticked members, with the working copy written back first.
    BatchOutcome tickedBatch();
    void showBatch(const BatchOutcome& outcome);
    CivilDate today() const;

    SessionView& view_;
    std::function<CivilDate()> today_;
    ProjectInfo project_{};
    std::vector<ShaJiang_GouJian_Struct> members_;
    std::vector<bool> checks_;
    int currentMember_ = -1;
    ShaJiang_GouJian_Struct currentRecord_{};
    bool selectionSwitches_ = true;
    bool checkTriggersBatch_ = true;
    bool batchMode_ = false;
    BatchResults batch_;
    std::string currentFileName_ = kUntitledFileName;
    bool temperatureValid_ = true;
    PrintSettings printSettings_{};
    std::filesystem::path settingsPath_;
    std::string currentFilePath_;
    UndoHistory history_;
    RecoveryJournal* journal_ = nullptr;
    // What the journal last received, to tell a change from none.
    std::uint64_t journalledRevision_ = 0;
    std::string journalledFile_;
    bool journalHolds_ = false;
};

} // namespace morvik
