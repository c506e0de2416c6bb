#include "tabulation/ExecuteurTraitement.h"

#include "app/ContexteEtude.h"
#include "app/DataAccess.h"
#include "app/Ligne.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "app/VecteurPoids.h"
#include "tabulation/AxesTraitement.h"
#include "tabulation/DecoupageProfils.h"
#include "tabulation/MoteurTableau.h"
#include "tabulation/ProfileChecks.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

// Open-question profiles: the open answers of each question of the profile, one row per unit of
// the level that answered at least one of them (and counts in the study field), one column per
// question. The cells hold indexes into the table's texts, 0 being the empty text.

namespace {

std::size_t Index(int i) { return static_cast<std::size_t>(i); }

// The answers of every question at the level, in profile order; false with the reader's text.
bool ReadAnswers(CContexteEtude& context, const CProfil& questions, int level,
                 std::vector<std::vector<std::string>>& answers, std::string& error) {
    CDataAccess access(context, true);
    answers.assign(Index(questions.GetCount()), {});
    for (int q = 0; q < questions.GetCount(); ++q) {
        if (!access.LireReponsesOuvertesNiveau(*questions.GetQuestion(q), level, answers[Index(q)])) {
            error = access.GetErrorText();
            return false;
        }
    }
    return true;
}

// A unit is listed when it weighs something and answered at least one of the questions.
bool Listed(const std::vector<std::vector<std::string>>& answers, std::span<const double> weights,
            std::size_t unit) {
    if (unit >= weights.size() || !(weights[unit] > 0.0))
        return false;
    for (const auto& question : answers)
        if (unit < question.size() && !question[unit].empty())
            return true;
    return false;
}

} // namespace

void CExecuteurTraitement::CalculerProfilsOuvertes(std::unique_ptr<CTraitement> request) {
    const CProfil* profile = request->GetProfilAxe(CTraitement::kLignes);
    const std::vector<Message> faults =
        ProfileChecks::FaultsOf(GetContexte(), profile, CTraitement::kAxeProfilOuvertes);
    if (!ProfileChecks::ShowFaults(GetContexte().GetUserInterface(), faults))
        return;
    if (request->mergeOptions.EstTableauParLigne != 0 && profile->GetCount() > 1) {
        // One table per question, titled after the request it comes from.
        for (int i = 0; i < profile->GetCount(); ++i) {
            if (profile->IsSeparator(i))
                continue;
            auto copy = std::make_unique<CTraitement>(*request);
            AxesTraitement::DefinirAxeProfilQuestion(*copy, *profile, i, CTraitement::kLignes);
            copy->title = request->title + " - " + profile->GetQuestion(i)->GetCaption();
            Calculer(std::move(copy));
        }
        return;
    }
    std::vector<std::unique_ptr<CProfil>> parts;
    if (DecoupageProfils::DecouperProfilSeparateurs(*profile, parts)) {
        for (const auto& part : parts) {
            auto copy = std::make_unique<CTraitement>(*request);
            copy->SetProfilAxe(part.get(), CTraitement::kLignes);
            Calculer(std::move(copy));
        }
        return;
    }
    CProfil questions(*profile);
    questions.RemoveSeparators();

    std::vector<std::vector<std::string>> answers;
    std::string error;
    if (!ReadAnswers(GetContexte(), questions, request->level, answers, error)) {
        SignalerErreur(error);
        return;
    }
    CMoteurTableau engine(GetContexte());
    CVecteurPoids* weights = nullptr;
    if (!engine.DonnerPoidsInterviews(request->level, request->studyFieldId, request->weightingId, weights,
                                      error)) {
        SignalerErreur(error);
        return;
    }
    std::vector<std::size_t> units;
    const std::span<const double> weight = weights->Valeurs();
    for (std::size_t unit = 0; unit < weight.size(); ++unit)
        if (Listed(answers, weight, unit))
            units.push_back(unit);
    engine.LibererPoids(request->level, request->studyFieldId, request->weightingId, weights);

    const int rows = static_cast<int>(units.size());
    const int columns = questions.GetCount();
    auto table = std::make_unique<CTableau>(1, 1, rows, columns, CTableauBase::kMarqueParColonne);
    table->AjouterTexte(std::string());
    for (int q = 0; q < columns; ++q) {
        const CLigne caption(questions.GetQuestion(q)->GetCaption());
        table->SetLibelleColonne(0, q, &caption);
        table->SetMarque(q, CTableauBase::kMarqueTexte);
    }
    for (int row = 0; row < rows; ++row) {
        const std::size_t unit = units[Index(row)];
        const CLigne label(StringTable::Format(Message(StringTable::kIntvw, {std::to_string(unit + 1)})));
        table->SetLibelleLigne(0, row, &label);
        for (int q = 0; q < columns; ++q) {
            const std::vector<std::string>& texts = answers[Index(q)];
            const bool answered = unit < texts.size() && !texts[unit].empty();
            table->SetValeur(row, q, answered ? table->AjouterTexte(texts[unit]) : 0);
        }
    }
    FinirTableau(*table, std::move(request), rows);
    AjouterTableau(std::move(table));
}
