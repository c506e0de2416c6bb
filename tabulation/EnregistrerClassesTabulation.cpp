#include "tabulation/EnregistrerClassesTabulation.h"

#include "app/Calcul.h"
#include "app/Ligne.h"
#include "platform/questionnaire/RuntimeClassRegistry.h"
#include "tabulation/CalculEvolue.h"
#include "tabulation/Fusion.h"
#include "tabulation/Profil.h"
#include "tabulation/SousProfil.h"
#include "tabulation/Style.h"
#include "tabulation/Tableau.h"
#include "tabulation/TableauFactoriel.h"
#include "tabulation/Traitement.h"
#include "tabulation/TypeFusion.h"

namespace {

// Every class that requests and tables write as an object.
constexpr const RuntimeClass* kClasses[] = {
    &CLigne::kRuntimeClass,      &CCalcul::kRuntimeClass,  &CCalculEvolue::kRuntimeClass,
    &CStyle::kRuntimeClass,      &CTypeFusion::kRuntimeClass, &CProfil::kRuntimeClass,
    &CSousProfil::kRuntimeClass, &CTraitement::kRuntimeClass, &CTableau::kRuntimeClass,
    &CTableauFactoriel::kRuntimeClass, &CFusion::kRuntimeClass,
};

} // namespace

void EnregistrerClassesTabulation() {
    for (const RuntimeClass* runtimeClass : kClasses)
        RuntimeClassRegistry::Register(*runtimeClass);
}
