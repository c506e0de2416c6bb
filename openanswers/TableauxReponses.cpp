#include "openanswers/TableauxReponses.h"

#include <string>
#include <vector>

#include "app/Calcul.h"
#include "app/ContexteEtude.h"
#include "app/DataAccess.h"
#include "app/Ligne.h"
#include "app/MatriceCodes.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "tabulation/Tableau.h"
#include "tabulation/Traitement.h"

namespace {

std::unique_ptr<CTableau> AnswerTable(int rowLevels, int rows, double total) {
    auto table = std::make_unique<CTableau>(1, rowLevels, rows, 1, CTableauBase::kMarqueParColonne);
    const CLigne column(StringTable::Text(StringTable::kNumeroInterview));
    table->SetLibelleColonne(0, 0, &column);
    table->SetMarque(0, CTableauBase::kMarqueEffectif);
    table->base = total;
    return table;
}

bool ReadAnswers(CContexteEtude& context, CQuestionEtendue& open, std::vector<std::string>& answers,
                 std::string& error) {
    CDataAccess access(context, true);
    if (access.LireReponsesOuvertes(open, answers))
        return true;
    error = access.GetErrorText();
    return false;
}

} // namespace

std::unique_ptr<CTableau> TableauxReponses::ConstruireTableauReponses(CContexteEtude& context, CQuestionEtendue& open,
                                                                      std::string& error) {
    std::vector<std::string> answers;
    if (!ReadAnswers(context, open, answers, error))
        return nullptr;
    std::vector<std::size_t> listed;
    for (std::size_t i = 0; i < answers.size(); ++i)
        if (!answers[i].empty())
            listed.push_back(i);
    auto table = AnswerTable(1, static_cast<int>(listed.size()), static_cast<double>(answers.size()));
    for (std::size_t row = 0; row < listed.size(); ++row) {
        const CLigne label(answers[listed[row]]);
        table->SetLibelleLigne(0, static_cast<std::int32_t>(row), &label);
        table->SetValeur(static_cast<std::int32_t>(row), 0, static_cast<double>(listed[row] + 1));
    }
    return table;
}

std::unique_ptr<CTableau> TableauxReponses::ConstruireTableauReponsesSelon(CContexteEtude& context,
                                                                           CQuestionEtendue& open,
                                                                           CQuestionEtendue& closed,
                                                                           std::string& error) {
    std::vector<std::string> answers;
    if (!ReadAnswers(context, open, answers, error))
        return nullptr;
    CMatriceCodes codes;
    {
        CDataAccess access(context, true);
        if (!access.LireReponsesFermeesNiveau(closed, open.level, codes)) {
            error = access.GetErrorText();
            return nullptr;
        }
    }
    const int modalities = closed.GetNbreModalite();
    const auto firstCode = [&](std::size_t i) -> int {
        if (i >= static_cast<std::size_t>(codes.GetNbLignes()) || codes.GetNbColonnes() == 0)
            return -1;
        return codes.GetAt(static_cast<int>(i), 0);
    };
    std::vector<std::vector<std::size_t>> byModality(static_cast<std::size_t>(modalities > 0 ? modalities : 0));
    for (std::size_t i = 0; i < answers.size(); ++i) {
        const int code = firstCode(i);
        if (!answers[i].empty() && code >= 0 && code < modalities)
            byModality[static_cast<std::size_t>(code)].push_back(i);
    }
    int rows = 0;
    for (const auto& group : byModality)
        rows += static_cast<int>(group.size());
    auto table = AnswerTable(2, rows, static_cast<double>(answers.size()));
    std::int32_t row = 0;
    for (int m = 0; m < modalities; ++m) {
        const CModaliteEtendue* modality = closed.GetModaliteEtendue(m);
        const CLigne category = modality != nullptr ? CLigne(*modality) : CLigne();
        for (const std::size_t i : byModality[static_cast<std::size_t>(m)]) {
            const CLigne answer(answers[i]);
            table->SetLibelleLigne(0, row, &category);
            table->SetLibelleLigne(1, row, &answer);
            table->SetValeur(row, 0, static_cast<double>(i + 1));
            ++row;
        }
    }
    return table;
}

std::unique_ptr<CTraitement> TableauxReponses::TraitementReponses(CQuestionEtendue& open) {
    auto request = std::make_unique<CTraitement>();
    request->type = CTraitement::kOuvertesListees;
    request->SetTypeAxe(CTraitement::kLignes, CTraitement::kAxeOuverte);
    request->SetTypeAxe(CTraitement::kColonnes, CTraitement::kAxeIndefini);
    request->SetQuestionAxe(&open, CTraitement::kLignes);
    request->title = open.GetCaption();
    return request;
}

std::unique_ptr<CTraitement> TableauxReponses::TraitementReponsesSelon(CQuestionEtendue& open,
                                                                      CQuestionEtendue& closed) {
    auto request = std::make_unique<CTraitement>();
    request->type = CTraitement::kOuvertesSelonModalite;
    request->SetTypeAxe(CTraitement::kLignes, CTraitement::kAxeOuverte);
    request->SetTypeAxe(CTraitement::kColonnes, CTraitement::kAxeOuverte);
    request->SetQuestionAxe(&open, CTraitement::kLignes);
    request->SetQuestionAxe(&closed, CTraitement::kColonnes);
    request->title = open.GetCaption() + " x " + closed.GetCaption();
    return request;
}

std::unique_ptr<CTraitement> TableauxReponses::TraitementDictionnaire(CQuestionEtendue& open, const std::string& title,
                                                                     int minimumFrequency, bool withStopWords,
                                                                     int sortKey) {
    auto request = std::make_unique<CTraitement>();
    request->type = CTraitement::kOuvertesDictionnaire;
    request->SetTypeAxe(CTraitement::kLignes, CTraitement::kAxeOuverte);
    request->SetTypeAxe(CTraitement::kColonnes, CTraitement::kAxeAucun);
    request->SetQuestionAxe(&open, CTraitement::kLignes);
    request->title = title;
    std::vector<std::unique_ptr<CCalcul>> parameters;
    for (const int value : {minimumFrequency, withStopWords ? 1 : 0, sortKey})
        parameters.push_back(std::make_unique<CCalcul>(value, "", true));
    request->SetCalculsLignes(parameters);
    return request;
}
