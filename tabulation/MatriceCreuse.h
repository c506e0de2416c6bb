#pragma once

#include <cstdint>
#include <map>

// The line marks of a table's displayed grid (headers included), kept sparse: most cells have
// the normal line (kind 2), which is not stored. Two layers: the kind of the horizontal line on
// the top edge of each cell, and the kind of the vertical line on its left edge. Kinds: 0 no
// line, 1 thin, 2 normal, 3 thick.
//
// Positions run over lines 0 to `lines` and columns 0 to `columns` (one past the last cell, the
// bottom and right edges of the grid); positions outside read as 2 and are not written.
class CMatriceCreuse {
public:
    static constexpr std::uint16_t kNormal = 2;

    CMatriceCreuse() = default;
    CMatriceCreuse(std::int32_t lines, std::int32_t columns);

    // The top edge of the cell (first layer); writing kind 2 removes the entry.
    void SetMarqueColonne(std::int32_t line, std::int32_t column, std::uint16_t kind);
    std::uint16_t GetMarqueColonne(std::int32_t line, std::int32_t column) const;
    // The left edge of the cell (second layer).
    void SetMarqueLigne(std::int32_t line, std::int32_t column, std::uint16_t kind);
    std::uint16_t GetMarqueLigne(std::int32_t line, std::int32_t column) const;

    std::int32_t GetNbLignes() const { return m_lines; }
    std::int32_t GetNbColonnes() const { return m_columns; }

private:
    using Layer = std::map<std::int64_t, std::uint16_t>;

    // The key line x (columns + 1) + column; -1 outside.
    std::int64_t KeyOf(std::int32_t line, std::int32_t column) const;
    void Write(Layer& layer, std::int32_t line, std::int32_t column, std::uint16_t kind);
    std::uint16_t Read(const Layer& layer, std::int32_t line, std::int32_t column) const;

    std::int32_t m_lines = 0;
    std::int32_t m_columns = 0;
    Layer m_topEdges;
    Layer m_leftEdges;
};
