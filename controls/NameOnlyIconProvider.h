#pragma once
// Icons and type names for the file dialogs, told by a file's kind and name alone. The
// standard provider reads the first bytes of every file it lists to tell its type, and a
// read of a special file, such as /proc/kmsg, can block for ever: the dialog, and the
// program with it, then hung as soon as such a folder was listed or completed.
#include <QAbstractFileIconProvider>

namespace morvik {

class NameOnlyIconProvider : public QAbstractFileIconProvider {
public:
    using QAbstractFileIconProvider::icon;
    QIcon icon(const QFileInfo& info) const override;
    QString type(const QFileInfo& info) const override;
};

} // namespace morvik
