#include "tabulation/ExecuteurTraitement.h"

#include "app/Calcul.h"
#include "app/ContexteEtude.h"
#include "app/Ligne.h"
#include "app/QuestionEtendue.h"
#include "tabulation/DecoupageProfils.h"
#include "tabulation/Fusion.h"
#include "tabulation/MatriceCreuse.h"
#include "tabulation/MoteurTableau.h"
#include "tabulation/NumericStatistics.h"
#include "tabulation/ProfileChecks.h"
#include "tabulation/ProfileLine.h"
#include "tabulation/ValeursDerivees.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <utility>
#include <vector>

// The comparison of modalities: questions that offer the same scale (the same number of chosen
// modalities), one beside the other. For each question, the flat values that the row
// calculations name for each of its modalities, and the statistics of its numeric values that the
// column calculations name.
//
// Two layouts, by the merge options' Type: with Type 2 each question owns one line per row
// calculation and each modality one column; with any other Type each question owns one line and
// each modality one column per row calculation. The column calculations come last.
//
// The statistics of a question whose values cannot be read show empty cells, and the reason is
// told once the table is made; a count that fails stops the table.

namespace {

using Calculs = CTraitement::Calculs;
using NiveauxLibelles = CExecuteurTraitement::NiveauxLibelles;

constexpr double kMissing = CTableauBase::kValeurManquante;
constexpr int kFlatValues = CMoteurTableau::kFlatValueCount;
constexpr std::uint16_t kThinLine = 1;

std::size_t Index(int i) { return static_cast<std::size_t>(i); }

int Count(std::size_t size) { return static_cast<int>(size); }

std::uint16_t Span(int further) { return static_cast<std::uint16_t>(std::clamp(further, 0, 0xFFFF)); }

double ValueOf(std::span<const double> values, int record, int width, std::int32_t code) {
    if (code < 0 || code >= width)
        return kMissing;
    const std::size_t at = Index(record) * Index(width) + Index(code);
    return at < values.size() ? values[at] : kMissing;
}

// The table being laid out.
class Comparison {
public:
    Comparison(const CTraitement& request, int questions, int modalities)
        : m_byLines(request.mergeOptions.Type == CTypeFusion::kBlocksInRows),
          m_calculationLevel(request.mergeOptions.EstLibelleTraitement != 0), m_questions(questions),
          m_modalities(modalities), m_r(Count(request.GetCalculsLignes().size())),
          m_s(Count(request.GetCalculsColonnes().size())) {
        H = m_byLines || !m_calculationLevel ? 1 : 2;
        V = m_byLines && m_calculationLevel ? 2 : 1;
        R = m_byLines ? m_questions * m_r : m_questions;
        C = m_byLines ? m_modalities + m_s : m_modalities * m_r + m_s;
        cells.assign(Index(R) * Index(C), kMissing);
        markers.assign(Index(R) * Index(C), 0);
        rowLabels.assign(Index(V), std::vector<const CLigne*>(Index(R), nullptr));
        columnLabels.assign(Index(H), std::vector<const CLigne*>(Index(C), nullptr));
        rowMerges = std::make_unique<CFusion>(H, V, R, C);
        columnMerges = std::make_unique<CFusion>(H, V, R, C);
        lineMarks = std::make_unique<CMatriceCreuse>(H + R, V + C);
    }

    // Where value (modality k, row calculation c) of question q stands.
    int FlatRow(int q, int c) const { return m_byLines ? q * m_r + c : q; }
    int FlatColumn(int k, int c) const { return m_byLines ? k : k * m_r + c; }
    // Where column calculation i of question q stands.
    int StatisticRow(int q) const { return m_byLines ? q * m_r : q; }
    int StatisticColumn(int i) const { return m_byLines ? m_modalities + i : m_modalities * m_r + i; }

    void Set(int row, int column, double value, std::uint16_t marker) {
        if (row < 0 || row >= R || column < 0 || column >= C)
            return;
        cells[Index(row) * Index(C) + Index(column)] = value;
        markers[Index(row) * Index(C) + Index(column)] = marker;
    }

    void LabelQuestion(int q, const CLigne* caption, const Calculs& rowCalculations) {
        if (!m_byLines) {
            rowLabels[0][Index(q)] = caption;
            return;
        }
        if (m_r == 0)
            return;
        rowLabels[0][Index(q * m_r)] = caption;
        rowMerges->SetFusion(H + q * m_r, 0, Span(m_r - 1));
        if (m_calculationLevel)
            for (int c = 0; c < m_r; ++c)
                rowLabels[1][Index(q * m_r + c)] = rowCalculations[Index(c)].get();
    }

    void LabelColumns(const std::vector<std::unique_ptr<CLigne>>& modalities, const Calculs& rowCalculations,
                      const Calculs& columnCalculations) {
        for (int k = 0; k < m_modalities; ++k) {
            const CLigne* label = Index(k) < modalities.size() ? modalities[Index(k)].get() : nullptr;
            if (m_byLines) {
                columnLabels[0][Index(k)] = label;
                continue;
            }
            if (m_r == 0)
                continue;
            columnLabels[0][Index(k * m_r)] = label;
            columnMerges->SetFusion(0, V + k * m_r, Span(m_r - 1));
            if (m_calculationLevel)
                for (int c = 0; c < m_r; ++c)
                    columnLabels[1][Index(k * m_r + c)] = rowCalculations[Index(c)].get();
        }
        for (int i = 0; i < m_s; ++i) {
            columnLabels[0][Index(StatisticColumn(i))] = columnCalculations[Index(i)].get();
            if (!m_byLines)
                rowMerges->SetFusion(0, V + StatisticColumn(i), Span(H - 1));
        }
    }

    // A statistic of a question stands once beside its lines.
    void MergeStatistics(int q) {
        if (!m_byLines)
            return;
        for (int i = 0; i < m_s; ++i)
            rowMerges->SetFusion(H + StatisticRow(q), V + StatisticColumn(i), Span(m_r - 1));
    }

    // Thin lines part the values of one question (by lines) or of one modality (by columns);
    // normal lines part the questions, or the modalities.
    void DrawLines() {
        for (int q = 0; q < m_questions; ++q)
            for (int c = 1; c < m_r; ++c)
                for (int k = 0; k < m_modalities; ++k) {
                    if (m_byLines)
                        lineMarks->SetMarqueColonne(H + q * m_r + c, V + k, kThinLine);
                    else
                        lineMarks->SetMarqueLigne(H + q, V + k * m_r + c, kThinLine);
                }
        CFusion::FusionnerCoinEnTete(*rowMerges, *columnMerges, H, V);
    }

    int H = 1;
    int V = 1;
    int R = 0;
    int C = 0;
    std::vector<double> cells;
    std::vector<std::uint16_t> markers;
    NiveauxLibelles rowLabels;
    NiveauxLibelles columnLabels;
    std::unique_ptr<CFusion> rowMerges;
    std::unique_ptr<CFusion> columnMerges;
    std::unique_ptr<CMatriceCreuse> lineMarks;

private:
    bool m_byLines;
    bool m_calculationLevel;
    int m_questions;
    int m_modalities;
    int m_r;
    int m_s;
};

// Whether the weights of the request's units can be formed; the reason in `error` when not.
bool WeightsAvailable(CMoteurTableau& engine, const CTraitement& request, std::string& error) {
    CVecteurPoids* weights = nullptr;
    const bool available = engine.DonnerPoidsInterviews(request.level, request.studyFieldId,
                                                        request.weightingId, weights, error);
    engine.LibererPoids(request.level, request.studyFieldId, request.weightingId, weights);
    return available;
}

} // namespace

void CExecuteurTraitement::CalculerComparaisonModalites(std::unique_ptr<CTraitement> request) {
    const std::vector<Message> faults = ProfileChecks::FaultsOf(
        GetContexte(), request->GetProfilAxe(CTraitement::kLignes), CTraitement::kAxeProfilFermees);
    if (!ProfileChecks::ShowFaults(GetContexte().GetUserInterface(), faults))
        return;
    {
        std::vector<std::unique_ptr<CProfil>> parts;
        if (DecoupageProfils::DecouperProfilSeparateurs(*request->GetProfilAxe(CTraitement::kLignes),
                                                        parts)) {
            for (const auto& part : parts) {
                auto copy = std::make_unique<CTraitement>(*request);
                copy->SetProfilAxe(part.get(), CTraitement::kLignes);
                Calculer(std::move(copy));
            }
            return;
        }
    }
    CProfil profile(*request->GetProfilAxe(CTraitement::kLignes));
    profile.RemoveSeparators();
    CMoteurTableau engine(GetContexte());
    const ProfileLine first = ProfileLine::Donner(engine, profile, 0);
    const Calculs& rowCalculations = request->GetCalculsLignes();
    const Calculs& columnCalculations = request->GetCalculsColonnes();
    Comparison table(*request, profile.GetCount(), first.SelectedCount());

    std::string error;
    if (!WeightsAvailable(engine, *request, error)) {
        SignalerErreur(error);
        return;
    }
    std::vector<std::unique_ptr<CLigne>> labels;
    std::vector<std::unique_ptr<CLigne>> modalityLabels;
    for (const auto& modality : first.selected)
        modalityLabels.push_back(std::make_unique<CLigne>(*modality));
    table.LabelColumns(modalityLabels, rowCalculations, columnCalculations);
    // Each reason a question's statistics are missing, told once.
    std::set<std::string> unreadable;
    std::vector<std::string> unreadableInOrder;
    double base = 0.0;
    for (int q = 0; q < profile.GetCount(); ++q) {
        const ProfileLine line = ProfileLine::Donner(engine, profile, q);
        labels.push_back(std::make_unique<CLigne>(line.question->GetCaption()));
        table.LabelQuestion(q, labels.back().get(), rowCalculations);
        std::vector<double> counts;
        double respondents = 0.0;
        double units = 0.0;
        if (!engine.CompterModalites(*line.question, counts, respondents, units, line.map, request->level,
                                     request->studyFieldId, request->weightingId, error)) {
            SignalerErreur(error);
            return;
        }
        base = std::max(base, respondents);
        std::vector<double> values;
        engine.CalculerValeursTri(values, counts, respondents, units, line.SelectedCount(),
                                  line.modalityCount, line.map, line.totalPosition, line.nonResponsePosition);
        // A question that offers fewer modalities than the first leaves the others empty.
        for (int k = 0; k < std::min(first.SelectedCount(), line.SelectedCount()); ++k)
            for (int c = 0; c < Count(rowCalculations.size()); ++c) {
                const std::int32_t code = rowCalculations[Index(c)]->code;
                table.Set(table.FlatRow(q, c), table.FlatColumn(k, c),
                          ValueOf(values, line.sources[Index(k)], kFlatValues, code),
                          ValeursDerivees::MarqueCalculTri(code));
            }
        if (columnCalculations.empty())
            continue;
        NumericStatistics::Statistics statistics{};
        double totalWeight = 0.0;
        std::string statisticsError;
        if (!engine.CalculerStatistiquesQuestion(*line.question, request->level, request->studyFieldId,
                                                 request->weightingId, statistics, totalWeight,
                                                 statisticsError)) {
            statistics.fill(kMissing);
            if (unreadable.insert(statisticsError).second)
                unreadableInOrder.push_back(statisticsError);
        }
        for (int i = 0; i < Count(columnCalculations.size()); ++i) {
            const std::int32_t code = columnCalculations[Index(i)]->code;
            table.Set(table.StatisticRow(q), table.StatisticColumn(i),
                      ValueOf(statistics, 0, NumericStatistics::kStatisticCount, code),
                      ValeursDerivees::MarqueCalculStatistique(code));
        }
        table.MergeStatistics(q);
    }
    table.DrawLines();
    ConstruireTableau(table.H, table.V, table.R, table.C, table.cells, table.markers, table.rowLabels,
                      table.columnLabels, std::move(table.rowMerges), std::move(table.columnMerges),
                      std::move(table.lineMarks), base, CTableauBase::kMarqueParCellule, std::move(request));
    for (const std::string& reason : unreadableInOrder)
        SignalerErreur(reason);
}
