#include "recodes/RecodageIntervalle.h"

#include <cmath>
#include <memory>

#include "app/Enquete.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "recodes/AtSignList.h"
#include "recodes/DateText.h"
#include "recodes/MissingAnswerModalities.h"

namespace {

// A stored bound keeps six significant digits, as "%g" writes it.
constexpr int kStoredDigits = 6;

} // namespace

CRecodageIntervalle::CRecodageIntervalle(CEnquete* survey) : CRecodage(survey) {}

std::unique_ptr<CRecodage> CRecodageIntervalle::Clone() const { return std::make_unique<CRecodageIntervalle>(*this); }

bool CRecodageIntervalle::EstApplicable(const CQuestionEtendue& question) const {
    return question.EstNumeriqueLibre() || question.EstDate();
}

std::string CRecodageIntervalle::GetRegroupement() const { return AtSignList::Write(m_bornes, kStoredDigits); }

void CRecodageIntervalle::SetRegroupement(const std::string& text) { m_bornes = AtSignList::Read(text); }

// ---- Classes -----------------------------------------------------------------------------------

int CRecodageIntervalle::DonnerNombreClasses() const {
    // Without bounds there is no class at all, whatever the flags say: Appliquer makes none.
    if (m_bornes.empty())
        return 0;
    return static_cast<int>(m_bornes.size()) + (m_estMoins ? 1 : 0) + (m_estPlus ? 1 : 0) - 1;
}

bool CRecodageIntervalle::LiesBefore(double x, double bound) const {
    return IsClosedOnTheRight() ? x <= bound : x < bound;
}

std::int16_t CRecodageIntervalle::DonnerClasse(double value) const {
    if (m_bornes.empty())
        return kNoGroup;
    double x = value;
    if (m_dateType == kDateOnly)
        x = std::floor(value);
    else if (m_dateType == kTimeOnly)
        x = value - std::floor(value);

    if (LiesBefore(x, m_bornes.front()))
        return m_estMoins ? std::int16_t{0} : kNoGroup;
    std::int16_t k = m_estMoins ? 1 : 0;
    for (std::size_t i = 1; i < m_bornes.size(); ++i) {
        if (LiesBefore(x, m_bornes[i]))
            return k;
        ++k;
    }
    return m_estPlus ? k : kNoGroup;
}

// ---- The recoded question ----------------------------------------------------------------------

std::string CRecodageIntervalle::DateTextOf(double date) const { return DateText::Format(date, m_dateType); }

void CRecodageIntervalle::CaptionBelow(CModalite& modality) const {
    const CEnquete& survey = *GetEnquete();
    const double bound = m_bornes.front();
    if (IsDateMode()) {
        if (IsClosedOnTheRight())
            survey.LibellerOuAvant(modality, DateTextOf(bound));
        else
            survey.LibellerAvant(modality, DateTextOf(bound));
    } else if (IsClosedOnTheRight()) {
        survey.LibellerOuMoins(modality, bound, m_unite);
    } else {
        survey.LibellerMoinsDe(modality, bound, m_unite);
    }
}

void CRecodageIntervalle::CaptionInner(CModalite& modality, double low, double high) const {
    const CEnquete& survey = *GetEnquete();
    if (IsDateMode()) {
        survey.LibellerDeADate(modality, DateTextOf(low), DateTextOf(high));
        return;
    }
    if (m_estEntier) {
        // The whole numbers the class holds: its open end moves one unit in.
        if (IsClosedOnTheRight())
            low += 1.0;
        else
            high -= 1.0;
    }
    survey.LibellerDeA(modality, low, high, m_unite);
}

void CRecodageIntervalle::CaptionAbove(CModalite& modality) const {
    const CEnquete& survey = *GetEnquete();
    const double bound = m_bornes.back();
    if (IsDateMode()) {
        if (IsClosedOnTheRight())
            survey.LibellerApres(modality, DateTextOf(bound));
        else
            survey.LibellerOuApres(modality, DateTextOf(bound));
    } else if (IsClosedOnTheRight()) {
        survey.LibellerPlusDe(modality, bound, m_unite);
    } else {
        survey.LibellerOuPlus(modality, bound, m_unite);
    }
}

void CRecodageIntervalle::Appliquer(CQuestionEtendue& target, bool withNoAnswer) const {
    target.DetruireModalites();
    CEnquete* survey = GetEnquete();
    std::int32_t nextCode = 1;
    const auto add = [&](double value, auto caption) {
        auto modality = std::make_unique<CModaliteEtendue>(survey);
        modality->code = nextCode++;
        modality->value = value;
        if (survey != nullptr)
            caption(*modality);
        target.AddModalite(std::move(modality));
    };
    const std::size_t n = m_bornes.size();
    if (m_estMoins && n >= 1)
        add(m_bornes.front(), [this](CModalite& modality) { CaptionBelow(modality); });
    for (std::size_t i = 0; i + 1 < n; ++i) {
        const double low = m_bornes[i];
        const double high = m_bornes[i + 1];
        add((low + high) / 2.0, [this, low, high](CModalite& modality) { CaptionInner(modality, low, high); });
    }
    if (m_estPlus && n >= 1)
        add(m_bornes.back(), [this](CModalite& modality) { CaptionAbove(modality); });
    MissingAnswerModalities::Append(target, survey, withNoAnswer);
    target.type = IsDateMode() ? 1 : 7;
}
