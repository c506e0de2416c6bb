#include "tabulation/MoteurTableau.h"

#include "app/Calcul.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <type_traits>
#include <utility>

#include "app/CacheDonnees3.h"
#include "app/Calcul.h"
#include "app/ContexteEtude.h"
#include "app/DataAccess.h"
#include "app/Ligne.h"
#include "app/MatriceCodes.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "app/QuestionNiveau.h"
#include "app/StringTable.h"
#include "app/VecteurDouble.h"
#include "app/VecteurPoids.h"
#include "recodes/AppliquerChampEtude.h"
#include "recodes/CalculRedressement.h"
#include "recodes/RecodageModalite.h"
#include "tabulation/ChunkedCount.h"
#include "tabulation/CrossPlanes.h"
#include "tabulation/FonctionsStatistiques.h"
#include "tabulation/LaneSums.h"
#include "tabulation/OneAnswerBlockCounter.h"
#include "tabulation/OneAnswerCrossCounter.h"
#include "tabulation/Profil.h"

namespace {

constexpr std::int16_t kEmpty = CMatriceCodes::kEmptyCell;
constexpr std::int32_t kNone = -1;
constexpr std::int32_t kNonResponseCode = -1;

// Whether an answer cell is counted under a map. The map's bounds are held by value, so that the
// counting loops keep them in registers: through a reference to the vector they are read again
// at every answer.
class KeptCodes {
public:
    explicit KeptCodes(const std::vector<std::uint16_t>& map) : m_entries(map.data()), m_size(map.size()) {}
    // A negative code (an empty cell) becomes a huge index: one comparison rejects it too.
    bool operator()(std::int16_t code) const {
        const auto index = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(code));
        return index < m_size && m_entries[index] != CMoteurTableau::kNotKept;
    }

private:
    const std::uint16_t* m_entries;
    std::size_t m_size;
};

inline bool IsKept(std::int16_t code, const std::vector<std::uint16_t>& map) { return KeptCodes(map)(code); }

// The kept answers of one unit's row, gathered into `kept` (emptied first).
inline void GatherKept(const std::int16_t* row, int width, const std::vector<std::uint16_t>& map,
                       std::vector<std::int16_t>& kept) {
    kept.clear();
    for (int c = 0; c < width; ++c)
        if (IsKept(row[c], map))
            kept.push_back(row[c]);
}

inline std::size_t Index(int value) { return static_cast<std::size_t>(value); }

// One unit's weight added to a line of a cross (a row modality or a group) for each of its kept
// columns that the table has, and to the line's margin at index c.
inline void AddToCrossLine(double* line, const std::vector<std::int16_t>& keptColumns, std::size_t c, double w) {
    for (const std::int16_t b : keptColumns)
        if (Index(b) < c)
            line[Index(b)] += w;
    line[c] += w;
}

// The same weight added once to the column margins for each of the unit's kept columns.
inline void AddToColumnMargins(double* margins, const std::vector<std::int16_t>& keptColumns, std::size_t c, double w) {
    for (const std::int16_t b : keptColumns)
        if (Index(b) < c)
            margins[Index(b)] += w;
}

} // namespace

// A weight vector borrowed from the survey's cache, given back when the kernel ends.
class CMoteurTableau::BorrowedWeights {
public:
    BorrowedWeights(CMoteurTableau& engine, int level, std::int32_t field, std::int32_t weighting)
        : m_engine(engine), m_level(level), m_field(field), m_weighting(weighting) {}
    ~BorrowedWeights() { m_engine.LibererPoids(m_level, m_field, m_weighting, m_weights); }
    BorrowedWeights(const BorrowedWeights&) = delete;
    BorrowedWeights& operator=(const BorrowedWeights&) = delete;

    bool Get(std::string& error) { return m_engine.DonnerPoidsInterviews(m_level, m_field, m_weighting, m_weights, error); }
    const CVecteurPoids& Weights() const { return *m_weights; }

private:
    CMoteurTableau& m_engine;
    int m_level;
    std::int32_t m_field;
    std::int32_t m_weighting;
    CVecteurPoids* m_weights = nullptr;
};

// The closed answers of a question at a level: borrowed from the data access when the question
// lives at that level (no copy of a large matrix), else carried down into a matrix of its own.
class CMoteurTableau::Answers {
public:
    Answers() = default;
    ~Answers() {
        if (m_borrowed != nullptr)
            m_access->MemoriserReponsesFermees(*m_question, m_borrowed);
    }
    Answers(const Answers&) = delete;
    Answers& operator=(const Answers&) = delete;

    void Borrow(CDataAccess& access, const CQuestionEtendue& question, CMatriceCodes* matrix) {
        m_access = &access;
        m_question = &question;
        m_borrowed = matrix;
    }
    CMatriceCodes& Owned() { return m_owned; }
    const CMatriceCodes& Matrix() const { return m_borrowed != nullptr ? *m_borrowed : m_owned; }

private:
    CDataAccess* m_access = nullptr;
    const CQuestionEtendue* m_question = nullptr;
    CMatriceCodes* m_borrowed = nullptr;
    CMatriceCodes m_owned;
};

CMoteurTableau::CMoteurTableau(CContexteEtude& context) : m_context(context) {}

CMoteurTableau::~CMoteurTableau() = default;

// ---- Modality maps ------------------------------------------------------------------------------

void CMoteurTableau::DonnerCorrespondanceModalites(const CQuestionEtendue& question,
                                                   const std::vector<std::unique_ptr<CLigne>>& lines, int& count,
                                                   std::vector<std::int32_t>& codes, std::vector<std::uint16_t>& map,
                                                   std::uint16_t& totalPosition,
                                                   std::uint16_t& nonResponsePosition) const {
    codes.clear();
    question.DonnerCodeModalites(codes);
    count = static_cast<int>(codes.size());
    map.assign(codes.size(), kNotKept);
    totalPosition = kNotKept;
    nonResponsePosition = kNotKept;
    for (std::size_t position = 0; position < lines.size() && position < kNotKept; ++position) {
        const CLigne* line = lines[position].get();
        // A calculation line built from a selection entry carries the modality flag too: whatever
        // its code, it stands in no modality's place.
        if (line == nullptr || line->fromModality == 0 || dynamic_cast<const CCalcul*>(line) != nullptr)
            continue;
        const auto here = static_cast<std::uint16_t>(position);
        if (line->code == CLigne::kTotalCode)
            totalPosition = here;
        if (line->code == kNonResponseCode)
            nonResponsePosition = here;
        const auto modality = std::find(codes.begin(), codes.end(), line->code);
        if (modality != codes.end() && map[Index(static_cast<int>(modality - codes.begin()))] == kNotKept)
            map[Index(static_cast<int>(modality - codes.begin()))] = here;
    }
}

void CMoteurTableau::DonnerIndexModalites(const CProfil& profile, int subProfile, CQuestionEtendue*& question,
                                          int& count, std::vector<std::int32_t>& codes,
                                          std::vector<std::uint16_t>& map, int& totalPosition,
                                          int& nonResponsePosition, int& selectedCount,
                                          std::vector<std::unique_ptr<CModaliteEtendue>>& selected) const {
    codes.clear();
    map.clear();
    selected.clear();
    count = 0;
    selectedCount = 0;
    totalPosition = -1;
    nonResponsePosition = -1;
    profile.GetAt(subProfile, question, selected);
    if (question == nullptr) {
        selected.clear();
        return;
    }
    std::vector<std::unique_ptr<CModaliteEtendue>> all;
    question->DonnerModalites(all, false);
    for (const auto& modality : all)
        codes.push_back(modality != nullptr ? modality->code : 0);
    count = static_cast<int>(codes.size());
    map.assign(codes.size(), kNotKept);
    selectedCount = static_cast<int>(selected.size());
    for (std::size_t position = 0; position < selected.size() && position < kNotKept; ++position) {
        const std::int32_t code = selected[position]->code;
        if (code == CLigne::kTotalCode)
            totalPosition = static_cast<int>(position);
        if (code == kNonResponseCode)
            nonResponsePosition = static_cast<int>(position);
        const auto modality = std::find(codes.begin(), codes.end(), code);
        if (modality != codes.end() && map[Index(static_cast<int>(modality - codes.begin()))] == kNotKept)
            map[Index(static_cast<int>(modality - codes.begin()))] = static_cast<std::uint16_t>(position);
    }
}

int CMoteurTableau::DonnerTypeMarqueur(int plane) {
    // By plane: count, three percentages, significance symbol, count, two reals.
    static constexpr std::array<int, 8> kKinds = {0, 1, 1, 1, 3, 0, 2, 2};
    return plane >= 0 && Index(plane) < kKinds.size() ? kKinds[Index(plane)] : 0;
}

// ---- Weights ------------------------------------------------------------------------------------

bool CMoteurTableau::ReadNumeric(CDataAccess& access, CQuestionEtendue& question, int level, CVecteurDouble& out,
                                 std::string& error) {
    if (access.LireValeursNumeriquesNiveau(question, level, out))
        return true;
    error = access.GetErrorText();
    return false;
}

bool CMoteurTableau::ComputeWeighting(std::int32_t weighting, int level, CVecteurPoids& weights,
                                      std::string& error) {
    error.clear();
    if (CalculerRedressement(weighting, level, weights, error, m_context)) {
        // Raking that ran to its cap still gave weights; its message (shown as it ran) stays with them.
        weights.nonConvergence = std::exchange(error, std::string());
        return true;
    }
    if (error.empty())
        error = StringTable::Format(Message(StringTable::kRedressementIndisponible, {std::to_string(weighting)}));
    return false;
}

namespace {

// A vector of n weights, in the memory of the cached vector the next addition would evict when
// there is one (its values are all overwritten), so that a session does not fault in a fresh
// vector for every table.
std::unique_ptr<CVecteurPoids> WeightVector(CCacheDonnees3& cache, int n) {
    std::unique_ptr<CObjetDonnees> evicted = cache.TakeNextEvicted();
    if (auto* reusable = dynamic_cast<CVecteurPoids*>(evicted.get())) {
        std::unique_ptr<CVecteurPoids> weights(reusable);
        evicted.release();
        weights->SetSize(n);
        weights->nonConvergence.clear();
        return weights;
    }
    return std::make_unique<CVecteurPoids>(n);
}

} // namespace

bool CMoteurTableau::DonnerPoidsInterviews(int level, std::int32_t studyField, std::int32_t weighting,
                                           CVecteurPoids*& out, std::string& error) {
    out = nullptr;
    CCacheDonnees3* cache = m_context.GetWeightCache();
    CQuestionNiveau* levelQuestion = m_context.DonnerNiveau(level);
    if (cache == nullptr || levelQuestion == nullptr) {
        error = "Le niveau " + std::to_string(level) + " n'existe pas";
        return false;
    }
    CObjetDonnees* found = nullptr;
    if (cache->Chercher(level, studyField, weighting, found)) {
        out = static_cast<CVecteurPoids*>(found);
        NoteNonConvergence(weighting, *out, false);
        return true;
    }
    if (!levelQuestion->ChargerEffectifs(m_context, level, error))
        return false;
    const int n = levelQuestion->GetNbreEnregistrements();

    // A study field under a weighting starts from the weighting's weights, kept for the other
    // fields: read from them in the pass that writes the field's weights, never copied.
    const CVecteurPoids* weighted = nullptr;
    // Whether the raking ran here, and so showed its message itself.
    bool raked = false;
    if (studyField != kNone && weighting != kNone) {
        if (cache->Chercher(level, kNone, weighting, found)) {
            weighted = static_cast<CVecteurPoids*>(found);
        } else {
            raked = true;
            std::unique_ptr<CVecteurPoids> computed = WeightVector(*cache, n);
            if (!ComputeWeighting(weighting, level, *computed, error))
                return false;
            weighted = static_cast<CVecteurPoids*>(cache->Ajouter(level, kNone, weighting, std::move(computed)));
        }
    }
    std::unique_ptr<CVecteurPoids> weights = WeightVector(*cache, n);
    bool made = true;
    if (studyField != kNone) {
        made = CalculerPoidsChampEtude(studyField, level, weighted, *weights, m_context, error);
        if (weighted != nullptr) {
            weights->nonConvergence = weighted->nonConvergence;
            cache->Liberer(level, kNone, weighting, weighted);
        }
    } else if (weighting != kNone) {
        raked = true;
        made = ComputeWeighting(weighting, level, *weights, error);
    } else {
        weights->Remplir(1.0);
    }
    if (!made)
        return false;
    const bool plain = studyField == kNone && weighting == kNone;
    CObjetDonnees* lent = plain ? cache->LendWithoutKeeping(level, studyField, weighting, std::move(weights))
                                : cache->Ajouter(level, studyField, weighting, std::move(weights));
    out = static_cast<CVecteurPoids*>(lent);
    if (out != nullptr)
        NoteNonConvergence(weighting, *out, raked);
    return out != nullptr;
}

void CMoteurTableau::NoteNonConvergence(std::int32_t weighting, const CVecteurPoids& weights, bool shown) {
    if (!weights.nonConvergence.empty())
        m_context.GetWeightingNotes().Note(weighting, weights.nonConvergence, shown);
}

void CMoteurTableau::LibererPoids(int level, std::int32_t studyField, std::int32_t weighting,
                                  const CVecteurPoids* weights) {
    CCacheDonnees3* cache = m_context.GetWeightCache();
    if (cache != nullptr && weights != nullptr)
        cache->Liberer(level, studyField, weighting, weights);
}

// ---- Reading ------------------------------------------------------------------------------------

bool CMoteurTableau::ReadClosed(CDataAccess& access, CQuestionEtendue& question, int level, Answers& out,
                                std::string& error) {
    bool read = false;
    if (question.level == level) {
        CMatriceCodes* borrowed = nullptr;
        read = access.LireReponsesFermees(question, borrowed);
        if (read)
            out.Borrow(access, question, borrowed);
    } else {
        read = access.LireReponsesFermeesNiveau(question, level, out.Owned());
    }
    if (!read)
        error = access.GetErrorText();
    return read;
}

// The question's answers with each modality replaced by the groups of group level k that hold
// it, a group written once per unit unless the grouping counts every occurrence; then carried to
// the request's level. The grouping's nodes carry the codes of the source question: a recoded
// question (the grouped question of a request) is read through its source, whose answers are
// still those codes, and not through its own recoded answers, which are already groups.
bool CMoteurTableau::ReadGrouped(CDataAccess& access, CQuestionEtendue& asked, const CRecodageModalite& grouping,
                                 int groupLevel, int level, CMatriceCodes& out, std::string& error) {
    CQuestionEtendue* source = asked.recodeId != 0 ? m_context.DonnerQuestionParente(&asked) : nullptr;
    CQuestionEtendue& question = source != nullptr ? *source : asked;
    Answers answers;
    if (!ReadClosed(access, question, question.level, answers, error))
        return false;
    const CMatriceCodes& codes = answers.Matrix();
    CMatriceCodes grouped(static_cast<std::int16_t>(std::max(codes.GetNbColonnes(), 1)));
    grouped.SetNbLignes(codes.GetNbLignes());
    const bool everyOccurrence = grouping.GetEstCumule();
    std::vector<std::int16_t> groups;
    std::vector<std::int16_t> written;
    for (int row = 0; row < codes.GetNbLignes(); ++row) {
        written.clear();
        for (int column = 0; column < codes.GetNbColonnes(); ++column) {
            const std::int16_t index = codes.GetAt(row, column);
            if (index == kEmpty)
                continue;
            groups.clear();
            grouping.DonnerGroupesDuCode(question.GetCodeModalite(index), groupLevel, groups);
            for (const std::int16_t group : groups)
                if (everyOccurrence || std::find(written.begin(), written.end(), group) == written.end())
                    written.push_back(group);
        }
        if (static_cast<int>(written.size()) > grouped.GetNbColonnes())
            grouped.SetNbColonnes(static_cast<int>(written.size()));
        for (std::size_t slot = 0; slot < written.size(); ++slot)
            grouped.SetAt(row, static_cast<int>(slot), written[slot]);
    }
    CQuestionNiveau* target = m_context.DonnerNiveau(level);
    error.clear();
    if (target == nullptr || !target->ChargerEffectifs(m_context, level, error) ||
        !target->TransfererCodes(grouped, out, question.level, level))
        return false;
    return true;
}

// ---- Counts -------------------------------------------------------------------------------------

bool CMoteurTableau::CompterModalites(CQuestionEtendue& question, std::vector<double>& counts, double& respondents,
                                      double& total, const std::vector<std::uint16_t>& map, int level,
                                      std::int32_t studyField, std::int32_t weighting, std::string& error,
                                      const std::vector<std::uint8_t>* unitFilter) {
    counts.clear();
    respondents = 0.0;
    total = 0.0;
    CDataAccess access(m_context, true);
    Answers answers;
    BorrowedWeights weights(*this, level, studyField, weighting);
    if (!ReadClosed(access, question, level, answers, error) || !weights.Get(error))
        return false;
    const auto n = static_cast<std::size_t>(question.GetNbreModalite());
    const CMatriceCodes& codes = answers.Matrix();
    const int width = codes.GetNbColonnes();
    const std::int16_t* cells = codes.DonnerCellules();
    const std::span<const double> weight = weights.Weights().Valeurs();
    const int units = std::min(codes.GetNbLignes(), static_cast<int>(weight.size()));
    const KeptCodes kept(map);
    const std::uint8_t* filter = unitFilter != nullptr ? unitFilter->data() : nullptr;
    const std::size_t filterSize = unitFilter != nullptr ? unitFilter->size() : 0;
    // By lane: the weighted counts by modality, then the unweighted ones.
    const auto countUnit = [&](LaneSums& lanes, LaneSums::Running& respondentSums, LaneSums::Running& sums, int unit,
                               auto lane, auto rowWidth) {
        if (filter != nullptr && (Index(unit) >= filterSize || filter[Index(unit)] == 0))
            return;
        const double w = weight[Index(unit)];
        // A unit outside the study field weighs 0 and adds 0 everywhere, its unweighted counts
        // too: they measure the units of the table, whose mean weight they give.
        const double unweighted = w != 0.0 ? 1.0 : 0.0;
        double* weighted = lanes.Counters(lane);
        double* unweightedCounts = weighted + n;
        const std::int16_t* row = cells + Index(unit) * Index(rowWidth);
        bool answered = false;
        for (int c = 0; c < rowWidth; ++c) {
            const std::int16_t code = row[c];
            if (!kept(code) || Index(code) >= n)
                continue;
            weighted[Index(code)] += w;
            unweightedCounts[Index(code)] += unweighted;
            answered = true;
        }
        if (answered)
            respondentSums[lane] += w;
        sums[lane] += w;
    };
    // One-answer units of an unfiltered count are taken by blocks first, where the processor
    // can; the chunk's last units, and every other count, unit by unit, in the same lanes.
    const OneAnswerBlockCounter blocks(map, n);
    const bool byBlocks = width == 1 && filter == nullptr && blocks.Applies();
    const auto countChunk = [&](LaneSums& lanes, int first, int last, auto rowWidth) {
        LaneSums::Running respondentSums{};
        LaneSums::Running sums{};
        if (byBlocks)
            first += blocks.Count(cells + Index(first), weight.data() + Index(first), last - first, lanes,
                                  respondentSums, sums);
        LaneSums::ForEachUnit(first, last, [&](int unit, auto lane) {
            countUnit(lanes, respondentSums, sums, unit, lane, rowWidth);
        });
        return std::array<double, 2>{LaneSums::Merge(respondentSums), LaneSums::Merge(sums)};
    };
    // One answer a unit, the common case, with the answer loop unrolled away.
    auto counted = width == 1 ? CountInChunks(units, 2 * n,
                                              [&](LaneSums& lanes, int first, int last) {
                                                  return countChunk(lanes, first, last,
                                                                    std::integral_constant<int, 1>{});
                                              })
                              : CountInChunks(units, 2 * n, [&](LaneSums& lanes, int first, int last) {
                                    return countChunk(lanes, first, last, width);
                                });
    respondents = counted.sums[0];
    total = counted.sums[1];
    counts = std::move(counted.counters);
    return true;
}

bool CMoteurTableau::CompterRangs(CQuestionEtendue& question, std::vector<double>& counts,
                                  const std::vector<std::uint16_t>& map, double& respondents, int level,
                                  std::int32_t studyField, std::int32_t weighting, std::string& error) {
    counts.clear();
    respondents = 0.0;
    CDataAccess access(m_context, true);
    Answers answers;
    BorrowedWeights weights(*this, level, studyField, weighting);
    if (!ReadClosed(access, question, level, answers, error) || !weights.Get(error))
        return false;
    const auto n = static_cast<std::size_t>(question.GetNbreModalite());
    const auto slots = static_cast<std::size_t>(std::max<int>(question.answerCount, 1));
    const CMatriceCodes& codes = answers.Matrix();
    const int width = codes.GetNbColonnes();
    const int counted = std::min(width, static_cast<int>(slots));
    const std::int16_t* cells = codes.DonnerCellules();
    const std::span<const double> weight = weights.Weights().Valeurs();
    const int units = std::min(codes.GetNbLignes(), static_cast<int>(weight.size()));
    const KeptCodes kept(map);
    auto ranked = CountInChunks(units, n * slots, [&](LaneSums& lanes, int first, int last) {
        LaneSums::Running respondentSums{};
        LaneSums::ForEachUnit(first, last, [&](int unit, auto lane) {
            const double w = weight[Index(unit)];
            double* result = lanes.Counters(lane);
            const std::int16_t* row = cells + Index(unit) * Index(width);
            bool answered = false;
            for (int j = 0; j < counted; ++j) {
                const std::int16_t code = row[j];
                if (!kept(code) || Index(code) >= n)
                    continue;
                result[Index(code) * slots + Index(j)] += w;
                answered = true;
            }
            if (answered)
                respondentSums[lane] += w;
        });
        return std::array<double, 1>{LaneSums::Merge(respondentSums)};
    });
    respondents = ranked.sums[0];
    counts = std::move(ranked.counters);
    return true;
}

bool CMoteurTableau::CompterGroupes(CQuestionEtendue& question, const CRecodageModalite& grouping, int groupLevel,
                                    std::vector<double>& counts, double& respondents, double& total, int level,
                                    std::int32_t studyField, std::int32_t weighting, std::string& error) {
    counts.clear();
    respondents = 0.0;
    total = 0.0;
    CDataAccess access(m_context, true);
    CMatriceCodes grouped;
    if (!ReadGrouped(access, question, grouping, groupLevel, level, grouped, error))
        return false;
    BorrowedWeights weights(*this, level, studyField, weighting);
    if (!weights.Get(error))
        return false;
    const auto groupCount = static_cast<std::size_t>(std::max(grouping.DonnerNombreGroupes(groupLevel), 0));
    const int width = grouped.GetNbColonnes();
    const std::int16_t* cells = grouped.DonnerCellules();
    const std::span<const double> weight = weights.Weights().Valeurs();
    const int units = std::min(grouped.GetNbLignes(), static_cast<int>(weight.size()));
    auto groupCounts = CountInChunks(units, groupCount, [&](LaneSums& lanes, int first, int last) {
        LaneSums::Running respondentSums{};
        LaneSums::Running sums{};
        LaneSums::ForEachUnit(first, last, [&](int unit, auto lane) {
            const double w = weight[Index(unit)];
            double* result = lanes.Counters(lane);
            const std::int16_t* row = cells + Index(unit) * Index(width);
            bool answered = false;
            for (int c = 0; c < width; ++c) {
                const std::int16_t group = row[c];
                if (group < 0 || Index(group) >= groupCount)
                    continue;
                result[Index(group)] += w;
                answered = true;
            }
            if (answered)
                respondentSums[lane] += w;
            sums[lane] += w;
        });
        return std::array<double, 2>{LaneSums::Merge(respondentSums), LaneSums::Merge(sums)};
    });
    respondents = groupCounts.sums[0];
    total = groupCounts.sums[1];
    counts = std::move(groupCounts.counters);
    return true;
}

bool CMoteurTableau::CroiserModalites(CQuestionEtendue& rowQuestion, CQuestionEtendue& columnQuestion,
                                      std::vector<double>& matrix, double& total,
                                      const std::vector<std::uint16_t>& rowMap,
                                      const std::vector<std::uint16_t>& columnMap, int level, std::int32_t studyField,
                                      std::int32_t weighting, std::string& error,
                                      MarquesRepondants* respondentMarks) {
    matrix.clear();
    total = 0.0;
    CDataAccess access(m_context, true);
    Answers rows;
    Answers columns;
    BorrowedWeights weights(*this, level, studyField, weighting);
    if (!ReadClosed(access, rowQuestion, level, rows, error) ||
        !ReadClosed(access, columnQuestion, level, columns, error) || !weights.Get(error))
        return false;
    const auto r = static_cast<std::size_t>(rowQuestion.GetNbreModalite());
    const auto c = static_cast<std::size_t>(columnQuestion.GetNbreModalite());
    const std::size_t stride = c + 1;
    const CMatriceCodes& rowCodes = rows.Matrix();
    const CMatriceCodes& columnCodes = columns.Matrix();
    const int rowWidth = rowCodes.GetNbColonnes();
    const int columnWidth = columnCodes.GetNbColonnes();
    const std::int16_t* rowCells = rowCodes.DonnerCellules();
    const std::int16_t* columnCells = columnCodes.DonnerCellules();
    const std::span<const double> weight = weights.Weights().Valeurs();
    const int units = std::min({rowCodes.GetNbLignes(), columnCodes.GetNbLignes(), static_cast<int>(weight.size())});
    std::uint8_t* marks = nullptr;
    if (respondentMarks != nullptr) {
        std::vector<std::uint8_t>& levelMarks = (*respondentMarks)[level];
        if (levelMarks.size() < Index(units))
            levelMarks.resize(Index(units), 0);
        marks = levelMarks.data();
    }
    // By lane, the matrix less its total, which is kept in registers.
    const std::size_t slots = (r + 1) * stride;
    const std::size_t columnMargins = r * stride;
    const double* weightOf = weight.data();
    // One answer a side, the common case: the same cells and total in the same lanes as the
    // general loop below, without gathering the answers into lists; the margins summed from the
    // cells.
    const auto countOneAnswer = [&]() {
        const OneAnswerCrossCounter counter(rowMap, r, columnMap, c);
        auto counted = CountInChunks(units, counter.Slots(), [&](LaneSums& lanes, int first, int last) {
            return std::array<double, 1>{counter.Count(rowCells, columnCells, weightOf, first, last, lanes, marks)};
        });
        return counter.Matrix(counted.counters, counted.sums[0]);
    };
    const auto countSeveralAnswers = [&](LaneSums& lanes, int first, int last) {
        LaneSums::Running sums{};
        std::vector<std::int16_t> keptRows;
        std::vector<std::int16_t> keptColumns;
        keptRows.reserve(Index(rowWidth));
        keptColumns.reserve(Index(columnWidth));
        LaneSums::ForEachUnit(first, last, [&](int unit, auto lane) {
            GatherKept(rowCells + Index(unit) * Index(rowWidth), rowWidth, rowMap, keptRows);
            if (keptRows.empty())
                return;
            GatherKept(columnCells + Index(unit) * Index(columnWidth), columnWidth, columnMap, keptColumns);
            if (keptColumns.empty())
                return;
            double* cells = lanes.Counters(lane);
            const double w = weightOf[Index(unit)];
            for (const std::int16_t a : keptRows)
                if (Index(a) < r)
                    AddToCrossLine(cells + Index(a) * stride, keptColumns, c, w);
            AddToColumnMargins(cells + columnMargins, keptColumns, c, w);
            sums[lane] += w;
            if (marks != nullptr)
                marks[Index(unit)] = 1;
        });
        return std::array<double, 1>{LaneSums::Merge(sums)};
    };
    if (rowWidth == 1 && columnWidth == 1) {
        matrix = countOneAnswer();
        total = matrix[r * stride + c];
        return true;
    }
    auto crossed = CountInChunks(units, slots, countSeveralAnswers);
    std::vector<double> result = std::move(crossed.counters);
    result[r * stride + c] = total = crossed.sums[0];
    matrix = std::move(result);
    return true;
}

bool CMoteurTableau::CroiserGroupes(CQuestionEtendue& rowQuestion, CQuestionEtendue& columnQuestion,
                                    const CRecodageModalite& grouping, int groupLevel, std::vector<double>& matrix,
                                    double& total, const std::vector<std::uint16_t>& columnMap, int level,
                                    std::int32_t studyField, std::int32_t weighting, std::string& error) {
    matrix.clear();
    total = 0.0;
    CDataAccess access(m_context, true);
    CMatriceCodes grouped;
    Answers columns;
    if (!ReadGrouped(access, rowQuestion, grouping, groupLevel, level, grouped, error) ||
        !ReadClosed(access, columnQuestion, level, columns, error))
        return false;
    BorrowedWeights weights(*this, level, studyField, weighting);
    if (!weights.Get(error))
        return false;
    const auto groupCount = static_cast<std::size_t>(std::max(grouping.DonnerNombreGroupes(groupLevel), 0));
    const auto c = static_cast<std::size_t>(columnQuestion.GetNbreModalite());
    const std::size_t stride = c + 1;
    const CMatriceCodes& columnCodes = columns.Matrix();
    const int rowWidth = grouped.GetNbColonnes();
    const int columnWidth = columnCodes.GetNbColonnes();
    const std::int16_t* rowCells = grouped.DonnerCellules();
    const std::int16_t* columnCells = columnCodes.DonnerCellules();
    const std::span<const double> weight = weights.Weights().Valeurs();
    const int units = std::min({grouped.GetNbLignes(), columnCodes.GetNbLignes(), static_cast<int>(weight.size())});
    auto crossed = CountInChunks(units, (groupCount + 1) * stride, [&](LaneSums& lanes, int first, int last) {
        LaneSums::Running sums{};
        std::vector<std::int16_t> keptColumns;
        keptColumns.reserve(Index(columnWidth));
        LaneSums::ForEachUnit(first, last, [&](int unit, auto lane) {
            GatherKept(columnCells + Index(unit) * Index(columnWidth), columnWidth, columnMap, keptColumns);
            const std::int16_t* row = rowCells + Index(unit) * Index(rowWidth);
            const bool anyGroup = std::any_of(
                row, row + rowWidth, [&](std::int16_t g) { return g >= 0 && Index(g) < groupCount; });
            if (keptColumns.empty() || !anyGroup)
                return;
            const double w = weight[Index(unit)];
            double* result = lanes.Counters(lane);
            for (int slot = 0; slot < rowWidth; ++slot) {
                const std::int16_t g = row[slot];
                if (g < 0 || Index(g) >= groupCount)
                    continue;
                AddToCrossLine(result + Index(g) * stride, keptColumns, c, w);
            }
            AddToColumnMargins(result + groupCount * stride, keptColumns, c, w);
            sums[lane] += w;
        });
        return std::array<double, 1>{LaneSums::Merge(sums)};
    });
    std::vector<double> result = std::move(crossed.counters);
    result[groupCount * stride + c] = total = crossed.sums[0];
    matrix = std::move(result);
    return true;
}

// ---- Values of a flat table ---------------------------------------------------------------------

namespace {

enum FlatValue : int {
    kFlatCount = 0,
    kFlatPercentage = 1,
    kFlatCumulated = 2,
    kFlatRespondentFrequency = 3,
    kFlatImportance = 4,
    kFlatInterviewFrequency = 5,
    kFlatLowerBound = 6,
    kFlatUpperBound = 7,
    kFlatMeanWeight = 8,
    kFlatTotal = 9,
};

// 100 x part / base, or the missing value when the base weighs nothing (never NaN or infinity).
double Share(double part, double base) { return base > 0.0 ? 100.0 * part / base : kValeurManquante; }

// The line of each kept modality, -1 for a modality that is not kept, that has no line inside
// the table or that stands on the Total line (whose values are its own).
std::vector<int> LinesOfModalities(std::span<const std::uint16_t> map, int modalityCount, int lineCount,
                                   int totalPosition) {
    std::vector<int> lines(Index(std::max(modalityCount, 0)), -1);
    for (std::size_t m = 0; m < lines.size() && m < map.size(); ++m) {
        const int line = map[m] == CMoteurTableau::kNotKept ? -1 : map[m];
        if (line < lineCount && line != totalPosition)
            lines[m] = line;
    }
    return lines;
}

} // namespace

void CMoteurTableau::CalculerValeursTri(std::vector<double>& values, std::span<const double> counts,
                                        double respondents, double total, int lineCount, int modalityCount,
                                        std::span<const std::uint16_t> map, int totalPosition,
                                        int nonResponsePosition) const {
    lineCount = std::max(lineCount, 0);
    values.assign(Index(lineCount) * kFlatValueCount, 0.0);
    if (totalPosition < 0 || totalPosition >= lineCount)
        totalPosition = -1;
    if (nonResponsePosition < 0 || nonResponsePosition >= lineCount || nonResponsePosition == totalPosition)
        nonResponsePosition = -1;
    const std::size_t n = Index(std::max(modalityCount, 0));
    const auto weighted = [&](std::size_t m) { return m < counts.size() ? counts[m] : 0.0; };
    const auto unweighted = [&](std::size_t m) { return n + m < counts.size() ? counts[n + m] : 0.0; };
    const std::vector<int> lines = LinesOfModalities(map, modalityCount, lineCount, totalPosition);

    double kept = 0.0;          // S: the answers of the kept modalities
    double nonResponse = 0.0;   // N: the count shown on the non-response line
    for (std::size_t m = 0; m < n; ++m) {
        if (lines[m] < 0)
            continue;
        kept += weighted(m);
        if (lines[m] == nonResponsePosition)
            nonResponse += weighted(m);
    }
    const double z = m_context.ConfidenceIntervalThreshold;
    for (std::size_t m = 0; m < n; ++m) {
        if (lines[m] < 0)
            continue;
        const double w = weighted(m);
        const double u = unweighted(m);
        double* line = values.data() + Index(lines[m]) * kFlatValueCount;
        line[kFlatCount] = w;
        line[kFlatPercentage] = Share(w, respondents);
        line[kFlatRespondentFrequency] =
            lines[m] == nonResponsePosition ? kValeurManquante : Share(w, respondents - nonResponse);
        line[kFlatImportance] = Share(w, kept);
        line[kFlatInterviewFrequency] = Share(w, total);
        line[kFlatLowerBound] = respondents > 0.0 ? BorneInferieurePourcentage(line[kFlatPercentage], respondents, z)
                                                  : kValeurManquante;
        line[kFlatUpperBound] = respondents > 0.0 ? BorneSuperieurePourcentage(line[kFlatPercentage], respondents, z)
                                                  : kValeurManquante;
        line[kFlatMeanWeight] = u != 0.0 ? w / u : kValeurManquante;
    }

    // Every line: the running percentage of answers down the table (the Total line adds nothing)
    // and 100 in the last value.
    double cumulated = 0.0;
    double percentages = 0.0;
    double respondentFrequencies = 0.0;
    for (int i = 0; i < lineCount; ++i) {
        double* line = values.data() + Index(i) * kFlatValueCount;
        line[kFlatTotal] = 100.0;
        if (i == totalPosition)
            continue;
        if (line[kFlatImportance] != kValeurManquante)
            cumulated += line[kFlatImportance];
        line[kFlatCumulated] = kept > 0.0 ? cumulated : kValeurManquante;
        if (line[kFlatPercentage] != kValeurManquante)
            percentages += line[kFlatPercentage];
        if (line[kFlatRespondentFrequency] != kValeurManquante)
            respondentFrequencies += line[kFlatRespondentFrequency];
    }
    if (totalPosition < 0)
        return;

    double* line = values.data() + Index(totalPosition) * kFlatValueCount;
    const bool overAllUnits = m_context.TotalType != 0;
    line[kFlatCount] = overAllUnits ? total : kept;
    if (overAllUnits)
        line[kFlatPercentage] = total > 0.0 ? 100.0 : kValeurManquante;
    else
        line[kFlatPercentage] = respondents > 0.0 ? percentages : kValeurManquante;
    line[kFlatCumulated] = kValeurManquante;
    line[kFlatRespondentFrequency] = respondents - nonResponse > 0.0 ? respondentFrequencies : kValeurManquante;
    line[kFlatImportance] = kept > 0.0 ? 100.0 : kValeurManquante;
    line[kFlatInterviewFrequency] = Share(respondents, total);
    line[kFlatLowerBound] = 100.0;
    line[kFlatUpperBound] = 100.0;
    line[kFlatMeanWeight] = kValeurManquante;
}

// ---- Cross-table planes -------------------------------------------------------------------------

void CMoteurTableau::CalculerPourcentages(std::vector<double>& planes, std::span<const double> matrix, int lineCount,
                                          int rowModalityCount, std::span<const std::int16_t> rowMap, int totalLine,
                                          int columnCount, int columnModalityCount,
                                          std::span<const std::int16_t> columnMap, int totalColumn) const {
    CrossPlanes::CalculerPourcentages(planes, matrix, lineCount, rowModalityCount, rowMap, totalLine, columnCount,
                                      columnModalityCount, columnMap, totalColumn,
                                      CrossPlanes::SignificanceSettings::FromSurvey(m_context));
}

void CMoteurTableau::CalculerPourcentagesReponses(std::vector<double>& planes, std::span<const double> matrix,
                                                  int lineCount, int rowModalityCount,
                                                  std::span<const std::int16_t> rowMap, int totalLine,
                                                  int columnCount, int columnModalityCount,
                                                  std::span<const std::int16_t> columnMap, int totalColumn) const {
    CrossPlanes::CalculerPourcentagesReponses(planes, matrix, lineCount, rowModalityCount, rowMap, totalLine,
                                              columnCount, columnModalityCount, columnMap, totalColumn,
                                              CrossPlanes::SignificanceSettings::FromSurvey(m_context));
}

void CMoteurTableau::CalculerKhiDeux(std::span<const double> planes, int lineCount, int columnCount,
                                     int excludedLine, int excludedColumn, double& chiSquare,
                                     int& degreesOfFreedom, double& probability) {
    CrossPlanes::CalculerKhiDeux(planes, lineCount, columnCount, excludedLine, excludedColumn, chiSquare,
                                 degreesOfFreedom, probability);
}

// ---- Numeric statistics -------------------------------------------------------------------------

bool CMoteurTableau::CalculerStatistiquesQuestion(CQuestionEtendue& question, int level, std::int32_t studyField,
                                                  std::int32_t weighting, NumericStatistics::Statistics& record,
                                                  double& totalWeight, std::string& error) {
    record.fill(kValeurManquante);
    totalWeight = 0.0;
    CDataAccess access(m_context, true);
    CVecteurDouble values;
    if (!ReadNumeric(access, question, level, values, error))
        return false;
    std::vector<double> keptValues;
    std::vector<double> keptWeights;
    double nonResponseWeight = 0.0;
    double allWeight = 0.0;
    {
        // The weights go back to the cache before the statistics are formed.
        BorrowedWeights weights(*this, level, studyField, weighting);
        if (!weights.Get(error))
            return false;
        NumericStatistics::FiltrerValeurs(values, weights.Weights(), keptValues, keptWeights, nonResponseWeight,
                                          allWeight);
    }
    NumericStatistics::CalculerStatistiquesValeurs(keptValues, keptWeights, nonResponseWeight,
                                                   m_context.ConfidenceIntervalThreshold, record);
    totalWeight = allWeight;
    return true;
}

bool CMoteurTableau::CalculerMoyennesModalites(CQuestionEtendue& closedQuestion, CQuestionEtendue& numericQuestion,
                                               std::vector<double>& records, double& total,
                                               const std::vector<std::uint16_t>& map, int level,
                                               std::int32_t studyField, std::int32_t weighting, std::string& error,
                                               MarquesRepondants* respondentMarks) {
    records.clear();
    total = 0.0;
    CDataAccess access(m_context, true);
    Answers answers;
    CVecteurDouble values;
    BorrowedWeights weights(*this, level, studyField, weighting);
    if (!ReadClosed(access, closedQuestion, level, answers, error) ||
        !ReadNumeric(access, numericQuestion, level, values, error) || !weights.Get(error))
        return false;
    std::vector<std::uint8_t>* marks = respondentMarks != nullptr ? &(*respondentMarks)[level] : nullptr;
    NumericStatistics::CalculerMoyennesModalites(answers.Matrix(), values, weights.Weights(), map,
                                                 closedQuestion.GetNbreModalite(),
                                                 m_context.ConfidenceIntervalThreshold,
                                                 CrossPlanes::SignificanceSettings::FromSurvey(m_context), records,
                                                 total, marks);
    return true;
}
