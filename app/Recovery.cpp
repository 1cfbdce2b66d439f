#include "app/Recovery.h"

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

bool offerRecovery(Session& session, Prompt& prompt, QWidget* parent,
                   const std::filesystem::path& folder, RecoveryJournal& own) {
    for (const OrphanJournal& orphan : RecoveryJournal::findOrphans(folder)) {
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
            continue;
        }
        session.recoverDataSet(std::move(data), orphan.info->fileName, orphan.info->filePath);
        // This program's own journal holds the set from here on.
        own.flush();
        RecoveryJournal::discardOrphan(orphan);
        return true;
    }
    return false;
}

} // namespace morvik
