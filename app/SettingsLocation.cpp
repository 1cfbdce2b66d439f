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
        configDir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
        if (!configDir.isEmpty())
            QDir().mkpath(configDir);
    }
    return settingsLocation(programDir, writable, configDir);
}

} // namespace morvik
