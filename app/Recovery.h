#pragma once
// The recovery journal seen from the program: where it lives, and offering the journals
// of programs that died before their data were saved.
#include <QString>
#include <filesystem>

class QWidget;

namespace morvik {

class Prompt;
class RecoveryJournal;
class Session;

// The user's state folder of the program: $XDG_STATE_HOME/morvik, by default
// ~/.local/state/morvik, on Linux; the application's local data folder elsewhere.
std::filesystem::path journalFolder();

// Offers each journal in `folder` whose program no longer runs, newest first: Yes loads it
// into `session` (and ends the offering), No keeps it aside and says where; a journal that
// cannot be read is kept aside the same way with a message. A loaded set is on disk in
// `own`, this program's journal, before the old journal goes. True when a set was loaded.
bool offerRecovery(Session& session, Prompt& prompt, QWidget* parent,
                   const std::filesystem::path& folder, RecoveryJournal& own);

} // namespace morvik
