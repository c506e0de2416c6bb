#include "tabulation/Fusion.h"

#include <algorithm>
#include <limits>

namespace {

// A count of further cells as a span, capped at the largest span a map holds.
std::uint16_t SpanOf(std::int32_t further) {
    return static_cast<std::uint16_t>(std::min<std::int32_t>(further, std::numeric_limits<std::uint16_t>::max()));
}

} // namespace

CFusion::CFusion(std::int32_t columnHeaderLevels, std::int32_t rowHeaderLevels, std::int32_t rows,
                 std::int32_t columns)
    : m_columnHeaderLevels(std::max(columnHeaderLevels, 0)), m_rowHeaderLevels(std::max(rowHeaderLevels, 0)),
      m_rows(std::max(rows, 0)), m_columns(std::max(columns, 0)) {}

std::int64_t CFusion::IndexOf(std::int32_t line, std::int32_t column) const {
    const std::int64_t lines = GetNbLignesGrille();
    const std::int64_t columns = GetNbColonnesGrille();
    if (line < 0 || column < 0 || line >= lines || column >= columns)
        return -1;
    return std::int64_t{line} * columns + column;
}

void CFusion::SetFusion(std::int32_t line, std::int32_t column, std::uint16_t span) {
    const std::int64_t index = IndexOf(line, column);
    if (index < 0)
        return;
    if (m_spans.empty()) {
        if (span == 0)
            return;
        m_spans.assign(static_cast<std::size_t>(std::int64_t{GetNbLignesGrille()} * GetNbColonnesGrille()), 0);
    }
    m_spans[static_cast<std::size_t>(index)] = span;
}

std::uint16_t CFusion::GetFusion(std::int32_t line, std::int32_t column) const {
    const std::int64_t index = IndexOf(line, column);
    if (index < 0 || m_spans.empty())
        return 0;
    return m_spans[static_cast<std::size_t>(index)];
}

void CFusion::FusionnerCoinEnTete(CFusion& rowMerges, CFusion& columnMerges, std::int32_t headerRows,
                                  std::int32_t headerColumns) {
    // Without header rows or columns there is no corner to merge.
    if (headerRows <= 0 || headerColumns <= 0)
        return;
    for (std::int32_t line = 0; line < headerRows; ++line)
        columnMerges.SetFusion(line, 0, SpanOf(headerColumns - 1));
    for (std::int32_t column = 0; column < headerColumns; ++column)
        rowMerges.SetFusion(0, column, SpanOf(headerRows - 1));
}
