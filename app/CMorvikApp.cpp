#include "app/CMorvikApp.h"

#include "app/CMorvikDlg.h"
#include "app/Recovery.h"
#include "session/RecoveryJournal.h"

#include <QApplication>

namespace morvik {

CMorvikApp::CMorvikApp(Prompt& prompt, std::filesystem::path journalFolder)
    : prompt_(prompt), journalFolder_(std::move(journalFolder)) {}

CMorvikApp::~CMorvikApp() {
    journalTimer_.stop();
    dialog_.reset();
}

CMorvikDlg& CMorvikApp::start(const QStringList& arguments, const SettingsLocation& settings) {
    dialog_ = std::make_unique<CMorvikDlg>(prompt_);
    Session& session = dialog_->session();
    // UTF-8 by name: a plain narrow string would be read in the ANSI code page on Windows,
    // which loses a user folder named in Chinese.
    session.readSettings(std::filesystem::u8path(settings.readPath.toStdString()));
    session.setSettingsWritePath(std::filesystem::u8path(settings.writePath.toStdString()));
    dialog_->start();
    dialog_->show();
    RecoveryOutcome recovery = RecoveryOutcome::NotAsked;
    if (!journalFolder_.empty()) {
        journal_ = std::make_unique<RecoveryJournal>(
            journalFolder_, QCoreApplication::applicationVersion().toStdString());
        session.setJournal(journal_.get());
        recovery = offerRecovery(session, prompt_, dialog_.get(), journalFolder_, *journal_);
        // Typing never waits for the disk: the journal only receives a copy now and then
        // and writes it on its own thread.
        QObject::connect(&journalTimer_, &QTimer::timeout, dialog_.get(),
                         [this] { dialog_->session().syncJournal(); });
        journalTimer_.start(kJournalIntervalMs);
    }
    if (arguments.size() > 1)
        openRequestedFile(*dialog_, prompt_, arguments.at(1), recovery);
    return *dialog_;
}

int CMorvikApp::exec() {
    if (!dialog_)
        return 0;
    QObject::connect(dialog_.get(), &QDialog::finished, qApp, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    return QApplication::exec();
}

} // namespace morvik
