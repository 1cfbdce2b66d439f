#pragma once
// A SessionView that keeps what a dialog would show (list rows and ticks, grid cells,
// fields, title), logs every call in order, and answers questions and file dialogs from
// queues. An edit "still open in the grid" can be staged; commitReadingEdit delivers it
// through the session, as the real grid does when it loses the focus.

#include "session/Session.h"
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace morvik::test {

struct ShownMessage {
    Message message;
    AskButtons buttons;
};

class RecordingView : public SessionView {
public:
    // --- what the test scripts -----------------------------------------------------------
    Session* session = nullptr;
    std::deque<Answer> answers;                         // for Yes/No questions; No when empty
    std::deque<std::optional<std::string>> openChoices; // nothing when empty
    std::deque<std::optional<std::string>> saveChoices; // nothing when empty
    std::optional<std::tuple<int, int, std::string>> pendingEdit;

    // --- what the dialog would show --------------------------------------------------------
    std::vector<std::string> calls; // one line per call, in order
    std::string title;
    ProjectFields project;
    MemberFields member;
    std::map<ResultField, std::string> results;
    std::optional<bool> batchBox;
    std::vector<ListRowTexts> rows;
    std::vector<bool> rowChecks;
    int selectedRow = -1;
    std::map<std::pair<int, int>, std::string> cells;
    std::vector<ShownMessage> messages;
    std::vector<std::string> proposedSaveNames;

    std::string cell(int point, int column) const {
        auto it = cells.find({point, column});
        return it == cells.end() ? std::string() : it->second;
    }
    std::string result(ResultField field) const {
        auto it = results.find(field);
        return it == results.end() ? std::string() : it->second;
    }
    std::vector<std::string> messageTexts() const {
        std::vector<std::string> texts;
        for (const ShownMessage& m : messages)
            texts.push_back(m.message.text);
        return texts;
    }
    // The calls logged since `from` whose line starts with `prefix`.
    std::vector<std::string> callsSince(std::size_t from, const std::string& prefix) const;

    // --- SessionView ----------------------------------------------------------------------
    void setTitle(const std::string& text) override;
    void showProjectFields(const ProjectFields& fields) override;
    void showMemberFields(const MemberFields& fields) override;
    void setResultText(ResultField field, const std::string& text) override;
    void setBatchModeChecked(bool checked) override;
    void clearListRows() override;
    void appendListRow(const ListRowTexts& texts) override;
    void insertListRows(const std::vector<int>& at, const std::vector<ListRowTexts>& texts,
                        const std::vector<bool>& checked) override;
    void removeListRows(const std::vector<int>& rows) override;
    void setListCellText(int row, int column, const std::string& text) override;
    void setListRowChecked(int row, bool checked) override;
    void selectListRow(int row) override;
    void ensureListRowVisible(int row) override;
    void focusList() override;
    void focusTemperature() override;
    void setReadingCellText(int point, int column, const std::string& text) override;
    void repaintReadingGrid() override;
    void commitReadingEdit() override;
    Answer showMessage(const Message& message, AskButtons buttons) override;
    std::optional<std::string> chooseOpenFile() override;
    std::optional<std::string> chooseSaveFile(const std::string& proposedName) override;
};

} // namespace morvik::test
