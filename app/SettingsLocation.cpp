#include "app/SettingsLocation.h"

#include "io/SettingsFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace morvik {

SettingsLocation settingsLocation(const QString& programDir, bool programDirWritable,
                                  const QString& configDir) {
    const QString beside = QDir(programDir).filePath(QString::fromUtf8(kSettingsFileName));
    if (programDirWritable || configDir.isEmpty())
        return {beside, beside};
    const QString own = QDir(configDir).filePath(QString::fromUtf8(kSettingsFileName));
    return {QFileInfo::exists(own) ? own : beside, own};
}

SettingsLocation settingsLocationOfThisProgram() {
    const QString programDir = QCoreApplication::applicationDirPath();
    const bool writable = QFileInfo(programDir).isWritable();
    QString configDir;
    if (!writable) {
#ifdef Q_OS_WIN
        // %APPDATA%\morvik: the roaming profile, where Windows programs keep settings.
        const QString roaming = qEnvironmentVariable("APPDATA");
        if (!roaming.isEmpty())
            configDir = QDir(roaming).filePath(QStringLiteral("morvik"));
#else
        configDir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
#endif
        if (!configDir.isEmpty())
            QDir().mkpath(configDir);
    }
    return settingsLocation(programDir, writable, configDir);
}

} // namespace morvik
