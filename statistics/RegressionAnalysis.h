#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/Message.h"
#include "statistics/MappingSource.h"
#include "statistics/RegressionLineaire.h"
#include "statistics/TableauNumerique.h"
#include "tabulation/Profil.h"

class CContexteEtude;
class CQuestionEtendue;

// What the regression window computes: one numeric target question explained by the numeric
// questions of the active explanatory profile, over the active interviews, the illustrative ones
// only fitted. An active interview whose target is missing is fitted as an illustrative one. The
// window edits the fields, calls Recalculer and shows the two result tables; their labels come
// from this source (label kinds below).
//
// Recalculer refuses, with its message shown, a run without target (63161) or with fewer than two
// active explanatory questions (63317); a solver failure shows its message (63406 for questions
// that are collinear) and leaves no result; a failed read ends the run silently, as the window
// does, with the previous results gone.
class RegressionAnalysis : public CMappingSource {
public:
    // Label kinds of the result tables.
    enum Genre : std::int32_t {
        kLignesCoefficients = 0,   // "Constante", then the explanatory questions' captions
        kColonnesCoefficients = 1, // "Coefficients", "Ecart-type", "Probabilité"
        kLignesInterviews = 2,     // the interviews' labels
        kColonnesInterviews = 3,   // "Observé", "Théorique", "Ecart relatif"
    };

    // Every interview of the survey active, none illustrative, missing values replaced by the
    // mean, level 0.
    explicit RegressionAnalysis(CContexteEtude& context);

    CQuestionEtendue* cible = nullptr;
    CProfil explicativesActives;
    CProfil explicativesIllustratives; // kept for the dialog; it does not enter the model
    std::vector<std::int32_t> interviewsActives;
    std::vector<std::int32_t> interviewsIllustratives;
    int modeValeursManquantes = kRemplacerParMoyenne;
    int niveau = 0;

    bool Recalculer();
    bool ExisteResultat() const { return !m_results.coefficients.empty(); }
    const ResultatsRegression& GetResultats() const { return m_results; }
    // The interview of each row of "Résultats par interview", active ones first.
    const std::vector<std::int32_t>& GetInterviewsLignes() const { return m_rowInterviews; }
    int GetNombreActives() const { return m_activeCount; }
    int GetNombreIllustratives() const { return m_illustrativeCount; }

    CLigne DonnerLigne(std::int32_t genre, std::int32_t second, std::int32_t index) const override;

private:
    void Vider();
    void Signaler(const Message& message) const;

    CContexteEtude& m_context;
    ResultatsRegression m_results;
    std::vector<std::int32_t> m_rowInterviews;
    std::vector<std::string> m_captions;
    int m_activeCount = 0;
    int m_illustrativeCount = 0;
};
