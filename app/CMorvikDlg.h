#pragma once
// The main dialog: a thin view over the session that owns the data set.
//
//   widget event -> Session operation -> SessionView call -> widget update or prompt
//
// The dialog creates the controls of its template, forwards every user event to the
// session and carries out what the session asks through SessionView. Programmatic changes
// of its controls never reach the session again (quiet list calls, signals that only the
// user's edits raise, blocked signals where a control has no such signal).
#include "controls/Prompt.h"
#include "session/Session.h"

#include <QDialog>
#include <QHash>
#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QScrollArea;

namespace morvik {

class CComboGridCtrl;
class CSortListCtrl;
class DatePicker;
class MainDialogKeyFilter;

class CMorvikDlg : public QDialog, private SessionView {
    Q_OBJECT
public:
    // Messages and file dialogs go through `prompt`; `today` fixes the date the session
    // fills in (the local date when empty).
    explicit CMorvikDlg(Prompt& prompt = widgetPrompt(), std::function<CivilDate()> today = {},
                        QWidget* parent = nullptr);
    ~CMorvikDlg() override;

    Session& session() { return session_; }
    const Session& session() const { return session_; }

    // The dialog's initialisation on the session (first member, project fields, title),
    // leaving the keyboard focus on 构件编号.
    void start();

    // The control with the given id, or null.
    QWidget* control(int id) const;
    CComboGridCtrl* readingGrid() const { return grid_; }
    CSortListCtrl* memberList() const { return list_; }

    // Runs a button, menu or accelerator command by its id, as a click would.
    void runCommand(int id);

    // Where the keyboard filter takes the mouse pointer to be, in global coordinates
    // (QCursor::pos() unless replaced).
    void setPointerPosition(std::function<QPoint()> where);

    // 打印预览: the members of the preview pages come from the session; the preview frame
    // is shown from here.
    void startPrintPreview();

    // Opens a file handed to the program from the desktop (command line, drop).
    // `askFirst` offers to save unsaved changes first and stops when that save fails.
    void openFromDesktop(const QString& path, bool askFirst);

    // The member list's context menu, owned by the dialog (its actions run the commands).
    QMenu* memberListMenu() const { return listMenu_; }

    // The About box, modally.
    void showAboutBox();

    // Keeps the whole window inside `available` (a screen's area for windows): where the
    // controls do not fit, the dialog shrinks, scrolls them and moves inside. Runs by itself
    // when the dialog is shown and once the window manager has framed it.
    void fitToScreen(const QRect& available);
    QScrollArea* scrollArea() const { return scroll_; }

protected:
    void reject() override; // Esc
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    // SessionView
    void setTitle(const std::string& title) override;
    void showProjectFields(const ProjectFields& fields) override;
    void showMemberFields(const MemberFields& fields) override;
    void setResultText(ResultField field, const std::string& text) override;
    void setBatchModeChecked(bool checked) override;
    void clearListRows() override;
    void appendListRow(const ListRowTexts& texts) override;
    void insertListRows(const std::vector<int>& at, const std::vector<ListRowTexts>& rows,
                        const std::vector<bool>& checked) override;
    void removeListRows(const std::vector<int>& rows) override;
    void setListCellText(int row, int column, const std::string& text) override;
    void setListColumnTexts(int column, int first, const std::vector<std::string>& texts) override;
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

    void createControls();
    void createListMenu();
    void connectHandlers();
    void connectButton(int id);
    void exitProgram();
    // The session agreed to end: from here on the dialog only closes.
    void endWithConsent();
    void runPrintSettings();

    Prompt& prompt_;
    Session session_;
    QScrollArea* scroll_ = nullptr;
    QWidget* page_ = nullptr; // the controls at their template places
    bool fittedToFrame_ = false;
    QHash<int, QWidget*> controls_;
    CComboGridCtrl* grid_ = nullptr;
    CSortListCtrl* list_ = nullptr;
    // The member whose readings the grid's keyboard entry belongs to (-1: none yet).
    int gridMember_ = -1;
    QMenu* listMenu_ = nullptr;
    std::unique_ptr<MainDialogKeyFilter> keyFilter_;
    // Set once the session agreed to end, so the closing steps run once.
    bool ending_ = false;
};

} // namespace morvik
