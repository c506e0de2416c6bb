#pragma once

#include <cstdint>
#include <string>

// One cell of a result table as the exports and the table view lay it out: where it stands on
// the displayed grid (headers included), how many columns it covers, which font of the table's
// font list it uses, the kinds of its four lines (0 none, 1 thin, 2 normal, 3 thick), its
// alignment (0 left, 1 centred, 2 right) and whether it starts a vertically merged block (a
// continuation record of such a block has no text of its own).
//
// A plain record, owned by the list that holds it. A new one is empty, at (0, 0), covers no
// column yet and starts a block; its alignment is set by whoever builds it.
struct CCellule {
    std::string text;
    std::int32_t column = 0;
    std::int32_t row = 0;
    std::int32_t span = 0;
    std::int32_t fontIndex = 0;
    std::int32_t left = 0;
    std::int32_t right = 0;
    std::int32_t top = 0;
    std::int32_t bottom = 0;
    std::int16_t alignment = 0;
    std::uint8_t firstOfBlock = 1;

    bool operator==(const CCellule&) const = default;
};
