#pragma once

#include "presentation/ChartDataSource.h"

class CTableauBase;

// A result table seen as chart data: its stored grid (whatever way it is shown) and the deepest
// non-empty label of each row and column.
class TableauChartSource final : public ChartDataSource {
public:
    explicit TableauChartSource(const CTableauBase& table) : m_table(table) {}

    std::int32_t RowCount() const override;
    std::int32_t ColumnCount() const override;
    double GetValeur(std::int32_t row, std::int32_t column) const override;
    std::string DonnerLibelleLigne(std::int32_t row) const override;
    std::string DonnerLibelleColonne(std::int32_t column) const override;

private:
    const CTableauBase& m_table;
};
