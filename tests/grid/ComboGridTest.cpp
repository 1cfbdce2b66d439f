// Combo columns: only item texts are stored there, whichever way they arrive.
#include "GridFixture.h"
#include "grid/CComboGridCtrl.h"
#include "grid/CInPlaceList.h"

using namespace morvik;
using namespace morvik::test;

namespace {
const QStringList kItems{QStringLiteral("预拌砂浆"), QStringLiteral("水泥砂浆")};
}

TEST(ComboGrid, TextWritesInAComboColumnAcceptOnlyItems) {
    CComboGridCtrl g;
    layOutReadingGrid(g);
    g.addComboColumn(2, &kItems);
    g.setItemText(3, 2, kItems[0]);
    EXPECT_FALSE(g.setItemText(3, 2, QStringLiteral("石灰")));
    EXPECT_EQ(g.itemText(3, 2), kItems[0]);
    EXPECT_TRUE(g.setItemText(3, 2, kItems[1]));
    EXPECT_EQ(g.itemText(3, 2), kItems[1]);
    EXPECT_TRUE(g.setItemText(0, 2, QStringLiteral("heading"))); // fixed rows are free
    EXPECT_TRUE(g.setItemText(3, 1, QStringLiteral("anything")));
}

TEST(ComboGrid, CheckedItemWriteIsRefusedWhole) {
    CComboGridCtrl g;
    layOutReadingGrid(g);
    g.addComboColumn(1, &kItems);
    GridItem item;
    item.row = 4;
    item.col = 1;
    item.mask = ItemText | ItemFormat | ItemData;
    item.text = QStringLiteral("not an item");
    item.format = FormatRight;
    item.data = 42;
    EXPECT_FALSE(g.setItemWithComboCheck(&item));
    EXPECT_EQ(g.itemFormat(4, 1), g.itemFormat(3, 1)); // unchanged
    EXPECT_EQ(g.itemData(4, 1), 0);
    item.text = kItems[1];
    EXPECT_TRUE(g.setItemWithComboCheck(&item));
    EXPECT_EQ(g.itemText(4, 1), kItems[1]);
    EXPECT_EQ(g.itemData(4, 1), 42);
    EXPECT_FALSE(g.setItemWithComboCheck(nullptr));
    item.row = 99;
    EXPECT_FALSE(g.setItemWithComboCheck(&item));
}

TEST(ComboGrid, PastedTextThatIsNoItemLeavesTheCell) {
    CComboGridCtrl g;
    layOutReadingGrid(g);
    g.addComboColumn(2, &kItems);
    g.setItemText(1, 2, kItems[0]);
    g.pasteTextToGrid(CCellID(1, 1), textToGbk(QStringLiteral("1.5,石灰")));
    EXPECT_EQ(g.itemText(1, 1), QStringLiteral("1.5"));
    EXPECT_EQ(g.itemText(1, 2), kItems[0]);
}

TEST(ComboGrid, ComboColumnsAreEditedWithTheListAndRefuseOtherTexts) {
    GridWindow<CComboGridCtrl> w;
    CComboGridCtrl& g = *w.grid;
    g.addComboColumn(2, &kItems);
    g.setItemText(3, 2, kItems[0]);
    g.setFocusCell(3, 2);
    QTest::keyClick(&g, 'x');
    auto* list = g.viewport()->findChild<CInPlaceList*>();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->count(), 2);
    EXPECT_EQ(list->currentText(), QStringLiteral("x")); // the key replaced the text
    QSignalSpy spy(&g, &CGridCtrl::notify);
    w.key(Qt::Key_Return);
    EXPECT_EQ(g.itemText(3, 2), kItems[0]);
    EXPECT_EQ(notificationsWith(spy, GridEndEdit), (std::vector<Seen>{{GridEndEdit, 3, 2}}));
    EXPECT_EQ(g.focusCell(), CCellID(3, 2));

    // Choosing an item with the arrow keys stores it.
    QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, w.centre(3, 2));
    list = nullptr;
    for (CInPlaceList* l : g.viewport()->findChildren<CInPlaceList*>())
        if (l->isVisible())
            list = l;
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->currentText(), kItems[0]);
    w.key(Qt::Key_Down);
    EXPECT_EQ(list->currentText(), kItems[1]);
    w.key(Qt::Key_Return);
    EXPECT_EQ(g.itemText(3, 2), kItems[1]);

    // Other columns keep the plain editor.
    g.setFocusCell(3, 1);
    QTest::keyClick(&g, '4');
    EXPECT_NE(qobject_cast<CInPlaceEdit*>(w.editor()), nullptr);
}

TEST(ComboGrid, DescriptorArchiveRoundTrip) {
    CComboGridCtrl g;
    g.addComboColumn(2, &kItems);
    g.addComboColumn(5, &kItems);
    const QByteArray archive = g.saveComboColumns();
    EXPECT_EQ(archive.size(), 4 + 2 * 8);
    CComboGridCtrl h;
    ASSERT_TRUE(h.loadComboColumns(archive));
    ASSERT_EQ(h.comboColumns().size(), 2u);
    EXPECT_EQ(h.comboColumns()[1].col, 5);
    EXPECT_FALSE(h.loadComboColumns(QByteArray("\x10\0\0\0", 4))); // count beyond the data
    EXPECT_EQ(h.comboColumns().size(), 2u);
}
