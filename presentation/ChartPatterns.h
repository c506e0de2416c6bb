#pragma once

#include <cstdint>
#include <vector>

// What the numbered codes of a series style and of a region border mean to the chart painter.
// The codes are those the presentation dialogs list; a code outside its list draws as the
// style's default (solid line, solid fill, a dot, no border).

enum class ChartFill { None, Solid, Dense25, Dense50, Dense75, Horizontal, Vertical, Diagonal45,
                       Diagonal135, DiagonalCross, Cross };

enum class ChartPoint { None, Dot, Box, Triangle, Diamond, Star, VerticalLine, HorizontalLine, Cross,
                        Circle, Square };

// The edge of a region: its thickness in pixels and how it is shaded.
enum class ChartEdge { None, Plain, Sunken, Raised, DottedSunken, DottedRaised, FrameSunken,
                       FrameRaised, Bevel, Shadow };

struct ChartLinePattern {
    bool drawn = true;
    // Alternating dash and gap lengths in line widths; empty for a solid line.
    std::vector<double> dashes;
};

struct ChartBorder {
    ChartEdge edge = ChartEdge::None;
    // Pixels the border takes inside its region.
    int width = 0;
};

namespace ChartPatterns {

// Line patterns 1..7: "Aucun", "Solide", "Long traits", "Pointillé", "Traits courts",
// "Traits Long court long", "Trait point".
ChartLinePattern Line(std::int32_t code);
// Fill patterns 1..11.
ChartFill Fill(std::int32_t code);
// Point styles 1..11.
ChartPoint Point(std::int32_t code);
// Border types 0..9.
ChartBorder Border(std::int32_t code);

} // namespace ChartPatterns
