#pragma once
// What the session asks of the main dialog: put texts into fields, mirror the member list
// and the reading grid, and ask the user. The dialog implements it with widgets and the
// prompt interface; tests implement it with a recording view that answers from a script.
//
// Every call is a plain write: none of them may call back into the session (programmatic
// list and field changes are made quietly), except commitReadingEdit(), which ends an open
// cell edit and so delivers that edit through Session::onReadingEdited before it returns.
//
// Texts are UTF-8.

#include "core/DateText.h"
#include "core/Message.h"
#include "core/ShownProject.h"
#include <array>
#include <optional>
#include <string>
#include <vector>

namespace morvik {

// The read-only result fields: the current member's three, then the batch's five.
enum class ResultField {
    MeanDepth,
    Strength,
    MemberEstimate,
    BatchMean,
    BatchStdDev,
    BatchMin,
    BatchCv,
    BatchEstimate,
};

enum class AskButtons { Ok, YesNo, YesNoCancel };
// Cancel: the user closed a Yes/No/Cancel question without choosing (取消, Esc, close box).
enum class Answer { Ok, Yes, No, Cancel };

// What the project controls show (showProjectInfo). A date that cannot be shown (a stored
// text that does not parse) is nothing: the picker then shows no valid date.
struct ProjectFields {
    std::string projectName;                   // 1014
    std::string instrumentNumber;              // 1016
    int temperature = kDefaultTemperature;     // 1017
    int basisIndex = 0;                        // 1034
    std::optional<CivilDate> constructionDate; // 1013
    std::string reviewer;                      // 1019
    std::string chiefInspector;                // 1020
    std::string strengthGrade;                 // 1024
    int kind = 0;                              // 1025; 1026 is refilled with this kind's varieties
    int variety = 0;                           // 1026
};

// What the member controls show (showMemberInfo).
struct MemberFields {
    std::string memberName;            // 1015
    std::optional<CivilDate> testDate; // 1012
    std::string remark;                // 1018
};

// One member list row: 序号, 构件编号, 平均值, 抗压强度.
using ListRowTexts = std::array<std::string, 4>;

class SessionView {
public:
    virtual ~SessionView() = default;

    virtual void setTitle(const std::string& title) = 0;

    // Fields. None of these runs a change handler.
    virtual void showProjectFields(const ProjectFields& fields) = 0;
    virtual void showMemberFields(const MemberFields& fields) = 0;
    virtual void setResultText(ResultField field, const std::string& text) = 0;
    virtual void setBatchModeChecked(bool checked) = 0;

    // The member list mirrors the member array row for row. All changes are quiet.
    virtual void clearListRows() = 0;
    virtual void appendListRow(const ListRowTexts& texts) = 0;
    // Puts rows[i], ticked as checked[i] says, at row at[i] (ascending, no repeats); the
    // rows already there keep their order, texts, ticks and states and fill the places
    // between. One step, so restoring thousands of members stays within a frame.
    virtual void insertListRows(const std::vector<int>& at, const std::vector<ListRowTexts>& rows,
                                const std::vector<bool>& checked) = 0;
    // Removes the listed rows (ascending, no repeats) in one step.
    virtual void removeListRows(const std::vector<int>& rows) = 0;
    virtual void setListCellText(int row, int column, const std::string& text) = 0;
    // The texts of `column` in rows first, first + 1, ...; a list that can take a whole
    // column at once overrides this, so refreshing every row stays within a frame.
    virtual void setListColumnTexts(int column, int first, const std::vector<std::string>& texts) {
        for (std::size_t i = 0; i < texts.size(); ++i)
            setListCellText(first + static_cast<int>(i), column, texts[i]);
    }
    virtual void setListRowChecked(int row, bool checked) = 0;
    // Clears the selected and focused state of every row and selects `row` (-1: none).
    virtual void selectListRow(int row) = 0;
    virtual void ensureListRowVisible(int row) = 0;
    virtual void focusList() = 0;
    // Moves the keyboard focus into 检测温度 with its text selected, so the refused entry
    // can be typed over at once.
    virtual void focusTemperature() = 0;

    // The reading grid: point 1..16 is grid row 1..16, column 1 unevenness, 2 gauge
    // reading, 3 depth.
    virtual void setReadingCellText(int point, int column, const std::string& text) = 0;
    virtual void repaintReadingGrid() = 0;
    // Moves the keyboard focus to the grid; an open cell edit ends there and is stored.
    virtual void commitReadingEdit() = 0;

    // Asking the user.
    virtual Answer showMessage(const Message& message, AskButtons buttons = AskButtons::Ok) = 0;
    // Full paths; nothing when the user cancels.
    virtual std::optional<std::string> chooseOpenFile() = 0;
    virtual std::optional<std::string> chooseSaveFile(const std::string& proposedName) = 0;
};

} // namespace morvik
