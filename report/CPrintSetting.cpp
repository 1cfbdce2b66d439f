#include "report/CPrintSetting.h"

#include "controls/CMyBtn.h"
#include "controls/ColorRef.h"
#include "controls/DialogUnits.h"
#include "controls/GbkTextBox.h"
#include "controls/Prompt.h"
#include "controls/SongFont.h"
#include "core/GbkText.h"
#include "sheet/PageNumberClearance.h"
#include "sheet/PageNumbering.h"
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QSignalBlocker>

namespace morvik {

namespace {

constexpr int kDialogFontPoints = 9;
constexpr int kDialogWidthDu = 183;
constexpr int kDialogHeightDu = 223;

void storeText(const QString& text, char (&field)[64]) {
    textToField(text.toStdString(), field);
}

} // namespace

CPrintSetting::CPrintSetting(PrintSettings& settings, Prompt& prompt, QWidget* parent)
    : QDialog(parent), settings_(settings), working_(settings), prompt_(prompt) {
    setWindowTitle(QStringLiteral("打印设置"));
    setFont(songFont(kDialogFontPoints));
    QPalette face = palette();
    face.setColor(QPalette::Window, colorFromRef(kFaceColour));
    face.setColor(QPalette::WindowText, Qt::black);
    setPalette(face);
    setAutoFillBackground(true);

    createControls();
    connectHandlers();
    for (const QString& sample : pageNumberFormatSamples())
        formatCombo_->addItem(sample);
    for (const QString& position : pageNumberPositionTexts())
        positionCombo_->addItem(position);
    refreshControls();
}

void CPrintSetting::createControls() {
    const DialogUnits du(font());
    setFixedSize(du.x(kDialogWidthDu), du.y(kDialogHeightDu));

    // Group boxes first, so they lie beneath the controls they frame.
    auto* fields = new QGroupBox(this);
    fields->setGeometry(du.rect(11, 6, 160, 138));
    auto* range = new QGroupBox(QStringLiteral("打印范围："), this);
    range->setGeometry(du.rect(11, 156, 160, 37));

    auto label = [this, &du](const char* text, int y) {
        auto* l = new QLabel(QString::fromUtf8(text), this);
        l->setGeometry(du.rect(23, y, 40, 8));
    };
    label("页眉内容：", 18);
    // One line on the page; the field keeps its terminator, so the box holds one byte less
    // than the field.
    headerEdit_ =
        new GbkTextBox({kPrintTextMaxChars, int(sizeof working_.headerText) - 1, 1}, this);
    headerEdit_->setGeometry(du.rect(74, 16, 78, 36));
    label("页脚内容：", 59);
    footerEdit_ =
        new GbkTextBox({kPrintTextMaxChars, int(sizeof working_.footerText) - 1, 1}, this);
    footerEdit_->setGeometry(du.rect(74, 57, 78, 36));
    label("页码格式：", 100);
    formatCombo_ = new QComboBox(this);
    formatCombo_->setGeometry(du.rect(74, 98, 78, 12));
    label("页码位置：", 121);
    positionCombo_ = new QComboBox(this);
    positionCombo_->setGeometry(du.rect(74, 119, 78, 12));

    headerCheck_ = new QCheckBox(QStringLiteral("打印页眉"), this);
    headerCheck_->setGeometry(du.rect(18, 171, 46, 13));
    footerCheck_ = new QCheckBox(QStringLiteral("打印页脚"), this);
    footerCheck_->setGeometry(du.rect(68, 171, 46, 13));
    pageNumberCheck_ = new QCheckBox(QStringLiteral("打印页码"), this);
    pageNumberCheck_->setGeometry(du.rect(118, 171, 46, 13));

    defaultsButton_ = new CMyBtn(QStringLiteral("默认"), this);
    defaultsButton_->setGeometry(du.rect(11, 201, 50, 15));
    okButton_ = new CMyBtn(QStringLiteral("确定"), this);
    okButton_->setGeometry(du.rect(66, 201, 50, 15));
    okButton_->setDefault(true);
    cancelButton_ = new CMyBtn(QStringLiteral("取消"), this);
    cancelButton_->setGeometry(du.rect(121, 201, 50, 15));
}

void CPrintSetting::connectHandlers() {
    connect(headerEdit_, &QPlainTextEdit::textChanged, this, &CPrintSetting::headerTextChanged);
    connect(footerEdit_, &QPlainTextEdit::textChanged, this, &CPrintSetting::footerTextChanged);
    connect(headerCheck_, &QCheckBox::clicked, this, &CPrintSetting::printHeaderClicked);
    connect(footerCheck_, &QCheckBox::clicked, this, &CPrintSetting::printFooterClicked);
    connect(pageNumberCheck_, &QCheckBox::clicked, this, &CPrintSetting::printPageNumberClicked);
    // Only the user's choice counts, as a selection set by the program is no choice.
    connect(formatCombo_, &QComboBox::activated, this, &CPrintSetting::formatChosen);
    connect(positionCombo_, &QComboBox::activated, this, &CPrintSetting::positionChosen);
    connect(defaultsButton_, &QPushButton::clicked, this, &CPrintSetting::defaultsClicked);
    connect(okButton_, &QPushButton::clicked, this, &CPrintSetting::okClicked);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
}

QWidget* CPrintSetting::control(int id) const {
    switch (id) {
    case kIdPrintOk:
        return okButton_;
    case kIdPrintCancel:
        return cancelButton_;
    case kIdHeaderText:
        return headerEdit_;
    case kIdFooterText:
        return footerEdit_;
    case kIdPageNumberFormat:
        return formatCombo_;
    case kIdPageNumberPosition:
        return positionCombo_;
    case kIdPrintHeader:
        return headerCheck_;
    case kIdPrintFooter:
        return footerCheck_;
    case kIdPrintPageNumber:
        return pageNumberCheck_;
    case kIdPrintDefaults:
        return defaultsButton_;
    default:
        return nullptr;
    }
}

void CPrintSetting::refreshControls() {
    {
        // Filling the boxes is no edit: re-encoding what they show would rewrite bytes after
        // the terminator, invalid GBK and a 64-byte text nobody touched.
        const QSignalBlocker headerQuiet(headerEdit_);
        const QSignalBlocker footerQuiet(footerEdit_);
        headerEdit_->setPlainText(QString::fromStdString(fieldToText(working_.headerText)));
        footerEdit_->setPlainText(QString::fromStdString(fieldToText(working_.footerText)));
    }
    headerCheck_->setChecked(working_.printHeader != 0);
    footerCheck_->setChecked(working_.printFooter != 0);
    pageNumberCheck_->setChecked(working_.printPageNumber != 0);
    headerEdit_->setEnabled(working_.printHeader != 0);
    footerEdit_->setEnabled(working_.printFooter != 0);
    positionCombo_->setEnabled(working_.printPageNumber != 0);
    formatCombo_->setEnabled(working_.printPageNumber != 0);
    // An index beyond the list (from a file written elsewhere) shows no selection.
    formatCombo_->setCurrentIndex(
        working_.pageNumberFormat < formatCombo_->count() ? working_.pageNumberFormat : -1);
    positionCombo_->setCurrentIndex(
        working_.pageNumberPosition < positionCombo_->count() ? working_.pageNumberPosition : -1);
}

void CPrintSetting::headerTextChanged() {
    storeText(headerEdit_->toPlainText(), working_.headerText);
}

void CPrintSetting::footerTextChanged() {
    storeText(footerEdit_->toPlainText(), working_.footerText);
}

void CPrintSetting::printHeaderClicked() {
    const bool on = headerCheck_->isChecked();
    headerEdit_->setEnabled(on);
    working_.printHeader = on ? 1 : 0;
}

void CPrintSetting::printFooterClicked() {
    const bool on = footerCheck_->isChecked();
    footerEdit_->setEnabled(on);
    working_.printFooter = on ? 1 : 0;
}

void CPrintSetting::printPageNumberClicked() {
    const bool on = pageNumberCheck_->isChecked();
    formatCombo_->setEnabled(on);
    positionCombo_->setEnabled(on);
    working_.printPageNumber = on ? 1 : 0;
}

void CPrintSetting::formatChosen(int index) {
    if (index >= 0)
        working_.pageNumberFormat = static_cast<std::uint8_t>(index);
}

void CPrintSetting::positionChosen(int index) {
    if (index >= 0)
        working_.pageNumberPosition = static_cast<std::uint8_t>(index);
}

void CPrintSetting::defaultsClicked() {
    working_ = defaultPrintSettings(working_);
    refreshControls();
}

void CPrintSetting::okClicked() {
    auto conflict = placementConflict(working_);
    if (!conflict)
        conflict = pageNumberOverlap(working_);
    if (conflict) {
        prompt_.showMessage(this, *conflict, PromptButtons::Ok);
        return;
    }
    settings_ = working_;
    accept();
}

} // namespace morvik
