#include "gui/tabulation/TableColumns.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr int kLeftMargin = 40;
constexpr int kCellMargin = 3;

struct ColumnCase {
    const char* name;
    CellSizeMode mode;
    int width;
    int headerColumns;
    int dataColumns;
    std::vector<int> rightEdges; // of every column, header columns first
    double minimumUnit = 0.0;    // variable mode only
};

// Right edges counted by hand: in variable mode a unit u = (width - 80) / (C + 2W), header
// columns 2u and data columns u, each edge truncated after adding the width to the previous one.
const std::vector<ColumnCase> kColumnCases{
    // u = 800 / 6 = 133.33: 40 + 266.67, then + 133.33 four times, truncated at every step.
    {"VariableSharesTheWindow", CellSizeMode::kVariable, 880, 1, 4, {306, 439, 572, 705, 838}},
    // u = 920 / 6 = 153.33.
    {"VariableFollowsAWiderWindow", CellSizeMode::kVariable, 1000, 1, 4, {346, 499, 652, 805, 958}},
    // 40 + 160 + 4 x 80 whatever the window.
    {"FixedInANarrowWindow", CellSizeMode::kFixed, 300, 1, 4, {200, 280, 360, 440, 520}},
    {"FixedInAWideWindow", CellSizeMode::kFixed, 2000, 1, 4, {200, 280, 360, 440, 520}},
    {"FixedWithTwoHeaderColumns", CellSizeMode::kFixed, 880, 2, 1, {200, 360, 440}},
    // u = 400 / 4 = 100.
    {"VariableTwoHeaderColumnsNoData", CellSizeMode::kVariable, 480, 2, 0, {240, 440}},
    // No header column: the first data column starts at the left margin; u = 260 / 3 = 86.67 and
    // the truncation loses 2 pixels by the third column.
    {"VariableWithoutHeaderColumn", CellSizeMode::kVariable, 340, 0, 3, {126, 212, 298}},
    // Narrower than the two margins: columns of no width, never running backwards.
    {"VariableNarrowerThanTheMargins", CellSizeMode::kVariable, 60, 1, 2, {40, 40, 40}},
    {"VariableNoColumnAtAll", CellSizeMode::kVariable, 880, 0, 0, {}},
    // A minimum unit below the shared one changes nothing.
    {"VariableAboveTheMinimumUnit", CellSizeMode::kVariable, 880, 1, 4, {306, 439, 572, 705, 838}, 100.0},
    // Above it, the columns take the minimum and the table outgrows the window: 40 + 2 x 150.5 =
    // 341, then 150 more for each data column.
    {"VariableNeverBelowTheMinimumUnit", CellSizeMode::kVariable, 880, 1, 4, {341, 491, 641, 791, 941},
     150.5},
};

class TableColumnsCase : public ::testing::TestWithParam<ColumnCase> {};

TEST_P(TableColumnsCase, RightEdgesTextAreasAndTableRight) {
    const ColumnCase& c = GetParam();
    const TableColumns columns =
        c.mode == CellSizeMode::kFixed
            ? TableColumns::Fixed(c.headerColumns, c.dataColumns, kLeftMargin, kCellMargin)
            : TableColumns::Variable(c.width, c.headerColumns, c.dataColumns, kLeftMargin, kCellMargin,
                                     c.minimumUnit);
    ASSERT_EQ(columns.TextAreas().size(), c.rightEdges.size());
    int left = kLeftMargin;
    for (std::size_t i = 0; i < c.rightEdges.size(); ++i) {
        // Text areas stand 3 inside the column's edges; each column starts where the previous ends.
        EXPECT_EQ(columns.TextAreas()[i].left, left + kCellMargin) << "column " << i;
        EXPECT_EQ(columns.TextAreas()[i].right, c.rightEdges[i] - kCellMargin) << "column " << i;
        left = c.rightEdges[i];
    }
    EXPECT_EQ(columns.TableRight(), c.rightEdges.empty() ? kLeftMargin : c.rightEdges.back());
}

INSTANTIATE_TEST_SUITE_P(Cases, TableColumnsCase, ::testing::ValuesIn(kColumnCases),
                         [](const ::testing::TestParamInfo<ColumnCase>& param) { return param.param.name; });

struct UnitCase {
    int width;
    int headerColumns;
    int dataColumns;
    double unit;
};

// The smallest unit whose truncated columns are at least the width: a data column of u is
// floor(u) wide and a header column floor(2u), so the answer is the width shared exactly when the
// truncation loses nothing, else the next half unit that makes up for it.
TEST(TableColumns, UnitForWidthIsTheSmallestUnitGivingTheWidth) {
    const UnitCase cases[] = {
        {76, 0, 1, 76.0},    // one data column: its width
        {127, 1, 0, 63.5},   // one header column: half its width
        {306, 0, 3, 102.0},  // three data columns sharing 306 exactly
        {307, 0, 3, 103.0},  // 102.33 and 102.5 still give 3 x 102 = 306
        {301, 1, 1, 100.5},  // 100.33 gives 200 + 100; 100.5 gives 201 + 100
        {0, 1, 4, 0.0},      // nothing to hold
        {50, 0, 0, 0.0},     // no column
    };
    for (const UnitCase& c : cases)
        EXPECT_DOUBLE_EQ(TableColumns::UnitForWidth(c.width, c.headerColumns, c.dataColumns), c.unit)
            << c.width << " over " << c.headerColumns << " header and " << c.dataColumns << " data columns";
}

} // namespace
