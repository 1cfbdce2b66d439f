// The main dialog right after start: its state, its controls' places in pixels of the
// dialog font, its tab order, colours and names.
#include "DialogFixture.h"

#include <QClipboard>

#include "app/DatePicker.h"
#include "app/DialogTemplate.h"
#include "controls/CMyBtn.h"
#include "controls/DialogUnits.h"
#include "controls/SongFont.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDate>
#include <QGroupBox>
#include <QLabel>

namespace morvik::test {
namespace {

// A template rectangle in pixels, converted corner by corner.
QRect pixels(const DialogUnits& du, int x, int y, int w, int h) {
    return QRect(QPoint(du.x(x), du.y(y)), QPoint(du.x(x + w) - 1, du.y(y + h) - 1));
}

// The id of the control that holds the focus (a field's inner editor counts as the field).
int focusedControlId() {
    for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget()) {
        bool ok = false;
        const int id = w->objectName().toInt(&ok);
        if (ok)
            return id;
    }
    return 0;
}

TEST(DialogStart, ShowsOneFreshMemberAndEmptyResults) {
    DialogWindow w(false);
    EXPECT_EQ(w.d().windowTitle(), QStringLiteral("Velkan贯入仪检测软件V2.01-新文件.stl"));

    ASSERT_EQ(w.list().rowCount(), 1);
    EXPECT_EQ(w.list().cellText(0, 0), "1");
    EXPECT_EQ(w.list().cellText(0, 1), "G001");
    EXPECT_EQ(w.list().cellText(0, 2), "--");
    EXPECT_EQ(w.list().cellText(0, 3), "--");
    EXPECT_FALSE(w.list().isRowChecked(0));
    EXPECT_EQ(w.list().selectedRow(), 0);

    for (int id : {kIdMeanDepth, kIdStrength, kIdMemberEstimate, kIdBatchMean, kIdBatchStdDev,
                   kIdBatchMin, kIdBatchCv, kIdBatchEstimate})
        EXPECT_EQ(w.text(id), "--") << id;
    EXPECT_EQ(w.text(kIdTemperature), "25");
    EXPECT_EQ(w.text(kIdMemberName), "G001");
    EXPECT_FALSE(static_cast<QCheckBox*>(w.control(kIdBatchMode))->isChecked());

    const QDate today = QDate::currentDate();
    EXPECT_EQ(static_cast<QDateEdit*>(w.control(kIdTestDate))->date(), today);
    EXPECT_EQ(static_cast<QDateEdit*>(w.control(kIdConstructionDate))->date(), today);
    EXPECT_EQ(static_cast<QDateEdit*>(w.control(kIdTestDate))->text(),
              today.toString(QStringLiteral("yyyy年MM月dd日")));

    EXPECT_EQ(focusedControlId(), kIdMemberName);
    EXPECT_FALSE(w.session().dataModified());
    EXPECT_TRUE(w.prompt.messages.empty());
}

TEST(DialogStart, ListsAndGridAreFilled) {
    DialogWindow w;
    auto items = [&](int id) {
        auto* combo = static_cast<QComboBox*>(w.control(id));
        QStringList out;
        for (int i = 0; i < combo->count(); ++i)
            out << combo->itemText(i);
        return out;
    };
    EXPECT_EQ(items(kIdBasis), QStringList{"JGJ/T 136-2017"});
    EXPECT_EQ(items(kIdMortarKind), (QStringList{"砌筑砂浆", "水泥抹灰砂浆"}));
    EXPECT_EQ(items(kIdMortarVariety), (QStringList{"预拌砂浆", "水泥混合砂浆", "水泥砂浆"}));

    const CComboGridCtrl& g = w.grid();
    EXPECT_EQ(g.rowCount(), 17);
    EXPECT_EQ(g.columnCount(), 4);
    EXPECT_EQ(g.fixedRowCount(), 1);
    EXPECT_EQ(g.fixedColumnCount(), 1);
    EXPECT_EQ(g.columnWidth(0), 52);
    EXPECT_EQ(g.columnWidth(3), 100);
    EXPECT_EQ(g.rowHeight(0), 40);
    EXPECT_EQ(g.rowHeight(16), 20);
    EXPECT_EQ(g.fixedBkColour(), 0xF2DED5u);
    EXPECT_FALSE(g.rowResizeAllowed());
    EXPECT_FALSE(g.columnResizeAllowed());
    EXPECT_FALSE(g.titleTipsEnabled());
    EXPECT_FALSE(g.isSelectionEnabled());
    EXPECT_TRUE(g.isEditable());
    EXPECT_TRUE(g.isDrawingAllowed());
    EXPECT_EQ(g.controlId(), kIdReadingGrid);
    const QStringList headings{"序号", "不平整读数(mm)", "贯入仪读数(mm)", "贯入深度(mm)"};
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(g.itemText(0, c), headings[c]);
        EXPECT_EQ(g.itemFormat(0, c),
                  std::uint32_t(FormatCentre | FormatVCentre | FormatWordBreak));
    }
    EXPECT_EQ(g.itemText(1, 0), "1");
    EXPECT_EQ(g.itemText(16, 0), "16");
    EXPECT_EQ(g.itemText(1, 1), "");

    EXPECT_FALSE(w.list().sortOnHeadingClick());
    EXPECT_EQ(w.list().columnCount(), 4);
}

TEST(DialogLayout, ControlsSitAtTheirDialogUnitsInPixels) {
    DialogWindow w;
    const DialogUnits du(songFont(9));
    ASSERT_GT(du.baseX(), 0);
    ASSERT_GT(du.baseY(), 0);
    EXPECT_EQ(w.d().size(), QSize(du.x(440), du.y(441)));
    EXPECT_EQ(w.d().minimumSize(), w.d().maximumSize()); // fixed size

    EXPECT_EQ(w.control(kIdMemberName)->geometry(), pixels(du, 63, 22, 105, 12));
    EXPECT_EQ(w.control(kIdProjectName)->geometry(), pixels(du, 243, 16, 187, 13));
    EXPECT_EQ(w.control(kIdReadingGrid)->geometry(), pixels(du, 197, 170, 237, 243));
    EXPECT_EQ(w.control(kIdMemberList)->geometry(), pixels(du, 5, 169, 187, 244));
    EXPECT_EQ(w.control(kIdExit)->geometry(), pixels(du, 380, 419, 43, 18));
    // 批检测 keeps its place and grows to the right where its caption needs the room.
    const QRect batch = w.control(kIdBatchMode)->geometry();
    EXPECT_EQ(batch.topLeft(), pixels(du, 14, 107, 36, 11).topLeft());
    EXPECT_EQ(batch.height(), pixels(du, 14, 107, 36, 11).height());
    EXPECT_GE(batch.width(), std::max(pixels(du, 14, 107, 36, 11).width(),
                                      w.control(kIdBatchMode)->sizeHint().width()));
    EXPECT_EQ(w.control(kIdMemberEstimate)->geometry(), pixels(du, 316, 151, 43, 12));

    // Neighbours in the template share their pixel edges: 1008 ends where the conversion
    // of x = 111 falls, whatever the rounding of its width alone would give.
    const QRect save = w.control(kIdSave)->geometry();
    EXPECT_EQ(save.left(), du.x(68));
    EXPECT_EQ(save.right() + 1, du.x(68 + 43));
}

TEST(DialogLayout, EveryTemplateIdIsAControlNamedByItsId) {
    DialogWindow w;
    int withId = 0;
    for (const TemplateControl& c : mainDialogTemplate()) {
        if (c.id == 0)
            continue;
        ++withId;
        QWidget* control = w.control(c.id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->objectName(), QString::number(c.id));
        EXPECT_EQ(w.d().findChild<QWidget*>(QString::number(c.id)), control);
    }
    EXPECT_EQ(withId, 34);
    EXPECT_EQ(w.d().control(1023), nullptr);
    EXPECT_FALSE(w.control(kIdClearProjectInfo)->isVisible());
    EXPECT_FALSE(w.control(kIdCalculate)->isVisible());
    EXPECT_TRUE(w.control(kIdClearReadings)->isVisible());
    EXPECT_NE(qobject_cast<CMyBtn*>(w.control(kIdSave)), nullptr);
    EXPECT_EQ(static_cast<CMyBtn*>(w.control(kIdSave))->text(), "保  存");
    EXPECT_EQ(static_cast<CMyBtn*>(w.control(kIdClearProjectInfo))->text(), "清空工程信息");
}

TEST(DialogLayout, LabelsAreTheBuddiesOfTheirFields) {
    DialogWindow w;
    auto buddyOf = [&](const QString& caption) -> QWidget* {
        for (QLabel* l : w.d().findChildren<QLabel*>())
            if (l->text() == caption)
                return l->buddy();
        return nullptr;
    };
    EXPECT_EQ(buddyOf("工程名称："), w.control(kIdProjectName));
    EXPECT_EQ(buddyOf("构件编号："), w.control(kIdMemberName));
    EXPECT_EQ(buddyOf("检测温度："), w.control(kIdTemperature));
    EXPECT_EQ(buddyOf("施工日期："), w.control(kIdConstructionDate));
    EXPECT_EQ(buddyOf("砂浆品种："), w.control(kIdMortarVariety));
    EXPECT_EQ(buddyOf("备    注："), w.control(kIdRemark));
    EXPECT_EQ(buddyOf("构件强度推定值 ="), w.control(kIdMemberEstimate));
    EXPECT_EQ(buddyOf("变异系数："), w.control(kIdBatchCv));
    EXPECT_EQ(buddyOf("℃"), nullptr);
    EXPECT_FALSE(w.grid().accessibleName().isEmpty());
    EXPECT_FALSE(w.list().accessibleName().isEmpty());
}

TEST(DialogLayout, TabVisitsTheFourteenFieldsInOrderThenGoesOn) {
    DialogWindow w;
    const std::vector<int> expected{
        kIdTestDate, kIdRemark,           kIdProjectName,    kIdInstrumentNumber, kIdTemperature,
        kIdBasis,    kIdConstructionDate, kIdStrengthGrade,  kIdMortarKind,       kIdMortarVariety,
        kIdReviewer, kIdChiefInspector,   kIdMemberEstimate, kIdBatchMode};
    ASSERT_EQ(focusedControlId(), kIdMemberName);
    std::vector<int> seen;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        seen.push_back(focusedControlId());
    }
    EXPECT_EQ(seen, expected);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(focusedControlId(), kIdMemberEstimate);
}

TEST(DialogLayout, FaceColourBehindLabelsEditsKeepTheirOwn) {
    DialogWindow w;
    const QColor face(213, 222, 242);
    const QImage image = w.d().grab().toImage();
    EXPECT_EQ(image.pixelColor(2, 2), face);
    QLabel* label = nullptr;
    for (QLabel* l : w.d().findChildren<QLabel*>())
        if (l->text() == "工程名称：")
            label = l;
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->palette().color(label->backgroundRole()), face);
    EXPECT_EQ(w.control(kIdBatchMode)->palette().color(QPalette::Window), face);
    for (QGroupBox* g : w.d().findChildren<QGroupBox*>())
        EXPECT_EQ(g->palette().color(QPalette::Window), face);
    QWidget* edit = w.control(kIdInstrumentNumber);
    EXPECT_NE(edit->palette().color(edit->backgroundRole()), face);
    const QPoint inside = edit->geometry().center() + QPoint(edit->width() / 3, 0);
    EXPECT_NE(image.pixelColor(inside), face);
}

TEST(DialogLayout, UnitLabelsShowTheirWholeText) {
    DialogWindow w;
    const DialogUnits du(songFont(9));
    int units = 0;
    for (QLabel* l : w.d().findChildren<QLabel*>()) {
        if (l->text() != "mm" && l->text() != "MPa")
            continue;
        ++units;
        EXPECT_GE(l->width(), l->fontMetrics().horizontalAdvance(l->text())) << l->x();
        EXPECT_GE(l->width(), du.x(8)); // never narrower than the template
    }
    EXPECT_EQ(units, 6);
}

TEST(DialogLayout, WindowHasMinimiseButNoMaximiseAndAnIcon) {
    DialogWindow w;
    const Qt::WindowFlags flags = w.d().windowFlags();
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(w.d().windowIcon().isNull());
}

TEST(DialogLayout, FieldsTakeNoMoreThanTheirLimits) {
    DialogWindow w;
    const std::pair<int, int> limits[] = {
        {kIdMemberName, 19},   {kIdInstrumentNumber, 19}, {kIdReviewer, 7}, {kIdChiefInspector, 7},
        {kIdStrengthGrade, 7}, {kIdProjectName, 63},      {kIdRemark, 63}};
    for (const auto& [id, limit] : limits) {
        w.typeInto(id, QString(limit + 5, QChar('7')));
        EXPECT_EQ(w.text(id).size(), limit) << id;
    }
    w.typeInto(kIdTemperature, "-1a2");
    EXPECT_EQ(w.text(kIdTemperature), "2512"); // digits only, after the shown 25
    auto* result = static_cast<QLineEdit*>(w.control(kIdMeanDepth));
    EXPECT_TRUE(result->isReadOnly());
    EXPECT_EQ(result->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
}

// Types any text, one character (code point) per key press, as a keyboard layout or an
// input method for that script delivers it.
void typeCharacters(QWidget* field, const QString& text) {
    field->setFocus(Qt::OtherFocusReason);
    for (int i = 0; i < text.size();) {
        const int length = text.at(i).isHighSurrogate() ? 2 : 1;
        QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown,
                            text.mid(i, length), Qt::NoModifier);
        i += length;
    }
}

TEST(DialogLayout, FieldsKeepOnlyCharactersTheDataFileCanStore) {
    // The file holds GBK; a character without a GBK form would be saved as '?' while the
    // field went on showing it. € and 墙 have GBK forms; 한 and 😀 have none.
    DialogWindow w;
    const QString typed = QString::fromUtf8("G2한€😀墙");
    const QString kept = QString::fromUtf8("G2€墙");
    for (const int id : {kIdMemberName, kIdInstrumentNumber, kIdReviewer, kIdChiefInspector,
                         kIdStrengthGrade, kIdProjectName, kIdRemark}) {
        typeCharacters(w.control(id), typed);
        EXPECT_EQ(w.text(id), kept) << id;
    }
    EXPECT_EQ(w.list().cellText(0, 1), kept);
    EXPECT_STREQ(w.session().currentRecord().memberName, "G2\x80\xC7\xBD"); // GBK bytes

    // Pasted text loses those characters too, and the caret follows what was inserted.
    QApplication::clipboard()->setText(QString::fromUtf8("A한B"));
    auto* line = static_cast<QLineEdit*>(w.control(kIdInstrumentNumber));
    line->clear();
    line->paste();
    EXPECT_EQ(line->text(), "AB");
    EXPECT_EQ(line->cursorPosition(), 2);
    QApplication::clipboard()->setText(QString::fromUtf8("墙体😀一层"));
    auto* multi = static_cast<QPlainTextEdit*>(w.control(kIdRemark));
    multi->clear();
    multi->paste();
    EXPECT_EQ(multi->toPlainText(), QString::fromUtf8("墙体一层"));
}

} // namespace
} // namespace morvik::test
