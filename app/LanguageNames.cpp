#include "app/LanguageNames.h"

#include <algorithm>
#include <iterator>

namespace LanguageNames {
namespace {

struct Entry {
    std::int32_t id;
    const char* name;
    const char* abbreviation;
};

// The abbreviations are those Windows gives each language (its "abbreviated language name").
// clang-format off
constexpr Entry kLanguages[] = {
    {1025, "Arabe",                   "ARA"},
    {1026, "Bulgare",                 "BGR"},
    {1027, "Catalan",                 "CAT"},
    {1028, "Chinois (Taïwan)",        "CHT"},
    {1029, "Tchèque",                 "CSY"},
    {1030, "Danois",                  "DAN"},
    {1031, "Allemand",                "DEU"},
    {1032, "Grec",                    "ELL"},
    {1033, "Anglais (États-Unis)",    "ENU"},
    {1034, "Espagnol",                "ESP"},
    {1035, "Finnois",                 "FIN"},
    {1036, "Français",                "FRA"},
    {1037, "Hébreu",                  "HEB"},
    {1038, "Hongrois",                "HUN"},
    {1039, "Islandais",               "ISL"},
    {1040, "Italien",                 "ITA"},
    {1041, "Japonais",                "JPN"},
    {1042, "Coréen",                  "KOR"},
    {1043, "Néerlandais",             "NLD"},
    {1044, "Norvégien",               "NOR"},
    {1045, "Polonais",                "PLK"},
    {1046, "Portugais (Brésil)",      "PTB"},
    {1048, "Roumain",                 "ROM"},
    {1049, "Russe",                   "RUS"},
    {1050, "Croate",                  "HRV"},
    {1051, "Slovaque",                "SKY"},
    {1053, "Suédois",                 "SVE"},
    {1055, "Turc",                    "TRK"},
    {1058, "Ukrainien",               "UKR"},
    {1060, "Slovène",                 "SLV"},
    {1061, "Estonien",                "ETI"},
    {1062, "Letton",                  "LVI"},
    {1063, "Lituanien",               "LTH"},
    {2052, "Chinois (RPC)",           "CHS"},
    {2055, "Allemand (Suisse)",       "DES"},
    {2057, "Anglais (Royaume-Uni)",   "ENG"},
    {2058, "Espagnol (Mexique)",      "ESM"},
    {2060, "Français (Belgique)",     "FRB"},
    {2067, "Néerlandais (Belgique)",  "NLB"},
    {2070, "Portugais",               "PTG"},
    {3079, "Allemand (Autriche)",     "DEA"},
    {3082, "Espagnol (moderne)",      "ESN"},
    {3084, "Français (Canada)",       "FRC"},
    {4108, "Français (Suisse)",       "FRS"},
};
// clang-format on

const Entry* Find(std::int32_t id) {
    const auto found = std::find_if(std::begin(kLanguages), std::end(kLanguages),
                                    [id](const Entry& entry) { return entry.id == id; });
    return found != std::end(kLanguages) ? &*found : nullptr;
}

} // namespace

std::string Nom(std::int32_t id) {
    const Entry* entry = Find(id);
    return entry != nullptr ? entry->name : std::to_string(id);
}

std::string Abreviation(std::int32_t id) {
    const Entry* entry = Find(id);
    return entry != nullptr ? entry->abbreviation : std::to_string(id);
}

} // namespace LanguageNames
