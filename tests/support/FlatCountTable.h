#pragma once

// The flat table of a closed question computed as the program computes it, for the tests and the
// fuzz targets that check counts against the answers stored in a file.

#include <memory>
#include <vector>

#include "app/Calcul.h"
#include "app/ContexteEtude.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "tabulation/ExecuteurTraitement.h"
#include "tabulation/Tableau.h"
#include "tabulation/Traitement.h"

namespace test_support {

// The flat table of the question at its own level: one line per modality in the question's
// order, then the Total; counts only. Null when the runner made no table.
// Computed as the program's commands do (Executer) when asked, else by the dispatcher alone.
inline std::unique_ptr<CTableau> FlatTable(CContexteEtude& context, CQuestionEtendue& question,
                                           bool asACommand = false) {
    auto request = std::make_unique<CTraitement>();
    request->type = CTraitement::kTriSimple;
    request->title = question.name;
    request->level = question.level;
    request->SetTypeAxe(CTraitement::kLignes, CTraitement::kAxeFermee);
    request->SetTypeAxe(CTraitement::kColonnes, CTraitement::kAxeAucun);
    std::vector<std::unique_ptr<CModaliteEtendue>> lines;
    for (int i = 0; i < question.GetNbreModalite(); ++i)
        if (const CModaliteEtendue* modality = question.GetModaliteEtendue(i))
            lines.push_back(std::make_unique<CModaliteEtendue>(*modality));
    lines.push_back(std::make_unique<CModaliteEtendue>(*context.DonnerModaliteTotal(0)));
    request->DefinirModalitesAxe(&question, lines, CTraitement::kLignes);
    std::vector<std::unique_ptr<CCalcul>> calculations;
    calculations.push_back(std::make_unique<CCalcul>(0, "Effectifs", true));
    request->SetCalculsLignes(calculations);
    request->mergeOptions.Type = CTypeFusion::kSeparateTables;
    CExecuteurTraitement runner(context);
    if (asACommand)
        runner.Executer(std::move(request));
    else
        runner.Calculer(std::move(request));
    std::vector<std::unique_ptr<CTableau>> tables = runner.TakeTableaux();
    return tables.empty() ? nullptr : std::move(tables.front());
}

} // namespace test_support
