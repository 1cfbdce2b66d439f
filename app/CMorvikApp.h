#pragma once
// The program: reads the print settings, builds and starts the main dialog, shows it and
// opens a data file named on the command line, then runs until the dialog ends.
#include "app/SettingsLocation.h"

#include <QStringList>
#include <memory>

namespace morvik {

class CMorvikDlg;
class Prompt;

class CMorvikApp {
public:
    explicit CMorvikApp(Prompt& prompt);
    ~CMorvikApp();

    // Everything up to the event loop. `arguments` are the program's (the first is the
    // program itself); a second one is a data file opened as 打开 opens a chosen file.
    CMorvikDlg& start(const QStringList& arguments, const SettingsLocation& settings);

    // Runs the event loop until the dialog has ended.
    int exec();

    CMorvikDlg* dialog() const { return dialog_.get(); }

private:
    Prompt& prompt_;
    std::unique_ptr<CMorvikDlg> dialog_;
};

} // namespace morvik
