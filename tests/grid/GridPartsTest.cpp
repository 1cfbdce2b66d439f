// The grid's parts on their own, without a widget: the axis against a pixel model laid out
// independently, and the cell store's structure operations.
#include "grid/GridCellStore.h"
#include "grid/GridSelection.h"

#include <gtest/gtest.h>
#include <random>

namespace morvik {
namespace {

// Which line covers each pixel of a client area `extent` wide: the fixed lines from 0, then
// the lines from `first` on; -1 where no line is.
std::vector<int> pixelModel(const std::vector<int>& sizes, int fixed, int first, int extent) {
    std::vector<int> owner(std::size_t(extent), -1);
    int at = 0;
    auto lay = [&](int line) {
        for (int i = 0; i < sizes[std::size_t(line)] && at < extent; ++i)
            owner[std::size_t(at++)] = line;
    };
    for (int line = 0; line < fixed; ++line)
        lay(line);
    for (int line = first; line < int(sizes.size()) && at < extent; ++line)
        lay(line);
    return owner;
}

TEST(GridAxis, AgreesWithAPixelModelOverRandomLayouts) {
    std::mt19937 rng(20240309);
    for (int round = 0; round < 400; ++round) {
        GridAxis axis;
        const int count = int(rng() % 12);
        axis.resize(count, 20);
        for (int i = 0; i < count; ++i)
            axis.setSize(i, int(rng() % 4 == 0 ? 0 : rng() % 30)); // some lines hidden
        axis.setFixedCount(count ? int(rng() % std::uint32_t(count + 1)) : 0);
        const int extent = 1 + int(rng() % 200);
        const int pos = int(rng() % 300);
        const int first = axis.firstVisible(pos);
        SCOPED_TRACE(testing::Message() << "round " << round << " count " << count << " fixed "
                                        << axis.fixedCount() << " first " << first);
        // The first visible line: the lines skipped add up to less than the position.
        int skipped = 0;
        for (int i = axis.fixedCount(); i < first; ++i)
            skipped += axis.size(i);
        EXPECT_TRUE(first == axis.fixedCount() || skipped - axis.size(first - 1) < pos);
        const std::vector<int> owner = pixelModel(axis.sizes(), axis.fixedCount(), first, extent);
        for (int p = 0; p < extent; ++p)
            ASSERT_EQ(axis.lineAt(p, first, true), owner[std::size_t(p)]) << "pixel " << p;
        for (int line = 0; line < count; ++line) {
            int start = -1;
            const bool shown = axis.start(line, first, &start);
            EXPECT_EQ(shown, line < axis.fixedCount() || line >= first) << "line " << line;
            if (shown && axis.size(line) > 0 && start < extent) {
                EXPECT_EQ(owner[std::size_t(start)], line) << "line " << line;
            }
        }
        if (count > first) {
            int end = 0;
            const int last = axis.lastVisible(first, extent, &end);
            // The last visible line begins inside the area, the one after it does not.
            int lastStart = 0;
            ASSERT_TRUE(axis.start(last, first, &lastStart));
            EXPECT_LT(lastStart, std::max(extent, axis.fixedExtent() + 1));
            if (last + 1 < count) {
                EXPECT_GE(end, extent);
            }
            const int full = axis.lastFullyVisible(first, last, extent);
            EXPECT_TRUE(full == last || full == last - 1);
            if (full >= first) {
                int fullStart = 0;
                axis.start(full, first, &fullStart);
                EXPECT_LE(fullStart + axis.size(full), extent);
            }
        }
    }
}

TEST(GridAxis, RefusesWhatLiesOutsideAndKeepsFixedWithinTheCount) {
    GridAxis axis;
    axis.resize(3, 10);
    axis.setFixedCount(5);
    EXPECT_EQ(axis.fixedCount(), 3);
    EXPECT_EQ(axis.size(3), -1);
    EXPECT_FALSE(axis.setSize(-1, 4));
    EXPECT_FALSE(axis.setSize(0, -4));
    axis.resize(1, 10);
    EXPECT_EQ(axis.fixedCount(), 1);
    EXPECT_EQ(axis.scrollMaximum(100), 0);
    axis.resize(6, 10); // five non-fixed lines of 10 pixels over a page of 30
    EXPECT_EQ(axis.scrollMaximum(30), 49);
    EXPECT_EQ(axis.scrollMaximum(50), 0);
}

struct Counted {
    int made = 0;
    int cleared = 0;
    GridCellStore store{[this](int, int) {
                            ++made;
                            return new CGridCell;
                        },
                        [this](CGridCell*) { ++cleared; }};
};

TEST(GridCellStore, MakesAndLetsGoOfEveryCellAsTheStructureChanges) {
    Counted c;
    c.store.setRowCount(4, 20);
    EXPECT_EQ(c.made, 0); // no columns yet
    c.store.setColumnCount(3, 50);
    EXPECT_EQ(c.made, 12);
    c.store.setRowCount(2, 20);
    EXPECT_EQ(c.cleared, 6);
    c.store.setColumnCount(5, 50);
    EXPECT_EQ(c.made, 16);
    EXPECT_NE(c.store.cell(1, 4), nullptr);
    EXPECT_EQ(c.store.cell(2, 0), nullptr);
    EXPECT_EQ(c.store.cell(0, 5), nullptr);
    EXPECT_EQ(c.store.rows().totalExtent(), 40);
    EXPECT_EQ(c.store.columns().totalExtent(), 250);
    c.store.removeAll();
    EXPECT_EQ(c.cleared, 16);
    EXPECT_EQ(c.store.rowCount(), 0);
}

TEST(GridCellStore, SortsRowsWithTheirCellsAndHeights) {
    std::mt19937 rng(7);
    for (int round = 0; round < 50; ++round) {
        GridCellStore store([](int, int) { return new CGridCell; }, {});
        const int rows = 2 + int(rng() % 30);
        store.setRowCount(rows, 0);
        store.setColumnCount(2, 10);
        for (int r = 0; r < rows; ++r) {
            const QString key = QString::number(rng() % 10);
            store.cell(r, 0)->text = key;
            store.cell(r, 1)->text = key + QStringLiteral("/") + QString::number(r);
            store.rows().setSize(r, 100 + r);
        }
        const bool ascending = round % 2 == 0;
        store.sortRows(0, ascending, 1, rows - 1);
        for (int r = 2; r < rows; ++r) {
            const int order = QString::compare(store.cell(r - 1, 0)->text, store.cell(r, 0)->text);
            EXPECT_TRUE(ascending ? order <= 0 : order >= 0) << "round " << round;
        }
        for (int r = 0; r < rows; ++r) {
            // A row moved whole: its second cell names its key and where it came from,
            // and its height came along.
            const QStringList parts = store.cell(r, 1)->text.split(QLatin1Char('/'));
            EXPECT_EQ(parts[0], store.cell(r, 0)->text);
            EXPECT_EQ(store.rows().size(r), 100 + parts[1].toInt());
        }
        EXPECT_EQ(store.cell(0, 1)->text.split(QLatin1Char('/'))[1], QStringLiteral("0"));
    }
}

TEST(GridSelection, KeepsItsSetAndTheCellFlagsIdentical) {
    GridCellStore store([](int, int) { return new CGridCell; }, {});
    store.setRowCount(8, 20);
    store.setColumnCount(6, 50);
    store.rows().setFixedCount(1);
    store.columns().setFixedCount(1);
    GridSelection sel;
    std::mt19937 rng(11);
    for (int step = 0; step < 300; ++step) {
        const CCellID at(int(rng() % 8), int(rng() % 6));
        if (rng() % 3 == 0)
            sel.start = at;
        if (rng() % 5 == 0)
            sel.rememberCurrent();
        const auto span = SelectionSpan(rng() % 4);
        if (const auto range = sel.spanTo(span, at, store, false))
            sel.apply(*range, store, rng() % 2, [](int, int) {});
        int flagged = 0;
        for (int r = 0; r < 8; ++r)
            for (int c = 0; c < 6; ++c) {
                const bool flag = store.cell(r, c)->state & CellSelected;
                flagged += flag;
                ASSERT_EQ(flag, sel.contains(r, c)) << "step " << step << " cell " << r << "," << c;
            }
        ASSERT_EQ(flagged, sel.count());
    }
}

} // namespace
} // namespace morvik
