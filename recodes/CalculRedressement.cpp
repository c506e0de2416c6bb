#include "recodes/CalculRedressement.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "app/ContexteEtude.h"
#include "app/DataAccess.h"
#include "app/MatriceCodes.h"
#include "app/QuestionNiveau.h"
#include "app/Redressement.h"
#include "app/Registre.h"
#include "app/VecteurDouble.h"
#include "platform/questionnaire/StaticTools.h"
#include "recodes/ObjectifRedressement.h"

namespace {

constexpr double kMissingShare = -999999.99; // a share of an empty total
constexpr const char* kReportSection = "Weighting";
constexpr const char* kReportKey = "RakingReport";

std::string Number(double value) { return CStaticTools::FormatG(value, 16); }

// A name that is safe inside a file name on every system: separators, reserved and control
// characters become '_'.
std::string SafeFileName(const std::string& name) {
    std::string safe;
    for (unsigned char c : name)
        safe += (c < 0x20 || std::string_view("/\\:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos)
                    ? '_'
                    : static_cast<char>(c);
    const bool usable = !safe.empty() && safe != "." && safe != "..";
    return usable ? safe : std::string(1, '_');
}

// More combinations of answers than this and the run weighs every interview on its own.
constexpr std::uint64_t kMostCombinations = std::uint64_t{1} << 20;

bool IsMissing(double value) { return value == CVecteurDouble::kNoAnswer || value == CVecteurDouble::kNotAsked; }

// Whether a target of the subtree adjusts on a question (children that the run would not visit
// count too: the answer only decides whether the run has anything to iterate on).
bool HasQuestionTarget(const CObjectifRedressement& target) {
    if (target.GetQuestion() != nullptr)
        return true;
    for (int c = 0; c < target.DonnerNombreObjectifs(); ++c)
        if (const CObjectifRedressement* child = target.DonnerObjectif(c); child != nullptr && HasQuestionTarget(*child))
            return true;
    return false;
}

// A target of the run, in pre-order of the scheme, with what the preparation gives it. The run
// weighs units: the interviews themselves, or cells of interviews that answer every question of
// the scheme alike and start with the same weight (they keep sharing it at every step).
struct PreparedTarget {
    const CObjectifRedressement* target = nullptr;
    const CQuestionEtendue* question = nullptr;
    std::vector<std::int16_t> codes;  // one modality index per unit; empty without question
    std::vector<double> desiredShare;   // desired percentage × 0.01, per modality
    std::vector<double> desiredPercent; // desired percentage, per modality
    double share = 0.0;               // s: population size / n (the size itself without question)
    double total = 0.0;               // N_t
    std::size_t population = 0;       // its nearest population node's units
    std::size_t subtreeEnd = 0;       // index just past its prepared subtree

    int Modalities() const { return static_cast<int>(desiredShare.size()); }
    // The modality index of unit i, or -1 when it answers none the target knows.
    int Code(std::int32_t i) const {
        const int code = codes[static_cast<std::size_t>(i)];
        return code >= 0 && code < Modalities() ? code : -1;
    }
};

class RakingRun {
public:
    RakingRun(CContexteEtude& context, const CRedressement& scheme)
        : m_context(context), m_scheme(scheme), m_access(context, true), m_n(context.DonnerNbreInterviews()) {}
    RakingRun(const RakingRun&) = delete;
    RakingRun& operator=(const RakingRun&) = delete;
    ~RakingRun() {
        if (m_borrowedInitial != nullptr)
            m_access.MemoriserValeursNumeriques(*m_scheme.initialWeightQuestion, m_borrowedInitial);
    }

    bool Run(int levelIndex, CVecteurDouble& out, std::string& error);

private:
    bool Fail(std::string text) {
        m_error = std::move(text);
        return false;
    }
    bool ReadInitialValues();
    double TotalToReach() const;
    bool Prepare(const CObjectifRedressement& target, const std::vector<std::uint8_t>& excluded, double populationSize,
                 double total, std::size_t population);
    bool ReadCodes(PreparedTarget& prepared);
    bool CheckTargets() const;
    void GroupIntoCells();
    void StartWeights(int levelIndex, CVecteurDouble& out, double total);
    double Count(std::int32_t unit) const {
        return m_unitCounts.empty() ? 1.0 : m_unitCounts[static_cast<std::size_t>(unit)];
    }
    void OpenReport();
    void Write(const std::string& text) {
        if (m_report.is_open())
            m_report << text;
    }
    double Deviation(const PreparedTarget& target) const;
    std::vector<double> Margins(const PreparedTarget& target, double& sum) const;
    void Adjust(const PreparedTarget& target);
    std::string MarginsTable() const;
    bool Carry(int levelIndex, CVecteurDouble& out);

    CContexteEtude& m_context;
    const CRedressement& m_scheme;
    CDataAccess m_access;
    std::int32_t m_n = 0;
    std::vector<PreparedTarget> m_targets;
    std::vector<std::vector<std::int32_t>> m_populations; // units of each population
    int m_questionTargets = 0;
    // The initial weights as read: borrowed from the answer cache for a question of the
    // interviews, read into m_ownedInitial for one of another level; null without question.
    CVecteurDouble* m_borrowedInitial = nullptr;
    CVecteurDouble m_ownedInitial;
    const CVecteurDouble* m_initial = nullptr;
    double m_initialSum = 0.0;
    // Cells: the cell of every interview and the interviews of every cell; both empty when the
    // units are the interviews.
    std::vector<std::uint32_t> m_cellOf;
    std::vector<double> m_unitCounts;
    std::vector<double> m_cellWeights;
    CVecteurDouble m_interviewWeights; // the interviews' weights of a run for another level
    std::span<double> m_weights;       // one weight per unit
    double m_minWeight = 0.0;
    double m_maxWeight = 0.0;
    std::ofstream m_report;
    std::string m_error;
};

bool RakingRun::ReadInitialValues() {
    CQuestionEtendue* question = m_scheme.initialWeightQuestion;
    if (question == nullptr)
        return true;
    if (question->level == 0) {
        if (!m_access.LireValeursNumeriques(*question, m_borrowedInitial))
            return Fail(m_access.GetErrorText());
        m_initial = m_borrowedInitial;
    } else {
        if (!m_access.LireValeursNumeriquesNiveau(*question, 0, m_ownedInitial))
            return Fail(m_access.GetErrorText());
        m_initial = &m_ownedInitial;
    }
    if (m_initial->GetSize() != m_n)
        return Fail("La question de poids initial '" + question->GetCaption() + "' n'a pas une valeur par interview");
    double sum = 0.0;
    for (const double value : m_initial->Valeurs()) {
        // A missing answer weighs nothing; any other negative value is an error in the data.
        if (IsMissing(value))
            continue;
        if (!std::isfinite(value) || value < 0.0)
            return Fail("La question de poids initial '" + question->GetCaption() +
                        "' a des valeurs négatives : elle ne peut pas servir de poids");
        sum += value;
    }
    if (sum <= 0.0)
        return Fail("Les poids initiaux donnés par la question '" + question->GetCaption() +
                    "' sont tous nuls : le redressement ne peut pas être calculé");
    m_initialSum = sum;
    return true;
}

double RakingRun::TotalToReach() const {
    double total = m_scheme.NTotal;
    if (total == 0.0)
        total = m_initial == nullptr ? m_n : m_initialSum;
    return total == 0.0 ? 1.0 : total;
}

bool RakingRun::ReadCodes(PreparedTarget& prepared) {
    CQuestionEtendue& question = *const_cast<CQuestionEtendue*>(prepared.question);
    CQuestionNiveau* interviews = m_context.DonnerNiveau(0);
    if (question.level != 0)
        return Fail("La question '" + question.GetCaption() + "' n'est pas compatible avec le niveau '" +
                    (interviews != nullptr ? interviews->GetCaption() : std::string("Interviews")) + "'");
    // The answers are only read: borrowed from the answer cache, not copied.
    CMatriceCodes* matrix = nullptr;
    if (!m_access.LireReponsesFermees(question, matrix))
        return Fail(m_access.GetErrorText());
    const bool complete = matrix->GetNbLignes() == m_n && matrix->GetNbColonnes() >= 1;
    if (complete) {
        const std::int16_t* cells = matrix->DonnerCellules();
        const auto width = static_cast<std::size_t>(matrix->GetNbColonnes());
        prepared.codes.resize(static_cast<std::size_t>(m_n));
        for (std::size_t i = 0; i < prepared.codes.size(); ++i)
            prepared.codes[i] = cells[i * width];
    }
    m_access.MemoriserReponsesFermees(question, matrix);
    if (!complete)
        return Fail("La question '" + question.GetCaption() + "' n'a pas une réponse par interview");
    return true;
}

bool RakingRun::Prepare(const CObjectifRedressement& target, const std::vector<std::uint8_t>& excluded,
                        double populationSize, double total, std::size_t population) {
    const std::size_t index = m_targets.size();
    m_targets.emplace_back();
    {
        PreparedTarget& prepared = m_targets.back();
        prepared.target = &target;
        prepared.question = target.GetQuestion();
        prepared.total = total;
        for (int k = 0; k < target.DonnerNombreModalites(); ++k) {
            prepared.desiredPercent.push_back(target.DonnerPourcentageDesire(k));
            prepared.desiredShare.push_back(target.DonnerPourcentageDesire(k) * 0.01);
        }
        if (prepared.question != nullptr) {
            if (!ReadCodes(prepared))
                return false;
            prepared.share = populationSize / m_n;
            ++m_questionTargets;
        } else {
            prepared.share = populationSize;
        }
    }
    if (target.GetMode() == CObjectifRedressement::kModePopulation) {
        std::vector<std::int32_t> members;
        for (std::int32_t i = 0; i < m_n; ++i)
            if (excluded[static_cast<std::size_t>(i)] == 0)
                members.push_back(i);
        m_populations.push_back(std::move(members));
        population = m_populations.size() - 1;
        m_targets[index].population = population;
        for (int c = 0; c < target.DonnerNombreObjectifs(); ++c)
            if (!Prepare(*target.DonnerObjectif(c), excluded, populationSize, total, population))
                return false;
    } else {
        m_targets[index].population = population;
        if (target.GetMode() == CObjectifRedressement::kModeEclate) {
            for (int k = 0; k < target.DonnerNombreObjectifs(); ++k) {
                std::vector<std::uint8_t> childExcluded = excluded;
                std::int32_t excludedCount = 0;
                for (std::int32_t i = 0; i < m_n; ++i) {
                    const auto at = static_cast<std::size_t>(i);
                    const bool holdsK = !m_targets[index].codes.empty() && m_targets[index].codes[at] == k;
                    if (!holdsK)
                        childExcluded[at] = 1;
                    excludedCount += childExcluded[at] != 0 ? 1 : 0;
                }
                const double childTotal = target.DonnerPourcentageDesire(k) * total * 0.01;
                if (!Prepare(*target.DonnerObjectif(k), childExcluded, m_n - excludedCount, childTotal, population))
                    return false;
            }
        }
    }
    m_targets[index].subtreeEnd = m_targets.size();
    return true;
}

// Targets that raking could never meet are refused before it starts.
bool RakingRun::CheckTargets() const {
    for (std::size_t t = 0; t < m_targets.size(); ++t) {
        const PreparedTarget& target = m_targets[t];
        if (target.share == 0.0) {
            t = target.subtreeEnd - 1;
            continue;
        }
        if (target.question == nullptr)
            continue;
        const std::string caption = target.question->GetCaption();
        bool valid = target.target->DonnerTotalDesire() > 0.0;
        for (int k = 0; k < target.target->DonnerNombreModalites(); ++k) {
            const double value = target.target->DonnerValeurDesiree(k);
            valid = valid && std::isfinite(value) && value >= 0.0;
        }
        if (!valid)
            return const_cast<RakingRun*>(this)->Fail(
                "Les objectifs de la question '" + caption +
                "' doivent être des nombres positifs ou nuls dont la somme n'est pas nulle (100 %)");
        std::vector<bool> held(static_cast<std::size_t>(target.Modalities()), false);
        for (std::int32_t i : m_populations[target.population])
            if (const int code = target.Code(i); code >= 0)
                held[static_cast<std::size_t>(code)] = true;
        for (int k = 0; k < target.Modalities(); ++k)
            if (target.desiredShare[static_cast<std::size_t>(k)] > 0.0 && !held[static_cast<std::size_t>(k)])
                return const_cast<RakingRun*>(this)->Fail(
                    "Aucune interview ne porte la modalité '" + target.target->DonnerLibelleModalite(k) +
                    "' de la question '" + caption + "' : son objectif ne peut pas être atteint");
    }
    return true;
}

// Without initial weights every interview starts alike, so interviews answering every question
// of the scheme alike share their weight to the end: the run then weighs one cell per combination
// of answers, each counting its interviews, instead of every interview at every step.
void RakingRun::GroupIntoCells() {
    if (m_initial != nullptr)
        return;
    // Keyed on the codes as read, which also decide the populations of a split.
    std::vector<std::size_t> questionTargets;
    std::vector<std::uint64_t> radices;
    std::uint64_t combinations = 1;
    for (std::size_t t = 0; t < m_targets.size(); ++t)
        if (!m_targets[t].codes.empty()) {
            questionTargets.push_back(t);
            radices.push_back(static_cast<std::uint64_t>(std::max(m_targets[t].question->GetNbreModalite(), 0)) + 1);
            combinations *= radices.back();
            if (combinations > kMostCombinations)
                return;
        }
    constexpr std::int32_t kNoCell = -1;
    std::vector<std::int32_t> cellOfCombination(static_cast<std::size_t>(combinations), kNoCell);
    std::vector<std::int32_t> firstInterview; // of each cell
    std::vector<std::uint32_t> cellOf(static_cast<std::size_t>(m_n));
    std::vector<double> counts;
    for (std::int32_t i = 0; i < m_n; ++i) {
        std::uint64_t combination = 0;
        for (std::size_t q = 0; q < questionTargets.size(); ++q) {
            const std::int64_t digit = m_targets[questionTargets[q]].codes[static_cast<std::size_t>(i)] + 1;
            if (digit < 0 || static_cast<std::uint64_t>(digit) >= radices[q])
                return; // a code the question does not have: every interview on its own
            combination = combination * radices[q] + static_cast<std::uint64_t>(digit);
        }
        std::int32_t& cell = cellOfCombination[static_cast<std::size_t>(combination)];
        if (cell == kNoCell) {
            cell = static_cast<std::int32_t>(firstInterview.size());
            firstInterview.push_back(i);
            counts.push_back(0.0);
        }
        counts[static_cast<std::size_t>(cell)] += 1.0;
        cellOf[static_cast<std::size_t>(i)] = static_cast<std::uint32_t>(cell);
    }
    m_cellOf = std::move(cellOf);
    m_unitCounts = std::move(counts);
    for (const std::size_t t : questionTargets) {
        PreparedTarget& target = m_targets[t];
        std::vector<std::int16_t> cellCodes;
        cellCodes.reserve(firstInterview.size());
        for (const std::int32_t i : firstInterview)
            cellCodes.push_back(target.codes[static_cast<std::size_t>(i)]);
        target.codes = std::move(cellCodes);
    }
    // A population gathers whole cells: the answers that split the interviews into populations
    // are among those that make the cells. Its members are in ascending order.
    for (std::vector<std::int32_t>& members : m_populations) {
        std::vector<std::int32_t> cells;
        for (std::size_t cell = 0; cell < firstInterview.size(); ++cell)
            if (std::binary_search(members.begin(), members.end(), firstInterview[cell]))
                cells.push_back(static_cast<std::int32_t>(cell));
        members = std::move(cells);
    }
}

// The starting weights, written where the run keeps them: the cells, else the interviews' own
// vector (the one asked for when the weights are the interviews').
void RakingRun::StartWeights(int levelIndex, CVecteurDouble& out, double total) {
    if (!m_cellOf.empty()) {
        m_cellWeights.assign(m_unitCounts.size(), total / m_n);
        m_weights = m_cellWeights;
        return;
    }
    CVecteurDouble& interviews = levelIndex == 0 ? out : m_interviewWeights;
    interviews.SetSize(m_n);
    m_weights = interviews.ValeursModifiables();
    if (m_initial == nullptr) {
        std::fill(m_weights.begin(), m_weights.end(), total / m_n);
        return;
    }
    const double scale = total / m_initialSum;
    const std::span<const double> values = m_initial->Valeurs();
    for (std::size_t i = 0; i < m_weights.size(); ++i)
        m_weights[i] = IsMissing(values[i]) ? 0.0 : values[i] * scale;
}

void RakingRun::OpenReport() {
    if (!CRegistre::GetBool(kReportSection, kReportKey, false) || !m_context.CreerRepertoireInversion())
        return;
    const std::string path =
        m_context.DonnerRepertoireInversion() + "/Report of " + SafeFileName(m_scheme.name) + ".txt";
    m_report.open(path, std::ios::binary | std::ios::trunc);
}

std::vector<double> RakingRun::Margins(const PreparedTarget& target, double& sum) const {
    std::vector<double> observed(static_cast<std::size_t>(target.Modalities()), 0.0);
    sum = 0.0;
    for (std::int32_t i : m_populations[target.population])
        if (const int code = target.Code(i); code >= 0) {
            const double weight = Count(i) * m_weights[static_cast<std::size_t>(i)];
            observed[static_cast<std::size_t>(code)] += weight;
            sum += weight;
        }
    return observed;
}

double RakingRun::Deviation(const PreparedTarget& target) const {
    if (target.Modalities() == 0)
        return 0.0;
    double sum = 0.0;
    const std::vector<double> observed = Margins(target, sum);
    double chi2 = 0.0;
    for (int k = 0; k < target.Modalities(); ++k) {
        // Percentage × total / 100 keeps an exact expected count exact (30 % of 8 is 2.4).
        const double expected = target.desiredPercent[static_cast<std::size_t>(k)] * sum / 100.0;
        if (expected > 0.0) {
            const double gap = observed[static_cast<std::size_t>(k)] - expected;
            chi2 += gap * gap / expected;
        }
    }
    return chi2 / target.Modalities() / target.share;
}

void RakingRun::Adjust(const PreparedTarget& target) {
    const std::vector<std::int32_t>& members = m_populations[target.population];
    std::vector<double> observed(static_cast<std::size_t>(target.Modalities()), 0.0);
    for (std::int32_t i : members) {
        double& weight = m_weights[static_cast<std::size_t>(i)];
        if (const int code = target.Code(i); code < 0)
            weight = 0.0;
        else
            observed[static_cast<std::size_t>(code)] += Count(i) * weight;
    }
    double shortfall = 0.0;
    double inRange = 0.0;
    double excess = 0.0;
    for (std::int32_t i : members) {
        const int code = target.Code(i);
        if (code < 0 || observed[static_cast<std::size_t>(code)] == 0.0)
            continue;
        double& weight = m_weights[static_cast<std::size_t>(i)];
        weight *= target.desiredShare[static_cast<std::size_t>(code)] * target.total /
                  observed[static_cast<std::size_t>(code)];
        if (weight == 0.0)
            continue;
        if (weight < m_minWeight)
            shortfall += Count(i) * (m_minWeight - weight);
        else if (weight <= m_maxWeight)
            inRange += Count(i) * weight;
        else
            excess += Count(i) * (weight - m_maxWeight);
    }
    if (shortfall == 0.0 && excess == 0.0)
        return;
    // The clip factor adds the shortfall rather than subtracting it, as the scheme's definition has it.
    const double factor = inRange != 0.0 ? (inRange + excess + shortfall) / inRange : 1.0;
    double reached = 0.0;
    for (std::int32_t i : members) {
        double& weight = m_weights[static_cast<std::size_t>(i)];
        if (weight == 0.0)
            continue;
        weight = weight < m_minWeight ? m_minWeight : weight > m_maxWeight ? m_maxWeight : weight * factor;
        reached += Count(i) * weight;
    }
    if (reached != target.total && reached != 0.0)
        for (std::int32_t i : members)
            m_weights[static_cast<std::size_t>(i)] *= target.total / reached;
}

std::string RakingRun::MarginsTable() const {
    std::string table;
    for (std::size_t t = 0; t < m_targets.size(); ++t) {
        const PreparedTarget& target = m_targets[t];
        if (target.share == 0.0) {
            t = target.subtreeEnd - 1;
            continue;
        }
        if (target.question == nullptr)
            continue;
        double sum = 0.0;
        const std::vector<double> observed = Margins(target, sum);
        for (int k = 0; k < target.Modalities(); ++k) {
            const double share = sum != 0.0 ? observed[static_cast<std::size_t>(k)] / sum * 100.0 : kMissingShare;
            table += target.target->DonnerLibelleModalite(k) + '\t' +
                     Number(target.target->DonnerPourcentageDesire(k)) + '\t' + Number(share) + "\r\n";
        }
    }
    return table;
}

bool RakingRun::Carry(int levelIndex, CVecteurDouble& out) {
    CVecteurDouble& interviews = levelIndex == 0 ? out : m_interviewWeights;
    if (!m_cellOf.empty()) {
        interviews.SetSize(m_n);
        const std::span<double> weights = interviews.ValeursModifiables();
        for (std::size_t i = 0; i < weights.size(); ++i)
            weights[i] = m_cellWeights[m_cellOf[i]];
    }
    if (levelIndex == 0)
        return true;
    CQuestionNiveau* level = m_context.DonnerNiveau(levelIndex);
    if (level == nullptr)
        return Fail("Le niveau " + std::to_string(levelIndex) + " n'existe pas");
    std::string error;
    if (!level->ChargerEffectifs(m_context, levelIndex, error))
        return Fail(error);
    CVecteurDouble carried;
    if (!level->TransfererValeurs(m_interviewWeights, carried, 0, levelIndex))
        return Fail("Les poids ne peuvent pas être portés au niveau '" + level->GetCaption() + "'");
    out = carried;
    return true;
}

bool RakingRun::Run(int levelIndex, CVecteurDouble& out, std::string& error) {
    const bool done = [&] {
        if (m_scheme.GetRacine() == nullptr)
            return Fail("Le redressement '" + m_scheme.name + "' n'a pas d'objectifs : il ne peut pas être calculé");
        if (m_n <= 0)
            return Fail("Le redressement '" + m_scheme.name + "' ne peut pas être calculé sans interview");
        if (m_scheme.NTotal < 0.0 || !std::isfinite(m_scheme.NTotal))
            return Fail("Le nombre total du redressement '" + m_scheme.name + "' doit être positif");
        if (!ReadInitialValues())
            return false;
        const double total = TotalToReach();
        m_minWeight = m_context.MinWeight * total / m_n;
        m_maxWeight = m_context.MaxWeight * total / m_n;
        // A scheme without a question to adjust on (a weighting by a numeric question) keeps its
        // starting weights: nothing to prepare.
        if (HasQuestionTarget(*m_scheme.GetRacine())) {
            if (!Prepare(*m_scheme.GetRacine(), std::vector<std::uint8_t>(static_cast<std::size_t>(m_n), 0), m_n,
                         total, 0) ||
                !CheckTargets())
                return false;
            GroupIntoCells();
        }
        // Nothing fails past this point but carrying to another level, whose weights are apart.
        StartWeights(levelIndex, out, total);

        const int maxIterations = m_context.IterationPerQuestion * m_questionTargets;
        const double precision = std::pow(10.0, -m_context.Accuracy);
        OpenReport();
        Write("Min poids = " + Number(m_minWeight) + "\r\nMax poids = " + Number(m_maxWeight) +
              "\r\nMax nombre d'itérations=" + std::to_string(maxIterations) +
              "\r\nPrécision = 10e-" + std::to_string(m_context.Accuracy) + "\r\nIteration\tQuestion\tDeviation\r\n");

        // How often each question was adjusted, in the order first met.
        std::vector<std::pair<const CQuestionEtendue*, int>> adjustments;
        bool converged = false;
        int iteration = 0;
        do {
            const PreparedTarget* chosen = nullptr;
            double threshold = precision;
            for (std::size_t t = 0; t < m_targets.size(); ++t) {
                const PreparedTarget& target = m_targets[t];
                if (target.share == 0.0) {
                    t = target.subtreeEnd - 1;
                    continue;
                }
                if (target.question == nullptr)
                    continue;
                if (const double deviation = Deviation(target); deviation > threshold) {
                    threshold = deviation;
                    chosen = &target;
                }
            }
            if (chosen == nullptr) {
                converged = true;
                break;
            }
            Write(std::to_string(iteration + 1) + '\t' + chosen->question->name + '\t' + Number(threshold) + "\r\n");
            Adjust(*chosen);
            auto counted = adjustments.begin();
            while (counted != adjustments.end() && counted->first != chosen->question)
                ++counted;
            if (counted == adjustments.end())
                adjustments.emplace_back(chosen->question, 1);
            else
                ++counted->second;
            ++iteration;
        } while (iteration <= maxIterations);

        if (converged) {
            Write("Redressement réussi\r\n" + MarginsTable());
        } else {
            const auto* most = &adjustments.front();
            for (const auto& counted : adjustments)
                if (counted.second > most->second)
                    most = &counted;
            m_error = "Le redressement ne converge pas, probablement à cause des objectifs fixés pour la question '" +
                      most->first->GetCaption() + "'...";
            Write(m_error + "\r\n" + MarginsTable());
            m_context.GetUserInterface().ShowMessage(Message::Text(m_error), UserInterface::Icon::Warning);
        }
        return Carry(levelIndex, out);
    }();
    if (!done || !m_error.empty())
        error = m_error;
    return done;
}

} // namespace

bool CalculerRedressement(std::int32_t weightingId, int levelIndex, CVecteurDouble& weights, std::string& errorText,
                          CContexteEtude& context) {
    CRedressement scheme;
    if (!context.DonnerRedressement(weightingId, scheme)) {
        errorText = "Le redressement " + std::to_string(weightingId) + " n'existe pas";
        return false;
    }
    // Given with its targets once the reader is installed; read here when it is not.
    if (scheme.GetRacine() == nullptr)
        scheme.LireValeurs(context);
    return RakingRun(context, scheme).Run(levelIndex, weights, errorText);
}
