#include "recodes/EnregistrerRecodages.h"

#include <cstdint>
#include <memory>

#include "app/Recodage.h"
#include "app/Redressement.h"
#include "recodes/RecodageDiscrete.h"
#include "recodes/RecodageIntervalle.h"
#include "recodes/RecodageLevelModalite.h"
#include "recodes/RecodageLevelNumerique.h"
#include "recodes/RecodageLevelOpen.h"
#include "recodes/RecodageModalite.h"

namespace {

template <class Kind> std::unique_ptr<CRecodage> Make(CEnquete* survey) { return std::make_unique<Kind>(survey); }

struct KindOfType {
    std::int16_t type;
    std::unique_ptr<CRecodage> (*make)(CEnquete*);
};

// The class of each stored type code; 4 has none.
constexpr KindOfType kKinds[] = {
    {CRecodage::kModalite, &Make<CRecodageModalite>},
    {CRecodage::kLevelModalite, &Make<CRecodageLevelModalite>},
    {CRecodage::kIntervalle, &Make<CRecodageIntervalle>},
    {CRecodage::kDiscrete, &Make<CRecodageDiscrete>},
    {CRecodage::kLevelNumerique, &Make<CRecodageLevelNumerique>},
    {CRecodage::kLevelOpen, &Make<CRecodageLevelOpen>},
};

std::unique_ptr<CRecodage> MakeRecode(std::int16_t type, CEnquete* survey) {
    for (const KindOfType& kind : kKinds)
        if (kind.type == type)
            return kind.make(survey);
    return nullptr;
}

void ReadTargets(CRedressement& weighting, CEnquete& survey) { weighting.LireValeurs(survey); }

} // namespace

void EnregistrerRecodages() {
    CRecodage::EnregistrerFabrique(&MakeRecode);
    CRedressement::InstallerLecteur(&ReadTargets);
}
