#include "app/SystemMenu.h"

#include "app/AboutBox.h"
#include "app/DialogIds.h"

#include <QString>
#include <QWidget>
#include <string>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace morvik {

#ifdef Q_OS_WIN

namespace {
// System commands carry flags in their low four bits.
constexpr WPARAM kSystemCommandMask = 0xFFF0;
} // namespace

void appendAboutToSystemMenu(QWidget& window) {
    HMENU menu = GetSystemMenu(reinterpret_cast<HWND>(window.winId()), FALSE);
    if (!menu)
        return;
    const std::wstring text = QString::fromUtf8(kAboutMenuText).toStdWString();
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kIdAboutBox, text.c_str());
}

bool isAboutCommand(const QByteArray& eventType, void* message) {
    if (eventType != "windows_generic_MSG")
        return false;
    const MSG* msg = static_cast<const MSG*>(message);
    return msg->message == WM_SYSCOMMAND &&
           (msg->wParam & kSystemCommandMask) == static_cast<WPARAM>(kIdAboutBox);
}

#else

void appendAboutToSystemMenu(QWidget&) {}

bool isAboutCommand(const QByteArray&, void*) {
    return false;
}

#endif

} // namespace morvik
