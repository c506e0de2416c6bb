#pragma once

// The flat and cross tables of closed questions computed as the program computes them, for the
// tests and the fuzz targets that check counts against the answers stored in a file.

#include <memory>
#include <string>
#include <vector>

#include "app/Calcul.h"
#include "app/ContexteEtude.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "tabulation/ExecuteurTraitement.h"
#include "tabulation/Tableau.h"
#include "tabulation/Traitement.h"

namespace test_support {

// Copies of the question's modalities in its order, then the axis's Total line.
inline std::vector<std::unique_ptr<CModaliteEtendue>> LinesWithTotal(CContexteEtude& context,
                                                                     const CQuestionEtendue& question, int axis) {
    std::vector<std::unique_ptr<CModaliteEtendue>> lines;
    for (int i = 0; i < question.GetNbreModalite(); ++i)
        if (const CModaliteEtendue* modality = question.GetModaliteEtendue(i))
            lines.push_back(std::make_unique<CModaliteEtendue>(*modality));
    lines.push_back(std::make_unique<CModaliteEtendue>(*context.DonnerModaliteTotal(axis)));
    return lines;
}

// The first table the runner makes of a request of counts only, in separate tables; null when it
// made none. Computed as the program's commands do (Executer) when asked, else by the dispatcher
// alone.
inline std::unique_ptr<CTableau> CountTable(CContexteEtude& context, std::unique_ptr<CTraitement> request,
                                            bool asACommand) {
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

// The flat table of the question at its own level: one line per modality in the question's
// order, then the Total; counts only.
inline std::unique_ptr<CTableau> FlatTable(CContexteEtude& context, CQuestionEtendue& question,
                                           bool asACommand = false) {
    auto request = std::make_unique<CTraitement>();
    request->type = CTraitement::kTriSimple;
    request->title = question.name;
    request->level = question.level;
    request->SetTypeAxe(CTraitement::kLignes, CTraitement::kAxeFermee);
    request->SetTypeAxe(CTraitement::kColonnes, CTraitement::kAxeAucun);
    request->DefinirModalitesAxe(&question, LinesWithTotal(context, question, 0), CTraitement::kLignes);
    return CountTable(context, std::move(request), asACommand);
}

// The cross table of two closed questions at the level of the rows' question: every modality of
// each in its order, then the Totals; counts only.
inline std::unique_ptr<CTableau> CrossTable(CContexteEtude& context, CQuestionEtendue& rows, CQuestionEtendue& columns,
                                            bool asACommand = false) {
    auto request = std::make_unique<CTraitement>();
    request->type = CTraitement::kTriCroise;
    request->title = rows.name + " x " + columns.name;
    request->level = rows.level;
    request->SetTypeAxe(CTraitement::kLignes, CTraitement::kAxeFermee);
    request->SetTypeAxe(CTraitement::kColonnes, CTraitement::kAxeFermee);
    request->DefinirModalitesAxe(&rows, LinesWithTotal(context, rows, 0), CTraitement::kLignes);
    request->DefinirModalitesAxe(&columns, LinesWithTotal(context, columns, 1), CTraitement::kColonnes);
    return CountTable(context, std::move(request), asACommand);
}

} // namespace test_support
