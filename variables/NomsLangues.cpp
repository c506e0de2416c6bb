#include "variables/NomsLangues.h"

#include <algorithm>
#include <iterator>
#include <string_view>

namespace {

struct Langue {
    std::int32_t id;
    std::string_view nom;
    std::string_view abreviation;
};

constexpr Langue kLangues[] = {
    {1031, "Allemand", "DEU"},  {1033, "Anglais", "ENU"},   {2057, "Anglais (Royaume-Uni)", "ENG"},
    {1034, "Espagnol", "ESP"},  {3082, "Espagnol", "ESN"},  {1036, "Français", "FRA"},
    {2060, "Français (Belgique)", "FRB"}, {3084, "Français (Canada)", "FRC"},
    {4108, "Français (Suisse)", "FRS"},   {1040, "Italien", "ITA"},   {1043, "Néerlandais", "NLD"},
    {2070, "Portugais", "PTG"}, {1046, "Portugais (Brésil)", "PTB"}, {1045, "Polonais", "PLK"},
    {1053, "Suédois", "SVE"},   {1030, "Danois", "DAN"},    {1044, "Norvégien", "NOR"},
    {1035, "Finnois", "FIN"},   {1032, "Grec", "ELL"},      {1055, "Turc", "TRK"},
    {1049, "Russe", "RUS"},     {1025, "Arabe", "ARA"},     {1041, "Japonais", "JPN"},
    {2052, "Chinois (simplifié)", "CHS"},
};

const Langue* Trouver(std::int32_t id) {
    const auto found = std::find_if(std::begin(kLangues), std::end(kLangues),
                                    [id](const Langue& langue) { return langue.id == id; });
    return found == std::end(kLangues) ? nullptr : &*found;
}

} // namespace

namespace NomsLangues {

std::string Nom(std::int32_t languageId) {
    const Langue* langue = Trouver(languageId);
    return langue != nullptr ? std::string(langue->nom) : std::to_string(languageId);
}

std::string Abreviation(std::int32_t languageId) {
    const Langue* langue = Trouver(languageId);
    return langue != nullptr ? std::string(langue->abreviation) : std::to_string(languageId);
}

} // namespace NomsLangues
