#include "app/GeneratedCaptions.h"

#include <array>
#include <cstddef>

#include "app/Registre.h"
#include "platform/questionnaire/Questionnaire.h"
#include "platform/questionnaire/StaticTools.h"

namespace {

// Columns of the table below, and the settings key of each.
enum Column { kFra, kDeu, kIta, kEsp, kEng, kColumnCount };
constexpr std::array<const char*, kColumnCount> kLanguageKeys{"FRA", "DEU", "ITA", "ESP", "ENG"};

struct CaptionRow {
    CGeneratedCaptions::Kind kind;
    const char* section;
    std::array<const char*, kColumnCount> defaults; // null: no caption in that language
};

using K = CGeneratedCaptions::Kind;

const CaptionRow kCaptions[] = {
    {K::NonReponse, "DK", {"Non réponse", "Keine Antwort", "Non risponde", "No respuesa", "Don't know"}},
    {K::Autre, "Other", {"Autre (préciser)", "Andere", "Altro", "Otro", "Other (Specify)"}},
    {K::Total, "Total", {"Total", "Total", "Totale", "Total", "Total"}},
    {K::NonInterroge, "NA", {"Non interrogé", "Nicht Gefragt", "Non interrogato", "Not asked", "Not asked"}},
    {K::MoinsDe, "LessThan", {"Moins de %g %s", "Weniger als %g %s", "Meno di %g %s", "Menos de %g %s", "Less than %g %s"}},
    {K::OuMoins, "OrLess", {"%g ou moins %s", "%g oder weniger %s", "%g o meno %s", "%g o menos %s", "%g or less %s"}},
    {K::DeA, "FromTo", {"De %g à %g %s", "Von %g bis %g %s", "Dal %g al %g %s", "De %g a %g %s", "From %g to %g %s"}},
    {K::PlusDe, "MoreThan", {"Plus de %g %s", "Mehr als %g %s", "Più di %g %s", "Màs de %g %s", "More than %g %s"}},
    {K::OuPlus, "OrMore", {"%g ou plus %s", "%g oder mehr %s", "%g o più %s", "%g o màs %s", "%g or more %s"}},
    {K::Avant, "Before", {"Avant %s", nullptr, nullptr, "Antes de %s", "Before %s"}},
    {K::OuAvant, "OrBefore", {"%s ou avant", nullptr, nullptr, "%s o antes", "%s or before"}},
    {K::DeADate, "FromToTime", {"De %s à %s", "Von %s bis %s", "Dal %s al %s", "De %s a %s", "From %s to %s"}},
    {K::Apres, "After", {"Après %s", nullptr, nullptr, "Despues %s", "After %s"}},
    {K::OuApres, "OrAfter", {"%s ou après", nullptr, nullptr, "%s o despues", "%s or after"}},
};

// The message language of a language id (1 French, 2 German, 3 Italian, 4 Spanish, else
// English) as a column of the table.
Column ColumnOf(std::int32_t languageId) {
    switch (CQuestionnaire::GetErrorLanguageFromLanguage(languageId)) {
    case 1:
        return kFra;
    case 2:
        return kDeu;
    case 3:
        return kIta;
    case 4:
        return kEsp;
    default:
        return kEng;
    }
}

const CaptionRow* RowOf(CGeneratedCaptions::Kind kind) {
    for (const CaptionRow& row : kCaptions)
        if (row.kind == kind)
            return &row;
    return nullptr;
}

} // namespace

std::string CGeneratedCaptions::Caption(Kind kind, std::int32_t languageId, const std::vector<double>& numbers,
                                        const std::vector<std::string>& texts) {
    const CaptionRow* row = RowOf(kind);
    const Column column = ColumnOf(languageId);
    if (row == nullptr || row->defaults[column] == nullptr)
        return {};
    const std::string pattern = CRegistre::GetString(row->section, kLanguageKeys[column], row->defaults[column]);
    return Fill(pattern, numbers, texts);
}

std::string CGeneratedCaptions::Fill(const std::string& pattern, const std::vector<double>& numbers,
                                     const std::vector<std::string>& texts) {
    std::string result;
    std::size_t nextNumber = 0;
    std::size_t nextText = 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        if (pattern[i] != '%' || (next != 'g' && next != 's' && next != '%')) {
            result += pattern[i];
            continue;
        }
        ++i;
        if (next == '%')
            result += '%';
        else if (next == 'g' && nextNumber < numbers.size())
            result += CStaticTools::FormatG(numbers[nextNumber++]);
        else if (next == 's' && nextText < texts.size())
            result += texts[nextText++];
    }
    return result;
}
