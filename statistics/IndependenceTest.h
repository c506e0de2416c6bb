#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "statistics/IndependenceCrossing.h"

class CContexteEtude;
class CModaliteEtendue;
class CQuestionEtendue;

// What the independence test window shows of two closed questions: the chi-square of their
// weighted cross table with its degrees of freedom, the verdict sentence and its colour, and the
// five planes of its tabs, over the modalities in use on each side (the Total pseudo-modality
// among them). The window owns one, lets the analyst change the modalities, and draws what it
// holds; the questions belong to the survey.
//
// The cross is computed for the study context: its current level, study field and weighting.
class IndependenceTest {
public:
    enum Side : int { kLignes = 0, kColonnes = 1 };
    // The tabs, in their order.
    enum Onglet : int {
        kEffectif = 0,
        kProfilsLignes = 1,
        kProfilsColonnes = 2,
        kContribution = 3,
        kEffectifIndependance = 4,
        kOngletCount = 5,
    };
    // Colours of the verdict, as 0x00BBGGRR.
    static constexpr std::uint32_t kNoir = 0x000000;
    static constexpr std::uint32_t kVert = 0x007F00;  // RGB 0, 127, 0
    static constexpr std::uint32_t kRouge = 0x0000C8; // RGB 200, 0, 0

    using Modalites = std::vector<std::unique_ptr<CModaliteEtendue>>;

    // The modalities in use start as each question's modalities followed by a copy of the
    // context's Total of that side, less every one whose selection flag is off. Nothing is
    // computed yet.
    IndependenceTest(CContexteEtude& context, CQuestionEtendue& rowQuestion, CQuestionEtendue& columnQuestion);

    CQuestionEtendue& GetQuestion(int side) const { return side == kLignes ? m_rowQuestion : m_columnQuestion; }
    const Modalites& GetModalites(int side) const { return side == kLignes ? m_rows : m_columns; }
    // The modalities chosen in "Sélection des modalités" become those of the side.
    void SetModalites(int side, Modalites modalities);

    // Crosses the questions and fills everything below. False, with the engine's text, when the
    // cross cannot be computed: what was shown before stays.
    bool Calculer();
    const std::string& GetErreur() const { return m_error; }

    const std::string& GetTexteKhiDeux() const { return m_chiSquareText; }
    unsigned GetDegresLibertes() const { return m_degreesOfFreedom; }
    const std::string& GetVerdict() const { return m_verdict; }
    std::uint32_t GetCouleur() const { return m_colour; }
    const IndependenceCrossing& GetCroisement() const { return m_crossing; }

    int GetLignes() const { return m_crossing.lignes; }
    int GetColonnes() const { return m_crossing.colonnes; }
    // The plane of a tab, lignes x colonnes doubles.
    const std::vector<double>& GetPlan(int onglet) const { return m_planes[static_cast<std::size_t>(onglet)]; }
    // The marker of every column of a tab: 1 (percentage) for the profiles and contributions, 0
    // (count) for the counts.
    static int DonnerMarqueur(int onglet);

    // The verdict sentence of a test and its colour; without test, the sentence that says why,
    // in black.
    static std::string Verdict(const IndependenceCrossing& crossing);
    static std::uint32_t Couleur(const IndependenceCrossing& crossing);

private:
    void MakeTexts();
    void MakePlanes();

    CContexteEtude& m_context;
    CQuestionEtendue& m_rowQuestion;
    CQuestionEtendue& m_columnQuestion;
    Modalites m_rows;
    Modalites m_columns;
    IndependenceCrossing m_crossing;
    std::vector<std::vector<double>> m_planes;
    std::string m_chiSquareText;
    unsigned m_degreesOfFreedom = 0;
    std::string m_verdict;
    std::uint32_t m_colour = kNoir;
    std::string m_error;
};
