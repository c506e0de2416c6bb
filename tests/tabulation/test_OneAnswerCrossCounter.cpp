// The cross of two one-answer questions counted straight from answer arrays: which counters a
// unit's pair adds to, kept answers beyond the table's lines or columns, answers the maps do not
// keep or do not reach, and the respondent marks. Weights are powers of two, so that every sum is
// exact whatever its order and the expected cells are worked by hand.
#include <gtest/gtest.h>

#include <cstdint>
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

} // namespace
