// Files handed to the program from the desktop (command line, drop), the settings file's
// place, and the ways the dialog ends.
#include "DialogFixture.h"

#include "app/CMorvikApp.h"
#include "app/SettingsLocation.h"
#include "core/Records.h"
#include "io/DataFile.h"
#include "io/SettingsFile.h"

#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>
#include <cstring>

namespace morvik::test {
namespace {

// A data file of `count` members named M1.., the first with one unevenness reading.
QString writeDataSet(const QTemporaryDir& dir, const QString& name, int count) {
    DataSet data;
    for (int i = 1; i <= count; ++i) {
        ShaJiang_GouJian_Struct m = newMemberRecord(i);
        std::snprintf(m.memberName, sizeof m.memberName, "M%d", i);
        data.members.push_back(m);
    }
    data.members[0].unevenness[0] = 2.5f;
    std::strcpy(data.project.instrumentNumber, "INS-9");
    const QString path = dir.filePath(name);
    EXPECT_EQ(writeDataFile(std::filesystem::u8path(path.toStdString()), data),
              WriteResult::Written);
    return path;
}

void drop(QWidget& target, const QList<QUrl>& urls, bool* accepted = nullptr, bool settle = true) {
    QMimeData mime;
    mime.setUrls(urls);
    const QPoint at = target.rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &enter);
    if (accepted)
        *accepted = enter.isAccepted();
    if (!enter.isAccepted())
        return;
    QDropEvent dropped(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &dropped);
    // The file is opened once the drop itself has ended.
    if (settle)
        QApplication::processEvents();
}

TEST(DesktopFiles, CommandLineFileIsOpenedAtStart) {
    QTemporaryDir dir;
    const QString path = writeDataSet(dir, "三个构件.stl", 3);
    ScriptedPrompt prompt;
    CMorvikApp app(prompt);
    const SettingsLocation settings{dir.filePath("default.ini"), dir.filePath("default.ini")};
    CMorvikDlg& d = app.start({"morvik", path}, settings);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.windowTitle(), "Velkan贯入仪检测软件V2.01-三个构件.stl");
    ASSERT_EQ(d.memberList()->rowCount(), 3);
    EXPECT_EQ(d.memberList()->cellText(2, 1), "M3");
    EXPECT_EQ(d.memberList()->selectedRow(), 0);
    EXPECT_EQ(d.readingGrid()->itemText(1, 1), "2.50");
    EXPECT_EQ(static_cast<QLineEdit*>(d.control(kIdInstrumentNumber))->text(), "INS-9");
    EXPECT_FALSE(d.session().dataModified());
    EXPECT_TRUE(prompt.messages.empty());
    EXPECT_TRUE(prompt.fileDialogs.empty());
}

TEST(DesktopFiles, CommandLineFileThatCannotBeOpenedIsReported) {
    QTemporaryDir dir;
    ScriptedPrompt prompt;
    CMorvikApp app(prompt);
    const SettingsLocation settings{dir.filePath("default.ini"), dir.filePath("default.ini")};
    CMorvikDlg& d = app.start({"morvik", dir.filePath("missing.stl")}, settings);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].message.text, "打开文件失败！");
    EXPECT_EQ(d.windowTitle(), "Velkan贯入仪检测软件V2.01-新文件.stl");
    EXPECT_EQ(d.memberList()->rowCount(), 1);
    EXPECT_EQ(d.memberList()->cellText(0, 1), "G001");
}

TEST(DesktopFiles, WithoutAFileTheProgramStartsFreshAndReadsItsSettings) {
    QTemporaryDir dir;
    PrintSettings stored{};
    stored.pageNumberFormat = 3;
    std::strcpy(stored.headerText, "HEAD");
    // Settings in a folder named in Chinese, as under a Chinese user name.
    ASSERT_TRUE(QDir(dir.path()).mkdir("设置"));
    const QString read = dir.filePath("设置/default.ini"), written = dir.filePath("设置/写入.ini");
    ASSERT_TRUE(writeSettingsFile(std::filesystem::u8path(read.toStdString()), stored));
    ScriptedPrompt prompt;
    CMorvikApp app(prompt);
    CMorvikDlg& d = app.start({"morvik"}, {read, written});
    EXPECT_EQ(d.windowTitle(), "Velkan贯入仪检测软件V2.01-新文件.stl");
    EXPECT_EQ(d.session().printSettings().pageNumberFormat, 3);
    EXPECT_STREQ(d.session().printSettings().headerText, "HEAD");

    // 退出 writes the settings where they belong.
    QTest::mouseClick(d.control(kIdExit), Qt::LeftButton);
    EXPECT_FALSE(d.isVisible());
    EXPECT_TRUE(QFile::exists(written));
}

TEST(DesktopFiles, ExitRefusedForTheTemperatureLeavesTheCaretThereToTypeTheNumber) {
    DialogWindow w;
    QWidget* temperature = w.control(kIdTemperature);
    temperature->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(temperature, Qt::Key_End);
    QTest::keyClick(temperature, Qt::Key_Backspace);
    QTest::keyClick(temperature, Qt::Key_Backspace);
    ASSERT_EQ(w.text(kIdTemperature), "");
    QTest::mouseClick(w.control(kIdExit), Qt::LeftButton);
    EXPECT_EQ(w.messageTexts(), std::vector<std::string>{"请输入一个整数。"});
    EXPECT_TRUE(w.d().isVisible());
    // The next keys go straight into 检测温度, not to 退出.
    EXPECT_EQ(QApplication::focusWidget(), temperature);
    QTest::keyClicks(QApplication::focusWidget(), "20");
    EXPECT_EQ(w.text(kIdTemperature), "20");
    EXPECT_EQ(w.session().project().testTemperature, 20);
}

TEST(DesktopFiles, DroppedDataFileIsOpenedAfterTheSaveQuestion) {
    QTemporaryDir dir;
    const QString path = writeDataSet(dir, "dropped.stl", 2);
    DialogWindow w;
    w.typeInto(kIdInstrumentNumber, "changed");
    drop(w.d(), {QUrl::fromLocalFile(path)}, nullptr, false);
    EXPECT_TRUE(w.prompt.messages.empty()); // nothing asked while the drop is running
    QApplication::processEvents();
    EXPECT_EQ(w.messageTexts(), std::vector<std::string>{"文件内容已被修改，是否保存当前更改？"});
    EXPECT_EQ(w.list().rowCount(), 2);
    EXPECT_EQ(w.d().windowTitle(), "Velkan贯入仪检测软件V2.01-dropped.stl");
    EXPECT_EQ(w.text(kIdInstrumentNumber), "INS-9");
}

TEST(DesktopFiles, DropStopsWhenTheSaveBeforeItDoesNotHappen) {
    QTemporaryDir dir;
    const QString path = writeDataSet(dir, "dropped.stl", 2);
    DialogWindow w;
    w.typeInto(kIdInstrumentNumber, "keep me");
    w.prompt.answers.push_back(PromptAnswer::Yes);
    w.prompt.fileNames.push_back(QString()); // save dialog cancelled
    drop(w.d(), {QUrl::fromLocalFile(path)});
    EXPECT_EQ(w.list().rowCount(), 1);
    EXPECT_EQ(w.text(kIdInstrumentNumber), "keep me");
    EXPECT_TRUE(w.session().dataModified());
}

TEST(DesktopFiles, OnlyOneStlFileIsTakenByADrop) {
    QTemporaryDir dir;
    const QString a = writeDataSet(dir, "a.stl", 2);
    const QString b = writeDataSet(dir, "b.stl", 3);
    QFile::copy(a, dir.filePath("a.txt"));
    DialogWindow w;
    bool accepted = true;
    drop(w.d(), {QUrl::fromLocalFile(a), QUrl::fromLocalFile(b)}, &accepted);
    EXPECT_FALSE(accepted);
    drop(w.d(), {QUrl::fromLocalFile(dir.filePath("a.txt"))}, &accepted);
    EXPECT_FALSE(accepted);
    drop(w.d(), {QUrl("https://example.org/a.stl")}, &accepted);
    EXPECT_FALSE(accepted);
    EXPECT_EQ(w.list().rowCount(), 1);
    // No file of that name in any case: Windows would find b.stl under B.STL.
    drop(w.d(), {QUrl::fromLocalFile(dir.filePath("C.STL"))}, &accepted);
    EXPECT_TRUE(accepted); // the extension in any case; the missing file is reported
    EXPECT_EQ(w.messageTexts(), std::vector<std::string>{"打开文件失败！"});
}

TEST(DialogEnd, CloseBoxAsksWithUnsavedChangesAndEnds) {
    QTemporaryDir dir;
    DialogWindow w;
    w.session().setSettingsWritePath(dir.filePath("default.ini").toStdString());
    w.typeInto(kIdInstrumentNumber, "x");
    w.d().close();
    EXPECT_EQ(w.messageTexts(), std::vector<std::string>{"文件内容已被修改，是否保存当前更改？"});
    EXPECT_FALSE(w.d().isVisible());
    EXPECT_TRUE(QFile::exists(dir.filePath("default.ini")));
}

TEST(DialogEnd, CloseBoxStaysWhenTheSaveIsCancelled) {
    QTemporaryDir dir;
    DialogWindow w;
    w.session().setSettingsWritePath(dir.filePath("default.ini").toStdString());
    w.typeInto(kIdInstrumentNumber, "x");
    w.prompt.answers.push_back(PromptAnswer::Yes);
    w.prompt.fileNames.push_back(QString());
    w.d().close();
    EXPECT_TRUE(w.d().isVisible());
    EXPECT_FALSE(QFile::exists(dir.filePath("default.ini")));
}

TEST(SettingsPlace, BesideAWritableProgramOtherwiseInTheUserFolder) {
    QTemporaryDir program;
    QTemporaryDir config;
    const QString beside = QDir(program.path()).filePath("default.ini");
    const QString own = QDir(config.path()).filePath("default.ini");

    SettingsLocation l = settingsLocation(program.path(), true, config.path());
    EXPECT_EQ(l.readPath, beside);
    EXPECT_EQ(l.writePath, beside);

    // Installed program: the shipped file is read until the user has an own one.
    l = settingsLocation(program.path(), false, config.path());
    EXPECT_EQ(l.readPath, beside);
    EXPECT_EQ(l.writePath, own);
    QFile f(own);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    l = settingsLocation(program.path(), false, config.path());
    EXPECT_EQ(l.readPath, own);
    EXPECT_EQ(l.writePath, own);

    // No user folder known: beside the program, as always.
    l = settingsLocation(program.path(), false, QString());
    EXPECT_EQ(l.writePath, beside);
}

} // namespace
} // namespace morvik::test
