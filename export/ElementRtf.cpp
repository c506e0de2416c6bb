#include "export/ElementRtf.h"

#include <algorithm>
#include <vector>

#include "export/RtfColumnWidths.h"
#include "export/RtfText.h"
#include "tabulation/Cellule.h"
#include "tabulation/TableauBase.h"

namespace {

// Where rows start, relative to the margin.
constexpr std::int32_t kPortraitLeft = -108;
constexpr std::int32_t kLandscapeLeft = 42;
// A border's width in twips per unit of its size.
constexpr std::int32_t kTwipsPerBorderUnit = 15;

const char* Alignment(std::int16_t zone) {
    switch (zone) {
    case CTableauBase::kZoneEnTeteLigne:
        return "\\ql";
    case CTableauBase::kZoneDonnees:
        return "\\qr";
    default:
        return "\\qc";
    }
}

} // namespace

CElementRtf::CElementRtf(CFichierRtf& parent) : CFichierRtf(NoFile{}), m_parent(parent) {}

std::string CElementRtf::FormaterPolice(const CPoliceAna& font) { return m_parent.FormaterPolice(font); }

void CElementRtf::EcrireEntete(bool portrait) { SetPortrait(portrait); }

void CElementRtf::EcrireParagraphe(const std::string& styleName) { m_parent.EcrireParagraphe(styleName); }

void CElementRtf::EcrireLigne(std::string_view line) { m_parent.EcrireLigne(line); }

void CElementRtf::AppendBorder(std::string& line, const char* side, std::int32_t kind) const {
    if (kind < CTableauBase::kTraitFin || kind > CTableauBase::kTraitEpais)
        return;
    const Border& border = m_borders[static_cast<std::size_t>(kind - 1)];
    if (border.size == 0 || border.type == 0)
        return;
    line += side;
    switch (border.type) {
    case 2:
        line += "\\brdrdash";
        break;
    case 3:
        line += "\\brdrdot";
        break;
    default:
        line += "\\brdrs";
        break;
    }
    line += "\\brdrw";
    line += std::to_string(border.size * kTwipsPerBorderUnit);
    line += ' ';
}

namespace {

// Where each row's records start, then the end of the last.
std::vector<std::size_t> RowEdges(const std::vector<CCellule>& cells) {
    std::vector<std::size_t> edges{0};
    while (edges.back() < cells.size()) {
        const std::int32_t count = CTableauBase::CompterSuiteIdentique(cells, static_cast<std::int32_t>(edges.back()));
        edges.push_back(edges.back() + static_cast<std::size_t>(std::max(count, 1)));
    }
    return edges;
}

} // namespace

void CElementRtf::EcrireMorceau(const CTableauBase& piece, const std::vector<std::int32_t>& columnNeeds) {
    const CPresentationTableau& presentation = piece.GetPresentation();
    m_borders = {Border{presentation.GetThinBorderSize(), presentation.GetThinBorderType()},
                 Border{presentation.GetNormalBorderSize(), presentation.GetNormalBorderType()},
                 Border{presentation.GetThickBorderSize(), presentation.GetThickBorderType()}};

    std::vector<CPoliceAna> fonts;
    std::vector<CCellule> cells;
    piece.DonnerTablePolices(fonts, cells);
    std::vector<std::string> codes;
    codes.reserve(fonts.size());
    for (const CPoliceAna& font : fonts)
        codes.push_back(FormaterPolice(font));
    const std::int32_t shade = m_parent.NumeroGrisOmbre();

    // Header columns twice as wide as data columns, none narrower than its words; right edges
    // cumulative from 0.
    const std::int32_t headerColumns = piece.DonnerNbColonnesEnTete();
    const std::int32_t gridColumns = headerColumns + piece.DonnerNbColonnes();
    std::vector<std::int32_t> needs = columnNeeds;
    needs.resize(static_cast<std::size_t>(std::max(gridColumns, 0)), 0);
    const std::vector<std::int32_t> widths =
        RtfColumnWidths::Widths(needs, headerColumns, RtfColumnWidths::PageWidth(EstPortrait()));
    std::vector<std::int32_t> rightEdges(widths.size());
    std::int32_t edge = 0;
    for (std::size_t column = 0; column < widths.size(); ++column) {
        edge += std::max(widths[column], 1);
        rightEdges[column] = edge;
    }
    const std::string rowStart =
        "\\trowd \\trgaph108\\trleft" + std::to_string(EstPortrait() ? kPortraitLeft : kLandscapeLeft) + " ";

    const std::vector<std::size_t> rowEdges = RowEdges(cells);
    const std::size_t rowCount = rowEdges.size() - 1;

    std::string line;
    for (std::size_t row = 0; row < rowCount; ++row) {
        const std::size_t first = rowEdges[row];
        const std::size_t end = std::min(rowEdges[row + 1], cells.size());
        // The last row (a Total, most often) never stands alone at the top of a page: the row
        // before it keeps with it, as far as the word processor honours it.
        const bool keepWithNext = rowCount >= 2 && row + 2 == rowCount;

        line = rowStart;
        if (keepWithNext)
            line += "\\trkeepfollow ";
        for (std::size_t i = first; i < end; ++i) {
            const CCellule& cell = cells[i];
            AppendBorder(line, "\\clbrdrt", cell.top);
            AppendBorder(line, "\\clbrdrb", cell.bottom);
            AppendBorder(line, "\\clbrdrl", cell.left);
            AppendBorder(line, "\\clbrdrr", cell.right);
            if (fonts[static_cast<std::size_t>(cell.fontIndex)].GetOmbre() && shade > 0)
                line += "\\clcbpat" + std::to_string(shade) + "\\clshdng1000";
            const std::int32_t last = std::min(cell.column + std::max(cell.span, 1) - 1, gridColumns - 1);
            line += "\\cellx" + std::to_string(rightEdges[static_cast<std::size_t>(last)]);
        }
        EcrireLigne(line);
        EcrireLigne(keepWithNext ? "\\pard \\intbl \\keepn {" : "\\pard \\intbl {");
        for (std::size_t i = first; i < end; ++i) {
            const CCellule& cell = cells[i];
            line = "\\plain";
            line += codes[static_cast<std::size_t>(cell.fontIndex)];
            EcrireLigne(line);
            EcrireLigne(Alignment(cell.alignment));
            line.clear();
            if (cell.firstOfBlock)
                RtfText::AppendEscaped(line, piece.DonnerTexteCellule(cell.row, cell.column), "\\par\r\n");
            line += "\\cell";
            EcrireLigne(line);
        }
        EcrireLigne("}\\pard \\intbl \\row");
    }
}
