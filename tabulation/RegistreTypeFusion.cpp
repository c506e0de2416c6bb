// The merge options' reader and writer of CRegistre. They are declared in app/Registre.h with the
// other preferences, whose keys they use, but live here beside CTypeFusion: the merge options sit
// above the settings in the layering, so app/ cannot see their definition.

#include "app/Registre.h"
#include "tabulation/TypeFusion.h"

void CRegistre::ReadTypeFusion(CTypeFusion& fusion) {
    fusion.Type = static_cast<std::int16_t>(GetFusionType());
    fusion.EstTableauParLigne = GetFusionEstTableauParLigne() ? 1 : 0;
    fusion.EstTableauParColonne = GetFusionEstTableauParColonne() ? 1 : 0;
    fusion.EstLibelleTraitement = GetFusionEstLibelleTraitement() ? 1 : 0;
    fusion.EstVersDossier = GetFusionEstVersDossier() ? 1 : 0;
    fusion.IsEmptyLinePerQuestion = GetFusionIsEmptyLinePerQuestion() ? 1 : 0;
}

void CRegistre::WriteTypeFusion(const CTypeFusion& fusion) {
    SetFusionType(fusion.Type);
    SetFusionEstTableauParLigne(fusion.EstTableauParLigne != 0);
    SetFusionEstTableauParColonne(fusion.EstTableauParColonne != 0);
    SetFusionEstLibelleTraitement(fusion.EstLibelleTraitement != 0);
    SetFusionEstVersDossier(fusion.EstVersDossier != 0);
    SetFusionIsEmptyLinePerQuestion(fusion.IsEmptyLinePerQuestion != 0);
}
