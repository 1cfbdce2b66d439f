#pragma once
// The About box: the program's icon, its name and one line about it, and OK.
#include <QDialog>

namespace morvik {

// The caption and first line: the system menu entry's text as a dialog shows it.
inline constexpr const char* kAboutMenuText = "关于砂浆抗压强度测试仪软件(&A)...";
inline constexpr const char* kAboutCaption = "关于砂浆抗压强度测试仪软件";
inline constexpr const char* kAboutSecondLine = "砂浆抗压强度贯入法检测  JGJ/T 136-2017  版本 2.01";

class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);
};

} // namespace morvik
