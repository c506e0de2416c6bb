// The raking as it was written first, one interview at a time with fresh vectors at every step:
// kept for the tests only, as the reference the faster computation must agree with.
#include "ReferenceRaking.h"

#include <cmath>
#include <cstdint>
#include <fstream>
#include <memory>
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

// A target of the run, in pre-order of the scheme, with what the preparation gives it.
struct PreparedTarget {
    const CObjectifRedressement* target = nullptr;
    const CQuestionEtendue* question = nullptr;
    std::vector<std::int16_t> codes;  // one modality index per interview; empty without question
    std::vector<double> desiredShare;   // desired percentage × 0.01, per modality
    std::vector<double> desiredPercent; // desired percentage, per modality
    double share = 0.0;               // s: population size / n (the size itself without question)
    double total = 0.0;               // N_t
    std::size_t population = 0;       // its nearest population node's interviews
    std::size_t subtreeEnd = 0;       // index just past its prepared subtree

    int Modalities() const { return static_cast<int>(desiredShare.size()); }
    // The modality index of interview i, or -1 when it answers none the target knows.
    int Code(std::int32_t i) const {
        const int code = codes[static_cast<std::size_t>(i)];
        return code >= 0 && code < Modalities() ? code : -1;
    }
};

class RakingRun {
public:
    RakingRun(CContexteEtude& context, const CRedressement& scheme)
        : m_context(context), m_scheme(scheme), m_access(context, true), m_n(context.DonnerNbreInterviews()) {}

    bool Run(int levelIndex, CVecteurDouble& out, std::string& error);

private:
    bool Fail(std::string text) {
        m_error = std::move(text);
        return false;
    }
    bool ReadInitialValues(std::vector<double>& values);
    double TotalToReach(const std::vector<double>& initialValues) const;
    bool Prepare(const CObjectifRedressement& target, const std::vector<std::uint8_t>& excluded, double populationSize,
                 double total, std::size_t population);
    bool ReadCodes(PreparedTarget& prepared);
    bool CheckTargets() const;
    std::vector<double> StartingWeights(const std::vector<double>& initialValues, double total) const;
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
    std::vector<std::vector<std::int32_t>> m_populations;
    int m_questionTargets = 0;
    std::vector<double> m_weights;
    double m_minWeight = 0.0;
    double m_maxWeight = 0.0;
    std::ofstream m_report;
    std::string m_error;
};

bool RakingRun::ReadInitialValues(std::vector<double>& values) {
    CQuestionEtendue* question = m_scheme.initialWeightQuestion;
    if (question == nullptr)
        return true;
    CVecteurDouble read;
    if (!m_access.LireValeursNumeriquesNiveau(*question, 0, read))
        return Fail(m_access.GetErrorText());
    if (read.GetSize() != m_n)
        return Fail("La question de poids initial '" + question->GetCaption() + "' n'a pas une valeur par interview");
    values.resize(static_cast<std::size_t>(m_n));
    for (std::int32_t i = 0; i < m_n; ++i) {
        const double value = read.GetAt(i);
        // A missing answer weighs nothing; any other negative value is an error in the data.
        if (value == CVecteurDouble::kNoAnswer || value == CVecteurDouble::kNotAsked)
            values[static_cast<std::size_t>(i)] = 0.0;
        else if (!std::isfinite(value) || value < 0.0)
            return Fail("La question de poids initial '" + question->GetCaption() +
                        "' a des valeurs négatives : elle ne peut pas servir de poids");
        else
            values[static_cast<std::size_t>(i)] = value;
    }
    double sum = 0.0;
    for (double value : values)
        sum += value;
    if (sum <= 0.0)
        return Fail("Les poids initiaux donnés par la question '" + question->GetCaption() +
                    "' sont tous nuls : le redressement ne peut pas être calculé");
    return true;
}

double RakingRun::TotalToReach(const std::vector<double>& initialValues) const {
    double total = m_scheme.NTotal;
    if (total == 0.0) {
        if (initialValues.empty())
            total = m_n;
        else
            for (double value : initialValues)
                total += value;
    }
    return total == 0.0 ? 1.0 : total;
}

bool RakingRun::ReadCodes(PreparedTarget& prepared) {
    CQuestionEtendue& question = *const_cast<CQuestionEtendue*>(prepared.question);
    CQuestionNiveau* interviews = m_context.DonnerNiveau(0);
    if (question.level != 0)
        return Fail("La question '" + question.GetCaption() + "' n'est pas compatible avec le niveau '" +
                    (interviews != nullptr ? interviews->GetCaption() : std::string("Interviews")) + "'");
    CMatriceCodes matrix;
    if (!m_access.LireReponsesFermeesNiveau(question, 0, matrix))
        return Fail(m_access.GetErrorText());
    if (matrix.GetNbLignes() != m_n || matrix.GetNbColonnes() < 1)
        return Fail("La question '" + question.GetCaption() + "' n'a pas une réponse par interview");
    prepared.codes.resize(static_cast<std::size_t>(m_n));
    for (std::int32_t i = 0; i < m_n; ++i)
        prepared.codes[static_cast<std::size_t>(i)] = matrix.GetAt(i, 0);
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

std::vector<double> RakingRun::StartingWeights(const std::vector<double>& initialValues, double total) const {
    if (initialValues.empty())
        return std::vector<double>(static_cast<std::size_t>(m_n), total / m_n);
    double sum = 0.0;
    for (double value : initialValues)
        sum += value;
    std::vector<double> weights = initialValues;
    for (double& weight : weights)
        weight *= total / sum;
    return weights;
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
            observed[static_cast<std::size_t>(code)] += m_weights[static_cast<std::size_t>(i)];
            sum += m_weights[static_cast<std::size_t>(i)];
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
            observed[static_cast<std::size_t>(code)] += weight;
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
            shortfall += m_minWeight - weight;
        else if (weight <= m_maxWeight)
            inRange += weight;
        else
            excess += weight - m_maxWeight;
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
        reached += weight;
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
    CVecteurDouble interviews(m_n);
    for (std::int32_t i = 0; i < m_n; ++i)
        interviews.SetAt(i, m_weights[static_cast<std::size_t>(i)]);
    if (levelIndex == 0) {
        out = interviews;
        return true;
    }
    CQuestionNiveau* level = m_context.DonnerNiveau(levelIndex);
    if (level == nullptr)
        return Fail("Le niveau " + std::to_string(levelIndex) + " n'existe pas");
    std::string error;
    if (!level->ChargerEffectifs(m_context, levelIndex, error))
        return Fail(error);
    CVecteurDouble carried;
    if (!level->TransfererValeurs(interviews, carried, 0, levelIndex))
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
        std::vector<double> initialValues;
        if (!ReadInitialValues(initialValues))
            return false;
        const double total = TotalToReach(initialValues);
        m_minWeight = m_context.MinWeight * total / m_n;
        m_maxWeight = m_context.MaxWeight * total / m_n;
        if (!Prepare(*m_scheme.GetRacine(), std::vector<std::uint8_t>(static_cast<std::size_t>(m_n), 0), m_n, total,
                     0) ||
            !CheckTargets())
            return false;
        m_weights = StartingWeights(initialValues, total);

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

bool CalculerRedressementReference(std::int32_t weightingId, int levelIndex, CVecteurDouble& weights, std::string& errorText,
                          CContexteEtude& context) {
    CRedressement scheme;
    if (!context.DonnerRedressement(weightingId, scheme)) {
        errorText = "Le redressement " + std::to_string(weightingId) + " n'existe pas";
        return false;
    }
    scheme.LireValeurs(context);
    return RakingRun(context, scheme).Run(levelIndex, weights, errorText);
}
