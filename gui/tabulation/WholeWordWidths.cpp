#include "gui/tabulation/WholeWordWidths.h"

#include "tabulation/Cellule.h"
#include "gui/tabulation/TableColumns.h"
#include "gui/tabulation/TextWrapping.h"

#include <algorithm>

void WholeWordWidths::Add(const CCellule& cell, const CPoliceAna& font) {
    const auto [known, added] = m_widestByText.try_emplace({cell.fontIndex, cell.text}, 0);
    if (added)
        known->second = TextWrapping::WidestWholeWord(cell.text, font, m_metrics);
    if (known->second > 0)
        m_needs.push_back(Need{cell.column, std::max(cell.span, 1), known->second});
}

double WholeWordWidths::Unit(std::int32_t headerColumns, std::int32_t gridColumns, int cellMargin) const {
    return LeastUnit(headerColumns, gridColumns, cellMargin, gridColumns);
}

double WholeWordWidths::LeastUnit(std::int32_t headerColumns, std::int32_t gridColumns, int cellMargin,
                                  std::int32_t readColumns) const {
    double unit = 0.0;
    for (const Need& need : m_needs) {
        if (need.column >= gridColumns)
            continue;
        if (readColumns < gridColumns && need.column + need.span >= readColumns)
            continue;
        const std::int32_t span = std::min(need.span, gridColumns - need.column);
        const std::int32_t headersCovered = std::clamp(headerColumns - need.column, 0, span);
        unit = std::max(unit, TableColumns::UnitForWidth(need.width + 2 * cellMargin, headersCovered,
                                                         span - headersCovered));
    }
    return unit;
}
