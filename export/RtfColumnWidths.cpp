#include "export/RtfColumnWidths.h"

#include "export/TextWidth.h"
#include "presentation/PoliceAna.h"
#include "tabulation/Cellule.h"
#include "tabulation/TableauBase.h"

#include <algorithm>
#include <numeric>

namespace {

std::int64_t Total(const std::vector<std::int32_t>& widths) {
    return std::accumulate(widths.begin(), widths.end(), std::int64_t{0});
}

// Every column at least its need, at `unit` twips per share.
std::vector<std::int32_t> AtUnit(const std::vector<std::int32_t>& needs, std::int32_t headerColumns,
                                 std::int64_t unit) {
    std::vector<std::int32_t> widths(needs.size());
    for (std::size_t column = 0; column < needs.size(); ++column) {
        const std::int64_t shares = static_cast<std::int32_t>(column) < headerColumns ? 2 : 1;
        widths[column] = static_cast<std::int32_t>(std::max<std::int64_t>(shares * unit, needs[column]));
    }
    return widths;
}

} // namespace

namespace RtfColumnWidths {

std::vector<std::int32_t> Needs(const CTableauBase& table) {
    const std::int32_t columns = table.DonnerNbColonnesEnTete() + table.DonnerNbColonnes();
    std::vector<std::int32_t> needs(static_cast<std::size_t>(std::max(columns, 0)), 0);
    std::vector<CPoliceAna> fonts;
    std::vector<CCellule> cells;
    table.DonnerTablePolices(fonts, cells);

    struct Spanning {
        std::int32_t first;
        std::int32_t count;
        std::int32_t need;
    };
    std::vector<Spanning> spanning;
    for (const CCellule& cell : cells) {
        if (!cell.firstOfBlock || cell.column < 0 || cell.column >= columns || cell.fontIndex < 0 ||
            cell.fontIndex >= static_cast<std::int32_t>(fonts.size()))
            continue;
        const std::int32_t word = TextWidth::WidestWordTwips(table.DonnerTexteCellule(cell.row, cell.column),
                                                             fonts[static_cast<std::size_t>(cell.fontIndex)]);
        if (word == 0)
            continue;
        const std::int32_t need = word + 2 * kCellGap + kSlack;
        const std::int32_t count = std::min(std::max(cell.span, 1), columns - cell.column);
        if (count == 1)
            needs[static_cast<std::size_t>(cell.column)] =
                std::max(needs[static_cast<std::size_t>(cell.column)], need);
        else
            spanning.push_back(Spanning{cell.column, count, need});
    }
    // A text over several columns: its columns share what they lack, the last taking the rest.
    for (const Spanning& span : spanning) {
        const auto first = needs.begin() + span.first;
        const std::int64_t covered = std::accumulate(first, first + span.count, std::int64_t{0});
        if (covered >= span.need)
            continue;
        const auto lacking = static_cast<std::int32_t>(span.need - covered);
        for (std::int32_t i = 0; i < span.count; ++i)
            needs[static_cast<std::size_t>(span.first + i)] +=
                lacking / span.count + (i + 1 == span.count ? lacking % span.count : 0);
    }
    return needs;
}

std::vector<std::int32_t> Widths(const std::vector<std::int32_t>& needs, std::int32_t headerColumns,
                                 std::int32_t pageWidth) {
    const auto columns = static_cast<std::int32_t>(needs.size());
    const std::int32_t shares = std::max(columns + std::min(headerColumns, columns), 1);
    const std::int64_t shared = std::max(pageWidth / shares, 1);
    std::vector<std::int32_t> widths = AtUnit(needs, headerColumns, shared);
    if (Total(widths) <= pageWidth || Total(needs) >= pageWidth)
        return Total(widths) <= pageWidth ? widths : needs;
    // The largest share at which the columns, none below its need, still fit the page.
    std::int64_t low = 0;
    std::int64_t high = shared;
    while (low < high) {
        const std::int64_t middle = (low + high + 1) / 2;
        if (Total(AtUnit(needs, headerColumns, middle)) <= pageWidth)
            low = middle;
        else
            high = middle - 1;
    }
    return AtUnit(needs, headerColumns, low);
}

} // namespace RtfColumnWidths
