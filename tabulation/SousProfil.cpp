#include "tabulation/SousProfil.h"

#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"

CSousProfil::CSousProfil(CQuestionEtendue* question, const std::vector<std::unique_ptr<CModaliteEtendue>>& modalities)
    : m_question(question), m_modalities(CopierModalites(modalities)) {}

CSousProfil::CSousProfil(const CSousProfil& other)
    : CObjet(other), m_question(other.m_question), m_modalities(CopierModalites(other.m_modalities)) {}

CSousProfil& CSousProfil::operator=(const CSousProfil& other) {
    if (this != &other) {
        auto copies = CopierModalites(other.m_modalities);
        m_question = other.m_question;
        m_modalities = std::move(copies);
    }
    return *this;
}

CSousProfil::~CSousProfil() = default;

void CSousProfil::GetModalites(std::vector<std::unique_ptr<CModaliteEtendue>>& out) const {
    out = CopierModalites(m_modalities);
}

std::vector<std::unique_ptr<CModaliteEtendue>> CSousProfil::CopierModalites(
    const std::vector<std::unique_ptr<CModaliteEtendue>>& modalities) {
    std::vector<std::unique_ptr<CModaliteEtendue>> copies;
    copies.reserve(modalities.size());
    for (const auto& modality : modalities)
        if (modality)
            copies.push_back(std::make_unique<CModaliteEtendue>(*modality));
    return copies;
}
