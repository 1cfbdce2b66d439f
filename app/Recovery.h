#pragma once
// The recovery journal seen from the program: where it lives, and offering the journals
// of programs that died before their data were saved.
#include <QString>
#include <filesystem>

class QWidget;

namespace morvik {

class CMorvikDlg;
class Prompt;
class RecoveryJournal;
class Session;

// The user's state folder of the program: $XDG_STATE_HOME/morvik, by default
// ~/.local/state/morvik, on Linux; the application's local data folder elsewhere.
std::filesystem::path journalFolder();

enum class RecoveryOutcome {
    NotAsked,  // no journal was offered (a damaged one may have been kept aside)
    Declined,  // every journal offered was answered 否 and kept aside
    Recovered, // a journal was loaded
};

// Offers each journal in `folder` whose program no longer runs and that no other program is
// offering, newest first: Yes loads it into `session` (and ends the offering), No keeps it
// aside and says where; a journal that cannot be read is kept aside the same way with a
// message. A loaded set is on disk in `own`, this program's journal, before the old journal
// goes.
RecoveryOutcome offerRecovery(Session& session, Prompt& prompt, QWidget* parent,
                              const std::filesystem::path& folder, RecoveryJournal& own);

// The data file named on the command line, after the offer. Recovered data are never
// replaced by it: they stay on screen and a message says that the file was not opened.
// Otherwise the file is opened, and when a journal was declined a message says which file
// is on screen, so the answer is never followed by a silent change of the data shown.
void openRequestedFile(CMorvikDlg& dialog, Prompt& prompt, const QString& path,
                       RecoveryOutcome outcome);

} // namespace morvik
