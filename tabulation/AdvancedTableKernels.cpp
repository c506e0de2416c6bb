#include "tabulation/AdvancedTableKernels.h"

#include "tabulation/MoteurTableau.h"

bool AdvancedTableKernels::Croiser(CQuestionEtendue& rowQuestion, CQuestionEtendue& columnQuestion,
                                   std::vector<double>& matrix, double& total, const std::vector<std::uint16_t>& rowMap,
                                   const std::vector<std::uint16_t>& columnMap, const Sample& sample,
                                   std::string& error) {
    return m_engine.CroiserModalites(rowQuestion, columnQuestion, matrix, total, rowMap, columnMap, sample.level,
                                     sample.studyField, sample.weighting, error);
}

bool AdvancedTableKernels::Compter(CQuestionEtendue& question, std::vector<double>& counts, double& respondents,
                                   double& total, const std::vector<std::uint16_t>& map, const Sample& sample,
                                   std::string& error) {
    return m_engine.CompterModalites(question, counts, respondents, total, map, sample.level, sample.studyField,
                                     sample.weighting, error);
}

bool AdvancedTableKernels::MoyennesModalites(CQuestionEtendue& closedQuestion, CQuestionEtendue& numericQuestion,
                                             std::vector<double>& records, double& total,
                                             const std::vector<std::uint16_t>& map, const Sample& sample,
                                             std::string& error) {
    return m_engine.CalculerMoyennesModalites(closedQuestion, numericQuestion, records, total, map, sample.level,
                                              sample.studyField, sample.weighting, error);
}

bool AdvancedTableKernels::StatistiquesQuestion(CQuestionEtendue& question, const Sample& sample,
                                                NumericStatistics::Statistics& record, double& totalWeight,
                                                std::string& error) {
    return m_engine.CalculerStatistiquesQuestion(question, sample.level, sample.studyField, sample.weighting, record,
                                                 totalWeight, error);
}
