#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "tabulation/NumericStatistics.h"

class CContexteEtude;
class CDataAccess;
class CLigne;
class CMatriceCodes;
class CModaliteEtendue;
class CProfil;
class CQuestionEtendue;
class CRecodageModalite;
class CVecteurDouble;
class CVecteurPoids;

// The computing core under every table: maps a question's modalities onto the lines of a table
// axis, builds the weight of each unit of a level from the study field and the weighting, and
// accumulates weighted counts of one question, of one question by answer position, of a grouped
// question and of a pair of questions.
//
// Every counting kernel takes (level index, study-field id or -1, weighting id or -1, error text)
// and answers true on success; on failure the error text holds the reading layer's, the level's,
// the study field's or the weighting's message and the outputs are left empty. Answer cells are
// modality indexes; empty cells (-5) and modalities whose map entry is kNotKept are skipped.
class CMoteurTableau {
public:
    static constexpr std::uint16_t kNotKept = 0xFFFF;
    // Per level, one byte per unit: 1 once the unit answered a counted pair of a cross.
    using MarquesRepondants = std::map<int, std::vector<std::uint8_t>>;

    explicit CMoteurTableau(CContexteEtude& context);
    CMoteurTableau(const CMoteurTableau&) = delete;
    CMoteurTableau& operator=(const CMoteurTableau&) = delete;
    virtual ~CMoteurTableau();

    // ---- Modality maps ----
    // The question's modality codes, and for each modality the position of the first axis line
    // built from a modality that carries its code (kNotKept when none). The Total and
    // non-response positions are those of the last such line of code -4, respectively -1;
    // kNotKept when absent.
    void DonnerCorrespondanceModalites(const CQuestionEtendue& question, const std::vector<std::unique_ptr<CLigne>>& lines,
                                       int& count, std::vector<std::int32_t>& codes, std::vector<std::uint16_t>& map,
                                       std::uint16_t& totalPosition, std::uint16_t& nonResponsePosition) const;
    // The same for line `subProfile` of a profile: the question's full modality list gives count
    // and codes, the positions are those of the line's selected modalities (copies given back in
    // `selected`); Total and non-response positions are the last selected entries of code -4 and
    // -1, -1 when absent. A separator gives a null question and empty outputs.
    void DonnerIndexModalites(const CProfil& profile, int subProfile, CQuestionEtendue*& question, int& count,
                              std::vector<std::int32_t>& codes, std::vector<std::uint16_t>& map, int& totalPosition,
                              int& nonResponsePosition, int& selectedCount,
                              std::vector<std::unique_ptr<CModaliteEtendue>>& selected) const;

    // ---- Weights ----
    // The weight of every unit of the level under the study field and the weighting, borrowed
    // from the survey's weight cache: give it back with LibererPoids. A weighting is computed
    // once per level (kept under study field -1) and reused for every study field; the plain
    // vector of ones is never kept. Weights whose raking did not converge are noted in the
    // survey's WeightingNotes, whether computed now or taken from the cache.
    bool DonnerPoidsInterviews(int level, std::int32_t studyField, std::int32_t weighting, CVecteurPoids*& out,
                               std::string& error);
    void LibererPoids(int level, std::int32_t studyField, std::int32_t weighting, const CVecteurPoids* weights);

    // ---- Counts ----
    // One closed question, n modalities: counts gets 2n doubles, the weighted counts by modality
    // then the unweighted ones. Respondents weigh the units with at least one kept answer; total
    // every unit of the filter (one byte per unit, null for all units).
    bool CompterModalites(CQuestionEtendue& question, std::vector<double>& counts, double& respondents, double& total,
                          const std::vector<std::uint16_t>& map, int level, std::int32_t studyField,
                          std::int32_t weighting, std::string& error,
                          const std::vector<std::uint8_t>* unitFilter = nullptr);
    // One closed question by answer position: n x s doubles, cell (m, j) at m * s + j, s the
    // question's number of answer positions.
    bool CompterRangs(CQuestionEtendue& question, std::vector<double>& counts, const std::vector<std::uint16_t>& map,
                      double& respondents, int level, std::int32_t studyField, std::int32_t weighting,
                      std::string& error);
    // The question read through the grouping, counted by the groups of group level k (every
    // group kept, no unweighted counts). A recoded question is read through its source question,
    // whose codes the grouping's nodes carry.
    bool CompterGroupes(CQuestionEtendue& question, const CRecodageModalite& grouping, int groupLevel,
                        std::vector<double>& counts, double& respondents, double& total, int level,
                        std::int32_t studyField, std::int32_t weighting, std::string& error);
    // Two closed questions: an (r+1) x (c+1) matrix, cell (a, b) at a * (c+1) + b, row r and
    // column c the margins, cell (r, c) the total. Only units with at least one kept pair count.
    bool CroiserModalites(CQuestionEtendue& rowQuestion, CQuestionEtendue& columnQuestion, std::vector<double>& matrix,
                          double& total, const std::vector<std::uint16_t>& rowMap,
                          const std::vector<std::uint16_t>& columnMap, int level, std::int32_t studyField,
                          std::int32_t weighting, std::string& error, MarquesRepondants* respondentMarks = nullptr);
    // The groups of level k of a grouped row question against a closed column question: a
    // (G+1) x (c+1) matrix shaped as CroiserModalites'.
    bool CroiserGroupes(CQuestionEtendue& rowQuestion, CQuestionEtendue& columnQuestion,
                        const CRecodageModalite& grouping, int groupLevel, std::vector<double>& matrix, double& total,
                        const std::vector<std::uint16_t>& columnMap, int level, std::int32_t studyField,
                        std::int32_t weighting, std::string& error);

    // ---- Values of a flat table ----
    // Ten values per line (line i's value k at i * kFlatValueCount + k) from the counts of
    // CompterModalites: count, percentage of respondents, cumulative percentage, percentage of
    // respondents less non-response, percentage of answers, percentage of all units, the two
    // confidence bounds of the percentage, mean weight and 100. A share whose base weighs nothing
    // is the missing value, never NaN; the Total line (when inside the table) gets its own values.
    // Positions outside [0, lineCount) mean "no such line".
    static constexpr int kFlatValueCount = 10;
    void CalculerValeursTri(std::vector<double>& values, std::span<const double> counts, double respondents,
                            double total, int lineCount, int modalityCount, std::span<const std::uint16_t> map,
                            int totalPosition, int nonResponsePosition) const;

    // ---- Cross-table planes, with the study context's significance settings ----
    // See CrossPlanes: maps are signed, -1 for a modality not kept.
    void CalculerPourcentages(std::vector<double>& planes, std::span<const double> matrix, int lineCount,
                              int rowModalityCount, std::span<const std::int16_t> rowMap, int totalLine,
                              int columnCount, int columnModalityCount, std::span<const std::int16_t> columnMap,
                              int totalColumn) const;
    void CalculerPourcentagesReponses(std::vector<double>& planes, std::span<const double> matrix, int lineCount,
                                      int rowModalityCount, std::span<const std::int16_t> rowMap, int totalLine,
                                      int columnCount, int columnModalityCount,
                                      std::span<const std::int16_t> columnMap, int totalColumn) const;
    static void CalculerKhiDeux(std::span<const double> planes, int lineCount, int columnCount, int excludedLine,
                                int excludedColumn, double& chiSquare, int& degreesOfFreedom, double& probability);

    // ---- Numeric statistics ----
    // The fourteen statistics of a numeric question's values at the level, under the study field
    // and the weighting; totalWeight weighs the kept values and the non-responses. On failure the
    // record holds missing values, totalWeight is 0 and the error text says why.
    bool CalculerStatistiquesQuestion(CQuestionEtendue& question, int level, std::int32_t studyField,
                                      std::int32_t weighting, NumericStatistics::Statistics& record,
                                      double& totalWeight, std::string& error);
    // The eleven statistics of the numeric question within each modality of the closed question
    // kept by the map, (r + 1) x 11 doubles with the Total record last; total weighs the units with
    // a kept answer, whose respondent marks at the level are set when marks are given.
    bool CalculerMoyennesModalites(CQuestionEtendue& closedQuestion, CQuestionEtendue& numericQuestion,
                                   std::vector<double>& records, double& total, const std::vector<std::uint16_t>& map,
                                   int level, std::int32_t studyField, std::int32_t weighting, std::string& error,
                                   MarquesRepondants* respondentMarks = nullptr);

    // The cell marker kind of a cross-table plane: 0 count, 1 percentage, 3 significance symbol,
    // 2 real.
    static int DonnerTypeMarqueur(int plane);

private:
    class BorrowedWeights;
    class Answers;

    bool ReadClosed(CDataAccess& access, CQuestionEtendue& question, int level, Answers& out, std::string& error);
    bool ReadGrouped(CDataAccess& access, CQuestionEtendue& question, const CRecodageModalite& grouping,
                     int groupLevel, int level, CMatriceCodes& out, std::string& error);
    bool ReadNumeric(CDataAccess& access, CQuestionEtendue& question, int level, CVecteurDouble& out,
                     std::string& error);
    bool ComputeWeighting(std::int32_t weighting, int level, CVecteurPoids& weights, std::string& error);
    // Tells the request's notes that these weights of the weighting did not converge, if so.
    void NoteNonConvergence(std::int32_t weighting, const CVecteurPoids& weights, bool shown);

    CContexteEtude& m_context;
};
