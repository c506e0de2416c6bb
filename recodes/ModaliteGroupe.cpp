#include "recodes/ModaliteGroupe.h"

CModaliteGroupe::CModaliteGroupe(CEnquete* survey) : CModaliteEtendue(survey) {}

CModaliteGroupe::CModaliteGroupe(CEnquete* survey, std::int32_t modalityCode, const std::string& caption,
                                 std::int16_t groupLevel)
    : CModaliteEtendue(survey), level(groupLevel) {
    code = modalityCode;
    SetDefaultShortCaption(caption);
}

CModaliteGroupe::CModaliteGroupe(CEnquete* survey, const CModalite& model) : CModaliteEtendue(survey, model) {}

std::unique_ptr<CModalite> CModaliteGroupe::Clone() const { return std::make_unique<CModaliteGroupe>(*this); }
