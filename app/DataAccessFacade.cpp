// The reading facade of CDataAccess: every reader of the program asks here for the answers of a
// question. It picks the source (the table readers, which may use the caches and the inverted
// files; a matrix the question keeps in memory; a recode deriving the question from another),
// carries answers between levels and hands borrowed containers back to the survey's caches.
#include "app/DataAccess.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/CacheDonnees.h"
#include "app/Enquete.h"
#include "app/MatriceCodes.h"
#include "app/QuestionEtendue.h"
#include "app/QuestionNiveau.h"
#include "app/Recodage.h"
#include "app/RecordParents.h"
#include "app/StringTable.h"
#include "app/VecteurDouble.h"

namespace {

constexpr std::int16_t kEmptyCell = CMatriceCodes::kEmptyCell;
constexpr double kNotAsked = CVecteurDouble::kNotAsked;
constexpr double kNoAnswer = CVecteurDouble::kNoAnswer;
constexpr std::int32_t kNoAnswerCode = -1;
constexpr std::int32_t kNotAskedCode = -2;
// The first column count of a change of level whose question has no answer count yet.
constexpr int kUnknownAnswerCountColumns = 4;

std::string FormatText(int id, std::vector<std::string> arguments) {
    return StringTable::Format(Message(id, std::move(arguments)));
}

std::string UnreadableSource(const CQuestionEtendue& question) {
    return FormatText(StringTable::kLectureImpossible, {question.GetCaption()});
}

std::string UnreachableAtLevel(const std::string& questionCaption, const std::string& levelCaption) {
    return FormatText(StringTable::kQuestionNiveauInaccessible, {questionCaption, levelCaption});
}

CMatriceCodes* AsMatrix(CObjetDonnees* object) { return static_cast<CMatriceCodes*>(object); }
CVecteurDouble* AsVector(CObjetDonnees* object) { return static_cast<CVecteurDouble*>(object); }

// Writes `code` at `column` of the row, doubling the matrix's columns when it is full.
void WriteGrowingColumns(CMatriceCodes& matrix, int row, int column, std::int16_t code) {
    if (column >= matrix.GetNbColonnes())
        matrix.SetNbColonnes(std::max(column + 1, 2 * std::max(matrix.GetNbColonnes(), 1)));
    matrix.SetAt(row, column, code);
}

// The index of the last modality of the code; -1 when none.
int LastModalityOfCode(const CQuestionEtendue& question, std::int32_t code) {
    for (int i = question.GetNbreModalite() - 1; i >= 0; --i)
        if (question.GetCodeModalite(i) == code)
            return i;
    return -1;
}

// ---- Aggregation rules of a change of level ------------------------------------------------

// The answers of the source records gathered under one target record.
struct ClosedChildren {
    const CMatriceCodes& codes;
    const CQuestionEtendue& source;
    ChildRange rows;
    int noAnswerIndex;
};

// Writes the target row from its children; answers the number of columns it used.
using ClosedRule = int (*)(const ClosedChildren& children, CMatriceCodes& out, int row);

template <class Visit> void ForEachAnswer(const ClosedChildren& children, Visit visit) {
    for (int child = children.rows.first; child < children.rows.end; ++child)
        for (int column = 0; column < children.codes.GetNbColonnes(); ++column)
            if (const std::int16_t cell = children.codes.GetAt(child, column); cell != kEmptyCell)
                visit(cell);
}

int FillNoAnswer(const ClosedChildren& children, CMatriceCodes& out, int row) {
    if (children.noAnswerIndex < 0)
        return 0;
    out.SetAt(row, 0, static_cast<std::int16_t>(children.noAnswerIndex));
    return 1;
}

int GatherAnswers(const ClosedChildren& children, CMatriceCodes& out, int row, bool distinct) {
    int column = 0;
    std::vector<std::int16_t> written;
    ForEachAnswer(children, [&](std::int16_t cell) {
        if (distinct) {
            if (std::find(written.begin(), written.end(), cell) != written.end())
                return;
            written.push_back(cell);
        }
        WriteGrowingColumns(out, row, column++, cell);
    });
    return column > 0 ? column : FillNoAnswer(children, out, row);
}

int AllAnswers(const ClosedChildren& children, CMatriceCodes& out, int row) {
    return GatherAnswers(children, out, row, false);
}

int DistinctAnswers(const ClosedChildren& children, CMatriceCodes& out, int row) {
    return GatherAnswers(children, out, row, true);
}

int SmallestAnswer(const ClosedChildren& children, CMatriceCodes& out, int row) {
    int smallest = -1;
    ForEachAnswer(children, [&](std::int16_t cell) {
        if (smallest < 0 || cell < smallest)
            smallest = cell;
    });
    if (smallest < 0)
        return FillNoAnswer(children, out, row);
    out.SetAt(row, 0, static_cast<std::int16_t>(smallest));
    return 1;
}

// The largest real answer; else the non-response modality when a child gave it; else the
// no-answer modality.
int LargestAnswer(const ClosedChildren& children, CMatriceCodes& out, int row) {
    int largest = -1;
    int nonResponse = -1;
    ForEachAnswer(children, [&](std::int16_t cell) {
        const std::int32_t code = children.source.GetCodeModalite(cell);
        if (code == kNoAnswerCode)
            nonResponse = cell;
        else if (code != kEmptyCell && code != kNotAskedCode)
            largest = std::max<int>(largest, cell);
    });
    const int chosen = largest >= 0 ? largest : nonResponse;
    if (chosen < 0)
        return FillNoAnswer(children, out, row);
    out.SetAt(row, 0, static_cast<std::int16_t>(chosen));
    return 1;
}

struct ClosedRuleEntry {
    std::int16_t rule;
    ClosedRule gather;
    bool setsAnswerCount; // the widest row becomes the question's answer count
};

// clang-format off
constexpr std::array kClosedRules = {
    ClosedRuleEntry{0, &AllAnswers,      true},
    ClosedRuleEntry{1, &DistinctAnswers, true},
    ClosedRuleEntry{2, &SmallestAnswer,  false},
    ClosedRuleEntry{3, &LargestAnswer,   false},
};
// clang-format on

// The values of the source records under one target record, both missing values left out.
struct NumericChildren {
    std::vector<double> values;
    bool heldNoAnswer = false; // a child held -999999.99
};

double MissingFor(const NumericChildren& children) { return children.heldNoAnswer ? kNoAnswer : kNotAsked; }

double Sum(const NumericChildren& children) {
    double sum = 0.0;
    for (double value : children.values)
        sum += value;
    return sum;
}

double Mean(const NumericChildren& children) { return Sum(children) / static_cast<double>(children.values.size()); }

// Welford's running mean and sum of squared deviations: constant data gives exactly 0, and the
// result is never negative.
double Variance(const NumericChildren& children) {
    double mean = 0.0;
    double squares = 0.0;
    double n = 0.0;
    for (double value : children.values) {
        n += 1.0;
        const double delta = value - mean;
        mean += delta / n;
        squares += delta * (value - mean);
    }
    return std::max(squares / n, 0.0);
}

double StandardDeviation(const NumericChildren& children) { return std::sqrt(Variance(children)); }

std::vector<double> Sorted(const NumericChildren& children) {
    std::vector<double> sorted = children.values;
    std::sort(sorted.begin(), sorted.end());
    return sorted;
}

double Smallest(const NumericChildren& children) { return Sorted(children).front(); }
double Largest(const NumericChildren& children) { return Sorted(children).back(); }
double Median(const NumericChildren& children) { return Sorted(children)[children.values.size() / 2]; }

struct NumericRuleEntry {
    std::int16_t rule;
    double (*combine)(const NumericChildren& children); // called with at least one value
};

// clang-format off
constexpr std::array kNumericRules = {
    NumericRuleEntry{0, &Sum},
    NumericRuleEntry{1, &Smallest},
    NumericRuleEntry{2, &Largest},
    NumericRuleEntry{4, &Mean},
    NumericRuleEntry{5, &Median},
    NumericRuleEntry{6, &StandardDeviation},
    NumericRuleEntry{7, &Variance},
};
// clang-format on
constexpr std::int16_t kCountRule = 3;

double CombineChildren(std::int16_t rule, const NumericChildren& children) {
    if (rule == kCountRule)
        return static_cast<double>(children.values.size());
    const auto entry = std::find_if(kNumericRules.begin(), kNumericRules.end(),
                                    [rule](const NumericRuleEntry& e) { return e.rule == rule; });
    if (entry == kNumericRules.end())
        return kNotAsked;
    return children.values.empty() ? MissingFor(children) : entry->combine(children);
}

// ---- Helpers of the reads, over the public operations ------------------------------------------

CCacheDonnees* ClosedCache(const CDataAccess& access) {
    return access.GetEnquete() != nullptr ? access.GetEnquete()->GetClosedAnswerCache() : nullptr;
}

CCacheDonnees* NumericCache(const CDataAccess& access) {
    return access.GetEnquete() != nullptr ? access.GetEnquete()->GetNumericCache() : nullptr;
}

CQuestionEtendue* SourceOf(const CDataAccess& access, const CQuestionEtendue& question) {
    return access.GetEnquete() != nullptr ? access.GetEnquete()->DonnerParentMemeCode(&question) : nullptr;
}

// A copy of the matrix the question keeps under the survey's selector word, lent to the caller.
bool ReadMatrixKeptInMemory(CDataAccess& access, CQuestionEtendue& question, CMatriceCodes*& out) {
    CCacheDonnees* cache = ClosedCache(access);
    auto matrix = std::make_unique<CMatriceCodes>();
    if (cache == nullptr || !question.DonnerCodesNiveau(access.GetEnquete()->selectorWord, *matrix))
        return false;
    out = AsMatrix(cache->LendWithoutKeeping(&question, std::move(matrix)));
    return out != nullptr;
}

// A question grouping the values of another into classes has the values of that other.
bool CopySourceValues(CDataAccess& access, CQuestionEtendue& question, CVecteurDouble*& out) {
    CQuestionEtendue* source = SourceOf(access, question);
    CCacheDonnees* cache = NumericCache(access);
    CVecteurDouble* values = nullptr;
    if (source == nullptr || cache == nullptr || !access.LireValeursNumeriques(*source, values))
        return false;
    auto copy = std::make_unique<CVecteurDouble>(*values);
    access.MemoriserValeursNumeriques(*source, values);
    out = AsVector(cache->LendWithoutKeeping(&question, std::move(copy)));
    return out != nullptr;
}

// Per record, the value of the modality in the first answer column; -888888.88 without one.
bool ValuesOfModalities(CDataAccess& access, CQuestionEtendue& question, CVecteurDouble*& out) {
    CCacheDonnees* cache = NumericCache(access);
    CMatriceCodes* codes = nullptr;
    if (cache == nullptr || !access.LireReponsesFermees(question, codes))
        return false;
    auto values = std::make_unique<CVecteurDouble>(codes->GetNbLignes());
    for (int row = 0; row < codes->GetNbLignes(); ++row) {
        const std::int16_t cell = codes->GetNbColonnes() > 0 ? codes->GetAt(row, 0) : kEmptyCell;
        const CModalite* modality = cell >= 0 ? question.GetModalite(cell) : nullptr;
        values->SetAt(row, modality != nullptr ? modality->value : kNotAsked);
    }
    access.MemoriserReponsesFermees(question, codes);
    out = AsVector(cache->LendWithoutKeeping(&question, std::move(values)));
    return out != nullptr;
}

// The level, loaded; null with its message in the error text.
const CQuestionNiveau* LoadedLevel(CDataAccess& access, int level) {
    CEnquete* survey = access.GetEnquete();
    CQuestionNiveau* loaded = survey != nullptr ? survey->DonnerNiveau(level) : nullptr;
    if (loaded == nullptr) {
        access.SetErrorText("Le niveau " + std::to_string(level) + " n'existe pas");
        return nullptr;
    }
    std::string error;
    if (!loaded->ChargerEffectifs(*survey, level, error)) {
        access.SetErrorText(error);
        return nullptr;
    }
    return loaded;
}

// Per record, the class of the source question's value: the recode's class, or the classes
// that stand for the two missing values (and for a value in no class).
bool ReadValueClasses(CDataAccess& access, CQuestionEtendue& question, int classCount,
                      const std::function<std::int16_t(double)>& classOf, CMatriceCodes*& out) {
    CCacheDonnees* cache = ClosedCache(access);
    if (cache == nullptr)
        return false;
    if (CObjetDonnees* kept = nullptr; cache->Chercher(&question, kept)) {
        out = AsMatrix(kept);
        return true;
    }
    CQuestionEtendue* source = SourceOf(access, question);
    CVecteurDouble* values = nullptr;
    if (source == nullptr || !access.LireValeursNumeriques(*source, values))
        return false;
    const auto noAnswerClass = static_cast<std::int16_t>(classCount);
    const auto notAskedClass = static_cast<std::int16_t>(question.hasNoAnswer != 0 ? classCount + 1 : classCount);
    auto classes = std::make_unique<CMatriceCodes>(std::int16_t{1});
    classes->SetNbLignes(values->GetSize());
    for (int row = 0; row < values->GetSize(); ++row) {
        const double value = values->GetAt(row);
        std::int16_t index = notAskedClass;
        if (value == kNoAnswer)
            index = noAnswerClass;
        else if (value != kNotAsked)
            index = classOf(value);
        classes->SetAt(row, 0, index == kEmptyCell ? notAskedClass : index);
    }
    access.MemoriserValeursNumeriques(*source, values);
    out = AsMatrix(cache->Ajouter(&question, std::move(classes)));
    return out != nullptr;
}

// A change of level ready to gather: the source question, the rule, and the rows of the source
// records under each target record.
struct LevelChange {
    CQuestionEtendue* source = nullptr;
    std::int16_t rule = 0;
    int sourceRows = 0;
    std::vector<ChildRange> children; // one per target record
    std::string targetCaption;
};

// Loads both levels of the question's recode and finds the children of every target record by
// their keys, so that a source record without a target record shifts nothing after it. False
// with the message in the error text.
bool PrepareLevelChange(CDataAccess& access, CQuestionEtendue& question, LevelChange& change) {
    const CRecodage* recode = question.GetRecodage();
    change.source = SourceOf(access, question);
    if (change.source == nullptr || recode == nullptr) {
        access.SetErrorText(UnreadableSource(question));
        return false;
    }
    change.rule = recode->GetSousType();
    const int targetIndex = recode->GetNiveauArrivee();
    const CQuestionNiveau* sourceLevel = LoadedLevel(access, recode->GetNiveauDepart());
    const CQuestionNiveau* targetLevel = sourceLevel != nullptr ? LoadedLevel(access, targetIndex) : nullptr;
    if (targetLevel == nullptr)
        return false;
    change.targetCaption = targetLevel->GetCaption();
    std::vector<std::int32_t> counts;
    if (!sourceLevel->GetEffectifs(targetIndex, counts)) {
        access.SetErrorText(UnreachableAtLevel(question.GetCaption(), change.targetCaption));
        return false;
    }
    change.sourceRows = sourceLevel->GetNbreEnregistrements();
    change.children =
        ChildRangesOfParents(ParentRowsByKeyPrefix(sourceLevel->GetEnregistrements(), targetLevel->GetEnregistrements()),
                             targetLevel->GetNbreEnregistrements());
    return true;
}

// The cached container of the question, borrowed; null when none is kept.
CObjetDonnees* FindKept(CCacheDonnees* cache, const CQuestionEtendue& question) {
    CObjetDonnees* kept = nullptr;
    return cache != nullptr && cache->Chercher(&question, kept) ? kept : nullptr;
}

bool HasAlready(const CMatriceCodes& matrix, int row, int columns, std::int16_t code) {
    for (int column = 0; column < columns; ++column)
        if (matrix.GetAt(row, column) == code)
            return true;
    return false;
}

// How the closed answers of a recoded question are read, by the type of its recode.
struct RecodedClosedRoute {
    std::int16_t recodeType;
    bool (*read)(CDataAccess& access, CQuestionEtendue& question, CMatriceCodes*& out);
};

// clang-format off
constexpr std::array kRecodedClosedRoutes = {
    RecodedClosedRoute{CRecodage::kModalite, [](CDataAccess& a, CQuestionEtendue& q, CMatriceCodes*& out) {
        return a.LireReponsesRecodees(q, *q.GetRecodage(), 0, out); }},
    RecodedClosedRoute{CRecodage::kLevelModalite, [](CDataAccess& a, CQuestionEtendue& q, CMatriceCodes*& out) {
        return a.LireReponsesRecodeesNiveau(q, out); }},
    RecodedClosedRoute{CRecodage::kIntervalle, [](CDataAccess& a, CQuestionEtendue& q, CMatriceCodes*& out) {
        return a.LireIntervallesRecodes(q, out); }},
    RecodedClosedRoute{CRecodage::kDiscrete, [](CDataAccess& a, CQuestionEtendue& q, CMatriceCodes*& out) {
        return a.LireDiscretsRecodes(q, out); }},
};
// clang-format on

} // namespace

// ---- Closed answers ----------------------------------------------------------------------------

bool CDataAccess::LireReponsesFermees(CQuestionEtendue& question, CMatriceCodes*& out) {
    out = nullptr;
    if (question.recodeId != 0) {
        const CRecodage* recode = question.GetRecodage();
        const auto route =
            std::find_if(kRecodedClosedRoutes.begin(), kRecodedClosedRoutes.end(), [recode](const RecodedClosedRoute& r) {
                return recode != nullptr && r.recodeType == recode->GetType();
            });
        return route != kRecodedClosedRoutes.end() && route->read(*this, question, out);
    }
    if (question.generated != 0)
        return LireTableCleFermee(question, out);
    if (question.KeepsCodeMatricesInMemory())
        return ReadMatrixKeptInMemory(*this, question, out);
    return LireTableFermee(question, out);
}

void CDataAccess::MemoriserReponsesFermees(const CQuestionEtendue& question, const CMatriceCodes* matrix) {
    if (CCacheDonnees* cache = ClosedCache(*this); cache != nullptr && matrix != nullptr)
        cache->Liberer(&question, matrix);
}

void CDataAccess::MemoriserValeursNumeriques(const CQuestionEtendue& question, const CVecteurDouble* vector) {
    if (CCacheDonnees* cache = NumericCache(*this); cache != nullptr && vector != nullptr)
        cache->Liberer(&question, vector);
}

// ---- Numeric values ----------------------------------------------------------------------------

bool CDataAccess::LireValeursNumeriques(CQuestionEtendue& question, CVecteurDouble*& out) {
    out = nullptr;
    if (!question.EstNumeriqueLibre() && !question.EstDate()) {
        if (question.EstRecodageIntervalle() || question.EstRecodageDiscrete())
            return CopySourceValues(*this, question, out);
        return ValuesOfModalities(*this, question, out);
    }
    if (question.EstRecodageLevelNumerique())
        return LireValeursRecodeesNiveau(question, out);
    if (question.generated != 0)
        return LireTableCleNumerique(question, out);
    return LireTableNumerique(question, out);
}

// ---- Open answers ------------------------------------------------------------------------------

bool CDataAccess::LireReponsesOuvertes(CQuestionEtendue& question, std::vector<std::string>& out) {
    if (question.EstRecodageLevelOpen())
        return LireTextesRecodesNiveau(question, out);
    return LireTableOuverte(question, out);
}

// ---- Reads at another level --------------------------------------------------------------------

bool CDataAccess::LireReponsesFermeesNiveau(CQuestionEtendue& question, int level, CMatriceCodes& out) {
    CMatriceCodes* codes = nullptr;
    if (!LireReponsesFermees(question, codes))
        return false;
    const CQuestionNiveau* target = LoadedLevel(*this, level);
    const bool carried = target != nullptr && target->TransfererCodes(*codes, out, question.level, level);
    MemoriserReponsesFermees(question, codes);
    if (target != nullptr && !carried)
        SetErrorText(UnreachableAtLevel(question.GetCaption(), target->GetCaption()));
    return carried;
}

bool CDataAccess::LireValeursNumeriquesNiveau(CQuestionEtendue& question, int level, CVecteurDouble& out) {
    CVecteurDouble* values = nullptr;
    if (!LireValeursNumeriques(question, values))
        return false;
    const CQuestionNiveau* target = LoadedLevel(*this, level);
    const bool carried = target != nullptr && target->TransfererValeurs(*values, out, question.level, level);
    MemoriserValeursNumeriques(question, values);
    if (target != nullptr && !carried)
        SetErrorText(UnreachableAtLevel(question.GetCaption(), target->GetCaption()));
    return carried;
}

// Whether the level loads is not asked here: a level that is not loaded cannot carry, and that
// gives the message.
bool CDataAccess::LireReponsesOuvertesNiveau(CQuestionEtendue& question, int level, std::vector<std::string>& out) {
    std::vector<std::string> texts;
    if (!LireReponsesOuvertes(question, texts))
        return false;
    CEnquete* survey = GetEnquete();
    CQuestionNiveau* target = survey != nullptr ? survey->DonnerNiveau(level) : nullptr;
    if (target != nullptr) {
        std::string ignored;
        target->ChargerEffectifs(*survey, level, ignored);
        if (target->TransfererTextes(texts, out, question.level, level))
            return true;
    }
    constexpr int kNameCaption = 0;
    SetErrorText(UnreachableAtLevel(question.GetCaption(kNameCaption),
                                    target != nullptr ? target->GetCaption(kNameCaption) : std::to_string(level)));
    return false;
}

// ---- Grouped modalities ------------------------------------------------------------------------

bool CDataAccess::LireReponsesRecodees(CQuestionEtendue& question, const CRecodage& recode, int level,
                                       CMatriceCodes*& out) {
    out = nullptr;
    CQuestionEtendue* source = SourceOf(*this, question);
    CCacheDonnees* cache = ClosedCache(*this);
    if (source == nullptr || cache == nullptr) {
        SetErrorText(UnreadableSource(question));
        return false;
    }
    CMatriceCodes* codes = nullptr;
    if (!LireReponsesFermees(*source, codes))
        return false;
    // The recode gives the question its answer count; the matrix still grows should a row
    // receive more groups than that.
    auto grouped = std::make_unique<CMatriceCodes>(static_cast<std::int16_t>(std::max<int>(question.answerCount, 1)));
    grouped->SetNbLignes(codes->GetNbLignes());
    const bool everyOccurrence = recode.GetEstCumule();
    std::vector<std::int16_t> groups;
    for (int row = 0; row < codes->GetNbLignes(); ++row) {
        int column = 0;
        for (int sourceColumn = 0; sourceColumn < codes->GetNbColonnes(); ++sourceColumn) {
            groups.clear();
            recode.DonnerGroupesDuCode(source->GetCodeModalite(codes->GetAt(row, sourceColumn)), level, groups);
            for (const std::int16_t group : groups)
                if (everyOccurrence || !HasAlready(*grouped, row, column, group))
                    WriteGrowingColumns(*grouped, row, column++, group);
        }
    }
    MemoriserReponsesFermees(*source, codes);
    out = AsMatrix(cache->LendWithoutKeeping(&question, std::move(grouped)));
    return out != nullptr;
}

// ---- Intervals and discrete values -------------------------------------------------------------

bool CDataAccess::LireIntervallesRecodes(CQuestionEtendue& question, CMatriceCodes*& out) {
    out = nullptr;
    const CRecodage* recode = question.GetRecodage();
    return recode != nullptr &&
           ReadValueClasses(*this, question, recode->DonnerNombreClasses(),
                            [recode](double value) { return recode->DonnerClasse(value); }, out);
}

bool CDataAccess::LireDiscretsRecodes(CQuestionEtendue& question, CMatriceCodes*& out) {
    out = nullptr;
    const CRecodage* recode = question.GetRecodage();
    return recode != nullptr &&
           ReadValueClasses(*this, question, recode->DonnerNombreValeurs(),
                            [recode](double value) { return recode->DonnerIndexValeur(value); }, out);
}

// ---- Change of level ---------------------------------------------------------------------------

bool CDataAccess::LireReponsesRecodeesNiveau(CQuestionEtendue& question, CMatriceCodes*& out) {
    CCacheDonnees* cache = ClosedCache(*this);
    out = AsMatrix(FindKept(cache, question));
    if (out != nullptr)
        return true;
    LevelChange change;
    if (cache == nullptr || !PrepareLevelChange(*this, question, change))
        return false;
    CMatriceCodes* codes = nullptr;
    if (!LireReponsesFermees(*change.source, codes))
        return false;
    if (codes->GetNbLignes() != change.sourceRows) {
        MemoriserReponsesFermees(*change.source, codes);
        SetErrorText(UnreachableAtLevel(question.GetCaption(), change.targetCaption));
        return false;
    }
    const int firstColumns =
        question.answerCount == -1 ? kUnknownAnswerCountColumns : std::max<int>(question.answerCount, 1);
    auto gathered = std::make_unique<CMatriceCodes>(static_cast<std::int16_t>(firstColumns));
    gathered->SetNbLignes(static_cast<int>(change.children.size()));
    const auto entry = std::find_if(kClosedRules.begin(), kClosedRules.end(),
                                    [&change](const ClosedRuleEntry& e) { return e.rule == change.rule; });
    if (entry != kClosedRules.end()) {
        const int noAnswerIndex = LastModalityOfCode(question, kNotAskedCode);
        int widest = 0;
        for (std::size_t target = 0; target < change.children.size(); ++target) {
            const ClosedChildren children{*codes, *change.source, change.children[target], noAnswerIndex};
            widest = std::max(widest, entry->gather(children, *gathered, static_cast<int>(target)));
        }
        if (entry->setsAnswerCount) {
            // The widest row's number of answers, so that its last answer is tabulated too.
            question.answerCount = static_cast<std::int16_t>(std::max(widest, 1));
            gathered->SetNbColonnes(question.answerCount);
        }
    }
    MemoriserReponsesFermees(*change.source, codes);
    out = AsMatrix(cache->Ajouter(&question, std::move(gathered)));
    return out != nullptr;
}

bool CDataAccess::LireValeursRecodeesNiveau(CQuestionEtendue& question, CVecteurDouble*& out) {
    CCacheDonnees* cache = NumericCache(*this);
    out = AsVector(FindKept(cache, question));
    if (out != nullptr)
        return true;
    LevelChange change;
    if (cache == nullptr || !PrepareLevelChange(*this, question, change))
        return false;
    CVecteurDouble* values = nullptr;
    if (!LireValeursNumeriques(*change.source, values))
        return false;
    if (values->GetSize() != change.sourceRows) {
        MemoriserValeursNumeriques(*change.source, values);
        SetErrorText(UnreachableAtLevel(question.GetCaption(), change.targetCaption));
        return false;
    }
    auto combined = std::make_unique<CVecteurDouble>(static_cast<int>(change.children.size()));
    NumericChildren children;
    for (std::size_t target = 0; target < change.children.size(); ++target) {
        children.values.clear();
        children.heldNoAnswer = false;
        for (int child = change.children[target].first; child < change.children[target].end; ++child) {
            const double value = values->GetAt(child);
            if (value == kNoAnswer)
                children.heldNoAnswer = true;
            else if (value != kNotAsked)
                children.values.push_back(value);
        }
        combined->SetAt(static_cast<int>(target), CombineChildren(change.rule, children));
    }
    MemoriserValeursNumeriques(*change.source, values);
    out = AsVector(cache->Ajouter(&question, std::move(combined)));
    return out != nullptr;
}

bool CDataAccess::LireTextesRecodesNiveau(CQuestionEtendue& question, std::vector<std::string>& out) {
    LevelChange change;
    if (!PrepareLevelChange(*this, question, change))
        return false;
    std::vector<std::string> texts;
    if (!LireReponsesOuvertes(*change.source, texts))
        return false;
    constexpr int kNameCaption = 0;
    if (static_cast<int>(texts.size()) != change.sourceRows) {
        SetErrorText(UnreachableAtLevel(question.GetCaption(kNameCaption), change.targetCaption));
        return false;
    }
    out.assign(change.children.size(), std::string());
    for (std::size_t target = 0; target < change.children.size(); ++target)
        for (int child = change.children[target].first; child < change.children[target].end; ++child)
            if (const std::string& text = texts[static_cast<std::size_t>(child)]; !text.empty())
                out[target] += text + ' ';
    return true;
}
