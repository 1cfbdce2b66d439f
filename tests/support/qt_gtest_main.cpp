// Shared main of the widget tests: one QApplication on the offscreen platform for the
// whole run, so tests can create widgets and send QTest events without a display.
#include "tests/support/Portable.h"

#include <QApplication>
#include <QFont>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    morvik::test::setEnvironment("QT_QPA_PLATFORM", "offscreen", false);
    QApplication app(argc, argv);
#ifdef _WIN32
    // On Windows the offscreen platform reads the fonts of one folder and knows neither
    // aliases nor a preferred face per script: its "Sans Serif" would be the first family by
    // name, and so would the fallback for Chinese. Name the faces fontconfig gives the Linux
    // runs, so that the widgets draw and measure alike on both.
    if (QGuiApplication::platformName() == QStringLiteral("offscreen")) {
        QFont font = QApplication::font();
        font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans CJK SC")});
        QApplication::setFont(font);
    }
#endif
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
