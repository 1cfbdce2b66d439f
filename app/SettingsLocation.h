#pragma once
// Where default.ini is read and written: beside the program, as it always was; when the
// program's folder cannot be written (an installed program), in the user's configuration
// folder instead, so that the print settings survive the exit.
#include <QString>

namespace morvik {

struct SettingsLocation {
    QString readPath;
    QString writePath;
};

// `programDir` is the program's folder, `configDir` the user's configuration folder of
// the program. When the program's folder cannot be written, the file is read from the
// configuration folder once it exists there, and from beside the program until then.
SettingsLocation settingsLocation(const QString& programDir, bool programDirWritable,
                                  const QString& configDir);

// The location for this program: its folder and the platform's configuration folder,
// which is created when it is needed.
SettingsLocation settingsLocationOfThisProgram();

} // namespace morvik
