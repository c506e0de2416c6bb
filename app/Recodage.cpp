#include "app/Recodage.h"

#include <utility>

#include "app/ContexteEtude.h"
#include "app/DBQuestionnaire.h"
#include "app/ModaliteEtendue.h"

namespace {

CRecodage::Fabrique& RegisteredFactory() {
    static CRecodage::Fabrique factory;
    return factory;
}

bool IsKnownType(std::int16_t type) { return type >= 0 && type <= 6 && type != 4; }

} // namespace

std::unique_ptr<CRecodage> CRecodage::CreerRecodage(std::int16_t type, CEnquete* survey) {
    const Fabrique& factory = RegisteredFactory();
    if (!IsKnownType(type) || !factory)
        return nullptr;
    return factory(type, survey);
}

std::unique_ptr<CRecodage> CRecodage::Cloner(const CRecodage* recode) {
    return recode != nullptr ? recode->Clone() : nullptr;
}

CRecodage::Fabrique CRecodage::EnregistrerFabrique(Fabrique fabrique) {
    return std::exchange(RegisteredFactory(), std::move(fabrique));
}

void CRecodage::CopyGroups(std::vector<std::unique_ptr<CModaliteEtendue>>&) const {}

void CRecodage::DonnerGroupesDuCode(std::int32_t, int, std::vector<std::int16_t>&) const {}

std::int16_t CRecodage::DonnerClasse(double) const { return kNoGroup; }

std::int16_t CRecodage::DonnerIndexValeur(double) const { return kNoGroup; }

bool CRecodage::Supprimer() const {
    if (m_survey == nullptr)
        return false;
    // The study context tells the user when the database refuses; a bare survey has nobody to tell.
    auto* context = dynamic_cast<CContexteEtude*>(m_survey);
    CDBQuestionnaire file(*m_survey, context != nullptr ? &context->GetUserInterface() : nullptr);
    return file.SupprimerRecodage(*this);
}
