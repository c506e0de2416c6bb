#pragma once

#include <compare>
#include <cstdint>
#include <string>
#include <vector>

#include "tabulation/NumericStatistics.h"

class CMoteurTableau;
class CQuestionEtendue;

// The four counts an advanced table asks of the counting kernels, each on a sample of its own
// (the level, study field and weighting of a calculation line of the style): the cross of two
// questions, the counts of one question, the means of a question within the modalities of
// another, and the statistics of one question. Each forwards to the table engine; the table
// makes each count once per distinct sample, and whoever needs to watch how often a count is made
// (a benchmark, a test) derives from this class and calls the base.
class AdvancedTableKernels {
public:
    // Where a count is made: the level index, the study field (-1 all interviews) and the
    // weighting (-1 none).
    struct Sample {
        int level = 0;
        std::int32_t studyField = -1;
        std::int32_t weighting = -1;

        auto operator<=>(const Sample&) const = default;
    };

    explicit AdvancedTableKernels(CMoteurTableau& engine) : m_engine(engine) {}
    AdvancedTableKernels(const AdvancedTableKernels&) = delete;
    AdvancedTableKernels& operator=(const AdvancedTableKernels&) = delete;
    virtual ~AdvancedTableKernels() = default;

    // CMoteurTableau::CroiserModalites on the sample.
    virtual bool Croiser(CQuestionEtendue& rowQuestion, CQuestionEtendue& columnQuestion, std::vector<double>& matrix,
                         double& total, const std::vector<std::uint16_t>& rowMap,
                         const std::vector<std::uint16_t>& columnMap, const Sample& sample, std::string& error);
    // CMoteurTableau::CompterModalites on the sample, every unit of it.
    virtual bool Compter(CQuestionEtendue& question, std::vector<double>& counts, double& respondents, double& total,
                         const std::vector<std::uint16_t>& map, const Sample& sample, std::string& error);
    // CMoteurTableau::CalculerMoyennesModalites on the sample.
    virtual bool MoyennesModalites(CQuestionEtendue& closedQuestion, CQuestionEtendue& numericQuestion,
                                   std::vector<double>& records, double& total, const std::vector<std::uint16_t>& map,
                                   const Sample& sample, std::string& error);
    // CMoteurTableau::CalculerStatistiquesQuestion on the sample.
    virtual bool StatistiquesQuestion(CQuestionEtendue& question, const Sample& sample,
                                      NumericStatistics::Statistics& record, double& totalWeight, std::string& error);

    CMoteurTableau& Engine() const { return m_engine; }

private:
    CMoteurTableau& m_engine;
};
