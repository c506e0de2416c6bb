#include "statistics/RegressionAnalysis.h"

#include <utility>

#include "app/ContexteEtude.h"
#include "app/DataAccess.h"
#include "app/OneStateScope.h"
#include "app/StringTable.h"
#include "app/VecteurDouble.h"

namespace {

bool IsMissing(double value) { return value == CVecteurDouble::kNoAnswer || value == CVecteurDouble::kNotAsked; }

// The label of entry `index` of a fixed list of texts; empty out of range.
template <std::size_t N> std::string Heading(const int (&ids)[N], std::int32_t index) {
    if (index < 0 || static_cast<std::size_t>(index) >= N)
        return {};
    return StringTable::Text(ids[index]);
}

constexpr int kCoefficientColumns[] = {StringTable::kTitreCoefficients, StringTable::kEcartType,
                                       StringTable::kProbabilite};
constexpr int kInterviewColumns[] = {StringTable::kObserve, StringTable::kTheorique, StringTable::kEcartRelatif};

} // namespace

RegressionAnalysis::RegressionAnalysis(CContexteEtude& context) : m_context(context) {
    for (std::int32_t i = 0; i < context.DonnerNbreInterviews(); ++i)
        interviewsActives.push_back(i);
}

void RegressionAnalysis::Signaler(const Message& message) const {
    m_context.GetUserInterface().ShowMessage(message, UserInterface::Icon::Warning);
}

void RegressionAnalysis::Vider() {
    m_results = ResultatsRegression{};
    m_rowInterviews.clear();
    m_captions.clear();
    m_activeCount = 0;
    m_illustrativeCount = 0;
}

bool RegressionAnalysis::Recalculer() {
    if (cible == nullptr) {
        Signaler(Message(StringTable::kSelectionnerQuestion));
        return false;
    }
    if (explicativesActives.GetNbreQuestions() < 2) {
        Signaler(Message(StringTable::kAuMoinsDeuxExplicatives));
        return false;
    }
    WaitCursor wait(m_context.GetUserInterface());
    Vider();
    // The target and the explanatory questions of one committed state of the file.
    const OneStateScope oneState(m_context);
    if (oneState.Refusal().id != 0) {
        Signaler(oneState.Refusal());
        return false;
    }
    CDataAccess access(m_context, true);
    CVecteurDouble targets;
    if (!access.LireValeursNumeriquesNiveau(*cible, niveau, targets))
        return false;
    const auto target = [&targets](std::int32_t interview) {
        return interview >= 0 && interview < targets.GetSize() ? targets.GetAt(interview) : CVecteurDouble::kNoAnswer;
    };
    // An interview without a target cannot weigh on the fit; it is still fitted, as an
    // illustrative one.
    std::vector<std::int32_t> actives;
    std::vector<std::int32_t> illustratives = interviewsIllustratives;
    for (const std::int32_t interview : interviewsActives)
        (IsMissing(target(interview)) ? illustratives : actives).push_back(interview);

    TableauNumerique table;
    if (!ConstruireTableauNumerique(access, table, actives, illustratives, explicativesActives, CProfil(),
                                    modeValeursManquantes, niveau))
        return false;
    std::vector<double> y;
    y.reserve(table.interviews.size());
    for (const std::int32_t interview : table.interviews)
        y.push_back(target(interview));

    CRegressionLineaire solver;
    solver.Initialiser(table.lignesActives, table.lignesIllustratives, table.colonnesActives, y.data(),
                       table.cellules.data());
    ResultatsRegression results;
    int code = -1;
    if (!solver.Calculer(results, code)) {
        Signaler(CRegressionLineaire::MessageErreur(code));
        return false;
    }
    m_results = std::move(results);
    m_rowInterviews = std::move(table.interviews);
    m_captions = std::move(table.libellesColonnes);
    m_activeCount = table.lignesActives;
    m_illustrativeCount = table.lignesIllustratives;
    return true;
}

CLigne RegressionAnalysis::DonnerLigne(std::int32_t genre, std::int32_t, std::int32_t index) const {
    switch (genre) {
    case kLignesCoefficients:
        if (index == 0)
            return CLigne(StringTable::Text(StringTable::kConstante));
        return CLigne(index > 0 && static_cast<std::size_t>(index) <= m_captions.size()
                          ? m_captions[static_cast<std::size_t>(index) - 1]
                          : std::string());
    case kColonnesCoefficients: return CLigne(Heading(kCoefficientColumns, index));
    case kLignesInterviews: {
        std::string label;
        if (index >= 0 && static_cast<std::size_t>(index) < m_rowInterviews.size())
            m_context.DonnerLibelleInterview(m_rowInterviews[static_cast<std::size_t>(index)], label);
        return CLigne(label);
    }
    case kColonnesInterviews: return CLigne(Heading(kInterviewColumns, index));
    default: return CLigne();
    }
}
