#include "recodes/RecodageDiscrete.h"

#include <cmath>
#include <memory>

#include "app/Enquete.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "platform/questionnaire/StaticTools.h"
#include "recodes/AtSignList.h"
#include "recodes/MissingAnswerModalities.h"

namespace {

constexpr int kStoredDigits = 15;
constexpr int kCaptionDigits = 9;
constexpr double kEqualWithin = 1e-9;

} // namespace

CRecodageDiscrete::CRecodageDiscrete(CEnquete* survey) : CRecodage(survey) {}

std::unique_ptr<CRecodage> CRecodageDiscrete::Clone() const { return std::make_unique<CRecodageDiscrete>(*this); }

void CRecodageDiscrete::Appliquer(CQuestionEtendue& target, bool withNoAnswer) const {
    target.DetruireModalites();
    CEnquete* survey = GetEnquete();
    const std::int32_t language = survey != nullptr ? survey->questionnaireLanguage : 0;
    for (std::size_t i = 0; i < m_valeurs.size(); ++i) {
        auto modality = std::make_unique<CModaliteEtendue>(survey);
        modality->code = static_cast<std::int32_t>(i) + 1;
        modality->value = m_valeurs[i];
        modality->SetLocalisedShortCaption(language, CStaticTools::FormatG(m_valeurs[i], kCaptionDigits) + " " + m_unite);
        target.AddModalite(std::move(modality));
    }
    MissingAnswerModalities::Append(target, survey, withNoAnswer);
    target.type = 6;
}

bool CRecodageDiscrete::EstApplicable(const CQuestionEtendue& question) const { return question.EstNumeriqueLibre(); }

std::string CRecodageDiscrete::GetRegroupement() const { return AtSignList::Write(m_valeurs, kStoredDigits); }

void CRecodageDiscrete::SetRegroupement(const std::string& text) { m_valeurs = AtSignList::Read(text); }

std::int16_t CRecodageDiscrete::DonnerIndexValeur(double value) const {
    const std::size_t count = m_valeurs.size();
    if (count == 0)
        return kNoGroup;
    if (!m_estPlusProche) {
        for (std::size_t i = 0; i < count; ++i)
            if (std::fabs(m_valeurs[i] - value) < kEqualWithin)
                return static_cast<std::int16_t>(i);
        return kNoGroup;
    }
    // The value after the last one counts as infinitely far: the walk stops at the last value.
    std::size_t i = 0;
    while (i + 1 < count && std::fabs(m_valeurs[i + 1] - value) < std::fabs(m_valeurs[i] - value))
        ++i;
    return static_cast<std::int16_t>(i);
}
