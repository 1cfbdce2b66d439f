#include "controls/Prompt.h"

#include "controls/NameOnlyIconProvider.h"
#include <QFileDialog>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>
#include <algorithm>

namespace morvik {

namespace {

QMessageBox::Icon boxIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        return QMessageBox::NoIcon;
    }
    return QMessageBox::NoIcon;
}

std::optional<QString> runFileDialog(QWidget* parent, const FileDialogRequest& request,
                                     QFileDialog::AcceptMode mode) {
    static NameOnlyIconProvider icons;
    QFileDialog dialog(parent);
    dialog.setIconProvider(&icons);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile
                                                       : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.setNameFilter(request.filterDescription + " (" + request.filterPattern + ")");
    if (!request.initialName.isEmpty())
        dialog.selectFile(request.initialName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

// Message boxes size themselves to their text alone: a short one, like "保存文件成功。",
// leaves no room for its caption in the title bar, and a long line of Chinese can be
// measured a little narrower than the fallback font then draws it, which clips or wraps
// its last character. A spacer under the contents sets the least width.
constexpr int kMinMessageWidth = 260;
constexpr int kMaxMessageWidth = 640;
constexpr double kTextSlack = 1.15;

void giveRoomToTextAndCaption(QMessageBox& box) {
    const QFontMetrics metrics(box.font());
    int widest = 0;
    for (const QString& line : box.text().split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    const int width =
        std::clamp(static_cast<int>(widest * kTextSlack), kMinMessageWidth, kMaxMessageWidth);
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Expanding),
                      grid->rowCount(), 0, 1, grid->columnCount());
}

} // namespace

PromptAnswer WidgetPrompt::showMessage(QWidget* parent, const Message& message,
                                       PromptButtons buttons) {
    QMessageBox box(boxIcon(message.icon), QString::fromStdString(message.caption),
                    QString::fromStdString(message.text), QMessageBox::NoButton, parent);
    if (buttons == PromptButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        giveRoomToTextAndCaption(box);
        return box.exec() == QMessageBox::Yes ? PromptAnswer::Yes : PromptAnswer::No;
    }
    if (buttons == PromptButtons::YesNoCancel) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
        giveRoomToTextAndCaption(box);
        switch (box.exec()) {
        case QMessageBox::Yes:
            return PromptAnswer::Yes;
        case QMessageBox::No:
            return PromptAnswer::No;
        default:
            return PromptAnswer::Cancel;
        }
    }
    box.setStandardButtons(QMessageBox::Ok);
    giveRoomToTextAndCaption(box);
    box.exec();
    return PromptAnswer::Ok;
}

std::optional<QString> WidgetPrompt::openFileName(QWidget* parent,
                                                  const FileDialogRequest& request) {
    return runFileDialog(parent, request, QFileDialog::AcceptOpen);
}

std::optional<QString> WidgetPrompt::saveFileName(QWidget* parent,
                                                  const FileDialogRequest& request) {
    return runFileDialog(parent, request, QFileDialog::AcceptSave);
}

Prompt& widgetPrompt() {
    static WidgetPrompt prompt;
    return prompt;
}

} // namespace morvik
