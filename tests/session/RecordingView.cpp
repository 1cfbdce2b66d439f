#include "RecordingView.h"

#include <stdexcept>

namespace morvik::test {

namespace {

void checkRow(const std::vector<ListRowTexts>& rows, int row) {
    // A session that addresses a row the list does not have is a fault the test must see.
    if (row < 0 || row >= static_cast<int>(rows.size()))
        throw std::out_of_range("list row " + std::to_string(row));
}

} // namespace

std::vector<std::string> RecordingView::callsSince(std::size_t from,
                                                   const std::string& prefix) const {
    std::vector<std::string> found;
    for (std::size_t i = from; i < calls.size(); ++i)
        if (calls[i].compare(0, prefix.size(), prefix) == 0)
            found.push_back(calls[i]);
    return found;
}

void RecordingView::setTitle(const std::string& text) {
    calls.push_back("title " + text);
    title = text;
}

void RecordingView::showProjectFields(const ProjectFields& fields) {
    calls.push_back("project");
    project = fields;
}

void RecordingView::showMemberFields(const MemberFields& fields) {
    calls.push_back("member " + fields.memberName);
    member = fields;
}

void RecordingView::setResultText(ResultField field, const std::string& text) {
    static const char* const names[] = {"MeanDepth", "Strength",     "MemberEstimate",
                                        "BatchMean", "BatchStdDev",  "BatchMin",
                                        "BatchCv",   "BatchEstimate"};
    calls.push_back(std::string("result ") + names[static_cast<int>(field)] + " " + text);
    results[field] = text;
}

void RecordingView::setBatchModeChecked(bool checked) {
    calls.push_back(std::string("batchbox ") + (checked ? "on" : "off"));
    batchBox = checked;
}

void RecordingView::clearListRows() {
    calls.push_back("clearrows");
    rows.clear();
    rowChecks.clear();
    selectedRow = -1;
}

void RecordingView::appendListRow(const ListRowTexts& texts) {
    calls.push_back("append " + texts[0] + " " + texts[1] + " " + texts[2] + " " + texts[3]);
    rows.push_back(texts);
    rowChecks.push_back(false);
}

void RecordingView::insertListRows(const std::vector<int>& at,
                                   const std::vector<ListRowTexts>& texts,
                                   const std::vector<bool>& checked) {
    for (std::size_t i = 0; i < at.size(); ++i) {
        const int row = at[i];
        calls.push_back("insert " + std::to_string(row) + " " + texts[i][1]);
        if ((i > 0 && row <= at[i - 1]) || row > static_cast<int>(rows.size()))
            throw std::out_of_range("list insertion at " + std::to_string(row));
        rows.insert(rows.begin() + row, texts[i]);
        rowChecks.insert(rowChecks.begin() + row, checked[i]);
        if (selectedRow >= row)
            ++selectedRow;
    }
}

void RecordingView::removeListRows(const std::vector<int>& doomed) {
    // From the last row down, so that each index still names the row it meant.
    for (auto it = doomed.rbegin(); it != doomed.rend(); ++it) {
        const int row = *it;
        calls.push_back("remove " + std::to_string(row));
        checkRow(rows, row);
        rows.erase(rows.begin() + row);
        rowChecks.erase(rowChecks.begin() + row);
        if (selectedRow == row)
            selectedRow = -1;
        else if (selectedRow > row)
            --selectedRow;
    }
}

void RecordingView::setListCellText(int row, int column, const std::string& text) {
    calls.push_back("list " + std::to_string(row) + " " + std::to_string(column) + " " + text);
    checkRow(rows, row);
    rows[row].at(static_cast<std::size_t>(column)) = text;
}

void RecordingView::setListRowChecked(int row, bool checked) {
    calls.push_back("tick " + std::to_string(row) + (checked ? " on" : " off"));
    checkRow(rows, row);
    rowChecks[row] = checked;
}

void RecordingView::selectListRow(int row) {
    calls.push_back("select " + std::to_string(row));
    if (row != -1)
        checkRow(rows, row);
    selectedRow = row;
}

void RecordingView::ensureListRowVisible(int row) {
    calls.push_back("visible " + std::to_string(row));
}

void RecordingView::focusList() {
    calls.push_back("focuslist");
}

void RecordingView::focusTemperature() {
    calls.push_back("focustemperature");
}

void RecordingView::setReadingCellText(int point, int column, const std::string& text) {
    calls.push_back("cell " + std::to_string(point) + " " + std::to_string(column) + " " + text);
    cells[{point, column}] = text;
}

void RecordingView::repaintReadingGrid() {
    calls.push_back("repaint");
}

void RecordingView::commitReadingEdit() {
    calls.push_back("commit");
    if (!pendingEdit)
        return;
    const auto [row, column, text] = *pendingEdit;
    pendingEdit.reset();
    cells[{row, column}] = text;
    session->onReadingEdited(row, column, text);
}

Answer RecordingView::showMessage(const Message& message, AskButtons buttons) {
    calls.push_back("message " + message.text);
    messages.push_back({message, buttons});
    if (buttons == AskButtons::Ok)
        return Answer::Ok;
    if (answers.empty())
        return Answer::No;
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<std::string> RecordingView::chooseOpenFile() {
    calls.push_back("chooseopen");
    if (openChoices.empty())
        return std::nullopt;
    auto choice = openChoices.front();
    openChoices.pop_front();
    return choice;
}

std::optional<std::string> RecordingView::chooseSaveFile(const std::string& proposedName) {
    calls.push_back("choosesave " + proposedName);
    proposedSaveNames.push_back(proposedName);
    if (saveChoices.empty())
        return std::nullopt;
    auto choice = saveChoices.front();
    saveChoices.pop_front();
    return choice;
}

} // namespace morvik::test
