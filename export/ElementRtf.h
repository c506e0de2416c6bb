#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "export/FichierRtf.h"

class CTableauBase;

// Writes one piece of a table into its parent document: the RTF rows of the piece's cell
// records, with their borders, grey shading, widths, fonts, alignments and texts. Fonts,
// paragraphs and lines go to the parent; the piece keeps its own orientation (set by
// EcrireEntete, which writes nothing) and its own border descriptions, taken from the piece's
// presentation.
class CElementRtf : public CFichierRtf {
public:
    explicit CElementRtf(CFichierRtf& parent);

    std::string FormaterPolice(const CPoliceAna& font) override;
    void EcrireEntete(bool portrait) override;
    void EcrireParagraphe(const std::string& styleName) override;
    void EcrireLigne(std::string_view line) override;

    // The rows of the piece: one RTF cell per cell record, a run merged across columns being
    // one cell as wide as its columns. `columnNeeds`: the least width of each of the piece's
    // displayed columns, header columns first (RtfColumnWidths); none when it has no text.
    void EcrireMorceau(const CTableauBase& piece, const std::vector<std::int32_t>& columnNeeds);

private:
    // Size and type of the thin, normal and thick lines.
    struct Border {
        std::uint16_t size = 0;
        std::uint16_t type = 0;
    };

    void AppendBorder(std::string& line, const char* side, std::int32_t kind) const;

    CFichierRtf& m_parent;
    std::array<Border, 3> m_borders{};
};
