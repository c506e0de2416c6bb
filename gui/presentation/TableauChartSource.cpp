#include "gui/presentation/TableauChartSource.h"

#include "tabulation/TableauBase.h"

std::int32_t TableauChartSource::RowCount() const { return m_table.RowCount(); }

std::int32_t TableauChartSource::ColumnCount() const { return m_table.ColumnCount(); }

double TableauChartSource::GetValeur(std::int32_t row, std::int32_t column) const
{
    return m_table.GetValeur(row, column);
}

std::string TableauChartSource::DonnerLibelleLigne(std::int32_t row) const { return m_table.DonnerLibelleLigne(row); }

std::string TableauChartSource::DonnerLibelleColonne(std::int32_t column) const
{
    return m_table.DonnerLibelleColonne(column);
}
