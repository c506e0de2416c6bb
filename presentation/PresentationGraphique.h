#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "presentation/PresGraphSerie.h"

class CArchiveVersion;
class ChartDataSource;
struct ChartModel;

// The look of a table's chart: its type, five zones (visibility, colours, border) and ten series
// styles. Every request and result table holds one. A new record takes the user's saved defaults.
class CPresentationGraphique {
public:
    // Zones are numbered from 1: "Titre", "Graphique", "Légende", "Pied", "Fond".
    static constexpr int kZoneCount = 5;
    static constexpr int kSeriesCount = 10;

    // Ten new series styles, then every field from the user's saved defaults.
    CPresentationGraphique();

    // 0 "Barre verticale", 1 "Barre horizontale", 2 "Ligne", 3 "Camembert",
    // 4 "Barre cumulée verticale", 5 "Barre cumulée horizontale", 6 "Aire".
    std::int16_t GetType() const { return m_type; }
    void SetType(std::int16_t type) { m_type = type; }

    // Zone accessors take the zone number 1..5; any other number reads as 0 (false) and writes
    // nothing.
    bool GetVisible(int zone) const;
    void SetVisible(int zone, bool visible);
    std::uint32_t GetBackColor(int zone) const;
    void SetBackColor(int zone, std::uint32_t couleur);
    std::uint32_t GetForeColor(int zone) const;
    void SetForeColor(int zone, std::uint32_t couleur);
    // Border types 0..9: "Aucune", "Simple", "3D enfoncée", "3D élevée", "Pointillé enfoncée",
    // "Pointillé out", "Cadre enfoncé", "Cadre élevé", "Bevel", "Ombré".
    std::int16_t GetBorder(int zone) const;
    void SetBorder(int zone, std::int16_t border);

    // Series styles 0..9; another number answers the first style and writes nothing.
    const CPresGraphSerie& GetSerie(int numero) const;
    void SetSerie(int numero, const CPresGraphSerie& serie);

    bool operator==(const CPresentationGraphique&) const = default;

    // ---- On a chart ----
    // The chart's data from the table's stored grid: with one column and the pie type, one
    // series of one point per row named by the row labels; otherwise one series per column of a
    // point per row, the points named by the row labels and the series by the column labels when
    // there are two columns or more. A missing cell (no answer or not asked) is charted as 0.
    // The series styles are applied.
    void ConstruireDonnees(ChartModel& chart, const ChartDataSource& table) const;
    // Kind and orientation from the type, the colours and borders of the zones, the header (the
    // title, when the title zone is visible), the footer (the lines, when the footer zone is
    // visible), the legend (shown with its zone) and the fonts.
    void Appliquer(ChartModel& chart, const std::string& title, const std::vector<std::string>& lines) const;
    // Series k takes style k modulo 10.
    void AppliquerSeries(ChartModel& chart, std::size_t seriesCount) const;

    // Archive, the same order both ways: 16-bit Type; for zones 1 to 5 in turn 32-bit Visible,
    // BackColor, ForeColor and 16-bit Border; a 32-bit count of series (always 10 when written),
    // then that many series records into styles 0, 1... Styles that the archive does not hold keep
    // their values; records past the tenth are read and dropped. Loading replaces the record only
    // once all is read.
    void Serialize(CArchiveVersion& archive);

private:
    void Store(CArchiveVersion& archive) const;
    void Load(CArchiveVersion& archive);
    static bool IsZone(int zone);
    static bool IsSerie(int numero);

    // Filled by the constructor from the saved defaults.
    std::int16_t m_type = 0;
    std::array<bool, kZoneCount> m_visible{};
    std::array<std::uint32_t, kZoneCount> m_backColor{};
    std::array<std::uint32_t, kZoneCount> m_foreColor{};
    std::array<std::int16_t, kZoneCount> m_border{};
    std::array<CPresGraphSerie, kSeriesCount> m_series{};
};
