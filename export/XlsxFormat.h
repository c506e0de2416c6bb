#pragma once

#include <array>
#include <compare>
#include <cstdint>
#include <string>

// How one cell of a workbook looks: its font, a grey fill, the line of each edge and the number
// format. A plain value; the workbook makes one format of the file per distinct value.
struct XlsxFormat {
    // The line of a cell edge, as the workbook knows them.
    enum class Line : std::uint8_t { None, Thin, Medium, Thick, Dashed, MediumDashed, Dotted };
    enum Edge : std::size_t { kTop, kBottom, kLeft, kRight };

    std::string face = "Times New Roman";
    double size = 10.0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    std::uint32_t rgb = 0; // 0xRRGGBB
    bool grey = false;     // the light grey fill of shaded cells
    std::array<Line, 4> edges{Line::None, Line::None, Line::None, Line::None};
    std::string numberFormat; // empty: general
    bool wrap = false;        // lines kept as lines

    auto operator<=>(const XlsxFormat&) const = default;
};
