#include "app/CMorvikApp.h"
#include "app/Recovery.h"
#include "controls/Prompt.h"
#include "sheet/PainterCanvas.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("morvik"));
    QApplication::setApplicationVersion(QStringLiteral(MORVIK_VERSION));
    morvik::PainterCanvas::addPackagedSongFonts(QApplication::applicationDirPath());
    // The program speaks Chinese whatever the desktop's language, so the buttons of its
    // message boxes and the file and print dialogs do too (是/否, 保存, 取消, ...).
    // Dates in the calendars and the file dialogs follow the same language.
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    // The Windows package carries its own copy beside the program; Linux has the system's.
    QTranslator standardTexts;
    for (const QString& folder :
         {QApplication::applicationDirPath() + QStringLiteral("/translations"),
          QLibraryInfo::path(QLibraryInfo::TranslationsPath)}) {
        if (standardTexts.load(QStringLiteral("qtbase_zh_CN"), folder)) {
            QApplication::installTranslator(&standardTexts);
            break;
        }
    }
    morvik::CMorvikApp program(morvik::widgetPrompt(), morvik::journalFolder());
    program.start(QApplication::arguments(), morvik::settingsLocationOfThisProgram());
    return program.exec();
}
