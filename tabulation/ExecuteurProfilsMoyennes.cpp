#include "tabulation/ExecuteurTraitement.h"

#include "app/Calcul.h"
#include "app/ContexteEtude.h"
#include "app/Ligne.h"
#include "app/QuestionEtendue.h"
#include "tabulation/Fusion.h"
#include "tabulation/LignesRepetees.h"
#include "tabulation/MoteurTableau.h"
#include "tabulation/NumericStatistics.h"
#include "tabulation/ProfileChecks.h"
#include "tabulation/ProfileLine.h"
#include "tabulation/ValeursDerivees.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

// Crossed mean profiles: each numeric question of the column profile within each modality of each
// closed question of the row profile, one block per calculation line (mean, deviation, numbers of
// answers...). Rows are headed on two levels (question, modality); the Total row, when asked,
// comes last whatever the place of Totals elsewhere, and holds the statistics of every value of
// each numeric question.

namespace {

using Calculs = CTraitement::Calculs;
using NiveauxLibelles = CExecuteurTraitement::NiveauxLibelles;

constexpr double kMissing = CTableauBase::kValeurManquante;
constexpr int kRecord = NumericStatistics::kMeanRecordSize;

std::size_t Index(int i) { return static_cast<std::size_t>(i); }

std::uint16_t Span(int further) { return static_cast<std::uint16_t>(std::clamp(further, 0, 0xFFFF)); }

// Entry `kind` of a mean-table record; a kind the record does not have shows no value.
double RecordValue(std::span<const double> records, int row, std::int32_t kind) {
    if (kind < 0 || kind >= kRecord)
        return kMissing;
    const std::size_t at = Index(row) * Index(kRecord) + Index(kind);
    return at < records.size() ? records[at] : kMissing;
}

// What the Total row shows of a mean-table kind, from the statistics of all the values: the
// kinds 0 to 9 are the same entries there; the significance of a Total is none.
double TotalValue(const NumericStatistics::Statistics& statistics, std::int32_t kind) {
    if (kind < 0 || kind >= NumericStatistics::kMeanMark)
        return kMissing;
    return statistics[Index(kind)];
}

struct MeanProfile {
    int R = 0;
    int C = 0;
    std::vector<std::vector<double>> blocks;
    std::vector<std::unique_ptr<CLigne>> labels;
    NiveauxLibelles rowLabels;
    NiveauxLibelles columnLabels;
    CFusion rowMerges;
    CFusion columnMerges;
    double base = 0.0;

    double& Cell(std::size_t block, int row, int column) {
        return blocks[block][Index(row) * Index(C) + Index(column)];
    }
    const CLigne* Keep(std::unique_ptr<CLigne> label) {
        labels.push_back(std::move(label));
        return labels.back().get();
    }
};

} // namespace

void CExecuteurTraitement::CalculerProfilsCroisesMoyenne(std::unique_ptr<CTraitement> request) {
    std::vector<Message> faults = ProfileChecks::FaultsOf(
        GetContexte(), request->GetProfilAxe(CTraitement::kLignes), CTraitement::kAxeProfilFermees);
    const std::vector<Message> columnFaults = ProfileChecks::FaultsOf(
        GetContexte(), request->GetProfilAxe(CTraitement::kColonnes), CTraitement::kAxeProfilNumeriques);
    faults.insert(faults.end(), columnFaults.begin(), columnFaults.end());
    if (!ProfileChecks::ShowFaults(GetContexte().GetUserInterface(), faults))
        return;
    if (DecouperProfils(request, CTraitement::kProfilsCroisesMoyenne))
        return;
    CProfil rows(*request->GetProfilAxe(CTraitement::kLignes));
    rows.RemoveSeparators();
    CProfil numerics(*request->GetProfilAxe(CTraitement::kColonnes));
    numerics.RemoveSeparators();
    Calculs calculations;
    CCalcul::CopierTableau(calculations, request->GetCalculsLignes());
    const bool withTotal = request->GetTotalAxe(CTraitement::kLignes) != 0;

    constexpr int H = 1;
    constexpr int V = 2;
    MeanProfile table;
    table.R = rows.GetNbreModalitesTotal() + (withTotal ? 1 : 0);
    table.C = numerics.GetCount();
    table.blocks.assign(calculations.size(), std::vector<double>(Index(table.R) * Index(table.C), 0.0));
    table.rowLabels.assign(V, std::vector<const CLigne*>(Index(table.R), nullptr));
    table.columnLabels.assign(H, std::vector<const CLigne*>(Index(table.C), nullptr));
    table.rowMerges = CFusion(H, V, table.R, table.C);
    table.columnMerges = CFusion(H, V, table.R, table.C);

    CMoteurTableau engine(GetContexte());
    int first = 0;
    for (int q = 0; q < rows.GetCount(); ++q) {
        const ProfileLine line = ProfileLine::Donner(engine, rows, q);
        const int s = line.SelectedCount();
        table.rowLabels[0][Index(first)] = table.Keep(std::make_unique<CLigne>(line.question->GetCaption()));
        table.rowMerges.SetFusion(H + first, 0, Span(s - 1));
        for (int a = 0; a < s; ++a)
            table.rowLabels[1][Index(first + a)] =
                table.Keep(std::make_unique<CLigne>(*line.selected[Index(a)]));
        for (int j = 0; j < numerics.GetCount(); ++j) {
            std::vector<double> records;
            double total = 0.0;
            std::string error;
            if (!engine.CalculerMoyennesModalites(*line.question, *numerics.GetQuestion(j), records, total,
                                                  line.map, request->level, request->studyFieldId,
                                                  request->weightingId, error)) {
                SignalerErreur(error);
                return;
            }
            std::vector<double> placed;
            ValeursDerivees::PlacerLignesStatistiques(placed, records, s, line.modalityCount, line.map,
                                                      line.totalPosition);
            LignesRepetees::RecopierLignes(placed, kRecord, line.sources);
            for (std::size_t k = 0; k < calculations.size(); ++k)
                for (int a = 0; a < s; ++a)
                    table.Cell(k, first + a, j) = RecordValue(placed, a, calculations[k]->code);
            table.base = std::max(table.base, total);
        }
        first += s;
    }
    if (withTotal) {
        const int last = table.R - 1;
        for (int j = 0; j < numerics.GetCount(); ++j) {
            NumericStatistics::Statistics statistics{};
            double totalWeight = 0.0;
            std::string error;
            if (!engine.CalculerStatistiquesQuestion(*numerics.GetQuestion(j), request->level,
                                                     request->studyFieldId, request->weightingId, statistics,
                                                     totalWeight, error)) {
                SignalerErreur(error);
                return;
            }
            for (std::size_t k = 0; k < calculations.size(); ++k)
                table.Cell(k, last, j) = TotalValue(statistics, calculations[k]->code);
        }
        if (const CModaliteEtendue* total = GetContexte().DonnerModaliteTotal(CTraitement::kLignes))
            table.rowLabels[0][Index(last)] = table.Keep(std::make_unique<CLigne>(*total));
        table.columnMerges.SetFusion(H + last, 0, Span(V - 1));
    }
    for (int j = 0; j < numerics.GetCount(); ++j)
        table.columnLabels[0][Index(j)] =
            table.Keep(std::make_unique<CLigne>(numerics.GetQuestion(j)->GetCaption()));
    std::vector<std::uint16_t> markers;
    for (const auto& calculation : calculations)
        markers.push_back(ValeursDerivees::MarqueCalculMoyenne(calculation->code));
    AssemblerTableaux(std::move(request), table.blocks, H, table.R, V, table.C, table.rowLabels,
                      table.columnLabels, calculations, table.rowMerges, table.columnMerges, markers,
                      table.base);
}
