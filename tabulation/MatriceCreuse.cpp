#include "tabulation/MatriceCreuse.h"

#include <algorithm>

CMatriceCreuse::CMatriceCreuse(std::int32_t lines, std::int32_t columns)
    : m_lines(std::max(lines, 0)), m_columns(std::max(columns, 0)) {}

std::int64_t CMatriceCreuse::KeyOf(std::int32_t line, std::int32_t column) const {
    if (line < 0 || column < 0 || line > m_lines || column > m_columns)
        return -1;
    return std::int64_t{line} * (std::int64_t{m_columns} + 1) + column;
}

void CMatriceCreuse::Write(Layer& layer, std::int32_t line, std::int32_t column, std::uint16_t kind) {
    const std::int64_t key = KeyOf(line, column);
    if (key < 0)
        return;
    if (kind == kNormal)
        layer.erase(key);
    else
        layer[key] = kind;
}

std::uint16_t CMatriceCreuse::Read(const Layer& layer, std::int32_t line, std::int32_t column) const {
    const auto found = layer.find(KeyOf(line, column));
    return found == layer.end() ? kNormal : found->second;
}

void CMatriceCreuse::SetMarqueColonne(std::int32_t line, std::int32_t column, std::uint16_t kind) {
    Write(m_topEdges, line, column, kind);
}

std::uint16_t CMatriceCreuse::GetMarqueColonne(std::int32_t line, std::int32_t column) const {
    return Read(m_topEdges, line, column);
}

void CMatriceCreuse::SetMarqueLigne(std::int32_t line, std::int32_t column, std::uint16_t kind) {
    Write(m_leftEdges, line, column, kind);
}

std::uint16_t CMatriceCreuse::GetMarqueLigne(std::int32_t line, std::int32_t column) const {
    return Read(m_leftEdges, line, column);
}
