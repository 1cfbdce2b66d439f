// The main dialog as the session's view: what the session shows goes into the widgets
// without raising the signals that carry the user's changes back to it.
#include "app/CMorvikDlg.h"

#include "app/DatePicker.h"
#include "app/DialogIds.h"
#include "app/ReadingGrid.h"
#include "controls/CSortListCtrl.h"
#include "core/Vocabulary.h"
#include "grid/CComboGridCtrl.h"
#include "grid/CInPlaceEdit.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <algorithm>
#include <iterator>

namespace morvik {

namespace {

const char* const kDataFileSuffix = "stl";
const char* const kDataFileFilterDescription = "砂浆抗压强度数据.stl";
const char* const kDataFileFilterPattern = "*.stl";

QString qs(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

// A list row's or a list column's texts.
template <typename Texts> QStringList qsList(const Texts& texts) {
    QStringList shown;
    shown.reserve(qsizetype(texts.size()));
    for (const std::string& text : texts)
        shown.append(qs(text));
    return shown;
}

FileDialogRequest dataFileRequest(const QString& initialName) {
    return {initialName, QString::fromUtf8(kDataFileSuffix),
            QString::fromUtf8(kDataFileFilterDescription),
            QString::fromUtf8(kDataFileFilterPattern)};
}

// The control of each result field, in the order of ResultField.
constexpr int kResultControls[] = {kIdMeanDepth, kIdStrength,     kIdMemberEstimate,
                                   kIdBatchMean, kIdBatchStdDev,  kIdBatchMin,
                                   kIdBatchCv,   kIdBatchEstimate};
static_assert(std::size(kResultControls) == std::size_t(ResultField::BatchEstimate) + 1);

// Line edits raise textEdited only for the user, so a plain setText is quiet.
void showText(QWidget* w, const std::string& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        edit->setText(qs(text));
    } else if (auto* multi = qobject_cast<QPlainTextEdit*>(w)) {
        const QSignalBlocker quiet(multi);
        multi->setPlainText(qs(text));
    }
}

// Combo boxes raise activated only for the user.
void showIndex(QWidget* w, int index) {
    static_cast<QComboBox*>(w)->setCurrentIndex(index);
}

} // namespace

void CMorvikDlg::setTitle(const std::string& title) {
    setWindowTitle(qs(title));
}

void CMorvikDlg::showProjectFields(const ProjectFields& f) {
    showText(control(kIdProjectName), f.projectName);
    showText(control(kIdInstrumentNumber), f.instrumentNumber);
    showText(control(kIdTemperature), std::to_string(f.temperature));
    showIndex(control(kIdBasis), f.basisIndex);
    static_cast<DatePicker*>(control(kIdConstructionDate))->showDate(f.constructionDate);
    showText(control(kIdReviewer), f.reviewer);
    showText(control(kIdChiefInspector), f.chiefInspector);
    showText(control(kIdStrengthGrade), f.strengthGrade);

    showIndex(control(kIdMortarKind), f.kind);
    auto* variety = static_cast<QComboBox*>(control(kIdMortarVariety));
    variety->clear();
    const auto& lists = varietyLists();
    if (f.kind >= 0 && f.kind < int(lists.size()))
        for (const std::string& item : lists[std::size_t(f.kind)])
            variety->addItem(qs(item));
    variety->setCurrentIndex(f.variety);
}

void CMorvikDlg::showMemberFields(const MemberFields& f) {
    showText(control(kIdMemberName), f.memberName);
    static_cast<DatePicker*>(control(kIdTestDate))->showDate(f.testDate);
    showText(control(kIdRemark), f.remark);
    // Another member on screen: the keyboard starts again at its point 1, not in the cell
    // where the last member's typing ended.
    if (session_.currentMember() != gridMember_) {
        gridMember_ = session_.currentMember();
        restartReadingEntry(*grid_);
    }
}

void CMorvikDlg::setResultText(ResultField field, const std::string& text) {
    QWidget* edit = control(kResultControls[std::size_t(field)]);
    const QString before = static_cast<QLineEdit*>(edit)->text();
    showText(edit, text);
    // A new result is said at once, while the focus stays on the reading being typed.
    if (qs(text) != before) {
        QAccessibleValueChangeEvent changed(edit, qs(text));
        QAccessible::updateAccessibility(&changed);
    }
}

void CMorvikDlg::setBatchModeChecked(bool checked) {
    static_cast<QCheckBox*>(control(kIdBatchMode))->setChecked(checked);
}

void CMorvikDlg::clearListRows() {
    gridMember_ = -1; // a new set of members: its first one is another member
    for (int row = 0; row < list_->rowCount(); ++row)
        list_->freeRowData(row);
    list_->deleteAllRows();
}

void CMorvikDlg::appendListRow(const ListRowTexts& texts) {
    list_->addRow(qsList(texts));
}

void CMorvikDlg::insertListRows(const std::vector<int>& at, const std::vector<ListRowTexts>& rows,
                                const std::vector<bool>& checked) {
    std::vector<QStringList> texts;
    texts.reserve(rows.size());
    for (const ListRowTexts& row : rows)
        texts.push_back(qsList(row));
    list_->insertRows(at, texts, checked);
}

void CMorvikDlg::removeListRows(const std::vector<int>& rows) {
    list_->deleteRows(rows);
}

void CMorvikDlg::setListCellText(int row, int column, const std::string& text) {
    list_->setCellText(row, column, qs(text));
}

void CMorvikDlg::setListColumnTexts(int column, int first, const std::vector<std::string>& texts) {
    list_->setColumnTexts(column, first, qsList(texts));
}

void CMorvikDlg::setListRowChecked(int row, bool checked) {
    list_->setRowChecked(row, checked, ListNotify::Quiet);
}

void CMorvikDlg::selectListRow(int row) {
    // Only the rows that hold a state are visited, so a long list costs nothing here.
    QItemSelectionModel* selection = list_->selectionModel();
    for (const QModelIndex& index : selection->selectedRows())
        list_->setRowState(index.row(), 0, kListSelected, ListNotify::Quiet);
    const int focused = selection->currentIndex().row();
    if (focused >= 0)
        list_->setRowState(focused, 0, kListFocused, ListNotify::Quiet);
    if (row >= 0)
        list_->setRowState(row, kListSelected | kListFocused, kListSelected | kListFocused,
                           ListNotify::Quiet);
}

void CMorvikDlg::ensureListRowVisible(int row) {
    list_->ensureRowVisible(row);
}

void CMorvikDlg::focusList() {
    list_->setFocus(Qt::OtherFocusReason);
}

void CMorvikDlg::focusTemperature() {
    auto* field = qobject_cast<QLineEdit*>(control(kIdTemperature));
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
}

void CMorvikDlg::setReadingCellText(int point, int column, const std::string& text) {
    grid_->setItemText(point, column, qs(text));
    grid_->viewport()->update();
}

void CMorvikDlg::repaintReadingGrid() {
    grid_->viewport()->update();
}

void CMorvikDlg::commitReadingEdit() {
    const QList<CInPlaceEdit*> editors = grid_->findChildren<CInPlaceEdit*>();
    // With no edit open the focus stays where the inspector has it: arrowing through the
    // member list must not throw the keyboard into the grid.
    if (std::none_of(editors.begin(), editors.end(),
                     [](const CInPlaceEdit* editor) { return editor->isVisible(); }))
        return;
    grid_->setFocus(Qt::OtherFocusReason);
    // Without an active window no focus change is delivered; the open editor is then told
    // directly, so its text is stored for the member that is still current.
    for (CInPlaceEdit* editor : editors)
        if (editor->isVisible()) {
            QFocusEvent lost(QEvent::FocusOut, Qt::OtherFocusReason);
            QCoreApplication::sendEvent(editor, &lost);
        }
}

Answer CMorvikDlg::showMessage(const Message& message, AskButtons buttons) {
    PromptButtons shown = PromptButtons::Ok;
    if (buttons == AskButtons::YesNo)
        shown = PromptButtons::YesNo;
    else if (buttons == AskButtons::YesNoCancel)
        shown = PromptButtons::YesNoCancel;
    switch (prompt_.showMessage(this, message, shown)) {
    case PromptAnswer::Yes:
        return Answer::Yes;
    case PromptAnswer::No:
        return Answer::No;
    case PromptAnswer::Cancel:
        return Answer::Cancel;
    case PromptAnswer::Ok:
        break;
    }
    return Answer::Ok;
}

std::optional<std::string> CMorvikDlg::chooseOpenFile() {
    const std::optional<QString> path = prompt_.openFileName(this, dataFileRequest(QString()));
    if (!path)
        return std::nullopt;
    return path->toStdString();
}

std::optional<std::string> CMorvikDlg::chooseSaveFile(const std::string& proposedName) {
    const std::optional<QString> path =
        prompt_.saveFileName(this, dataFileRequest(qs(proposedName)));
    if (!path)
        return std::nullopt;
    return path->toStdString();
}

} // namespace morvik
