#include "controls/NameOnlyIconProvider.h"

#include <QFileInfo>
#include <QMimeDatabase>

namespace morvik {

namespace {

// The desktop's type database knows the extension only as a 3D model; in this program's
// dialogs it is always a data file.
const char* const kDataFileSuffix = "stl";
const char* const kDataFileTypeName = "砂浆贯入检测数据";

} // namespace

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
    if (info.suffix().compare(QLatin1String(kDataFileSuffix), Qt::CaseInsensitive) == 0)
        return QString::fromUtf8(kDataFileTypeName);
    return QMimeDatabase().mimeTypeForFile(info, QMimeDatabase::MatchExtension).comment();
}

} // namespace morvik
