#include "presentation/ChartPatterns.h"

#include <array>
#include <cstddef>

namespace {

template <typename T, std::size_t N>
T ByCode(const std::array<T, N>& table, std::int32_t code, std::int32_t first, const T& fallback)
{
    const std::int32_t index = code - first;
    if (index < 0 || static_cast<std::size_t>(index) >= N)
        return fallback;
    return table[static_cast<std::size_t>(index)];
}

} // namespace

namespace ChartPatterns {

ChartLinePattern Line(std::int32_t code)
{
    static const std::array<ChartLinePattern, 7> kLines = {{
        {false, {}},                 // 1 "Aucun"
        {true, {}},                  // 2 "Solide"
        {true, {8, 4}},              // 3 "Long traits"
        {true, {1, 2}},              // 4 "Pointillé"
        {true, {3, 3}},              // 5 "Traits courts"
        {true, {8, 3, 3, 3}},        // 6 "Traits Long court long"
        {true, {6, 3, 1, 3}},        // 7 "Trait point"
    }};
    return ByCode(kLines, code, 1, kLines[1]);
}

ChartFill Fill(std::int32_t code)
{
    static constexpr std::array<ChartFill, 11> kFills = {
        ChartFill::None,     ChartFill::Solid,      ChartFill::Dense25,       ChartFill::Dense50,
        ChartFill::Dense75,  ChartFill::Horizontal, ChartFill::Vertical,      ChartFill::Diagonal45,
        ChartFill::Diagonal135, ChartFill::DiagonalCross, ChartFill::Cross,
    };
    return ByCode(kFills, code, 1, ChartFill::Solid);
}

ChartPoint Point(std::int32_t code)
{
    static constexpr std::array<ChartPoint, 11> kPoints = {
        ChartPoint::None,    ChartPoint::Dot,          ChartPoint::Box,            ChartPoint::Triangle,
        ChartPoint::Diamond, ChartPoint::Star,         ChartPoint::VerticalLine,   ChartPoint::HorizontalLine,
        ChartPoint::Cross,   ChartPoint::Circle,       ChartPoint::Square,
    };
    return ByCode(kPoints, code, 1, ChartPoint::Dot);
}

ChartBorder Border(std::int32_t code)
{
    static constexpr std::array<ChartBorder, 10> kBorders = {{
        {ChartEdge::None, 0},          // "Aucune"
        {ChartEdge::Plain, 1},         // "Simple"
        {ChartEdge::Sunken, 2},        // "3D enfoncée"
        {ChartEdge::Raised, 2},        // "3D élevée"
        {ChartEdge::DottedSunken, 2},  // "Pointillé enfoncée"
        {ChartEdge::DottedRaised, 2},  // "Pointillé out"
        {ChartEdge::FrameSunken, 4},   // "Cadre enfoncé"
        {ChartEdge::FrameRaised, 4},   // "Cadre élevé"
        {ChartEdge::Bevel, 3},         // "Bevel"
        {ChartEdge::Shadow, 4},        // "Ombré"
    }};
    return ByCode(kBorders, code, 0, kBorders[0]);
}

} // namespace ChartPatterns
