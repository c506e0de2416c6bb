#include "statistics/IndependenceTest.h"

#include <cmath>
#include <cstdio>
#include <utility>

#include "app/ContexteEtude.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "app/OneStateScope.h"
#include "app/StringTable.h"
#include "tabulation/CrossPlanes.h"
#include "tabulation/FonctionsStatistiques.h"
#include "tabulation/MoteurTableau.h"
#include "tabulation/Profil.h"

namespace {

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
    // Both questions of one committed state of the file.
    const OneStateScope oneState(m_context);
    if (oneState.Refusal().id != 0) {
        m_error = StringTable::Format(oneState.Refusal());
        return false;
    }
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

std::string IndependenceTest::Verdict(const IndependenceCrossing& crossing) {
    // Fewer than two non-empty modalities on a side: nothing to reject, so no risk to give.
    if (!crossing.EstTestable())
        return StringTable::Format(Message(StringTable::kTestIndependanceImpossible));
    return StringTable::Format(Message(StringTable::kVerdictIndependance, {Printed("%.1f", crossing.Risque())}));
}

std::uint32_t IndependenceTest::Couleur(const IndependenceCrossing& crossing) {
    if (!crossing.EstTestable())
        return kNoir;
    if (crossing.probabilite <= 0.1)
        return kVert;
    return crossing.probabilite > 0.9 ? kRouge : kNoir;
}

void IndependenceTest::MakeTexts() {
    const double chiSquare = m_crossing.khiDeux;
    m_chiSquareText = chiSquare == kValeurManquante ? std::string() : Printed("%g", chiSquare);
    m_degreesOfFreedom = static_cast<unsigned>(m_crossing.degresLibertes);
    m_verdict = Verdict(m_crossing);
    m_colour = Couleur(m_crossing);
}

void IndependenceTest::MakePlanes() {
    m_planes[kEffectif] = m_crossing.Plan(CrossPlanes::kCount);
    m_planes[kProfilsLignes] = m_crossing.Plan(CrossPlanes::kRowPercentage);
    m_planes[kProfilsColonnes] = m_crossing.Plan(CrossPlanes::kColumnPercentage);
    m_planes[kEffectifIndependance] = m_crossing.Plan(CrossPlanes::kExpectedCount);
    m_planes[kContribution] = m_crossing.Contributions();
}
