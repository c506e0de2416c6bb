// The presentation records' readers and writers of CRegistre. They are declared in
// app/Registre.h with the other preferences but live here, beside the records they fill: the
// records sit above the settings in the layering and read their defaults through CRegistre.
//
// Each reader reads every key of its record and stores it in the field of the same meaning; a key
// that is missing, unreadable or out of bounds gives its default, independently of the other keys.
// Each writer writes every key: integers and flags as integers, sizes as "%g" texts.

#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

#include "app/Registre.h"
#include "presentation/PoliceAna.h"
#include "presentation/PresGraphSerie.h"
#include "presentation/PresentationGraphique.h"
#include "presentation/PresentationMapping.h"
#include "presentation/PresentationMappingLigne.h"
#include "presentation/PresentationTableau.h"

namespace {

std::string Numbered(const char* prefix, int numero)
{
    return prefix + std::to_string(numero);
}

// Colours and other unbounded integers: any stored integer is taken as it is.
std::uint32_t ReadColour(const std::string& section, const std::string& key, std::uint32_t defaut)
{
    return static_cast<std::uint32_t>(
        CRegistre::GetIntBorne(section, key, static_cast<int>(defaut), INT_MIN, INT_MAX));
}

void WriteColour(const std::string& section, const std::string& key, std::uint32_t couleur)
{
    CRegistre::SetInt(section, key, static_cast<int>(couleur));
}

// Colour keys of the charts hold RGB values only.
constexpr int kMaxRgb = 0xFFFFFF;

// ---------------------------------------------------------------------------------------------
// Font: "Nom", four flags, "Couleur", "Taille" in the font's own section.

struct FontFlag {
    const char* key;
    bool (CPoliceAna::*get)() const;
    void (CPoliceAna::*set)(bool);
};

constexpr std::array kFontFlags{
    FontFlag{"Gras", &CPoliceAna::GetGras, &CPoliceAna::SetGras},
    FontFlag{"Italique", &CPoliceAna::GetItalique, &CPoliceAna::SetItalique},
    FontFlag{"Souligne", &CPoliceAna::GetSouligne, &CPoliceAna::SetSouligne},
    FontFlag{"Ombre", &CPoliceAna::GetOmbre, &CPoliceAna::SetOmbre},
};

// A stored size that is not above 0 reads as the default.
constexpr double kSmallestSize = std::numeric_limits<double>::denorm_min();
constexpr double kLargestSize = std::numeric_limits<double>::max();

// ---------------------------------------------------------------------------------------------
// Table presentation: four fonts in their own sections, then section "Tableau".

constexpr const char* kSectionTableau = "Tableau";

struct TableFont {
    const char* section;
    const CPoliceAna& (CPresentationTableau::*get)() const;
    void (CPresentationTableau::*set)(const CPoliceAna&);
};

constexpr std::array kTableFonts{
    TableFont{"Question", &CPresentationTableau::GetQuestion, &CPresentationTableau::SetQuestion},
    TableFont{"Ligne", &CPresentationTableau::GetLigne, &CPresentationTableau::SetLigne},
    TableFont{"Colonne", &CPresentationTableau::GetColonne, &CPresentationTableau::SetColonne},
    TableFont{"Cellule", &CPresentationTableau::GetCellule, &CPresentationTableau::SetCellule},
};

struct TableWord {
    const char* key;
    int defaut;
    int minimum;
    int maximum;
    std::uint16_t (CPresentationTableau::*get)() const;
    void (CPresentationTableau::*set)(std::uint16_t);
};

constexpr std::array kTableWords{
    //        key                 default min max
    TableWord{"Orientation",      0,      0,  1, &CPresentationTableau::GetOrientation, &CPresentationTableau::SetOrientation},
    TableWord{"TypePage",         0,      0,  1, &CPresentationTableau::GetTypePage, &CPresentationTableau::SetTypePage},
    TableWord{"Effectif",         0,      0,  4, &CPresentationTableau::GetEffectif, &CPresentationTableau::SetEffectif},
    TableWord{"Pourcentage",      1,      0,  4, &CPresentationTableau::GetPourcentage, &CPresentationTableau::SetPourcentage},
    TableWord{"Reel",             1,      0,  4, &CPresentationTableau::GetReel, &CPresentationTableau::SetReel},
    TableWord{"ThinBorderSize",   1,      0,  4, &CPresentationTableau::GetThinBorderSize, &CPresentationTableau::SetThinBorderSize},
    TableWord{"ThinBorderType",   3,      0,  3, &CPresentationTableau::GetThinBorderType, &CPresentationTableau::SetThinBorderType},
    TableWord{"NormalBorderSize", 1,      0,  4, &CPresentationTableau::GetNormalBorderSize, &CPresentationTableau::SetNormalBorderSize},
    TableWord{"NormalBorderType", 1,      0,  3, &CPresentationTableau::GetNormalBorderType, &CPresentationTableau::SetNormalBorderType},
    TableWord{"ThickBorderSize",  2,      0,  4, &CPresentationTableau::GetThickBorderSize, &CPresentationTableau::SetThickBorderSize},
    TableWord{"ThickBorderType",  1,      0,  3, &CPresentationTableau::GetThickBorderType, &CPresentationTableau::SetThickBorderType},
};

struct TableFlag {
    const char* key;
    bool defaut;
    bool (CPresentationTableau::*get)() const;
    void (CPresentationTableau::*set)(bool);
};

constexpr std::array kTableFlags{
    TableFlag{"EstPourcent", true, &CPresentationTableau::GetEstPourcent, &CPresentationTableau::SetEstPourcent},
    TableFlag{"EstTitreAuDessus", false, &CPresentationTableau::GetEstTitreAuDessus, &CPresentationTableau::SetEstTitreAuDessus},
    TableFlag{"EstTitreBase", true, &CPresentationTableau::GetEstTitreBase, &CPresentationTableau::SetEstTitreBase},
    TableFlag{"EstTitreChamp", false, &CPresentationTableau::GetEstTitreChamp, &CPresentationTableau::SetEstTitreChamp},
    TableFlag{"EstTitreRedressement", false, &CPresentationTableau::GetEstTitreRedressement,
              &CPresentationTableau::SetEstTitreRedressement},
    TableFlag{"EstTitreLevel", false, &CPresentationTableau::GetEstTitreLevel, &CPresentationTableau::SetEstTitreLevel},
};

// ---------------------------------------------------------------------------------------------
// Chart: section "Graphique", the zones numbered 1..5, then the series in "Style%d".

constexpr const char* kSectionGraphique = "Graphique";
constexpr int kMaxChartType = 6;
constexpr int kMaxBorder = 9;

struct ZoneDefaults {
    std::uint32_t backColor;
    std::int16_t border;
};

constexpr std::array<ZoneDefaults, CPresentationGraphique::kZoneCount> kZoneDefaults{{
    {0xCCBBAA, 5}, // 1 "Titre"
    {0xDDCCBB, 3}, // 2 "Graphique"
    {0xCCBBAA, 0}, // 3 "Légende"
    {0xCCBBAA, 3}, // 4 "Pied"
    {0xCCBBAA, 0}, // 5 "Fond"
}};

// Series k takes entry kSeriesPaletteEntries[k] of the default palette as its colours.
constexpr std::array<int, CPresentationGraphique::kSeriesCount> kSeriesPaletteEntries{4, 1, 15, 2, 18, 16, 13, 3, 14, 6};

struct SeriesWord {
    const char* key;
    int defaut;
    int minimum;
    int maximum;
    std::int32_t (CPresGraphSerie::*get)() const;
    void (CPresGraphSerie::*set)(std::int32_t);
};

constexpr std::array kSeriesWords{
    //         key            default min max
    SeriesWord{"LinePattern", 2,      1,  7,  &CPresGraphSerie::GetLinePattern, &CPresGraphSerie::SetLinePattern},
    SeriesWord{"FillPattern", 2,      1,  11, &CPresGraphSerie::GetFillPattern, &CPresGraphSerie::SetFillPattern},
    SeriesWord{"PointStyle",  2,      1,  11, &CPresGraphSerie::GetPointStyle, &CPresGraphSerie::SetPointStyle},
};

struct SeriesColour {
    const char* key;
    std::uint32_t (CPresGraphSerie::*get)() const;
    void (CPresGraphSerie::*set)(std::uint32_t);
};

constexpr std::array kSeriesColours{
    SeriesColour{"Color", &CPresGraphSerie::GetColor, &CPresGraphSerie::SetColor},
    SeriesColour{"SymbolColor", &CPresGraphSerie::GetSymbolColor, &CPresGraphSerie::SetSymbolColor},
};

std::string SeriesSection(int numero)
{
    return Numbered("Style", numero);
}

// ---------------------------------------------------------------------------------------------
// Map: legend font, section "Mapping", then the two point sets.

constexpr const char* kSectionMapping = "Mapping";
constexpr const char* kSectionLegende = "MappingLegende";
constexpr const char* kFontSuffix = "Police";

struct MapFlag {
    const char* key;
    bool defaut;
    bool (CPresentationMapping::*get)() const;
    void (CPresentationMapping::*set)(bool);
};

constexpr std::array kMapFlags{
    MapFlag{"EstCadre", true, &CPresentationMapping::GetEstCadre, &CPresentationMapping::SetEstCadre},
    MapFlag{"EstAxe", true, &CPresentationMapping::GetEstAxe, &CPresentationMapping::SetEstAxe},
    MapFlag{"EstCoordonnee", true, &CPresentationMapping::GetEstCoordonnee, &CPresentationMapping::SetEstCoordonnee},
    MapFlag{"EstGrille", false, &CPresentationMapping::GetEstGrille, &CPresentationMapping::SetEstGrille},
};

struct MapColour {
    const char* key;
    std::uint32_t defaut;
    std::uint32_t (CPresentationMapping::*get)() const;
    void (CPresentationMapping::*set)(std::uint32_t);
};

constexpr std::array kMapColours{
    MapColour{"CouleurFond", 0xFFFFFF, &CPresentationMapping::GetCouleurFond, &CPresentationMapping::SetCouleurFond},
    MapColour{"CouleurAvant", 0x000000, &CPresentationMapping::GetCouleurAvant, &CPresentationMapping::SetCouleurAvant},
};

struct PointSetDefaults {
    CPresentationMapping::PointSet set;
    const char* section;
    std::int16_t typeSymbole;
    std::uint32_t couleur;
    bool estLibelleVisible;
};

constexpr std::array kPointSets{
    PointSetDefaults{CPresentationMapping::kRowPoints, "MappingLigne", 1, 0x7F0000, false},
    PointSetDefaults{CPresentationMapping::kColumnPoints, "MappingColonne", 2, 0x00007F, true},
};

constexpr int kDefaultSymbolSize = 8;
constexpr int kMinSymbolSize = 2;
constexpr int kMaxSymbolSize = 30;

} // namespace

// ---------------------------------------------------------------------------------------------

void CRegistre::ReadPolice(const std::string& section, CPoliceAna& police)
{
    police.SetNom(GetString(section, "Nom", CPoliceAna::kDefaultFace));
    for (const FontFlag& flag : kFontFlags)
        (police.*flag.set)(GetBool(section, flag.key, false));
    police.SetCouleur(ReadColour(section, "Couleur", 0));
    police.SetTaille(GetDoubleBorne(section, "Taille", CPoliceAna::kDefaultSize, kSmallestSize, kLargestSize));
}

void CRegistre::WritePolice(const std::string& section, const CPoliceAna& police)
{
    SetString(section, "Nom", police.GetNom());
    for (const FontFlag& flag : kFontFlags)
        SetBool(section, flag.key, (police.*flag.get)());
    WriteColour(section, "Couleur", police.GetCouleur());
    SetDouble(section, "Taille", police.GetTaille());
}

void CRegistre::ReadPresentationTableau(CPresentationTableau& presentation)
{
    for (const TableFont& font : kTableFonts) {
        CPoliceAna police;
        ReadPolice(font.section, police);
        (presentation.*font.set)(police);
    }
    for (const TableWord& word : kTableWords)
        (presentation.*word.set)(
            static_cast<std::uint16_t>(GetIntBorne(kSectionTableau, word.key, word.defaut, word.minimum, word.maximum)));
    for (const TableFlag& flag : kTableFlags)
        (presentation.*flag.set)(GetBool(kSectionTableau, flag.key, flag.defaut));
}

void CRegistre::WritePresentationTableau(const CPresentationTableau& presentation)
{
    for (const TableFont& font : kTableFonts)
        WritePolice(font.section, (presentation.*font.get)());
    for (const TableWord& word : kTableWords)
        SetInt(kSectionTableau, word.key, (presentation.*word.get)());
    for (const TableFlag& flag : kTableFlags)
        SetBool(kSectionTableau, flag.key, (presentation.*flag.get)());
}

void CRegistre::ReadPresentationGraphique(CPresentationGraphique& presentation)
{
    presentation.SetType(static_cast<std::int16_t>(GetIntBorne(kSectionGraphique, "Type", 0, 0, kMaxChartType)));
    for (int zone = 1; zone <= CPresentationGraphique::kZoneCount; ++zone) {
        const ZoneDefaults& defaults = kZoneDefaults[static_cast<std::size_t>(zone - 1)];
        presentation.SetVisible(zone, GetBool(kSectionGraphique, Numbered("Visible", zone), true));
        presentation.SetForeColor(
            zone, static_cast<std::uint32_t>(GetIntBorne(kSectionGraphique, Numbered("ForeColor", zone), 0, 0, kMaxRgb)));
        presentation.SetBackColor(zone, static_cast<std::uint32_t>(GetIntBorne(
                                            kSectionGraphique, Numbered("BackColor", zone),
                                            static_cast<int>(defaults.backColor), 0, kMaxRgb)));
        presentation.SetBorder(zone, static_cast<std::int16_t>(GetIntBorne(kSectionGraphique, Numbered("Border", zone),
                                                                           defaults.border, 0, kMaxBorder)));
    }
    for (int numero = 0; numero < CPresentationGraphique::kSeriesCount; ++numero) {
        CPresGraphSerie serie = presentation.GetSerie(numero);
        ReadPresGraphSerie(numero, GetPaletteColor(kSeriesPaletteEntries[static_cast<std::size_t>(numero)]), serie);
        presentation.SetSerie(numero, serie);
    }
}

void CRegistre::WritePresentationGraphique(const CPresentationGraphique& presentation)
{
    SetInt(kSectionGraphique, "Type", presentation.GetType());
    for (int zone = 1; zone <= CPresentationGraphique::kZoneCount; ++zone) {
        SetBool(kSectionGraphique, Numbered("Visible", zone), presentation.GetVisible(zone));
        WriteColour(kSectionGraphique, Numbered("ForeColor", zone), presentation.GetForeColor(zone));
        WriteColour(kSectionGraphique, Numbered("BackColor", zone), presentation.GetBackColor(zone));
        SetInt(kSectionGraphique, Numbered("Border", zone), presentation.GetBorder(zone));
    }
    for (int numero = 0; numero < CPresentationGraphique::kSeriesCount; ++numero)
        WritePresGraphSerie(numero, presentation.GetSerie(numero));
}

void CRegistre::ReadPresGraphSerie(int numero, std::uint32_t couleurDefaut, CPresGraphSerie& serie)
{
    const std::string section = SeriesSection(numero);
    for (const SeriesWord& word : kSeriesWords)
        (serie.*word.set)(GetIntBorne(section, word.key, word.defaut, word.minimum, word.maximum));
    for (const SeriesColour& colour : kSeriesColours)
        (serie.*colour.set)(
            static_cast<std::uint32_t>(GetIntBorne(section, colour.key, static_cast<int>(couleurDefaut), 0, kMaxRgb)));
}

void CRegistre::WritePresGraphSerie(int numero, const CPresGraphSerie& serie)
{
    const std::string section = SeriesSection(numero);
    for (const SeriesWord& word : kSeriesWords)
        SetInt(section, word.key, (serie.*word.get)());
    for (const SeriesColour& colour : kSeriesColours)
        WriteColour(section, colour.key, (serie.*colour.get)());
}

void CRegistre::ReadPresentationMapping(CPresentationMapping& presentation)
{
    CPoliceAna legende;
    ReadPolice(kSectionLegende, legende);
    presentation.SetLegendFont(legende);
    for (const MapFlag& flag : kMapFlags)
        (presentation.*flag.set)(GetBool(kSectionMapping, flag.key, flag.defaut));
    for (const MapColour& colour : kMapColours)
        (presentation.*colour.set)(ReadColour(kSectionMapping, colour.key, colour.defaut));
    for (const PointSetDefaults& defaults : kPointSets) {
        CPresentationMappingLigne points = presentation.GetPointSet(defaults.set);
        ReadPointsMapping(defaults.section, points, defaults.typeSymbole, defaults.couleur, defaults.estLibelleVisible);
        presentation.SetPointSet(defaults.set, points);
    }
}

void CRegistre::WritePresentationMapping(const CPresentationMapping& presentation)
{
    WritePolice(kSectionLegende, presentation.GetLegendFont());
    for (const MapFlag& flag : kMapFlags)
        SetBool(kSectionMapping, flag.key, (presentation.*flag.get)());
    for (const MapColour& colour : kMapColours)
        WriteColour(kSectionMapping, colour.key, (presentation.*colour.get)());
    for (const PointSetDefaults& defaults : kPointSets)
        WritePointsMapping(defaults.section, presentation.GetPointSet(defaults.set));
}

void CRegistre::ReadPointsMapping(const std::string& section, CPresentationMappingLigne& points,
                                  std::int16_t typeSymboleDefaut, std::uint32_t couleurDefaut,
                                  bool libelleVisibleDefaut)
{
    CPoliceAna police;
    ReadPolice(section + kFontSuffix, police);
    points.SetLabelFont(police);
    points.SetTypeSymbole(static_cast<std::int16_t>(
        GetIntBorne(section, "TypeSymbole", typeSymboleDefaut, 0, CPresentationMappingLigne::kSymbolCount - 1)));
    points.SetTailleSymbole(GetIntBorne(section, "TailleSymbole", kDefaultSymbolSize, kMinSymbolSize, kMaxSymbolSize));
    points.SetCouleur(ReadColour(section, "Couleur", couleurDefaut));
    points.SetEstLibelleVisible(GetBool(section, "EstLibelleVisible", libelleVisibleDefaut));
}

void CRegistre::WritePointsMapping(const std::string& section, const CPresentationMappingLigne& points)
{
    WritePolice(section + kFontSuffix, points.GetLabelFont());
    SetInt(section, "TypeSymbole", points.GetTypeSymbole());
    SetInt(section, "TailleSymbole", points.GetTailleSymbole());
    WriteColour(section, "Couleur", points.GetCouleur());
    SetBool(section, "EstLibelleVisible", points.GetEstLibelleVisible());
}
