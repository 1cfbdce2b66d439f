#include "core/ConversionTable.h"

#include <gtest/gtest.h>
#include <vector>

using namespace morvik;

namespace {

struct Row {
    int index;
    double depth;
    std::vector<double> columns;
};

struct Run {
    int column;
    double firstDepth, lastDepth;
    int count;
    double firstValue, lastValue;
};

template <std::size_t Cols>
void checkRun(const double (*table)[Cols], int rows, double startDepth, const Run& run) {
    int count = 0;
    int first = -1, last = -1;
    for (int r = 0; r < rows; ++r) {
        if (table[r][run.column] > 0) {
            if (first < 0)
                first = r;
            last = r;
            ++count;
        } else {
            EXPECT_EQ(table[r][run.column], -1.0) << "row " << r;
        }
    }
    ASSERT_GE(first, 0);
    EXPECT_EQ(last - first + 1, count) << "gap in column " << run.column;
    EXPECT_EQ(count, run.count) << "column " << run.column;
    EXPECT_DOUBLE_EQ(table[first][0], run.firstDepth);
    EXPECT_DOUBLE_EQ(table[last][0], run.lastDepth);
    EXPECT_DOUBLE_EQ(table[first][run.column], run.firstValue);
    EXPECT_DOUBLE_EQ(table[last][run.column], run.lastValue);
    EXPECT_NEAR(table[0][0], startDepth, 1e-12);
}

} // namespace

TEST(ConversionTable, MasonryTellingRows) {
    const Row rows[] = {{0, 2.9, {-1.0, 15.8, -1.0}},  {2, 3.1, {-1.0, 13.7, 16.1}},
                        {5, 3.4, {16.6, 11.3, 13.2}},  {71, 10.0, {1.2, 1.1, 1.3}},
                        {138, 16.7, {0.4, 0.4, 0.4}},  {146, 17.5, {-1.0, -1.0, 0.4}},
                        {157, 18.6, {-1.0, -1.0, 0.4}}};
    for (const Row& row : rows) {
        EXPECT_DOUBLE_EQ(masonryTable[row.index][0], row.depth);
        for (int c = 0; c < 3; ++c)
            EXPECT_DOUBLE_EQ(masonryTable[row.index][c + 1], row.columns[c])
                << "row " << row.index << " column " << c + 1;
    }
}

TEST(ConversionTable, PlasteringTellingRows) {
    const Row rows[] = {{0, 3.1, {-1.0, 16.3}},   {4, 3.5, {15.9, 12.4}},
                        {69, 10.0, {1.5, 1.2}},   {143, 17.4, {0.4, 0.4}},
                        {144, 17.5, {0.4, -1.0}}, {160, 19.1, {0.4, -1.0}}};
    for (const Row& row : rows) {
        EXPECT_DOUBLE_EQ(plasteringTable[row.index][0], row.depth);
        for (int c = 0; c < 2; ++c)
            EXPECT_DOUBLE_EQ(plasteringTable[row.index][c + 1], row.columns[c])
                << "row " << row.index << " column " << c + 1;
    }
}

TEST(ConversionTable, EachColumnHasOneRunFromItsFirstToItsLastDepth) {
    checkRun(masonryTable, kMasonryRows, 2.9, {1, 3.4, 16.7, 134, 16.6, 0.4});
    checkRun(masonryTable, kMasonryRows, 2.9, {2, 2.9, 17.4, 146, 15.8, 0.4});
    checkRun(masonryTable, kMasonryRows, 2.9, {3, 3.1, 18.6, 156, 16.1, 0.4});
    checkRun(plasteringTable, kPlasteringRows, 3.1, {1, 3.5, 19.1, 157, 15.9, 0.4});
    checkRun(plasteringTable, kPlasteringRows, 3.1, {2, 3.1, 17.4, 144, 16.3, 0.4});
}

TEST(ConversionTable, DepthColumnStepsByATenth) {
    for (int r = 0; r < kMasonryRows; ++r)
        EXPECT_NEAR(masonryTable[r][0], 2.9 + 0.1 * r, 1e-9);
    for (int r = 0; r < kPlasteringRows; ++r)
        EXPECT_NEAR(plasteringTable[r][0], 3.1 + 0.1 * r, 1e-9);
}

TEST(ConvertDepth, LastRowHasNoSuccessor) {
    for (std::uint8_t code : {0x00, 0x01, 0x02})
        EXPECT_FALSE(convertDepth(code, 186, 18.6f)) << int(code);
    for (std::uint8_t code : {0x10, 0x11})
        EXPECT_FALSE(convertDepth(code, 191, 19.1f)) << int(code);
    EXPECT_TRUE(convertDepth(0x02, 185, 18.5f));
    EXPECT_TRUE(convertDepth(0x10, 190, 19.0f));
}

TEST(ConvertDepth, FirstValidRowServesAsLowerRowButNotTheOneBefore) {
    ASSERT_TRUE(convertDepth(0x00, 34, 3.4f));
    EXPECT_NEAR(*convertDepth(0x00, 34, 3.4f), 16.6, 1e-5);
    EXPECT_FALSE(convertDepth(0x00, 33, 3.35f));
    EXPECT_FALSE(convertDepth(0x00, 28, 2.8f)); // before the table
}

TEST(ConvertDepth, KindWithoutTableIsToldApart) {
    bool noTable = false;
    EXPECT_FALSE(convertDepth(0x20, 50, 5.0f, &noTable));
    EXPECT_TRUE(noTable);
    convertDepth(0x01, 50, 5.0f, &noTable);
    EXPECT_FALSE(noTable);
}

TEST(ConvertDepth, VarietyBeyondItsKindHasNoColumn) {
    EXPECT_FALSE(convertDepth(0x03, 50, 5.0f));
    EXPECT_FALSE(convertDepth(0x12, 50, 5.0f));
}
