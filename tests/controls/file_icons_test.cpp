// The file dialogs' icons and type names never come from reading a file: a special file
// could block that read and the program with it.
#include "controls/NameOnlyIconProvider.h"

#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace morvik {
namespace {

TEST(FileIcons, TypesComeFromNamesNotContents) {
    QTemporaryDir dir;
    // A PDF by its contents, but with no name that says so.
    const QString file = dir.filePath("sheet");
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n1 0 obj\n<< >>\nendobj\n");
    }
    const QMimeDatabase mime;
    const QString pdf = mime.mimeTypeForName(QStringLiteral("application/pdf")).comment();
    ASSERT_EQ(mime.mimeTypeForFile(file).comment(), pdf); // what reading the file tells

    const NameOnlyIconProvider icons;
    EXPECT_NE(icons.type(QFileInfo(file)), pdf);
    EXPECT_EQ(icons.type(QFileInfo(dir.filePath("sheet.pdf"))), pdf);
    EXPECT_EQ(icons.type(QFileInfo(dir.path())), QStringLiteral("文件夹"));
    // Data files are named as such, never as the 3D models that share their extension.
    EXPECT_EQ(icons.type(QFileInfo(dir.filePath("wall.STL"))), QStringLiteral("砂浆贯入检测数据"));
}

} // namespace
} // namespace morvik
