#pragma once

#include <cstdint>
#include <string>

// What a chart reads of a table: its stored grid of values and the labels of its rows and
// columns. Result tables live above the presentation records, so they are charted through this.
class ChartDataSource {
public:
    virtual ~ChartDataSource() = default;
    virtual std::int32_t RowCount() const = 0;
    virtual std::int32_t ColumnCount() const = 0;
    virtual double GetValeur(std::int32_t row, std::int32_t column) const = 0;
    virtual std::string DonnerLibelleLigne(std::int32_t row) const = 0;
    virtual std::string DonnerLibelleColonne(std::int32_t column) const = 0;
};
