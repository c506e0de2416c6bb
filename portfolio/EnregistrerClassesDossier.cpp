#include "portfolio/EnregistrerClassesDossier.h"

#include "platform/questionnaire/RuntimeClassRegistry.h"
#include "portfolio/ElementDossier.h"
#include "tabulation/EnregistrerClassesTabulation.h"

void EnregistrerClassesDossier() {
    EnregistrerClassesTabulation();
    RuntimeClassRegistry::Register(CElementDossier::kRuntimeClass);
}
