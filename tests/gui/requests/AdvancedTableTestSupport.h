#pragma once

// An advanced table defined in "Profils croisés" as the analyst defines it: the operations of its
// style through "Opération", its profiles through "Profils" (each "QUESTION:modality|..." moves
// those modalities to the profile).
#include "ProfileDialogTestSupport.h"
#include "gui/requests/PageArbreTotalDlg.h"
#include "StyleTestSupport.h"

#include <string>
#include <vector>

namespace requests_test {

// The style of the reference request, operation by operation as "Opération" defines them, each
// labelled with the name the table shows.
inline const std::vector<OperationChoice> kAdvancedStyle = {
    {1, "Effectifs", "Effectifs", 0},
    {0, "Effectifs", "Effectifs"},
    {0, "Profil colonne", "Profils colonnes"},
    {1, "Pourcentage", "Pourcentage", 1},
    {3, "", "Test khi2", 0, "khi2=??K?? ddl=??D?? p=??P??"},
};
inline const std::vector<std::string> kAdvancedRows = {
    "SATISF:Très satisfait|Plutôt satisfait|Ni satisfait ni insatisfait|Plutôt insatisfait|Pas du tout satisfait",
    "TRANCHE:18-24 ans|25-34 ans|35-49 ans|50-64 ans|65 ans et plus"};
inline const std::vector<std::string> kAdvancedColumns = {
    "REGION:Île-de-France|Nord-Est|Nord-Ouest|Sud-Ouest|Sud-Est", "SEXE:Homme|Femme"};
// The same request as a qesrun text, without its title, which is the dialog's.
constexpr const char* kAdvancedText = "type tableau-evolue\n"
                                      "lignes SATISF:1,2,3,4,5 TRANCHE:1,2,3,4,5\n"
                                      "colonnes REGION:1,2,3,4,5 SEXE:1,2\n"
                                      "style marge 0 colonne\n"
                                      "style cellule 0\n"
                                      "style cellule 2\n"
                                      "style marge 1 ligne\n"
                                      "style test khi2=??K?? ddl=??D?? p=??P??\n";

// Fills the parts asked of the dialog: the style's operations, the rows' and the columns' profiles.
inline void FillAdvancedTable(RequestDialog& dialog, bool style = true, bool rows = true, bool columns = true) {
    if (style)
        AddOperations(*dialog.GetPageStyle(), kAdvancedStyle);
    if (rows)
        EditProfileOf(*dialog.GetPageProfil(0), Profile(kAdvancedRows));
    if (columns)
        EditProfileOf(*dialog.GetPageProfil(1), Profile(kAdvancedColumns));
}

} // namespace requests_test
