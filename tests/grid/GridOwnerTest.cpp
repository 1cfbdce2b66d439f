// What an owner may do from inside a notification: refuse a value with a modal message box,
// change the structure, or be destroyed while an edit is open. Whatever it does, the grid
// must come back idle, keep its counts consistent and never call into a dead owner.
#include "GridFixture.h"

#include <QMessageBox>
#include <QRandomGenerator>
#include <QTimer>

using namespace morvik;
using namespace morvik::test;

namespace {

// The main dialog's reaction to a refused reading: a modal message box opened from inside
// the end-of-edit notification. The box is closed by a zero-time timer once it is active,
// and it swallows the button release the way a real box does.
// Without a window manager a box need not become active: the grid's window is then only
// blocked and unblocked around it, which is what `activates` false plays.
struct RefusingOwner {
    bool activates = true;
    int boxesShown = 0;
    void connectTo(CGridCtrl* grid) {
        QObject::connect(grid, &CGridCtrl::notify, grid, [this, grid](const GridNotify& n) {
            if (n.code != GridEndEdit || grid->itemText(n.row, n.col).toDouble() < 100)
                return;
            ++boxesShown;
            if (activates) {
                QMessageBox box(QMessageBox::Information, QStringLiteral("提示"),
                                QStringLiteral("请输入一个绝对值小于100的数字！"), QMessageBox::Ok,
                                grid->window());
                QTimer::singleShot(0, &box, [&box] {
                    (void)QTest::qWaitForWindowActive(&box);
                    QTest::mouseRelease(&box, Qt::LeftButton); // the release the grid never sees
                    box.accept();
                });
                box.exec();
            } else {
                QEvent blocked(QEvent::WindowBlocked);
                QCoreApplication::sendEvent(grid->window(), &blocked);
                QEvent unblocked(QEvent::WindowUnblocked);
                QCoreApplication::sendEvent(grid->window(), &unblocked);
            }
            grid->setItemText(n.row, n.col, QString());
        });
    }
};

// Counts, size tables, focus and selection agree with each other.
void expectConsistent(const CGridCtrl& g, const char* step) {
    EXPECT_LE(g.fixedRowCount(), g.rowCount()) << step;
    EXPECT_LE(g.fixedColumnCount(), g.columnCount()) << step;
    EXPECT_GE(g.virtualHeight(), g.fixedRowHeight()) << step;
    EXPECT_GE(g.virtualWidth(), g.fixedColumnWidth()) << step;
    // The steps below only ever name cells of the grid as it is: a focus past the tables
    // can only come from a structure change that forgot it.
    const CCellID f = g.focusCell();
    EXPECT_LT(f.row, g.rowCount()) << step;
    EXPECT_LT(f.col, g.columnCount()) << step;
    for (int r = 0; r < g.rowCount(); ++r)
        for (int c = 0; c < g.columnCount(); ++c)
            EXPECT_EQ(bool(g.itemState(r, c) & CellFocused), CCellID(r, c) == f)
                << step << " cell " << r << "," << c;
    for (const CCellID& id : g.selectedCells()) {
        EXPECT_TRUE(g.isValid(id)) << step;
        EXPECT_TRUE(g.itemState(id.row, id.col) & CellSelected) << step;
    }
}

// `policy`: the focus policy the owner gives the grid (the main dialog makes every control
// of its tab order take the focus on a click as well).
void refuseThenClickElsewhere(bool boxActivates, Qt::FocusPolicy policy) {
    GridWindow<> w;
    CGridCtrl& g = *w.grid;
    g.setFocusPolicy(policy);
    RefusingOwner owner;
    owner.activates = boxActivates;
    owner.connectTo(&g);
    g.setFocusCell(1, 1);
    w.type(QStringLiteral("100"));
    ASSERT_NE(w.editor(), nullptr);
    // The press ends the edit, the box opens and eats the release: no release reaches the grid.
    QTest::mousePress(g.viewport(), Qt::LeftButton, {}, w.centre(8, 2));
    EXPECT_EQ(owner.boxesShown, 1);
    EXPECT_EQ(g.itemText(1, 1), QString());
    EXPECT_EQ(g.mouseMode(), CGridCtrl::MouseIdle);
    EXPECT_EQ(g.focusCell(), CCellID(1, 1)); // the interrupted press is dropped whole

    // Resting over the heading row with no button held moves nothing.
    const CCellID focus = g.focusCell();
    w.hover(QPoint(200, 10));
    QTest::qWait(120);
    EXPECT_EQ(g.focusCell(), focus);
    EXPECT_EQ(g.mouseMode(), CGridCtrl::MouseIdle);

    // The next key starts an edit on the focus cell.
    QTest::keyClick(&g, '5');
    QLineEdit* e = w.editor();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->text(), QStringLiteral("5"));
}
} // namespace

TEST(GridOwner, ARefusedValueFollowedByAClickElsewhereLeavesTheGridIdle) {
    refuseThenClickElsewhere(true, Qt::TabFocus);
}

TEST(GridOwner, ARefusalBoxThatNeverTakesTheFocusStillLeavesTheGridIdle) {
    refuseThenClickElsewhere(false, Qt::TabFocus);
}

TEST(GridOwner, ARefusalStillLeavesTheGridIdleWhenTheOwnerLetsClicksFocusIt) {
    refuseThenClickElsewhere(true, Qt::StrongFocus);
    refuseThenClickElsewhere(false, Qt::StrongFocus);
}

TEST(GridOwner, LosingTheMouseEndsASelectionGesture) {
    struct Row {
        const char* name;
        void (*loseIt)(GridWindow<>& w);
    };
    const Row rows[] = {
        {"a move with no button held",
         [](GridWindow<>& w) {
             QMouseEvent move(QEvent::MouseMove, QPointF(200, 10),
                              w.grid->viewport()->mapToGlobal(QPointF(200, 10)), Qt::NoButton,
                              Qt::NoButton, Qt::NoModifier);
             QApplication::sendEvent(w.grid->viewport(), &move);
         }},
        {"the focus going elsewhere",
         [](GridWindow<>& w) {
             auto* other = new QLineEdit(w.window.get());
             other->setGeometry(0, 0, 1, 1);
             other->show();
             other->setFocus();
             QApplication::processEvents();
         }},
        {"a modal window",
         [](GridWindow<>& w) {
             QDialog box(w.window.get());
             QTimer::singleShot(0, &box, [&box] {
                 (void)QTest::qWaitForWindowActive(&box);
                 box.accept();
             });
             box.exec();
         }},
    };
    for (const Row& r : rows) {
        GridWindow<> w;
        CGridCtrl& g = *w.grid;
        QTest::mousePress(g.viewport(), Qt::LeftButton, {}, w.centre(6, 2));
        ASSERT_EQ(g.mouseMode(), CGridCtrl::MouseSelectCells) << r.name;
        r.loseIt(w);
        EXPECT_EQ(g.mouseMode(), CGridCtrl::MouseIdle) << r.name;
        // The automatic scroll is off: a pointer above the cells walks nothing up.
        QCursor::setPos(g.viewport()->mapToGlobal(QPoint(200, 5)));
        QTest::qWait(100);
        EXPECT_EQ(g.focusCell(), CCellID(6, 2)) << r.name;
    }
}

TEST(GridOwner, NoNotificationReachesADestroyedOwner) {
    struct State {
        bool ownerGone = false;
        int lateNotifications = 0;
        int endEdits = 0;
    };
    class Owner : public QWidget {
    public:
        explicit Owner(State* s) : m_state(s) {
            resize(400, 420);
            grid = new CGridCtrl(this);
            grid->setGeometry(0, 0, 400, 420);
            layOutReadingGrid(*grid);
            connect(grid, &CGridCtrl::notify, this, [s](const GridNotify& n) {
                if (s->ownerGone)
                    ++s->lateNotifications;
                if (n.code == GridEndEdit)
                    ++s->endEdits;
            });
        }
        ~Owner() override { m_state->ownerGone = true; }
        CGridCtrl* grid;

    private:
        State* m_state;
    };

    State state;
    auto* owner = new Owner(&state);
    owner->show();
    owner->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(owner));
    owner->grid->setFocus();
    owner->grid->setFocusCell(3, 1);
    QTest::keyClick(owner->grid, '7');
    ASSERT_NE(owner->grid->viewport()->findChild<QLineEdit*>(), nullptr);
    delete owner;
    QApplication::processEvents();
    EXPECT_EQ(state.lateNotifications, 0);

    // The grid alone destroyed under an open editor: no crash, nothing sent.
    State alone;
    GridWindow<> w;
    QObject::connect(w.grid, &CGridCtrl::notify, w.window.get(),
                     [&alone](const GridNotify&) { ++alone.endEdits; });
    w.grid->setFocusCell(3, 1);
    QTest::keyClick(w.grid, '7');
    ASSERT_NE(w.editor(), nullptr);
    alone.endEdits = 0;
    delete w.grid;
    QApplication::processEvents();
    EXPECT_EQ(alone.endEdits, 0);
}

TEST(GridOwner, FixedCountsStayWithinTheCountsWhenTheOwnerChangesThemWhileTold) {
    {
        CGridCtrl g;
        g.setRowCount(20);
        g.setColumnCount(4);
        g.setFocusCell(13, 1);
        QObject::connect(&g, &CGridCtrl::notify, &g, [&g](const GridNotify& n) {
            if (n.code == GridFocusLeaving)
                g.setFixedRowCount(5);
        });
        EXPECT_TRUE(g.setRowCount(3));
        EXPECT_EQ(g.rowCount(), 3);
        EXPECT_EQ(g.fixedRowCount(), 3);
        EXPECT_EQ(g.fixedRowHeight(), 3 * g.defaultRowHeight());
        expectConsistent(g, "fixed rows raised while rows shrink");
    }
    {
        CGridCtrl g;
        g.setRowCount(20);
        g.setColumnCount(6);
        g.setFocusCell(4, 1);
        QObject::connect(&g, &CGridCtrl::notify, &g, [&g](const GridNotify& n) {
            if (n.code == GridFocusLeaving)
                g.setColumnCount(0);
        });
        g.setFixedColumnCount(3);
        EXPECT_LE(g.fixedColumnCount(), g.columnCount());
        EXPECT_EQ(g.fixedColumnWidth(), g.fixedColumnCount() * g.defaultColumnWidth());
        expectConsistent(g, "columns dropped while fixing columns");
    }
    {
        // An owner that puts the focus back on a row that is going away.
        CGridCtrl g;
        g.setRowCount(20);
        g.setColumnCount(4);
        g.setFocusCell(13, 2);
        QObject::connect(&g, &CGridCtrl::notify, &g, [&g](const GridNotify& n) {
            if (n.code == GridFocusLeaving && g.rowCount() == 20)
                g.setFocusCell(18, 1);
        });
        g.setRowCount(10);
        expectConsistent(g, "focus put back on a removed row");
    }
}

TEST(GridOwner, RandomStructureChangesFromInsideNotificationsKeepTheGridConsistent) {
    QRandomGenerator rng(7031);
    CGridCtrl g;
    g.setRowCount(12);
    g.setColumnCount(6);
    int depth = 0;
    auto someCell = [&] {
        if (g.rowCount() == 0 || g.columnCount() == 0 || rng.bounded(5) == 0)
            return CCellID();
        return CCellID(rng.bounded(g.rowCount()), rng.bounded(g.columnCount()));
    };
    // The owner answers some notifications by changing the structure itself.
    QObject::connect(&g, &CGridCtrl::notify, &g, [&](const GridNotify&) {
        if (depth > 2 || rng.bounded(3) != 0)
            return;
        ++depth;
        switch (rng.bounded(6)) {
        case 0:
            g.setRowCount(rng.bounded(0, 15));
            break;
        case 1:
            g.setColumnCount(rng.bounded(0, 8));
            break;
        case 2:
            g.setFixedRowCount(rng.bounded(0, 6));
            break;
        case 3:
            g.setFixedColumnCount(rng.bounded(0, 5));
            break;
        case 4:
            g.setFocusCell(someCell());
            break;
        default:
            g.selectAllCells();
            break;
        }
        --depth;
    });
    for (int step = 0; step < 3000; ++step) {
        switch (rng.bounded(7)) {
        case 0:
            g.setRowCount(rng.bounded(0, 15));
            break;
        case 1:
            g.setColumnCount(rng.bounded(0, 8));
            break;
        case 2:
            g.setFixedRowCount(rng.bounded(0, 6));
            break;
        case 3:
            g.setFixedColumnCount(rng.bounded(0, 5));
            break;
        case 4:
            g.setSelectedRange(rng.bounded(-1, 10), rng.bounded(-1, 6), rng.bounded(-1, 14),
                               rng.bounded(-1, 8));
            break;
        default:
            g.setFocusCell(someCell());
            break;
        }
        // Reading every size the counts promise must stay inside the tables.
        int h = 0;
        for (int r = 0; r < g.rowCount(); ++r)
            h += g.rowHeight(r);
        EXPECT_EQ(h, g.virtualHeight());
        EXPECT_GE(g.rowHeight(g.fixedRowCount() - 1), g.fixedRowCount() > 0 ? 0 : -1);
        EXPECT_GE(g.columnWidth(g.fixedColumnCount() - 1), g.fixedColumnCount() > 0 ? 0 : -1);
        expectConsistent(g, "random step");
        if (::testing::Test::HasFailure())
            break;
    }
}

TEST(GridOwner, AnEditStillEndsWhenAnotherWindowIsActivated) {
    GridWindow<> w;
    QSignalSpy spy(w.grid, &CGridCtrl::notify);
    w.grid->setFocusCell(4, 2);
    QTest::keyClick(w.grid, '3');
    ASSERT_NE(w.editor(), nullptr);
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    QTRY_COMPARE(notificationsWith(spy, GridEndEdit).size(), size_t(1));
    EXPECT_EQ(w.grid->itemText(4, 2), QStringLiteral("3"));
    EXPECT_EQ(w.editor(), nullptr);
}
