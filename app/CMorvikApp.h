#pragma once
// The program: reads the print settings, builds and starts the main dialog, shows it and
// opens a data file named on the command line, then runs until the dialog ends.
#include "app/SettingsLocation.h"

#include <QStringList>
#include <QTimer>
#include <filesystem>
#include <memory>

namespace morvik {

class CMorvikDlg;
class Prompt;
class RecoveryJournal;

class CMorvikApp {
public:
    // `journalFolder` keeps the recovery journals (none when empty).
    explicit CMorvikApp(Prompt& prompt, std::filesystem::path journalFolder = {});
    ~CMorvikApp();

    // Everything up to the event loop. `arguments` are the program's (the first is the
    // program itself); a second one is a data file opened as 打开 opens a chosen file,
    // unless the data of a program that died were recovered first (openRequestedFile).
    CMorvikDlg& start(const QStringList& arguments, const SettingsLocation& settings);

    // Runs the event loop until the dialog has ended.
    int exec();

    CMorvikDlg* dialog() const { return dialog_.get(); }

    // How often the journal is brought up to date with the data set.
    static constexpr int kJournalIntervalMs = 500;

private:
    Prompt& prompt_;
    std::filesystem::path journalFolder_;
    std::unique_ptr<RecoveryJournal> journal_; // outlives the dialog's session
    std::unique_ptr<CMorvikDlg> dialog_;
    QTimer journalTimer_;
};

} // namespace morvik
