#include "recodes/AppliquerChampEtude.h"

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "app/ChampCondition.h"
#include "app/ChampEtude.h"
#include "app/ContexteEtude.h"
#include "app/DataAccess.h"
#include "app/MatriceCodes.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "app/QuestionNiveau.h"
#include "app/StringTable.h"
#include "app/VecteurDouble.h"
#include "formula/EvaluerFormule.h"
#include "formula/FormulaErrorText.h"
#include "platform/questionnaire/StaticTools.h"
#include "recodes/StockageChampsEtude.h"

namespace {

constexpr double kNoAnswer = CVecteurDouble::kNoAnswer;
constexpr double kNotAsked = CVecteurDouble::kNotAsked;
constexpr std::int16_t kEmpty = CMatriceCodes::kEmptyCell;
constexpr int kBoundPrecision = 15;
constexpr std::int32_t kAllInterviews = -1;
constexpr int kInterviewLevel = 0;

// One truth value per unit of the level.
using Truths = std::vector<std::uint8_t>;

// ---- Conditions on a closed question ------------------------------------------------------------

// One unit's answers against the selection: the selected indexes (distinct, as 16-bit codes) and
// a lookup by code.
class Selection {
public:
    explicit Selection(const CChampCondition& condition) : m_selected(1 << 16, 0) {
        for (std::int32_t index : condition.modalities) {
            const auto code = static_cast<std::int16_t>(index);
            if (!Contains(code))
                m_distinct.push_back(code);
            m_selected[Slot(code)] = 1;
        }
    }
    bool Contains(std::int16_t code) const { return m_selected[Slot(code)] != 0; }
    const std::vector<std::int16_t>& Distinct() const { return m_distinct; }

private:
    static std::size_t Slot(std::int16_t code) { return static_cast<std::uint16_t>(code); }
    std::vector<std::uint8_t> m_selected;
    std::vector<std::int16_t> m_distinct;
};

struct Row {
    const std::int16_t* cells;
    int width;
    const std::int16_t* begin() const { return cells; }
    const std::int16_t* end() const { return cells + width; }
};

bool AnySelected(const Row& row, const Selection& selection) {
    return std::any_of(row.begin(), row.end(),
                       [&](std::int16_t code) { return code != kEmpty && selection.Contains(code); });
}

bool AllAnswersSelected(const Row& row, const Selection& selection) {
    return std::all_of(row.begin(), row.end(),
                       [&](std::int16_t code) { return code == kEmpty || selection.Contains(code); });
}

bool HasAnswer(const Row& row) {
    return std::any_of(row.begin(), row.end(), [](std::int16_t code) { return code != kEmpty; });
}

bool EverySelectedAnswered(const Row& row, const Selection& selection) {
    return std::all_of(selection.Distinct().begin(), selection.Distinct().end(),
                       [&](std::int16_t selected) { return std::find(row.begin(), row.end(), selected) != row.end(); });
}

struct ClosedKind {
    const char* text;
    std::function<bool(const Row&, const Selection&)> holds;
};

// The five kinds on a question with modalities, by kind number.
const std::array<ClosedKind, 5>& ClosedKinds() {
    static const std::array<ClosedKind, 5> kinds = {{
        {"= (au moins une)", [](const Row& r, const Selection& s) { return AnySelected(r, s); }},
        {"<> (aucune)", [](const Row& r, const Selection& s) { return !AnySelected(r, s); }},
        {"= (toutes)", [](const Row& r, const Selection& s) { return EverySelectedAnswered(r, s); }},
        {"= (aucune autre)",
         [](const Row& r, const Selection& s) { return HasAnswer(r) && AllAnswersSelected(r, s); }},
        {"= (toutes et aucune autre)",
         [](const Row& r, const Selection& s) { return AllAnswersSelected(r, s) && EverySelectedAnswered(r, s); }},
    }};
    return kinds;
}

// ---- Conditions on a free numeric question ------------------------------------------------------

struct NumericKind {
    const char* format; // %s stands for a bound with fifteen significant digits
    int boundCount;
    std::function<bool(double x, double a, double b)> holds;
};

bool IsValue(double x) { return x != kNoAnswer && x != kNotAsked; }

// The ten kinds on a free numeric question, by kind number. Non-response and "not asked" are
// compared exactly, as they are stored.
const std::array<NumericKind, 10>& NumericKinds() {
    static const std::array<NumericKind, 10> kinds = {{
        {"est une non réponse", 0, [](double x, double, double) { return x == kNoAnswer; }},
        {"n'a pas été posée", 0, [](double x, double, double) { return x == kNotAsked; }},
        {"= %s", 1, [](double x, double a, double) { return IsValue(x) && x == a; }},
        {"<> %s", 1, [](double x, double a, double) { return IsValue(x) && x != a; }},
        {"< %s", 1, [](double x, double a, double) { return IsValue(x) && x < a; }},
        {"<= %s", 1, [](double x, double a, double) { return IsValue(x) && x <= a; }},
        {"> %s", 1, [](double x, double a, double) { return IsValue(x) && x > a; }},
        {">= %s", 1, [](double x, double a, double) { return IsValue(x) && x >= a; }},
        {">= %s et <= %s", 2, [](double x, double a, double b) { return IsValue(x) && a <= x && x <= b; }},
        {"< %s ou > %s", 2, [](double x, double a, double b) { return IsValue(x) && (x < a || x > b); }},
    }};
    return kinds;
}

template <class Table>
const typename Table::value_type* KindOf(const Table& table, std::int16_t kind) {
    return kind >= 0 && static_cast<std::size_t>(kind) < table.size() ? &table[static_cast<std::size_t>(kind)] : nullptr;
}

// ---- Truth vectors --------------------------------------------------------------------------------

// A read that fails leaves every unit false, so that the condition filters everyone when it is
// joined by AND.
// The answers of a question at a level: borrowed from the answer cache when they are the
// question's own level, carried into a copy otherwise. False when they cannot be read.
class ClosedAnswers {
public:
    ClosedAnswers(CDataAccess& access, CQuestionEtendue& question, int level) : m_access(access), m_question(question) {
        if (question.level == level) {
            if (m_access.LireReponsesFermees(question, m_borrowed))
                m_matrix = m_borrowed;
        } else if (m_access.LireReponsesFermeesNiveau(question, level, m_carried)) {
            m_matrix = &m_carried;
        }
    }
    ClosedAnswers(const ClosedAnswers&) = delete;
    ClosedAnswers& operator=(const ClosedAnswers&) = delete;
    ~ClosedAnswers() {
        if (m_borrowed != nullptr)
            m_access.MemoriserReponsesFermees(m_question, m_borrowed);
    }
    const CMatriceCodes* Matrix() const { return m_matrix; }

private:
    CDataAccess& m_access;
    CQuestionEtendue& m_question;
    CMatriceCodes* m_borrowed = nullptr;
    CMatriceCodes m_carried;
    const CMatriceCodes* m_matrix = nullptr;
};

class NumericAnswers {
public:
    NumericAnswers(CDataAccess& access, CQuestionEtendue& question, int level) : m_access(access), m_question(question) {
        if (question.level == level) {
            if (m_access.LireValeursNumeriques(question, m_borrowed))
                m_values = m_borrowed;
        } else if (m_access.LireValeursNumeriquesNiveau(question, level, m_carried)) {
            m_values = &m_carried;
        }
    }
    NumericAnswers(const NumericAnswers&) = delete;
    NumericAnswers& operator=(const NumericAnswers&) = delete;
    ~NumericAnswers() {
        if (m_borrowed != nullptr)
            m_access.MemoriserValeursNumeriques(m_question, m_borrowed);
    }
    const CVecteurDouble* Values() const { return m_values; }

private:
    CDataAccess& m_access;
    CQuestionEtendue& m_question;
    CVecteurDouble* m_borrowed = nullptr;
    CVecteurDouble m_carried;
    const CVecteurDouble* m_values = nullptr;
};

Truths ClosedTruths(CChampCondition& condition, int level, std::size_t n, CDataAccess& access) {
    Truths truths(n, 0);
    const ClosedKind* kind = KindOf(ClosedKinds(), condition.kind);
    if (kind == nullptr)
        return truths;
    const ClosedAnswers answers(access, *condition.question, level);
    const CMatriceCodes* codes = answers.Matrix();
    if (codes == nullptr)
        return truths;
    const Selection selection(condition);
    const int width = codes->GetNbColonnes();
    const std::int16_t* cells = codes->DonnerCellules();
    const std::size_t rows = std::min(n, static_cast<std::size_t>(codes->GetNbLignes()));
    for (std::size_t i = 0; i < rows; ++i)
        truths[i] = kind->holds(Row{cells + i * static_cast<std::size_t>(width), width}, selection) ? 1 : 0;
    return truths;
}

Truths NumericTruths(CChampCondition& condition, int level, std::size_t n, CDataAccess& access) {
    Truths truths(n, 0);
    const NumericKind* kind = KindOf(NumericKinds(), condition.kind);
    if (kind == nullptr)
        return truths;
    const NumericAnswers answers(access, *condition.question, level);
    if (answers.Values() == nullptr)
        return truths;
    const std::span<const double> values = answers.Values()->Valeurs();
    const std::size_t count = std::min(n, values.size());
    for (std::size_t i = 0; i < count; ++i)
        truths[i] = kind->holds(values[i], condition.a, condition.b) ? 1 : 0;
    return truths;
}

Truths ConditionTruths(CChampCondition& condition, int level, std::size_t n, CDataAccess& access) {
    if (condition.question == nullptr)
        return Truths(n, 1);
    if (condition.question->EstAModalite())
        return ClosedTruths(condition, level, n, access);
    if (condition.question->EstNumeriqueLibre())
        return NumericTruths(condition, level, n, access);
    return Truths(n, 1);
}

bool Join(bool left, bool right, std::int16_t connector) { return connector != 0 ? (left && right) : (left || right); }

// ---- Descriptions ---------------------------------------------------------------------------------

std::string FormatBounds(const char* format, double a, double b) {
    std::string text;
    int used = 0;
    for (const char* p = format; *p != '\0'; ++p) {
        if (p[0] == '%' && p[1] == 's') {
            text += CStaticTools::FormatG(used++ == 0 ? a : b, kBoundPrecision);
            ++p;
        } else {
            text += *p;
        }
    }
    return text;
}

std::string ClosedDescription(const CChampCondition& condition) {
    const CQuestionEtendue& question = *condition.question;
    const ClosedKind* kind = KindOf(ClosedKinds(), condition.kind);
    std::string list = "{";
    for (std::int32_t index : condition.modalities) {
        if (index < 0 || index >= question.GetNbreModalite())
            continue;
        const CModalite* modality = question.GetModalite(index);
        list += "'" + CModaliteEtendue::ShortCaptionFor(*modality, question.GetEnquete()) + "' ";
    }
    list += "}";
    return "Si '" + question.name + "' " + (kind != nullptr ? kind->text : "") + " " + list;
}

std::string NumericDescription(const CChampCondition& condition) {
    const NumericKind* kind = KindOf(NumericKinds(), condition.kind);
    const std::string op = kind != nullptr ? FormatBounds(kind->format, condition.a, condition.b) : std::string();
    return "Si '" + condition.question->name + "' " + op + " ";
}

// ---- Fields given by a formula ------------------------------------------------------------------

std::string FormulaFailure(const CChampEtude& field, const FormulaError& failure) {
    const std::string code = std::to_string(failure.code);
    const std::string position = std::to_string(failure.position);
    const std::string cause = FormulaErrorText(failure.code);
    if (failure.code == FormulaError::kLectureImpossible)
        return StringTable::Format(
            Message(StringTable::kFormuleChampEtudeLecture, {field.name, cause, code, position, failure.text}));
    return StringTable::Format(Message(StringTable::kFormuleChampEtude, {field.name, cause, code, position}));
}

std::string LevelFailure(const CChampEtude& field, const std::string& levelName, const std::string& reason) {
    return StringTable::Format(Message(StringTable::kChampEtudeHorsNiveau, {field.name, levelName, reason}));
}

// The interviews' results carried to the records of the level, each record taking the result of
// its interview (an empty one when it has none).
bool CarryToLevel(const CChampEtude& field, int level, CEnquete& survey, std::vector<std::string>& results,
                  std::string& error) {
    if (level == kInterviewLevel)
        return true;
    CQuestionNiveau* target = survey.DonnerNiveau(level);
    if (target == nullptr) {
        error = LevelFailure(field, std::to_string(level), "ce niveau n'existe pas");
        return false;
    }
    std::string reason;
    if (!target->ChargerEffectifs(survey, level, reason)) {
        error = LevelFailure(field, target->name, reason);
        return false;
    }
    std::vector<std::string> perUnit;
    if (!target->TransfererTextes(results, perUnit, kInterviewLevel, level)) {
        error = LevelFailure(field, target->name, "ses enregistrements ne sont rattachés à aucune interview");
        return false;
    }
    results = std::move(perUnit);
    return true;
}

bool IsKept(const std::string& result) {
    double value = 0.0;
    return CStaticTools::EstDouble(result, value) && value != 0.0;
}

// Where the weights of a field go: every unit's weight is its source weight (1.0 without one)
// when the unit is in the field, 0.0 otherwise; the source may be the destination itself.
struct FieldWeights {
    std::span<const double> source; // empty: 1.0 for every unit
    std::span<double> out;

    void Set(std::size_t i, bool kept) const { out[i] = kept ? (source.empty() ? 1.0 : source[i]) : 0.0; }
};

// Evaluates the formula before touching a weight: a field that fails changes nothing.
bool ApplyFormula(const CChampEtude& field, int level, const FieldWeights& weights, CEnquete& survey,
                  std::string& error) {
    FormulaError failure;
    std::vector<std::string> results;
    if (!EvaluerFormule(field.complexConditionText, failure, survey, results)) {
        error = FormulaFailure(field, failure);
        return false;
    }
    if (!CarryToLevel(field, level, survey, results, error))
        return false;
    for (std::size_t i = 0; i < weights.out.size(); ++i)
        weights.Set(i, i < results.size() && IsKept(results[i]));
    return true;
}

// The field's weights in one pass over its conditions' truths and the source weights.
bool ApplyField(std::int32_t id, int level, const FieldWeights& weights, CEnquete& survey, std::string& error) {
    if (id == kAllInterviews) {
        for (std::size_t i = 0; i < weights.out.size(); ++i)
            weights.Set(i, true);
        return true;
    }
    CChampEtude field;
    if (!survey.DonnerChampEtude(id, field)) {
        error = StringTable::Format(Message(StringTable::kChampEtudeInconnu, {std::to_string(id)}));
        return false;
    }
    if (field.complexCondition)
        return ApplyFormula(field, level, weights, survey, error);
    const std::size_t n = weights.out.size();
    CDataAccess access(survey, true);
    std::array<Truths, 4> truths;
    for (std::size_t slot = 0; slot < truths.size(); ++slot)
        truths[slot] = ConditionTruths(field.conditions[slot], level, n, access);
    const auto& joins = field.connectors;
    for (std::size_t i = 0; i < n; ++i) {
        const bool first = Join(truths[0][i] != 0, truths[1][i] != 0, joins[0]);
        const bool second = Join(truths[2][i] != 0, truths[3][i] != 0, joins[1]);
        weights.Set(i, Join(first, second, joins[2]));
    }
    return true;
}

} // namespace

bool AppliquerChampEtude(std::int32_t id, int level, CVecteurDouble& weights, CEnquete& survey, std::string& error) {
    if (id == kAllInterviews)
        return true;
    return ApplyField(id, level, FieldWeights{weights.Valeurs(), weights.ValeursModifiables()}, survey, error);
}

bool CalculerPoidsChampEtude(std::int32_t id, int level, const CVecteurDouble* source, CVecteurDouble& out,
                             CEnquete& survey, std::string& error) {
    if (source != nullptr)
        out.SetSize(source->GetSize());
    const std::span<const double> from = source != nullptr ? source->Valeurs() : std::span<const double>();
    return ApplyField(id, level, FieldWeights{from, out.ValeursModifiables()}, survey, error);
}

std::string DecrireCondition(const CChampCondition& condition) {
    if (condition.question == nullptr)
        return {};
    if (condition.question->EstFermee())
        return ClosedDescription(condition);
    if (condition.question->EstNumeriqueLibre())
        return NumericDescription(condition);
    return {};
}

int CreerChampsEtudeParModalite(CQuestionEtendue& question, CContexteEtude& context) {
    int stored = 0;
    for (int i = 0; i < question.GetNbreModalite(); ++i) {
        const CModalite* modality = question.GetModalite(i);
        if (modality == nullptr || modality->code == -1 || modality->code == -2)
            continue;
        CChampEtude field;
        field.name = CModaliteEtendue::ShortCaptionFor(*modality, &context);
        field.connectors = {1, 1, 1};
        field.conditions[0].SetQuestion(&question);
        field.conditions[0].kind = 0;
        field.conditions[0].SetModalites({i});
        std::string error;
        if (!EnregistrerChampEtude(field, context, error))
            continue;
        ++stored;
    }
    context.GetUserInterface().ShowMessage(Message(StringTable::kChampsEtudeCrees, {std::to_string(stored)}),
                                           UserInterface::Icon::Information);
    return stored;
}
