#include "app/CMorvikApp.h"
#include "app/Recovery.h"
#include "controls/Prompt.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("morvik"));
    QApplication::setApplicationVersion(QStringLiteral(MORVIK_VERSION));
    morvik::CMorvikApp program(morvik::widgetPrompt(), morvik::journalFolder());
    program.start(QApplication::arguments(), morvik::settingsLocationOfThisProgram());
    return program.exec();
}
