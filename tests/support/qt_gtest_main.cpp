// Shared main of the widget tests: one QApplication on the offscreen platform for the
// whole run, so tests can create widgets and send QTest events without a display.
#include "tests/support/Portable.h"

#include <QApplication>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    morvik::test::setEnvironment("QT_QPA_PLATFORM", "offscreen", false);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
