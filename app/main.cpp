#include "app/CMorvikApp.h"
#include "controls/Prompt.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("morvik"));
    morvik::CMorvikApp program(morvik::widgetPrompt());
    program.start(QApplication::arguments(), morvik::settingsLocationOfThisProgram());
    return program.exec();
}
