#pragma once
// The About entry of the window's system menu. Only Windows lets a program extend that
// menu; elsewhere F1 opens the About box instead (see KeyboardFilter.h).
#include <QByteArray>
#include <QtGlobal>

class QWidget;

namespace morvik {

// Appends a separator and the About entry (command kIdAboutBox) to `window`'s system menu.
// Does nothing where there is no such menu.
void appendAboutToSystemMenu(QWidget& window);

// True when a native message is the About entry's command.
bool isAboutCommand(const QByteArray& eventType, void* message);

} // namespace morvik
