#include "controls/NameOnlyIconProvider.h"

#include <QFileInfo>
#include <QMimeDatabase>

namespace morvik {

QIcon NameOnlyIconProvider::icon(const QFileInfo& info) const {
    if (info.isRoot())
        return icon(Drive);
    return icon(info.isDir() ? Folder : File);
}

QString NameOnlyIconProvider::type(const QFileInfo& info) const {
    if (info.isRoot())
        return QAbstractFileIconProvider::type(info);
    if (info.isDir())
        return QStringLiteral("文件夹");
    return QMimeDatabase().mimeTypeForFile(info, QMimeDatabase::MatchExtension).comment();
}

} // namespace morvik
