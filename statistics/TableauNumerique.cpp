#include "statistics/TableauNumerique.h"

#include <cstddef>

#include "app/DataAccess.h"
#include "app/QuestionEtendue.h"
#include "app/VecteurDouble.h"
#include "tabulation/Profil.h"

namespace {

bool IsMissing(double value) { return value == CVecteurDouble::kNoAnswer || value == CVecteurDouble::kNotAsked; }

void ListQuestions(const CProfil& profile, std::vector<CQuestionEtendue*>& questions) {
    for (int l = 0; l < profile.GetCount(); ++l)
        if (CQuestionEtendue* question = profile.GetQuestion(l))
            questions.push_back(question);
}

// Mean of the column's present values over the active rows; 0 without any.
double ActiveMean(const TableauNumerique& t, std::size_t column, std::size_t width) {
    double sum = 0.0;
    int count = 0;
    for (std::size_t row = 0; row < static_cast<std::size_t>(t.lignesActives); ++row) {
        const double value = t.cellules[row * width + column];
        if (!IsMissing(value)) {
            sum += value;
            ++count;
        }
    }
    return count > 0 ? sum / count : 0.0;
}

void Replace(TableauNumerique& t, int mode) {
    const std::size_t width = t.libellesColonnes.size();
    const std::size_t rows = t.interviews.size();
    for (std::size_t column = 0; column < width; ++column) {
        const double replacement = mode == kRemplacerParMoyenne ? ActiveMean(t, column, width) : 0.0;
        for (std::size_t row = 0; row < rows; ++row) {
            double& value = t.cellules[row * width + column];
            if (IsMissing(value))
                value = replacement;
        }
    }
}

void RemoveIncompleteRows(TableauNumerique& t) {
    const std::size_t width = t.libellesColonnes.size();
    std::size_t kept = 0;
    int activeKept = 0;
    for (std::size_t row = 0; row < t.interviews.size(); ++row) {
        bool complete = true;
        for (std::size_t column = 0; column < width; ++column)
            complete = complete && !IsMissing(t.cellules[row * width + column]);
        if (!complete)
            continue;
        for (std::size_t column = 0; column < width; ++column)
            t.cellules[kept * width + column] = t.cellules[row * width + column];
        t.interviews[kept] = t.interviews[row];
        if (row < static_cast<std::size_t>(t.lignesActives))
            ++activeKept;
        ++kept;
    }
    t.lignesIllustratives = static_cast<int>(kept) - activeKept;
    t.lignesActives = activeKept;
    t.interviews.resize(kept);
    t.cellules.resize(kept * width);
}

} // namespace

bool ConstruireTableauNumerique(CDataAccess& access, TableauNumerique& tableau,
                                const std::vector<std::int32_t>& interviewsActives,
                                const std::vector<std::int32_t>& interviewsIllustratives, const CProfil& profilActif,
                                const CProfil& profilIllustratif, int modeValeursManquantes, int niveau) {
    TableauNumerique built;
    std::vector<CQuestionEtendue*> questions;
    ListQuestions(profilActif, questions);
    built.colonnesActives = static_cast<int>(questions.size());
    ListQuestions(profilIllustratif, questions);
    built.colonnesIllustratives = static_cast<int>(questions.size()) - built.colonnesActives;
    for (CQuestionEtendue* question : questions)
        built.libellesColonnes.push_back(question->GetCaption());
    built.interviews = interviewsActives;
    built.interviews.insert(built.interviews.end(), interviewsIllustratives.begin(), interviewsIllustratives.end());
    built.lignesActives = static_cast<int>(interviewsActives.size());
    built.lignesIllustratives = static_cast<int>(interviewsIllustratives.size());
    const std::size_t width = questions.size();
    built.cellules.assign(built.interviews.size() * width, 0.0);

    for (std::size_t column = 0; column < width; ++column) {
        CVecteurDouble values;
        if (!access.LireValeursNumeriquesNiveau(*questions[column], niveau, values))
            return false;
        for (std::size_t row = 0; row < built.interviews.size(); ++row) {
            const std::int32_t interview = built.interviews[row];
            if (interview < 0 || interview >= values.GetSize())
                return false;
            built.cellules[row * width + column] = values.GetAt(interview);
        }
    }
    if (modeValeursManquantes == kSupprimerInterview)
        RemoveIncompleteRows(built);
    else
        Replace(built, modeValeursManquantes);
    tableau = std::move(built);
    return true;
}
