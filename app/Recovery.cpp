#include "app/Recovery.h"

#include "app/CMorvikDlg.h"
#include "controls/Prompt.h"
#include "session/RecoveryJournal.h"
#include "session/Session.h"
#include <QDateTime>
#include <QDir>
#include <QStandardPaths>
#include <QtGlobal>

namespace morvik {

namespace {

constexpr const char* kJournalFolderName = "morvik";

std::string recoveryQuestion(const JournalRecord& record) {
    const std::string file = record.filePath.empty() ? record.fileName : record.filePath;
    const QString when = QDateTime::fromSecsSinceEpoch(record.writtenAt)
                             .toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    return "发现未保存的检测数据（" + file + "，" + when.toStdString() + "），是否恢复？";
}

// The data file on screen, by its path when it has one.
std::string shownFile(const Session& session) {
    return session.currentFilePath().empty() ? session.currentFileName()
                                             : session.currentFilePath();
}

// Whether the data on screen belong to the file `path`, however either path is written.
bool showsFile(const Session& session, const QString& path) {
    std::error_code ec;
    return session.currentFilePath() == path.toStdString() ||
           std::filesystem::equivalent(std::filesystem::u8path(session.currentFilePath()),
                                       std::filesystem::u8path(path.toStdString()), ec);
}

void notice(Prompt& prompt, QWidget* parent, const std::string& text) {
    prompt.showMessage(parent, Message{text, kCaptionNotice, MessageIcon::Information});
}

// Keeps a journal aside and tells the user where; `why` opens the message.
void keepAside(Prompt& prompt, QWidget* parent, const OrphanJournal& orphan,
               const std::filesystem::path& folder, const std::string& why) {
    if (const auto aside = RecoveryJournal::moveAside(orphan, folder))
        notice(prompt, parent, why + "已保留在：" + aside->u8string());
    else
        notice(prompt, parent, why + "无法移走，仍在：" + orphan.data.u8string());
}

} // namespace

std::filesystem::path journalFolder() {
#if defined(Q_OS_LINUX)
    const QString state = qEnvironmentVariable("XDG_STATE_HOME");
    const QString base =
        QDir::isAbsolutePath(state) ? state : QDir::homePath() + QStringLiteral("/.local/state");
    return std::filesystem::u8path((base + '/' + kJournalFolderName).toStdString());
#else
    return std::filesystem::u8path(
        QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation).toStdString());
#endif
}

RecoveryOutcome offerRecovery(Session& session, Prompt& prompt, QWidget* parent,
                              const std::filesystem::path& folder, RecoveryJournal& own) {
    RecoveryOutcome outcome = RecoveryOutcome::NotAsked;
    for (const OrphanJournal& orphan : RecoveryJournal::findOrphans(folder)) {
        // Another program started at the same time may be offering it already.
        const OrphanClaim claim(orphan);
        if (!claim.held())
            continue;
        DataSet data;
        if (!orphan.info || !RecoveryJournal::readOrphan(orphan, data)) {
            keepAside(prompt, parent, orphan, folder, "未保存的检测数据已损坏，无法恢复，");
            continue;
        }
        const PromptAnswer answer = prompt.showMessage(
            parent, Message{recoveryQuestion(*orphan.info), kCaptionNotice, MessageIcon::Question},
            PromptButtons::YesNo);
        if (answer != PromptAnswer::Yes) {
            keepAside(prompt, parent, orphan, folder, "未恢复的检测数据");
            outcome = RecoveryOutcome::Declined;
            continue;
        }
        session.recoverDataSet(std::move(data), orphan.info->fileName, orphan.info->filePath);
        // This program's own journal holds the set from here on.
        own.flush();
        RecoveryJournal::discardOrphan(orphan);
        return RecoveryOutcome::Recovered;
    }
    return outcome;
}

void openRequestedFile(CMorvikDlg& dialog, Prompt& prompt, const QString& path,
                       RecoveryOutcome outcome) {
    Session& session = dialog.session();
    if (outcome == RecoveryOutcome::Recovered) {
        // Opening the file now would put the recovered data at the mercy of one answer to
        // the save question; they stay on screen and the inspector opens the file later.
        if (showsFile(session, path))
            notice(prompt, &dialog,
                   "屏幕上是恢复的检测数据，它们是文件" + path.toStdString() +
                       "未保存的修改；文件中的旧数据没有打开。");
        else
            notice(prompt, &dialog,
                   "屏幕上是恢复的检测数据（" + shownFile(session) + "）。\n要打开的文件" +
                       path.toStdString() + "没有打开：请先保存恢复的数据，再用“打开”打开它。");
        return;
    }
    dialog.openFromDesktop(path, false);
    if (outcome != RecoveryOutcome::Declined)
        return;
    if (showsFile(session, path))
        notice(prompt, &dialog, "屏幕上是要打开的文件：" + path.toStdString());
    else
        notice(prompt, &dialog,
               "要打开的文件" + path.toStdString() + "没有打开，屏幕上是：" + shownFile(session));
}

} // namespace morvik
