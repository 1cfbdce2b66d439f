// The main dialog's handler table: every user event of its controls, commands and window
// goes to the session, in one place.
#include "app/CMorvikDlg.h"

#include "app/AboutBox.h"
#include "app/Calculator.h"
#include "app/DatePicker.h"
#include "app/DialogIds.h"
#include "app/FieldUndo.h"
#include "app/KeyboardFilter.h"
#include "controls/CMyBtn.h"
#include "controls/CSortListCtrl.h"
#include "grid/CComboGridCtrl.h"
#include "report/CMainFrame.h"
#include "report/CPrintSetting.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTimer>
#include <QUrl>

namespace morvik {

namespace {

const char* const kDataFileExtension = "stl";

std::string utf8(const QString& text) {
    return text.toStdString();
}

// The one .stl file a drag carries, or an empty text.
QString droppedDataFile(const QMimeData* mime) {
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1)
        return {};
    const QUrl url = mime->urls().first();
    if (!url.isLocalFile())
        return {};
    const QString path = url.toLocalFile();
    if (QFileInfo(path).suffix().compare(QString::fromUtf8(kDataFileExtension),
                                         Qt::CaseInsensitive) != 0)
        return {};
    return path;
}

} // namespace

void CMorvikDlg::connectHandlers() {
    connect(grid_, &CGridCtrl::notify, this, [this](const GridNotify& n) {
        if (n.code == GridEndEdit)
            session_.onReadingEdited(n.row, n.col, utf8(grid_->itemText(n.row, n.col)));
    });

    auto lineEdit = [this](int id) { return static_cast<QLineEdit*>(control(id)); };
    auto projectText = [this, lineEdit](int id, ProjectText field) {
        connect(lineEdit(id), &QLineEdit::textEdited, this, [this, field](const QString& text) {
            session_.onProjectTextChanged(field, utf8(text));
        });
    };
    projectText(kIdInstrumentNumber, ProjectText::InstrumentNumber);
    projectText(kIdReviewer, ProjectText::Reviewer);
    projectText(kIdChiefInspector, ProjectText::ChiefInspector);
    projectText(kIdStrengthGrade, ProjectText::StrengthGrade);
    // The multi-line fields have no user-only signal; the dialog blocks their signals
    // while it fills them.
    auto* projectName = static_cast<QPlainTextEdit*>(control(kIdProjectName));
    connect(projectName, &QPlainTextEdit::textChanged, this, [this, projectName] {
        session_.onProjectTextChanged(ProjectText::ProjectName, utf8(projectName->toPlainText()));
    });
    auto* remark = static_cast<QPlainTextEdit*>(control(kIdRemark));
    connect(remark, &QPlainTextEdit::textChanged, this,
            [this, remark] { session_.onRemarkChanged(utf8(remark->toPlainText())); });
    connect(lineEdit(kIdTemperature), &QLineEdit::textEdited, this,
            [this](const QString& text) { session_.onTemperatureChanged(utf8(text)); });
    connect(lineEdit(kIdMemberName), &QLineEdit::textEdited, this,
            [this](const QString& text) { session_.onMemberNameChanged(utf8(text)); });

    connect(static_cast<DatePicker*>(control(kIdTestDate)), &DatePicker::userDateChanged, this,
            [this](const std::optional<CivilDate>& date) {
                session_.onDateChanged(DateField::TestDate, date);
            });
    connect(static_cast<DatePicker*>(control(kIdConstructionDate)), &DatePicker::userDateChanged,
            this, [this](const std::optional<CivilDate>& date) {
                session_.onDateChanged(DateField::ConstructionDate, date);
            });

    // activated is raised by the user's choice only, never by the dialog's own selection.
    auto choice = [this](int id, std::function<void(int)> handler) {
        connect(static_cast<QComboBox*>(control(id)), &QComboBox::activated, this,
                [handler](int index) { handler(index); });
    };
    choice(kIdBasis, [this](int index) { session_.onBasisChanged(index); });
    choice(kIdMortarKind, [this](int index) { session_.onKindChanged(index); });
    choice(kIdMortarVariety, [this](int index) { session_.onVarietyChanged(index); });

    connect(static_cast<QCheckBox*>(control(kIdBatchMode)), &QCheckBox::clicked, this,
            [this](bool checked) { session_.toggleBatchMode(checked); });

    connect(list_, &CSortListCtrl::itemChanged, this, [this](const ListItemChange& c) {
        session_.onMemberItemChanged(c.row, c.becameSelected(), c.checkChanged(), c.isChecked());
    });
    connect(list_, &CSortListCtrl::rightClicked, this,
            [this](int, const QPoint& globalPos) { listMenu_->exec(globalPos); });

    for (int id : {kIdPrintSettings, kIdPrintPreview, kIdCalculator, kIdClearProjectInfo,
                   kIdClearReadings, kIdSave, kIdOpen, kIdCalculate, kIdExit, kIdNewFile})
        connectButton(id);
}

void CMorvikDlg::connectButton(int id) {
    connect(static_cast<CMyBtn*>(control(id)), &QPushButton::clicked, this,
            [this, id] { runCommand(id); });
}

void CMorvikDlg::runCommand(int id) {
    switch (id) {
    case kIdPrintSettings:
        runPrintSettings();
        break;
    case kIdPrintPreview:
        startPrintPreview();
        break;
    case kIdCalculator:
        runCalculator(); // a missing calculator is not reported
        break;
    case kIdClearProjectInfo:
        session_.clearProjectInfo();
        break;
    case kIdClearReadings:
        session_.clearReadings();
        break;
    case kIdSave:
        session_.saveDataSet();
        break;
    case kIdOpen:
        session_.openDataSet();
        break;
    case kIdCalculate:
        session_.onCalculate();
        break;
    case kIdExit:
        exitProgram();
        break;
    case kIdNewFile:
        session_.newDataSet();
        break;
    case kCmdDeleteMembers:
        session_.deleteCheckedMembers();
        break;
    case kCmdAddMember:
        session_.addMember();
        break;
    case kCmdToggleAllChecks:
        session_.toggleAllChecks();
        break;
    case kCmdUndo:
    case kCmdRedo:
        // An open cell editor ends first, so its text is not stored over what comes back.
        if (cellEditorOpen(*grid_))
            commitReadingEdit();
        if (id == kCmdUndo)
            session_.undo();
        else
            session_.redo();
        break;
    case kIdAboutBox:
        showAboutBox();
        break;
    default:
        break;
    }
}

void CMorvikDlg::start() {
    session_.start();
    control(kIdMemberName)->setFocus(Qt::OtherFocusReason);
}

void CMorvikDlg::setPointerPosition(std::function<QPoint()> where) {
    keyFilter_->setPointerPosition(std::move(where));
}

void CMorvikDlg::runPrintSettings() {
    CPrintSetting dialog(session_.printSettings(), prompt_, this);
    dialog.exec();
}

void CMorvikDlg::startPrintPreview() {
    // The pages take copies: the dialog is hidden while the preview runs, and nothing it
    // holds can change a page once the preview has started.
    std::vector<ShaJiang_GouJian_Struct> pageMembers;
    for (const int index : session_.previewMembers())
        pageMembers.push_back(session_.members().at(static_cast<std::size_t>(index)));
    CMainFrame* frame = CMainFrame::startPreview(
        *this,
        PreviewPages(session_.project(), std::move(pageMembers), session_.batchMode(),
                     session_.batch(), session_.printSettings()),
        prompt_);
    // The sheets of a data file are named after it, beside it.
    const QString dataFile = QString::fromStdString(session_.currentFilePath());
    if (!dataFile.isEmpty()) {
        const QFileInfo info(dataFile);
        frame->proposePdfFile(info.dir().filePath(info.completeBaseName() + ".pdf"));
    }
}

void CMorvikDlg::showAboutBox() {
    AboutBox box(this);
    box.exec();
}

void CMorvikDlg::openFromDesktop(const QString& path, bool askFirst) {
    if (askFirst && !session_.confirmSaveChanges())
        return;
    session_.openPath(utf8(path));
}

void CMorvikDlg::endWithConsent() {
    ending_ = true;
    // The user saved or gave up the changes: nothing is left to recover.
    session_.discardJournal();
}

void CMorvikDlg::exitProgram() {
    if (ending_ || !session_.exitProgram())
        return;
    endWithConsent();
    QDialog::done(QDialog::Accepted);
}

void CMorvikDlg::reject() {
    // Esc: the session decides, asking first when there are unsaved changes.
    if (ending_ || !session_.escapePressed())
        return;
    endWithConsent();
    QDialog::reject();
}

void CMorvikDlg::closeEvent(QCloseEvent* event) {
    if (ending_) {
        event->accept();
        return;
    }
    if (!session_.exitProgram()) {
        event->ignore();
        return;
    }
    endWithConsent();
    event->accept();
    QDialog::done(QDialog::Rejected);
}

void CMorvikDlg::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedDataFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void CMorvikDlg::dropEvent(QDropEvent* event) {
    const QString path = droppedDataFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // The drop ends first: the program that dragged the file waits for it, and must not
    // wait while the save question or a message is open here.
    QTimer::singleShot(0, this, [this, path] { openFromDesktop(path, true); });
}

} // namespace morvik
