// The cross of two one-answer questions counted straight from answer arrays: which counters a
// unit's pair adds to, kept answers beyond the table's lines or columns, answers the maps do not
// keep or do not reach, and the respondent marks. Weights are powers of two, so that every sum is
// exact whatever its order and the expected cells are worked by hand. On a large synthetic
// survey with arbitrary weights, the counts are compared with the first, plain count, which added
// every unit to its cell and to both margins as it went.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "tabulation/LaneSums.h"
#include "tabulation/MoteurTableau.h"
#include "tabulation/OneAnswerCrossCounter.h"

namespace {

constexpr std::uint16_t X = CMoteurTableau::kNotKept;

TEST(OneAnswerCrossCounter, EachKeptPairAddsToItsCellItsMarginsAndTheTotal) {
    // Two line modalities, three column modalities. The row map keeps answer 3 (no line of the
    // table: it counts in the column margins and the total only); the column map leaves answer 1
    // out and keeps 3 and 4 (no column: they count in the line margins and the total only).
    const std::vector<std::uint16_t> rowMap = {0, 1, X, 0};
    const std::vector<std::uint16_t> columnMap = {0, X, 2, 2, 4};
    struct Unit {
        std::int16_t row;
        std::int16_t column;
        double weight;
        bool counted;
    };
    const std::vector<Unit> units = {
        {0, 0, 1.0, true},      {1, 2, 2.0, true},      {3, 0, 4.0, true},   {0, 3, 8.0, true},
        {3, 4, 16.0, true},     {-5, 0, 32.0, false},   {0, 1, 64.0, false}, {2, 0, 128.0, false},
        {-3, -5, 256.0, false}, {1, 0, 512.0, true},    {7, 0, 1024.0, false},
    };
    const OneAnswerCrossCounter counter(rowMap, 2, columnMap, 3);
    // Once, and ten times over: 110 units, several blocks of 32 and a remainder where the
    // processor counts by blocks.
    for (const int times : {1, 10}) {
        std::vector<std::int16_t> rows;
        std::vector<std::int16_t> columns;
        std::vector<double> weights;
        std::vector<std::uint8_t> expectedMarks;
        for (int time = 0; time < times; ++time)
            for (const Unit& unit : units) {
                rows.push_back(unit.row);
                columns.push_back(unit.column);
                weights.push_back(unit.weight);
                expectedMarks.push_back(unit.counted ? 1 : 0);
            }
        const double n = times;
        for (const bool marked : {false, true}) {
            SCOPED_TRACE(std::to_string(rows.size()) + (marked ? " units, with marks" : " units, without marks"));
            LaneSums lanes(counter.Slots());
            std::vector<std::uint8_t> marks(rows.size(), 0);
            const double total = counter.Count(rows.data(), columns.data(), weights.data(), 0,
                                               static_cast<int>(rows.size()), lanes, marked ? marks.data() : nullptr);
            EXPECT_EQ(total, 543.0 * n);
            // Lines 0 and 1 then the column margins; in each, three columns then the line margin.
            EXPECT_EQ(counter.Matrix(lanes.Merged(), total), (std::vector<double>{1 * n, 0, 0, 9 * n,        //
                                                                                   512 * n, 0, 2 * n, 514 * n, //
                                                                                   517 * n, 0, 2 * n, 543 * n}));
            EXPECT_EQ(marks, marked ? expectedMarks : std::vector<std::uint8_t>(rows.size(), 0));
        }
    }
}

TEST(OneAnswerCrossCounter, NothingKeptCountsNothing) {
    const std::vector<std::int16_t> rows = {0, 1, 0};
    const std::vector<std::int16_t> columns = {0, 0, 1};
    const std::vector<double> weights = {1.0, 2.0, 4.0};
    for (const auto& [rowMap, columnMap] :
         {std::pair{std::vector<std::uint16_t>{}, std::vector<std::uint16_t>{0, 1}},
          std::pair{std::vector<std::uint16_t>{0, 1}, std::vector<std::uint16_t>{X, X}}}) {
        const OneAnswerCrossCounter counter(rowMap, 2, columnMap, 2);
        LaneSums lanes(counter.Slots());
        const double total = counter.Count(rows.data(), columns.data(), weights.data(), 0, 3, lanes, nullptr);
        EXPECT_EQ(total, 0.0);
        EXPECT_EQ(counter.Matrix(lanes.Merged(), total), std::vector<double>(9, 0.0));
    }
}

// The plain count: each kept unit adds to its cell (when both answers have a line and a column),
// its line margin, its column margin and the total, in four lanes taken in turn and merged lane 0
// first, as the counter does.
std::vector<double> PlainCross(const std::vector<std::uint16_t>& rowMap, std::size_t r,
                               const std::vector<std::uint16_t>& columnMap, std::size_t c,
                               const std::vector<std::int16_t>& rows, const std::vector<std::int16_t>& columns,
                               const std::vector<double>& weights) {
    const auto kept = [](const std::vector<std::uint16_t>& map, std::int16_t answer) {
        return answer >= 0 && static_cast<std::size_t>(answer) < map.size() && map[static_cast<std::size_t>(answer)] != X;
    };
    const std::size_t stride = c + 1;
    std::array<std::vector<double>, LaneSums::kLanes> lanes;
    for (auto& lane : lanes)
        lane.assign((r + 1) * stride, 0.0);
    for (std::size_t unit = 0; unit < rows.size(); ++unit) {
        if (!kept(rowMap, rows[unit]) || !kept(columnMap, columns[unit]))
            continue;
        const auto a = static_cast<std::size_t>(rows[unit]);
        const auto b = static_cast<std::size_t>(columns[unit]);
        std::vector<double>& cells = lanes[unit % LaneSums::kLanes];
        if (a < r && b < c)
            cells[a * stride + b] += weights[unit];
        if (a < r)
            cells[a * stride + c] += weights[unit];
        if (b < c)
            cells[r * stride + b] += weights[unit];
        cells[r * stride + c] += weights[unit];
    }
    std::vector<double> matrix((r + 1) * stride);
    for (std::size_t slot = 0; slot < matrix.size(); ++slot)
        matrix[slot] = LaneSums::Merge({lanes[0][slot], lanes[1][slot], lanes[2][slot], lanes[3][slot]});
    return matrix;
}

TEST(OneAnswerCrossCounter, AgreesWithThePlainCountOnALargeSurvey) {
    // Short maps (counted by blocks where the processor can) and a map too long for the blocks;
    // answers empty, not kept, kept beyond the table and past the map.
    struct Case {
        std::vector<std::uint16_t> rowMap;
        std::size_t r;
        std::vector<std::uint16_t> columnMap;
        std::size_t c;
    };
    std::vector<std::uint16_t> longMap(40);
    for (std::size_t answer = 0; answer < longMap.size(); ++answer)
        longMap[answer] = answer % 7 == 3 ? X : static_cast<std::uint16_t>(answer);
    const std::vector<Case> cases = {
        {{0, 1, 2, 3, 4}, 5, {0, 1, 2, 3, 4, 5, 6}, 7},
        {{0, X, 2, 3, 0, 1}, 4, {0, 1, X, 3, 3, 5, 6, 2}, 6},
        {longMap, 36, {0, 1, 2}, 3},
    };
    std::mt19937_64 random(17);
    for (std::size_t which = 0; which < cases.size(); ++which) {
        const Case& cross = cases[which];
        SCOPED_TRACE("case " + std::to_string(which));
        const std::size_t units = 100'003;
        std::uniform_int_distribution<int> rowAnswer(-1, static_cast<int>(cross.rowMap.size()) + 1);
        std::uniform_int_distribution<int> columnAnswer(-1, static_cast<int>(cross.columnMap.size()) + 1);
        std::uniform_real_distribution<double> weight(0.05, 7.0);
        std::vector<std::int16_t> rows(units);
        std::vector<std::int16_t> columns(units);
        std::vector<double> weights(units);
        for (std::size_t unit = 0; unit < units; ++unit) {
            rows[unit] = static_cast<std::int16_t>(rowAnswer(random));
            columns[unit] = static_cast<std::int16_t>(columnAnswer(random));
            weights[unit] = weight(random);
        }
        const OneAnswerCrossCounter counter(cross.rowMap, cross.r, cross.columnMap, cross.c);
        LaneSums lanes(counter.Slots());
        const double total = counter.Count(rows.data(), columns.data(), weights.data(), 0, static_cast<int>(units),
                                           lanes, nullptr);
        const std::vector<double> matrix = counter.Matrix(lanes.Merged(), total);
        const std::vector<double> plain =
            PlainCross(cross.rowMap, cross.r, cross.columnMap, cross.c, rows, columns, weights);
        ASSERT_EQ(matrix.size(), plain.size());
        const std::size_t stride = cross.c + 1;
        for (std::size_t slot = 0; slot < plain.size(); ++slot) {
            const bool margin = slot % stride == cross.c || slot / stride == cross.r;
            const bool isTotal = slot + 1 == plain.size();
            SCOPED_TRACE("line " + std::to_string(slot / stride) + ", column " + std::to_string(slot % stride));
            // The cells and the total are added in the same order as before: the same to the last
            // bit. The margins are summed from the cells: the same to rounding.
            if (margin && !isTotal)
                EXPECT_NEAR(matrix[slot], plain[slot], 1e-12 * std::abs(plain[slot]));
            else
                EXPECT_EQ(matrix[slot], plain[slot]);
        }
        EXPECT_GT(plain.back(), 0.0);
    }
}

} // namespace

