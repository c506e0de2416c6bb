#include "statistics/IndependenceTest.h"

#include <cmath>
#include <cstdio>
#include <utility>

#include "app/ContexteEtude.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "tabulation/CrossPlanes.h"
#include "tabulation/FonctionsStatistiques.h"
#include "tabulation/MoteurTableau.h"
#include "tabulation/Profil.h"

namespace {

std::size_t Index(int i) { return static_cast<std::size_t>(i); }

// The question's modalities and the side's Total, less those the analyst left unselected.
IndependenceTest::Modalites InitialModalities(CContexteEtude& context, CQuestionEtendue& question, int side) {
    IndependenceTest::Modalites modalities;
    question.DonnerModalites(modalities, true);
    if (const CModaliteEtendue* total = context.DonnerModaliteTotal(side))
        modalities.push_back(std::make_unique<CModaliteEtendue>(*total));
    std::erase_if(modalities, [](const auto& modality) { return !modality->selected; });
    return modalities;
}

CProfil OneLine(CQuestionEtendue& question, const IndependenceTest::Modalites& modalities) {
    CProfil profile;
    profile.Add(&question, modalities);
    return profile;
}

std::string Printed(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

} // namespace

IndependenceTest::IndependenceTest(CContexteEtude& context, CQuestionEtendue& rowQuestion,
                                   CQuestionEtendue& columnQuestion)
    : m_context(context), m_rowQuestion(rowQuestion), m_columnQuestion(columnQuestion),
      m_rows(InitialModalities(context, rowQuestion, kLignes)),
      m_columns(InitialModalities(context, columnQuestion, kColonnes)), m_planes(kOngletCount) {}

void IndependenceTest::SetModalites(int side, Modalites modalities) {
    (side == kLignes ? m_rows : m_columns) = std::move(modalities);
}

int IndependenceTest::DonnerMarqueur(int onglet) {
    return onglet == kProfilsLignes || onglet == kProfilsColonnes || onglet == kContribution ? 1 : 0;
}

bool IndependenceTest::Calculer() {
    CMoteurTableau engine(m_context);
    IndependenceCrossing crossing;
    std::string error;
    if (!IndependenceCrossing::Croiser(engine, OneLine(m_rowQuestion, m_rows), 0, OneLine(m_columnQuestion, m_columns),
                                       0, m_context.currentLevel, m_context.universeCode, m_context.weightingCode,
                                       crossing, error)) {
        m_error = error;
        return false;
    }
    m_error.clear();
    m_crossing = std::move(crossing);
    MakeTexts();
    MakePlanes();
    return true;
}

void IndependenceTest::MakeTexts() {
    const double chiSquare = m_crossing.khiDeux;
    m_chiSquareText = chiSquare == kValeurManquante ? std::string() : Printed("%g", chiSquare);
    m_degreesOfFreedom = static_cast<unsigned>(m_crossing.degresLibertes);
    m_colour = kNoir;
    if (!m_crossing.EstTestable()) {
        // Fewer than two non-empty modalities on a side: nothing to reject, so no risk to give.
        m_verdict = StringTable::Format(Message(StringTable::kTestIndependanceImpossible));
        return;
    }
    m_verdict = StringTable::Format(
        Message(StringTable::kVerdictIndependance, {Printed("%.1f", m_crossing.Risque())}));
    const double p = m_crossing.probabilite;
    if (p <= 0.1)
        m_colour = kVert;
    else if (p > 0.9)
        m_colour = kRouge;
}

void IndependenceTest::MakePlanes() {
    m_planes[kEffectif] = m_crossing.Plan(CrossPlanes::kCount);
    m_planes[kProfilsLignes] = m_crossing.Plan(CrossPlanes::kRowPercentage);
    m_planes[kProfilsColonnes] = m_crossing.Plan(CrossPlanes::kColumnPercentage);
    m_planes[kEffectifIndependance] = m_crossing.Plan(CrossPlanes::kExpectedCount);
    const int rows = m_crossing.lignes;
    const int columns = m_crossing.colonnes;
    const int totalRow = m_crossing.ligneTotal;
    const int totalColumn = m_crossing.colonneTotal;
    const double chiSquare = m_crossing.khiDeux;
    const std::vector<double>& observed = m_planes[kEffectif];
    const std::vector<double>& expected = m_planes[kEffectifIndependance];
    std::vector<double> contributions(observed.size(), 0.0);
    for (int i = 0; i < rows; ++i) {
        if (i == totalRow)
            continue;
        for (int j = 0; j < columns; ++j) {
            if (j == totalColumn)
                continue;
            const std::size_t cell = Index(i) * Index(columns) + Index(j);
            const double e = expected[cell];
            const double o = observed[cell];
            double share = 0.0;
            if (chiSquare > 0.0 && e > 0.0)
                share = (o - e) * (o - e) / e / chiSquare * 100.0;
            contributions[cell] = o >= e ? share : -share;
            if (totalRow >= 0)
                contributions[Index(totalRow) * Index(columns) + Index(j)] += share;
            if (totalColumn >= 0)
                contributions[Index(i) * Index(columns) + Index(totalColumn)] += share;
        }
    }
    if (totalRow >= 0 && totalColumn >= 0)
        contributions[Index(totalRow) * Index(columns) + Index(totalColumn)] = 100.0;
    m_planes[kContribution] = std::move(contributions);
}
