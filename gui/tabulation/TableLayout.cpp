#include "gui/tabulation/TableLayout.h"

#include "tabulation/TableauBase.h"
#include "gui/tabulation/FontMetricsSource.h"
#include "gui/tabulation/TableCellTexts.h"
#include "gui/tabulation/TextWrapping.h"

#include <algorithm>
#include <cstddef>
#include <utility>

TableLayout TableLayout::Compute(const CTableauBase& table, const FontMetricsSource& metrics,
                                 const TableLayoutOptions& options) {
    TableLayout layout;
    layout.m_options = options;
    layout.PlaceTitle(table, metrics);
    layout.TakeCells(table);
    layout.PlaceColumns(table, metrics);
    layout.PlaceRows(layout.FillCells(table.DonnerNbLignesEnTete() + table.DonnerNbLignes(), metrics));
    return layout;
}

void TableLayout::PlaceTitle(const CTableauBase& table, const FontMetricsSource& metrics) {
    m_titleFont = table.DonnerPoliceCellule(0, 0);
    m_titleAbove = table.GetPresentation().GetEstTitreAuDessus();
    if (!m_titleAbove)
        return;
    m_titleText = table.DonnerTexteBase();
    m_titleHeight =
        metrics.MeasureWrapped(m_titleFont, m_titleText, m_options.titleRight - m_options.leftMargin).height;
}

WholeWordWidths TableLayout::WordWidths(const CTableauBase& table, const FontMetricsSource& metrics) {
    TableLayout layout;
    layout.m_titleFont = table.DonnerPoliceCellule(0, 0);
    layout.TakeCells(table);
    return layout.MeasureWholeWords(metrics);
}

void TableLayout::TakeCells(const CTableauBase& table) {
    table.DonnerTablePolices(m_fonts, m_cells);
    m_rowFirstCells.assign(1, 0);
    for (std::size_t index = 0; index < m_cells.size(); ++index) {
        CCellule& cell = m_cells[index];
        // Row-major: a record of a later row closes the rows before it.
        while (static_cast<std::int32_t>(m_rowFirstCells.size()) <= cell.row)
            m_rowFirstCells.push_back(index);
        if (cell.firstOfBlock)
            cell.text = TableCellTexts::CellText(table, cell.row, cell.column);
    }
    const auto rowCount =
        static_cast<std::size_t>(std::max(table.DonnerNbLignesEnTete() + table.DonnerNbLignes(), 0));
    while (m_rowFirstCells.size() <= rowCount)
        m_rowFirstCells.push_back(m_cells.size());
}

WholeWordWidths TableLayout::MeasureWholeWords(const FontMetricsSource& metrics) const {
    WholeWordWidths widths(metrics);
    for (const CCellule& cell : m_cells)
        widths.Add(cell, FontOf(cell));
    return widths;
}

void TableLayout::PlaceColumns(const CTableauBase& table, const FontMetricsSource& metrics) {
    const std::int32_t headerColumns = table.DonnerNbColonnesEnTete();
    const std::int32_t dataColumns = table.DonnerNbColonnes();
    const auto variable = [&] {
        const double minimumUnit = m_options.keepWordsWhole
                                       ? MeasureWholeWords(metrics).Unit(
                                             headerColumns, headerColumns + dataColumns, m_options.cellMargin)
                                       : 0.0;
        return TableColumns::Variable(m_options.availableWidth, headerColumns, dataColumns,
                                      m_options.leftMargin, m_options.cellMargin, minimumUnit);
    };
    const TableColumns columns =
        m_options.cellSizeMode == CellSizeMode::kFixed
            ? TableColumns::Fixed(headerColumns, dataColumns, m_options.leftMargin, m_options.cellMargin)
            : variable();
    m_columns = columns.TextAreas();
    m_tableRight = columns.TableRight();
}

std::vector<int> TableLayout::FillCells(std::int32_t rowCount, const FontMetricsSource& metrics) {
    std::vector<int> rowHeights(static_cast<std::size_t>(std::max(rowCount, 0)), 0);
    for (CCellule& cell : m_cells) {
        if (!cell.firstOfBlock)
            continue;
        const ColumnEdges area = TextAreaOf(cell);
        const CPoliceAna& font = FontOf(cell);
        cell.text = TextWrapping::WrapToColumn(cell.text, area.left, area.right, font, metrics);
        const int height = metrics.MeasureWrapped(font, cell.text, area.right - area.left).height;
        int& rowHeight = rowHeights[static_cast<std::size_t>(cell.row)];
        rowHeight = std::max(rowHeight, height);
    }
    return rowHeights;
}

void TableLayout::PlaceRows(const std::vector<int>& rowHeights) {
    const int top = m_options.tableTopGap + (m_titleAbove ? m_titleHeight : 0);
    m_rowTops.assign(1, top);
    m_rowTops.reserve(rowHeights.size() + 1);
    m_rows.clear();
    m_rows.reserve(rowHeights.size());
    for (const int height : rowHeights) {
        m_rows.push_back(RowSpan{m_rowTops.back(), m_rowTops.back() + height});
        m_rowTops.push_back(m_rowTops.back() + height);
    }
}

int TableLayout::PlaceOnPages(int pageHeight) {
    std::vector<int> heights;
    heights.reserve(m_rows.size());
    for (std::size_t row = 0; row + 1 < m_rowTops.size(); ++row)
        heights.push_back(m_rowTops[row + 1] - m_rowTops[row]);
    PageSplit split = PageSplitting::Split(heights, TableTop(), pageHeight);
    m_rows = std::move(split.rows);
    return split.pageBreaks;
}

std::size_t TableLayout::FirstCellFrom(int top) const {
    const auto row = std::partition_point(m_rows.begin(), m_rows.end(),
                                          [top](const RowSpan& span) { return span.bottom < top; });
    const auto index = static_cast<std::size_t>(row - m_rows.begin());
    return index < m_rowFirstCells.size() ? m_rowFirstCells[index] : m_cells.size();
}

int TableLayout::RowHeight(std::int32_t row) const {
    if (row < 0 || static_cast<std::size_t>(row) + 1 >= m_rowTops.size())
        return 0;
    return m_rowTops[static_cast<std::size_t>(row) + 1] - m_rowTops[static_cast<std::size_t>(row)];
}

const CPoliceAna& TableLayout::FontOf(const CCellule& cell) const {
    if (cell.fontIndex < 0 || static_cast<std::size_t>(cell.fontIndex) >= m_fonts.size())
        return m_titleFont;
    return m_fonts[static_cast<std::size_t>(cell.fontIndex)];
}

// Records come from the layout's own walk, so their columns and rows lie within the grid; the
// checks keep a record that does not from reading past the arrays.
ColumnEdges TableLayout::TextAreaOf(const CCellule& cell) const {
    const auto columnCount = static_cast<std::int32_t>(m_columns.size());
    if (cell.column < 0 || cell.column >= columnCount)
        return ColumnEdges{};
    const std::int32_t last =
        std::clamp(cell.column + std::max(cell.span, 1) - 1, cell.column, columnCount - 1);
    return ColumnEdges{m_columns[static_cast<std::size_t>(cell.column)].left,
                       m_columns[static_cast<std::size_t>(last)].right};
}

CellRect TableLayout::RectOf(const CCellule& cell) const {
    const ColumnEdges area = TextAreaOf(cell);
    CellRect rect{area.left, 0, area.right, 0};
    if (cell.row >= 0 && static_cast<std::size_t>(cell.row) < m_rows.size()) {
        rect.top = m_rows[static_cast<std::size_t>(cell.row)].top;
        rect.bottom = m_rows[static_cast<std::size_t>(cell.row)].bottom;
    }
    return rect;
}

CellRect TableLayout::TitleRect() const {
    return CellRect{m_options.leftMargin, kTitleTop, m_options.titleRight, m_options.titleBottom};
}
