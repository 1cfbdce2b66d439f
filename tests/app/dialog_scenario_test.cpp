// An inspector's day through the real dialog: the readings of three members typed into the
// grid, two of them ticked, batch mode on, saved, a new file, the saved file opened again.
// The file is read back with the file reader itself and compared byte for byte.
#include "DialogFixture.h"

#include "core/Batch.h"
#include "core/ResultText.h"
#include "io/DataFile.h"

#include <QCheckBox>
#include <QTemporaryDir>
#include <cstring>

namespace morvik::test {
namespace {

// Unevenness and gauge reading of every point of member m (0-based): all different.
QString unevennessText(int m, int p) {
    return QString::number(0.5 + 0.1 * m + 0.01 * p, 'f', 2);
}
QString gaugeText(int m, int p) {
    return QString::number(4.2 + 0.05 * m + 0.02 * p, 'f', 2);
}

void click(QWidget* w) {
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(4, w->height() / 2));
}

TEST(DialogScenario, TypeTickBatchSaveNewReopen) {
    QTemporaryDir dir;
    const QString path = dir.filePath("day.stl");
    DialogWindow w;

    for (int m = 0; m < 3; ++m) {
        if (m > 0)
            QTest::keyClick(w.control(kIdProjectName), Qt::Key_Insert); // 增加构件
        ASSERT_EQ(w.session().currentMember(), m);
        for (int p = 1; p <= 16; ++p) {
            w.typeReading(p, 1, unevennessText(m, p));
            w.typeReading(p, 2, gaugeText(m, p));
        }
        EXPECT_NE(w.list().cellText(m, 3), "--") << m;
    }
    EXPECT_TRUE(w.prompt.messages.empty());

    // Tick members 1 and 3 in their check boxes, then switch batch mode on.
    QTest::mouseClick(w.list().viewport(), Qt::LeftButton, {}, w.list().checkBoxRect(0).center());
    QTest::mouseClick(w.list().viewport(), Qt::LeftButton, {}, w.list().checkBoxRect(2).center());
    click(w.control(kIdBatchMode));
    ASSERT_TRUE(w.session().batchMode());
    // Every result lands in its own field: the texts the evaluation gives, worked out here
    // without the dialog.
    const std::vector<ShaJiang_GouJian_Struct>& now = w.session().members();
    const BatchTexts batch =
        evaluateBatch({&now[0], &now[2]}, w.session().project().mortarCode, kBatchMissing).texts;
    const MemberResultTexts member = memberResultTexts(now[w.session().currentMember()]);
    const std::pair<int, std::string> shown[] = {
        {kIdBatchMean, batch.mean},         {kIdBatchStdDev, batch.stdDev},
        {kIdBatchMin, batch.min},           {kIdBatchCv, batch.cv},
        {kIdBatchEstimate, batch.estimate}, {kIdMeanDepth, member.meanDepth},
        {kIdStrength, member.strength},     {kIdMemberEstimate, member.memberEstimate}};
    for (const auto& [id, text] : shown)
        EXPECT_EQ(w.text(id), QString::fromStdString(text)) << id;
    EXPECT_NE(batch.mean, "--");
    EXPECT_NE(batch.estimate, "--");
    EXPECT_TRUE(w.list().isRowChecked(0));
    EXPECT_FALSE(w.list().isRowChecked(1));
    EXPECT_TRUE(w.list().isRowChecked(2));

    // Save under a new name.
    w.prompt.fileNames.push_back(path);
    QTest::keyClick(w.control(kIdMemberName), Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(w.messageTexts(), std::vector<std::string>{"保存文件成功。"});
    EXPECT_EQ(w.prompt.messages[0].message.icon, MessageIcon::None);
    EXPECT_FALSE(w.session().dataModified());
    EXPECT_EQ(w.d().windowTitle(), "Velkan贯入仪检测软件V2.01-day.stl");
    const std::vector<ShaJiang_GouJian_Struct> typed = w.session().members();

    DataSet stored;
    ASSERT_EQ(readDataFile(path.toStdString(), stored), ReadResult::Loaded);
    ASSERT_EQ(stored.members.size(), 3u);
    for (int m = 0; m < 3; ++m) {
        EXPECT_EQ(std::memcmp(&stored.members[m], &typed[m], sizeof typed[m]), 0) << m;
        for (int p = 1; p <= 16; ++p) {
            EXPECT_FLOAT_EQ(stored.members[m].unevenness[p - 1], unevennessText(m, p).toFloat());
            EXPECT_FLOAT_EQ(stored.members[m].gaugeReading[p - 1], gaugeText(m, p).toFloat());
        }
    }

    // 新文件: one fresh member, no question as nothing is unsaved.
    click(w.control(kIdNewFile));
    EXPECT_EQ(w.list().rowCount(), 1);
    EXPECT_EQ(w.text(kIdBatchMean), "--");
    EXPECT_EQ(w.grid().itemText(1, 1), "");
    EXPECT_EQ(w.prompt.messages.size(), 1u);

    // Open the file again: every member as it was typed, member 1 shown, no ticks.
    w.prompt.fileNames.push_back(path);
    click(w.control(kIdOpen));
    ASSERT_EQ(w.list().rowCount(), 3);
    EXPECT_EQ(w.session().currentMember(), 0);
    EXPECT_FALSE(w.list().isRowChecked(0));
    EXPECT_EQ(w.grid().itemText(16, 1), unevennessText(0, 16));
    EXPECT_EQ(w.grid().itemText(16, 2), gaugeText(0, 16));
    for (int m = 0; m < 3; ++m)
        EXPECT_EQ(std::memcmp(&w.session().members()[m], &typed[m], sizeof typed[m]), 0) << m;
    EXPECT_EQ(w.d().windowTitle(), "Velkan贯入仪检测软件V2.01-day.stl");
}

} // namespace
} // namespace morvik::test
