// The "打印设置" dialog driven through its controls, with a scripted prompt.
#include "controls/CMyBtn.h"
#include "controls/GbkTextBox.h"
#include "tests/support/PromptScripted.h"
#include "core/GbkText.h"
#include "report/CPrintSetting.h"
#include "sheet/PageNumberClearance.h"
#include "sheet/PageNumbering.h"
#include "sheet/RecordSheet.h"
#include "sheet/RecordingCanvas.h"
#include "sheet/SheetPdf.h"
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDropEvent>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QTest>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>

namespace morvik {
namespace {

bool sameBytes(const PrintSettings& a, const PrintSettings& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

struct DialogFixture {
    PrintSettings settings{};
    ScriptedPrompt prompt;

    template <class W> W* get(CPrintSetting& d, int id) {
        W* w = qobject_cast<W*>(d.control(id));
        EXPECT_NE(w, nullptr) << id;
        return w;
    }
    void click(CPrintSetting& d, int id) { QTest::mouseClick(d.control(id), Qt::LeftButton); }
};

TEST(PrintSettingDialog, ControlsAndTheirTexts) {
    DialogFixture f;
    CPrintSetting d(f.settings, f.prompt);
    EXPECT_EQ(d.windowTitle(), QStringLiteral("打印设置"));
    QStringList labels;
    for (auto* l : d.findChildren<QLabel*>())
        labels << l->text();
    EXPECT_EQ(labels, (QStringList{"页眉内容：", "页脚内容：", "页码格式：", "页码位置："}));
    QStringList groups;
    for (auto* g : d.findChildren<QGroupBox*>())
        groups << g->title();
    EXPECT_EQ(groups, (QStringList{"", "打印范围："}));

    auto* format = f.get<QComboBox>(d, kIdPageNumberFormat);
    auto* position = f.get<QComboBox>(d, kIdPageNumberPosition);
    QStringList formats, positions;
    for (int i = 0; i < format->count(); ++i)
        formats << format->itemText(i);
    for (int i = 0; i < position->count(); ++i)
        positions << position->itemText(i);
    EXPECT_EQ(formats, (QStringList{".1.", "1", "--1--", "第1页", "共1页 第1页"}));
    EXPECT_EQ(positions, (QStringList{"底部居右", "底部居中", "底部居左", "顶部居右", "顶部居中",
                                      "顶部居左"}));

    const std::pair<int, const char*> checks[] = {{kIdPrintHeader, "打印页眉"},
                                                  {kIdPrintFooter, "打印页脚"},
                                                  {kIdPrintPageNumber, "打印页码"}};
    for (const auto& [id, text] : checks)
        EXPECT_EQ(f.get<QCheckBox>(d, id)->text(), QString::fromUtf8(text));
    const std::pair<int, const char*> buttons[] = {
        {kIdPrintDefaults, "默认"}, {kIdPrintOk, "确定"}, {kIdPrintCancel, "取消"}};
    for (const auto& [id, text] : buttons)
        EXPECT_EQ(f.get<CMyBtn>(d, id)->text(), QString::fromUtf8(text));
    EXPECT_TRUE(f.get<CMyBtn>(d, kIdPrintOk)->isDefault());

    // Top to bottom, left to right as laid out.
    const int order[] = {kIdHeaderText,    kIdFooterText,  kIdPageNumberFormat,
                         kIdPrintHeader,   kIdPrintFooter, kIdPrintPageNumber,
                         kIdPrintDefaults, kIdPrintOk,     kIdPrintCancel};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        const QRect a = d.control(order[i - 1])->geometry();
        const QRect b = d.control(order[i])->geometry();
        EXPECT_TRUE(a.top() < b.top() || (a.top() == b.top() && a.left() < b.left())) << order[i];
    }
}

TEST(PrintSettingDialog, ShowsTheSettingsItWasGiven) {
    DialogFixture f;
    f.settings.printHeader = 1;
    textToField("工程甲", f.settings.headerText);
    textToField("页脚乙", f.settings.footerText);
    f.settings.printPageNumber = 1;
    f.settings.pageNumberFormat = 2;
    f.settings.pageNumberPosition = 3;
    CPrintSetting d(f.settings, f.prompt);
    auto* header = f.get<GbkTextBox>(d, kIdHeaderText);
    auto* footer = f.get<GbkTextBox>(d, kIdFooterText);
    EXPECT_EQ(header->toPlainText(), QStringLiteral("工程甲"));
    EXPECT_EQ(footer->toPlainText(), QStringLiteral("页脚乙"));
    EXPECT_TRUE(header->isEnabled());
    EXPECT_FALSE(footer->isEnabled());
    EXPECT_TRUE(f.get<QCheckBox>(d, kIdPrintHeader)->isChecked());
    EXPECT_FALSE(f.get<QCheckBox>(d, kIdPrintFooter)->isChecked());
    EXPECT_TRUE(f.get<QComboBox>(d, kIdPageNumberFormat)->isEnabled());
    EXPECT_EQ(f.get<QComboBox>(d, kIdPageNumberFormat)->currentIndex(), 2);
    EXPECT_EQ(f.get<QComboBox>(d, kIdPageNumberPosition)->currentIndex(), 3);
    EXPECT_TRUE(sameBytes(d.workingCopy(), f.settings));
}

TEST(PrintSettingDialog, PaintsTheSystemFaceColour) {
    DialogFixture f;
    CPrintSetting d(f.settings, f.prompt);
    d.show();
    const QImage image = d.grab().toImage();
    EXPECT_EQ(image.pixelColor(2, 2), QColor(213, 222, 242));
}

TEST(PrintSettingDialog, CheckBoxesEnableTheirFieldsAndSetTheWorkingCopy) {
    DialogFixture f;
    CPrintSetting d(f.settings, f.prompt);
    d.show();
    f.click(d, kIdPrintHeader);
    EXPECT_TRUE(d.control(kIdHeaderText)->isEnabled());
    EXPECT_EQ(d.workingCopy().printHeader, 1);
    f.click(d, kIdPrintFooter);
    EXPECT_TRUE(d.control(kIdFooterText)->isEnabled());
    EXPECT_EQ(d.workingCopy().printFooter, 1);
    f.click(d, kIdPrintHeader);
    EXPECT_FALSE(d.control(kIdHeaderText)->isEnabled());
    EXPECT_EQ(d.workingCopy().printHeader, 0);
    EXPECT_EQ(f.settings.printHeader, 0); // the application's copy waits for "确定"
}

TEST(PrintSettingDialog, UntickingThePageNumberKeepsTheComboSelections) {
    DialogFixture f;
    f.settings.printPageNumber = 1;
    CPrintSetting d(f.settings, f.prompt);
    d.show();
    auto* format = f.get<QComboBox>(d, kIdPageNumberFormat);
    auto* position = f.get<QComboBox>(d, kIdPageNumberPosition);
    format->setFocus();
    QTest::keyClick(format, Qt::Key_Down);
    QTest::keyClick(format, Qt::Key_Down);
    position->setFocus();
    QTest::keyClick(position, Qt::Key_Down);
    EXPECT_EQ(d.workingCopy().pageNumberFormat, 2);
    EXPECT_EQ(d.workingCopy().pageNumberPosition, 1);

    f.click(d, kIdPrintPageNumber);
    EXPECT_FALSE(format->isEnabled());
    EXPECT_FALSE(position->isEnabled());
    EXPECT_EQ(d.workingCopy().printPageNumber, 0);
    EXPECT_EQ(format->currentIndex(), 2);
    EXPECT_EQ(position->currentIndex(), 1);

    f.click(d, kIdPrintPageNumber);
    EXPECT_TRUE(format->isEnabled());
    EXPECT_TRUE(position->isEnabled());
    EXPECT_EQ(format->currentIndex(), 2);
    EXPECT_EQ(position->currentIndex(), 1);
    EXPECT_EQ(d.workingCopy().pageNumberFormat, 2);
    EXPECT_EQ(d.workingCopy().pageNumberPosition, 1);
}

TEST(PrintSettingDialog, TypedTextIsLimitedAndStoredAsGbk) {
    DialogFixture f;
    f.settings.printHeader = 1;
    CPrintSetting d(f.settings, f.prompt);
    d.show();
    auto* header = f.get<GbkTextBox>(d, kIdHeaderText);
    header->setFocus();
    QTest::keyClicks(header, QString(40, 'x'));
    EXPECT_EQ(header->toPlainText(), QString(32, 'x'));
    EXPECT_EQ(fieldToText(d.workingCopy().headerText), std::string(32, 'x'));

    // Enter belongs to the dialog, not to the text.
    QTest::keyClick(header, Qt::Key_Backspace);
    QTest::keyClick(header, Qt::Key_Return);
    EXPECT_FALSE(header->toPlainText().contains('\n'));
    EXPECT_EQ(d.result(), QDialog::Accepted);

    // 32 Chinese characters need 64 bytes and the terminator: 31 are kept whole.
    header->clear();
    for (int i = 0; i < 33; ++i) { // QTest::keyClicks only knows Latin keys
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(QChar(0x7EB8)));
        QApplication::sendEvent(header, &press);
    }
    // The box refuses what the field cannot hold, so it shows what is stored.
    EXPECT_EQ(header->toPlainText().size(), 31);
    const char* field = d.workingCopy().headerText;
    EXPECT_EQ(std::strlen(field), 62u);
    EXPECT_EQ(fieldToText(d.workingCopy().headerText), QString(31, QChar(0x7EB8)).toStdString());
}

TEST(PrintSettingDialog, DefaultsThenCancelLeaveTheSettingsAlone) {
    DialogFixture f;
    f.settings.pageNumberPosition = 4;
    textToField("旧页眉", f.settings.headerText);
    const PrintSettings before = f.settings;
    CPrintSetting d(f.settings, f.prompt);
    d.show();
    f.click(d, kIdPrintDefaults);
    EXPECT_EQ(f.get<GbkTextBox>(d, kIdHeaderText)->toPlainText(),
              QStringLiteral("砂浆抗压强度贯入检测纪录表"));
    EXPECT_EQ(f.get<QComboBox>(d, kIdPageNumberFormat)->currentIndex(), 3);
    EXPECT_EQ(f.get<QComboBox>(d, kIdPageNumberPosition)->currentIndex(), 1);
    EXPECT_TRUE(f.get<QCheckBox>(d, kIdPrintHeader)->isChecked());
    EXPECT_FALSE(f.get<QCheckBox>(d, kIdPrintFooter)->isChecked());
    EXPECT_FALSE(d.control(kIdFooterText)->isEnabled());
    f.click(d, kIdPrintCancel);
    EXPECT_EQ(d.result(), QDialog::Rejected);
    EXPECT_TRUE(sameBytes(f.settings, before));
    EXPECT_TRUE(f.prompt.messages.empty());
}

TEST(PrintSettingDialog, DefaultsThenOkStoreTheDefaults) {
    DialogFixture f;
    CPrintSetting d(f.settings, f.prompt);
    d.show();
    f.click(d, kIdPrintDefaults);
    f.click(d, kIdPrintOk);
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(f.settings.pageNumberFormat, 3);
    EXPECT_EQ(f.settings.pageNumberPosition, 1);
    EXPECT_EQ(f.settings.printHeader, 1);
    EXPECT_EQ(f.settings.printFooter, 0);
    EXPECT_EQ(f.settings.printPageNumber, 1);
    EXPECT_EQ(fieldToText(f.settings.footerText), "砂浆抗压强度贯入检测纪录表");
    EXPECT_TRUE(f.prompt.messages.empty());
}

TEST(PrintSettingDialog, OkRefusesAPageNumberOnTheFooterUntilTheFooterIsOff) {
    DialogFixture f;
    f.settings.printFooter = 1;
    f.settings.printPageNumber = 1;
    f.settings.pageNumberPosition = 1;
    const PrintSettings before = f.settings;
    CPrintSetting d(f.settings, f.prompt);
    d.show();
    f.click(d, kIdPrintHeader);
    f.click(d, kIdPrintOk);
    ASSERT_EQ(f.prompt.messages.size(), 1u);
    EXPECT_EQ(f.prompt.messages[0].message.text, "页码与页脚位置干涉，请重新设置！");
    EXPECT_EQ(f.prompt.messages[0].message.caption, "提示");
    EXPECT_EQ(f.prompt.messages[0].message.icon, MessageIcon::Warning);
    EXPECT_EQ(f.prompt.messages[0].buttons, PromptButtons::Ok);
    EXPECT_TRUE(d.isVisible());
    EXPECT_TRUE(sameBytes(f.settings, before));

    f.click(d, kIdPrintFooter);
    f.click(d, kIdPrintOk);
    EXPECT_EQ(f.prompt.messages.size(), 1u);
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(f.settings.printFooter, 0);
    EXPECT_EQ(f.settings.printHeader, 1);
}

TEST(PrintSettingDialog, OkRefusesAPageNumberOnTheHeader) {
    DialogFixture f;
    f.settings.printHeader = 1;
    f.settings.printPageNumber = 1;
    f.settings.pageNumberPosition = 4;
    CPrintSetting d(f.settings, f.prompt);
    d.show();
    f.click(d, kIdPrintOk);
    ASSERT_EQ(f.prompt.messages.size(), 1u);
    EXPECT_EQ(f.prompt.messages[0].message.text, "页码与页眉位置干涉，请重新设置！");
    EXPECT_TRUE(d.isVisible());
}

TEST(PrintSettingDialog, IndicesBeyondTheListsSurviveOk) {
    DialogFixture f;
    f.settings.pageNumberFormat = 7;
    f.settings.pageNumberPosition = 9;
    f.settings.reserved[0] = 0x5A;
    CPrintSetting d(f.settings, f.prompt);
    d.show();
    EXPECT_EQ(f.get<QComboBox>(d, kIdPageNumberFormat)->currentIndex(), -1);
    f.click(d, kIdPrintOk);
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(f.settings.pageNumberFormat, 7);
    EXPECT_EQ(f.settings.pageNumberPosition, 9);
    EXPECT_EQ(f.settings.reserved[0], 0x5A);
}

// What the inspector sees in the header box is what the working copy holds and the page
// prints: every way text enters goes through one rule (32 characters, 63 GBK bytes and the
// terminator, GBK characters only, one line).
class PrintTextEntry : public ::testing::Test {
protected:
    void SetUp() override {
        f.settings.printHeader = 1;
        dialog = std::make_unique<CPrintSetting>(f.settings, f.prompt);
        dialog->show();
        header = f.get<GbkTextBox>(*dialog, kIdHeaderText);
        header->setFocus();
    }
    void key(const QString& text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
        QApplication::sendEvent(header, &press);
    }
    void commit(const QString& text) {
        QInputMethodEvent e;
        e.setCommitString(text);
        QApplication::sendEvent(header, &e);
    }
    void paste(const QString& text) {
        QApplication::clipboard()->setText(text);
        header->paste();
    }
    QString shown() const { return header->toPlainText(); }
    QString stored() const {
        return QString::fromStdString(fieldToText(dialog->workingCopy().headerText));
    }
    // The box and the field agree, and the field keeps its terminator.
    void expectShownIsStored() const {
        EXPECT_EQ(shown(), stored());
        EXPECT_EQ(dialog->workingCopy().headerText[63], '\0');
    }

    DialogFixture f;
    std::unique_ptr<CPrintSetting> dialog;
    GbkTextBox* header = nullptr;
};

const QChar kHan(0x7EB8); // two GBK bytes
const QString kEmoji = QString::fromUtf16(u"\U0001F600");

TEST_F(PrintTextEntry, KeysStopAtTheCharactersAndBytesTheFieldHolds) {
    for (int i = 0; i < 40; ++i)
        key(kEmoji);
    EXPECT_EQ(shown(), "") << "emoji have no GBK form";
    for (const char16_t c : {u'\u200B', u'\uE000'})
        for (int i = 0; i < 5; ++i)
            key(QString(QChar(c)));
    // Each went in whole or not at all, never as a '?' in the field.
    expectShownIsStored();
    EXPECT_FALSE(stored().contains('?'));
    header->clear();

    QTest::keyClicks(header, QString(31, 'x'));
    key(QString(kHan)); // 31 + 2 bytes would need 34 bytes; fits the 63
    key("y");
    EXPECT_EQ(shown().size(), 32);
    for (const QString& more :
         {QString("z"), QString(QChar(0x200B)), QString(QChar(0xE000)), kEmoji, QString(kHan)})
        key(more);
    EXPECT_EQ(shown(), QString(31, 'x') + kHan) << "a full box refuses every key";
    expectShownIsStored();

    // Chinese: 31 characters are 62 bytes; the 32nd would leave no room for the terminator.
    header->clear();
    for (int i = 0; i < 33; ++i)
        key(QString(kHan));
    EXPECT_EQ(shown(), QString(31, kHan));
    key("a"); // one byte still fits
    EXPECT_EQ(shown(), QString(31, kHan) + "a");
    expectShownIsStored();
}

TEST_F(PrintTextEntry, InputMethodCommitsAreCutAtWholeCharacters) {
    QTest::keyClicks(header, QString(31, 'x'));
    commit(kEmoji + "xy");
    EXPECT_EQ(shown(), QString(31, 'x') + "x") << "the emoji is refused, never half of it";
    expectShownIsStored();

    header->clear();
    QTest::keyClicks(header, QString(30, 'x'));
    commit(QString::fromUtf16(u"e\u0301") + "ab");
    EXPECT_FALSE(shown().contains(QChar(0x0301)));
    EXPECT_FALSE(shown().endsWith('e')) << "a base character goes only with its marks";
    EXPECT_LE(shown().size(), 32);
    expectShownIsStored();

    header->clear();
    commit(QString(40, kHan));
    EXPECT_EQ(shown(), QString(31, kHan));
    expectShownIsStored();
}

TEST_F(PrintTextEntry, PasteAndDropFollowTheSameRule) {
    paste(QString::fromUtf16(u"甲\u2029乙\u2028丙\r\n丁\n戊") + kEmoji + QChar(0x200B) + "!");
    EXPECT_EQ(shown(), QString::fromUtf16(u"甲 乙 丙 丁 戊!"));
    EXPECT_FALSE(stored().contains('?'));
    expectShownIsStored();

    header->clear();
    paste(QString(40, kHan));
    EXPECT_EQ(shown(), QString(31, kHan));
    expectShownIsStored();

    header->clear();
    paste(QString::fromUtf16(u"a?\u0301b?"));
    EXPECT_EQ(shown(), "ab?") << "a mark without a GBK form takes its base with it";
    expectShownIsStored();

    header->clear();
    QMimeData data;
    data.setText(QString::fromUtf16(u"页\u2029眉") + QString(40, 'q'));
    const QPointF at = header->viewport()->rect().center();
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(header->viewport(), &enter);
    QDragMoveEvent over(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(header->viewport(), &over);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(header->viewport(), &drop);
    EXPECT_EQ(shown(), QString::fromUtf16(u"页 眉") + QString(29, 'q'));
    expectShownIsStored();
}

TEST_F(PrintTextEntry, UndoAndRedoStayWithinTheRule) {
    paste(QString(20, 'x'));
    header->selectAll();
    paste(QString(40, kHan));
    EXPECT_EQ(shown(), QString(31, kHan));
    header->undo();
    EXPECT_EQ(shown(), QString(20, 'x'));
    expectShownIsStored();
    header->redo();
    EXPECT_EQ(shown(), QString(31, kHan));
    expectShownIsStored();
}

TEST_F(PrintTextEntry, LineSeparatorsNeverReachTheField) {
    for (const char16_t c : {u'\u2028', u'\u2029', u'\u0085', u'\n', u'\v', u'\f'}) {
        header->clear();
        commit(QString("a") + QChar(c) + "b");
        paste(QString("c") + QChar(c) + "d");
        EXPECT_EQ(shown(), "a bc d") << int(c);
        expectShownIsStored();
    }
    header->clear();
    QTest::keyClick(header, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(shown(), "") << "Shift+Enter would insert a line separator";
}

// Opening the dialog and pressing "确定" keeps every byte of a field nobody edited.
TEST(PrintSettingDialog, UntouchedTextsComeBackByteForByte) {
    DialogFixture f;
    f.settings.printHeader = 1;
    f.settings.printFooter = 1;
    f.settings.printPageNumber = 1;
    f.settings.pageNumberPosition = 0; // bottom right
    textToField("ab", f.settings.headerText);
    f.settings.headerText[5] = 'Z'; // after the terminator
    f.settings.headerText[60] = 'Q';
    // Not valid GBK: a lead byte followed by a byte no trail can be.
    std::memcpy(f.settings.footerText, "a\x81\x20z", 5);
    const PrintSettings before = f.settings;
    {
        CPrintSetting d(f.settings, f.prompt);
        d.show();
        EXPECT_TRUE(sameBytes(d.workingCopy(), before));
        f.click(d, kIdPrintOk);
        EXPECT_EQ(d.result(), QDialog::Accepted);
    }
    EXPECT_TRUE(sameBytes(f.settings, before));

    // 64 bytes without a terminator, from a settings file written elsewhere.
    std::memset(f.settings.headerText, 0, sizeof f.settings.headerText);
    const std::string gbk = utf8ToGbk(QString(32, QChar(0x7EB8)).toStdString());
    ASSERT_EQ(gbk.size(), 64u);
    std::memcpy(f.settings.headerText, gbk.data(), 64);
    const PrintSettings full = f.settings;
    {
        CPrintSetting d(f.settings, f.prompt);
        d.show();
        EXPECT_EQ(f.get<GbkTextBox>(d, kIdHeaderText)->toPlainText().size(), 32);
        f.click(d, kIdPrintDefaults); // "默认" rewrites the working copy on purpose ...
        f.click(d, kIdPrintCancel);
    }
    EXPECT_TRUE(sameBytes(f.settings, full)); // ... but "取消" keeps the old record
    {
        CPrintSetting d(f.settings, f.prompt);
        d.show();
        f.click(d, kIdPrintFooter); // other controls do not touch the texts
        f.click(d, kIdPrintFooter);
        f.click(d, kIdPrintOk);
        EXPECT_EQ(d.result(), QDialog::Accepted);
    }
    EXPECT_TRUE(sameBytes(f.settings, full));

    // The box that is edited is stored anew, the other one stays as it was.
    {
        CPrintSetting d(f.settings, f.prompt);
        d.show();
        auto* footer = f.get<GbkTextBox>(d, kIdFooterText);
        footer->setFocus();
        QTest::keyClick(footer, Qt::Key_End);
        QTest::keyClicks(footer, "k");
        f.click(d, kIdPrintOk);
    }
    EXPECT_EQ(std::memcmp(f.settings.headerText, full.headerText, 64), 0);
    EXPECT_NE(std::memcmp(f.settings.footerText, full.footerText, 64), 0);
}

// A page number in a corner and a long header or footer on the same edge.
namespace overlap {

const char* const kHeaderClash = "页码与页眉位置干涉，请重新设置！";
const char* const kFooterClash = "页码与页脚位置干涉，请重新设置！";

PrintSettings cornerSettings(int chineseChars, int position, int format) {
    PrintSettings s{};
    s.printHeader = 1;
    s.printFooter = 1;
    s.printPageNumber = 1;
    s.pageNumberPosition = static_cast<std::uint8_t>(position);
    s.pageNumberFormat = static_cast<std::uint8_t>(format);
    textToField(QString(chineseChars, QChar(0x7EB8)).toStdString(), s.headerText);
    textToField(QString(chineseChars, QChar(0x5C3E)).toStdString(), s.footerText);
    return s;
}

std::optional<Message> onRecordingCanvas(const PrintSettings& s) {
    RecordingCanvas dc(kDefaultPdfDpi);
    const PageSizeUnits page = a4PageUnits(kDefaultPdfDpi);
    return pageNumberOverlap(s, dc, page.width, page.height);
}

} // namespace overlap

// On the recording canvas (宋体's metrics) at 600 dpi the sheet spans 450 to 4509 and a
// character of the body font is 92 wide: "共999页 第999页" is 690 wide, so a centred header
// reaches it from 30 Chinese characters on (29 end at 4163, 30 at 4209, the number starts at
// 3819).
TEST(PageNumberOverlap, LongHeaderOrFooterReachesTheCorner) {
    using namespace overlap;
    struct Case {
        const char* name;
        int chars, position, format;
        const char* expected; // nullptr: accepted
    } cases[] = {
        {"29 characters clear top right", 29, 3, 4, nullptr},
        {"30 characters reach top right", 30, 3, 4, kHeaderClash},
        {"30 characters reach top left", 30, 5, 4, kHeaderClash},
        {"30 characters reach bottom right", 30, 0, 4, kFooterClash},
        {"30 characters reach bottom left", 30, 2, 4, kFooterClash},
        {"a short number stays clear", 32, 3, 3, nullptr},
        {"a format beyond the list prints the long one", 30, 3, 9, kHeaderClash},
        {"a position beyond the list stands top left", 30, 8, 4, kHeaderClash},
        {"the centre clashes with any header", 8, 4, 1, kHeaderClash},
    };
    for (const Case& c : cases) {
        const auto got = onRecordingCanvas(cornerSettings(c.chars, c.position, c.format));
        if (c.expected == nullptr) {
            EXPECT_FALSE(got.has_value()) << c.name;
        } else {
            ASSERT_TRUE(got.has_value()) << c.name;
            EXPECT_EQ(got->text, c.expected) << c.name;
            EXPECT_EQ(got->caption, "提示") << c.name;
            EXPECT_EQ(got->icon, MessageIcon::Warning) << c.name;
        }
    }

    // Only a text that is printed can be overprinted.
    PrintSettings s = cornerSettings(32, 3, 4);
    s.printHeader = 0;
    EXPECT_FALSE(onRecordingCanvas(s).has_value());
    s = cornerSettings(32, 0, 4);
    s.printFooter = 0;
    EXPECT_FALSE(onRecordingCanvas(s).has_value());
    s = cornerSettings(32, 0, 4);
    s.printPageNumber = 0;
    EXPECT_FALSE(onRecordingCanvas(s).has_value());
}

// Whatever "确定" accepts prints without overlap: every corner, format and length, rendered
// on the recording canvas as page 120 of 120.
TEST(PageNumberOverlap, WhatTheDialogAcceptsNeverOverprints) {
    using namespace overlap;
    const PageSizeUnits page = a4PageUnits(kDefaultPdfDpi);
    const ProjectInfo project{};
    int accepted = 0, refused = 0;
    for (int chars : {8, 29, 30, 32})
        for (int position : {0, 2, 3, 5})
            for (int format = 0; format < kPageNumberFormatCount; ++format) {
                DialogFixture f;
                f.settings = cornerSettings(chars, position, format);
                {
                    CPrintSetting d(f.settings, f.prompt);
                    d.show();
                    f.click(d, kIdPrintOk);
                    if (d.result() != QDialog::Accepted) {
                        ++refused;
                        EXPECT_EQ(f.prompt.messages.size(), 1u);
                        continue;
                    }
                }
                ++accepted;
                RecordingCanvas dc(kDefaultPdfDpi);
                DrawRecordSheet(dc, page.width, page.height, 120, newMemberRecord(1),
                                sheetContext(project, f.settings, 120));
                const QString number = pageNumberText(f.settings, 120, 120);
                const QString edge = QString::fromStdString(
                    fieldToText(position >= 3 ? f.settings.headerText : f.settings.footerText));
                // The page number is the last text of the sheet.
                ASSERT_FALSE(dc.texts.empty());
                const RecordingCanvas::Text& drawn = dc.texts.back();
                ASSERT_EQ(drawn.text, number);
                const auto edges = dc.find(edge);
                ASSERT_EQ(edges.size(), 1u);
                const int height = cellHeightForPoints(11, kDefaultPdfDpi);
                const QRect a(drawn.x, drawn.y, RecordingCanvas::textWidth(number, height), height);
                const QRect b(edges[0].x, edges[0].y, RecordingCanvas::textWidth(edge, height),
                              height);
                EXPECT_FALSE(a.intersects(b))
                    << chars << " characters, position " << position << ", format " << format;
            }
    EXPECT_GT(accepted, 0);
    EXPECT_GT(refused, 0);
}

TEST(PrintSettingDialog, OkRefusesACornerPageNumberOnALongHeader) {
    DialogFixture f;
    f.settings = overlap::cornerSettings(32, 3, 4);
    f.settings.printFooter = 0;
    const PrintSettings before = f.settings;
    CPrintSetting d(f.settings, f.prompt);
    d.show();
    f.click(d, kIdPrintOk);
    ASSERT_EQ(f.prompt.messages.size(), 1u);
    EXPECT_EQ(f.prompt.messages[0].message.text, overlap::kHeaderClash);
    EXPECT_TRUE(d.isVisible());
    EXPECT_TRUE(sameBytes(f.settings, before));

    // "第%d页" is short enough.
    auto* format = f.get<QComboBox>(d, kIdPageNumberFormat);
    format->setFocus();
    QTest::keyClick(format, Qt::Key_Up);
    EXPECT_EQ(d.workingCopy().pageNumberFormat, 3);
    f.click(d, kIdPrintOk);
    EXPECT_EQ(f.prompt.messages.size(), 1u);
    EXPECT_EQ(d.result(), QDialog::Accepted);
}

TEST(ScriptedPrompt, RecordsAndAnswersInOrder) {
    ScriptedPrompt prompt;
    prompt.answers = {PromptAnswer::Yes};
    prompt.fileNames = {"a.stl", ""};
    const Message notice{"提示文字", "提示", MessageIcon::Information};
    EXPECT_EQ(prompt.showMessage(nullptr, notice), PromptAnswer::Ok); // leaves the queue
    EXPECT_EQ(prompt.showMessage(nullptr, notice, PromptButtons::YesNo), PromptAnswer::Yes);
    EXPECT_EQ(prompt.showMessage(nullptr, notice, PromptButtons::YesNo), PromptAnswer::No);
    EXPECT_EQ(prompt.messages.size(), 3u);
    FileDialogRequest request{"新文件.stl", "stl", "砂浆抗压强度数据.stl", "*.stl"};
    EXPECT_EQ(prompt.saveFileName(nullptr, request), std::optional<QString>("a.stl"));
    EXPECT_EQ(prompt.openFileName(nullptr, request), std::nullopt);
    EXPECT_EQ(prompt.openFileName(nullptr, request), std::nullopt);
    ASSERT_EQ(prompt.fileDialogs.size(), 3u);
    EXPECT_TRUE(prompt.fileDialogs[0].save);
    EXPECT_EQ(prompt.fileDialogs[1].request.initialName, QStringLiteral("新文件.stl"));
}

} // namespace
} // namespace morvik
