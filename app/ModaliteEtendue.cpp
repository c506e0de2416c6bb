#include "app/ModaliteEtendue.h"

#include "app/Enquete.h"

CModaliteEtendue::CModaliteEtendue(CEnquete* survey) : m_survey(survey) {}

CModaliteEtendue::CModaliteEtendue(CEnquete* survey, const CModalite& model) : CModalite(model), m_survey(survey) {}

CModaliteEtendue::CModaliteEtendue(const CModaliteEtendue& other) : CModalite(other), m_survey(other.m_survey) {
    CopyExtensionFrom(other);
    calculationLine = other.calculationLine;
}

CModaliteEtendue& CModaliteEtendue::operator=(const CModaliteEtendue& other) {
    if (this == &other)
        return *this;
    CModalite::operator=(other);
    CopyExtensionFrom(other);
    calculationLine = other.calculationLine;
    return *this;
}

std::unique_ptr<CModalite> CModaliteEtendue::Clone() const { return std::make_unique<CModaliteEtendue>(*this); }

void CModaliteEtendue::CopierExtension(const CModaliteEtendue& other) {
    if (this != &other)
        CopyExtensionFrom(other);
}

void CModaliteEtendue::CopyExtensionFrom(const CModaliteEtendue& other) {
    extraWord = other.extraWord;
    selected = other.selected;
    displayOptions = other.displayOptions;
    values = other.values;
}

const std::string& CModaliteEtendue::ShortCaptionFor(const CModalite& modality, const CEnquete* survey) {
    if (survey == nullptr)
        return modality.GetLocalisedShortCaption(0);
    const std::string& current = modality.GetLocalisedShortCaption(survey->currentLanguage);
    if (!current.empty())
        return current;
    return modality.GetLocalisedShortCaption(survey->questionnaireLanguage);
}

const std::string& CModaliteEtendue::GetShortCaption() const { return ShortCaptionFor(*this, m_survey); }

void CModaliteEtendue::SetShortCaption(const std::string& text) {
    SetLocalisedShortCaption(m_survey != nullptr ? m_survey->currentLanguage : 0, text);
}

void CModaliteEtendue::SetDefaultShortCaption(const std::string& text) {
    SetLocalisedShortCaption(m_survey != nullptr ? m_survey->questionnaireLanguage : 0, text);
}
