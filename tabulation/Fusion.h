#pragma once

#include <cstdint>
#include <vector>

#include "platform/questionnaire/Objet.h"

// The merged cells of a table's displayed grid in one direction. The grid covers the headers
// and the data: (column-header levels + rows) lines by (row-header levels + columns) columns.
// The span at a cell is the number of further cells merged with it, 0 when it is not merged:
// in a table's row-merge map the cells below it, in its column-merge map the cells to its right.
//
// Most tables have no merge: the spans are allocated on the first non-zero span written.
// Positions outside the grid are ignored on writing and read as 0.
class CFusion : public CObjet {
public:
    static constexpr RuntimeClass kRuntimeClass{"CFusion", 1, &CObjet::CreateObject<CFusion>};

    CFusion() = default;
    CFusion(std::int32_t columnHeaderLevels, std::int32_t rowHeaderLevels, std::int32_t rows, std::int32_t columns);
    CFusion(const CFusion&) = default;
    CFusion& operator=(const CFusion&) = default;
    ~CFusion() override = default;

    const RuntimeClass* GetRuntimeClass() const override { return &kRuntimeClass; }

    void SetFusion(std::int32_t line, std::int32_t column, std::uint16_t span);
    std::uint16_t GetFusion(std::int32_t line, std::int32_t column) const;

    // Makes the top-left corner of H header rows and W header columns one cell: each of the
    // lines 0 to H-1 spans W-1 further columns in the column-merge map, each of the columns 0 to
    // W-1 spans H-1 further lines in the row-merge map.
    static void FusionnerCoinEnTete(CFusion& rowMerges, CFusion& columnMerges, std::int32_t headerRows,
                                    std::int32_t headerColumns);

    std::int32_t GetNbLignesGrille() const { return m_columnHeaderLevels + m_rows; }
    std::int32_t GetNbColonnesGrille() const { return m_rowHeaderLevels + m_columns; }
    // Whether a span was ever written (the spans exist).
    bool ASpans() const { return !m_spans.empty(); }

private:
    // The index of the cell in the row-major spans; -1 outside the grid.
    std::int64_t IndexOf(std::int32_t line, std::int32_t column) const;

    std::int32_t m_columnHeaderLevels = 0;
    std::int32_t m_rowHeaderLevels = 0;
    std::int32_t m_rows = 0;
    std::int32_t m_columns = 0;
    std::vector<std::uint16_t> m_spans; // empty until the first non-zero span
};
