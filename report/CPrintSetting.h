#pragma once
// The modal "打印设置" dialog: edits a working copy of the print settings and writes it
// into the application's settings on "确定" once the page number stands clear of the
// header and the footer; "取消" leaves them as they were.

#include "core/Records.h"
#include <QDialog>

class QCheckBox;
class QComboBox;

namespace morvik {

class CMyBtn;
class Prompt;
class GbkTextBox;

// Control ids of the dialog; control(id) returns the widget.
enum PrintSettingControl : int {
    kIdPrintOk = 1,
    kIdPrintCancel = 2,
    kIdHeaderText = 1100,
    kIdFooterText = 1101,
    kIdPageNumberFormat = 1102,
    kIdPageNumberPosition = 1103,
    kIdPrintHeader = 1104,
    kIdPrintFooter = 1105,
    kIdPrintPageNumber = 1106,
    kIdPrintDefaults = 1107,
};

class CPrintSetting : public QDialog {
    Q_OBJECT
public:
    // `settings` is the application's record; it changes only when "确定" passes.
    // Refusals are shown through `prompt`.
    CPrintSetting(PrintSettings& settings, Prompt& prompt, QWidget* parent = nullptr);

    QWidget* control(int id) const;
    const PrintSettings& workingCopy() const { return working_; }

private:
    void createControls();
    void connectHandlers();
    void refreshControls();

    void headerTextChanged();
    void footerTextChanged();
    void printHeaderClicked();
    void printFooterClicked();
    void printPageNumberClicked();
    void formatChosen(int index);
    void positionChosen(int index);
    void defaultsClicked();
    void okClicked();

    PrintSettings& settings_;
    PrintSettings working_;
    Prompt& prompt_;

    GbkTextBox* headerEdit_ = nullptr;
    GbkTextBox* footerEdit_ = nullptr;
    QComboBox* formatCombo_ = nullptr;
    QComboBox* positionCombo_ = nullptr;
    QCheckBox* headerCheck_ = nullptr;
    QCheckBox* footerCheck_ = nullptr;
    QCheckBox* pageNumberCheck_ = nullptr;
    CMyBtn* defaultsButton_ = nullptr;
    CMyBtn* okButton_ = nullptr;
    CMyBtn* cancelButton_ = nullptr;
};

} // namespace morvik
