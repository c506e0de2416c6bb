#include "formula/FormulaEvaluator.h"

#include "app/MatriceCodes.h"
#include "app/VecteurDouble.h"
#include "formula/FormulaFunction.h"
#include "formula/FormulaNumbers.h"
#include "formula/FormulaText.h"
#include "platform/datetime/SerialDate.h"
#include "platform/questionnaire/StaticTools.h"

#include <cmath>
#include <optional>

namespace {

using V = CValeurFormule;

// Lists longer than this are searched through a lookup made once when their value is constant.
constexpr std::size_t kLongList = 16;

void SetDate(V& node, double linear) {
    const double serial = SerialDate::FromLinear(linear);
    if (std::isfinite(linear) && SerialDate::IsDate(serial))
        node.DefinirDate(serial);
    else
        node.DefinirErreur();
}

// The user's locale when a function of the formula reads or writes dates in it; the C locale
// otherwise, which costs nothing to make.
std::locale LocaleFor(const std::vector<V>& compiled) {
    for (const V& node : compiled)
        if (node.kind == V::kFonction && FormulaFunction::UsesLocale(static_cast<std::int32_t>(node.code)))
            return SerialDate::UserLocale();
    return std::locale::classic();
}

bool IsConstantKind(std::int32_t kind) {
    return kind == V::kNombre || kind == V::kChaine || kind == V::kDate || kind == V::kListe ||
           kind == V::kSeparateur;
}

} // namespace

FormulaEvaluator::FormulaEvaluator(std::vector<CValeurFormule>& compiled, const FormulaData& data)
    : m_compiled(compiled), m_locale(LocaleFor(compiled)), m_constant(compiled.size(), 0),
      m_answers(compiled.size(), nullptr), m_modality(compiled.size(), 0.0), m_lookups(compiled.size()) {
    for (std::size_t n = 0; n < compiled.size(); ++n) {
        const V& node = compiled[n];
        bool constant = IsConstantKind(node.kind);
        if (node.kind == V::kQuestion || node.kind == V::kModalite) {
            m_answers[n] = data.Trouver(static_cast<int>(node.code));
        } else if (!constant) {
            constant = !node.operands.empty();
            for (std::int32_t operand : node.operands)
                constant = constant && operand >= 0 && static_cast<std::size_t>(operand) < n &&
                           m_constant[static_cast<std::size_t>(operand)] != 0;
        }
        if (node.kind == V::kModalite)
            m_modality[n] = CStaticTools::ToLong(node.text);
        m_constant[n] = constant ? 1 : 0;
    }
}

FormulaEvaluator::~FormulaEvaluator() = default;

void FormulaEvaluator::Evaluer(std::int32_t interview) {
    for (std::size_t n = 0; n < m_compiled.size(); ++n) {
        if (m_constant[n] != 0 && m_constantsDone)
            continue;
        EvaluateNode(m_compiled[n], n, interview);
        if (m_constant[n] != 0 && m_compiled[n].EstListe() && m_compiled[n].elements.size() > kLongList)
            m_lookups[n] = std::make_unique<NumberLists::Lookup>(m_compiled[n].elements);
    }
    m_constantsDone = true;
}

void FormulaEvaluator::EvaluateNode(CValeurFormule& node, std::size_t index, std::int32_t interview) {
    switch (node.kind) {
    case V::kNombre:
        node.DefinirNombre(node.code);
        break;
    case V::kChaine:
        node.DefinirChaine(node.text);
        break;
    case V::kDate:
        node.DefinirDate(node.code);
        break;
    case V::kListe:
        break; // its members were set when the formula was cut
    case V::kQuestion:
        Reference(node, index, interview);
        break;
    case V::kModalite:
        ModalityReference(node, index, interview);
        break;
    case V::kOperateur:
        Arithmetic(node);
        break;
    case V::kComparaison:
        Comparison(node);
        break;
    case V::kLogique:
        Logical(node);
        break;
    case V::kCrochet:
        Index(node);
        break;
    case V::kFonction:
        EvaluerFonctionFormule(node, m_compiled, m_locale);
        break;
    default: // the argument separator has no value
        node.DefinirErreur();
        break;
    }
}

// A closed question gives its answer's modality number (a list of them with several answer
// slots, empty slots left out); no answer (an empty slot, the not-asked modality) is the error
// value. A numeric question gives its value, missing values included; a date question its date,
// a missing value being the error value.
void FormulaEvaluator::Reference(CValeurFormule& node, std::size_t index, std::int32_t interview) const {
    const FormulaData::Answers* answers = m_answers[index];
    if (answers != nullptr && answers->codes != nullptr) {
        const CMatriceCodes& codes = *answers->codes;
        if (interview >= codes.GetNbLignes()) {
            node.DefinirErreur();
            return;
        }
        const int width = codes.GetNbColonnes();
        const std::int16_t* row = codes.DonnerCellules() + static_cast<std::size_t>(interview) * width;
        const int notAsked = answers->notAsked;
        const auto answered = [notAsked](std::int16_t cell) { return cell >= 0 && cell != notAsked; };
        if (width == 1) {
            if (answered(row[0]))
                node.DefinirNombre(row[0] + 1);
            else
                node.DefinirErreur();
            return;
        }
        std::vector<double>& list = node.ViderListe();
        for (int c = 0; c < width; ++c)
            if (answered(row[c]))
                list.push_back(row[c] + 1);
        return;
    }
    if (answers != nullptr && answers->values != nullptr && interview < answers->values->GetSize()) {
        const double value = answers->values->GetAt(interview);
        if (!answers->dates)
            node.DefinirNombre(value);
        else if (value != CVecteurDouble::kNoAnswer && value != CVecteurDouble::kNotAsked &&
                 SerialDate::IsDate(value))
            node.DefinirDate(value);
        else
            node.DefinirErreur();
        return;
    }
    node.DefinirErreur();
}

// 1 when one of the interview's answers is the modality, else 0.
void FormulaEvaluator::ModalityReference(CValeurFormule& node, std::size_t index,
                                         std::int32_t interview) const {
    const FormulaData::Answers* answers = m_answers[index];
    if (answers == nullptr || answers->codes == nullptr || interview >= answers->codes->GetNbLignes()) {
        node.DefinirErreur();
        return;
    }
    const CMatriceCodes& codes = *answers->codes;
    const int width = codes.GetNbColonnes();
    const std::int16_t* row = codes.DonnerCellules() + static_cast<std::size_t>(interview) * width;
    bool found = false;
    for (int c = 0; c < width && !found; ++c)
        found = row[c] + 1 == m_modality[index];
    node.DefinirNombre(found ? 1.0 : 0.0);
}

void FormulaEvaluator::Arithmetic(CValeurFormule& node) {
    const std::size_t li = OperandIndex(node, 0);
    const std::size_t ri = OperandIndex(node, 1);
    const V& left = m_compiled[li];
    const V& right = m_compiled[ri];
    const int op = static_cast<int>(node.code);
    if (left.EstErreur() || right.EstErreur() || left.dimension > 1 || right.dimension > 1) {
        node.DefinirErreur();
        return;
    }
    if (op == V::kPlus && (left.EstScalaire(V::kTypeChaine) || right.EstScalaire(V::kTypeChaine))) {
        std::string text;
        left.AjouterTexte(text);
        right.AjouterTexte(text);
        node.DefinirChaine(std::move(text));
        return;
    }
    if (left.EstListe() || right.EstListe() || op == V::kInter) {
        if (!FormulaNumbers::IsNumberTyped(left) || !FormulaNumbers::IsNumberTyped(right) ||
            (op != V::kPlus && op != V::kMoins && op != V::kInter)) {
            node.DefinirErreur();
            return;
        }
        std::vector<double>& out = node.ViderListe();
        if (op == V::kPlus) {
            if (!NumberLists::Union(left.Nombres(), right.Nombres(), out))
                node.DefinirErreur();
        } else if (op == V::kMoins) {
            NumberLists::Difference(left.Nombres(), right.Nombres(), out);
        } else {
            const NumberLists::Lookup* kept = m_lookups[ri].get();
            std::optional<NumberLists::Lookup> made;
            if (kept == nullptr)
                kept = &made.emplace(right.Nombres());
            NumberLists::Intersection(left.Nombres(), *kept, out);
        }
        return;
    }
    const bool numbers = left.valueType == V::kTypeNombre && right.valueType == V::kTypeNombre;
    const double a = left.number;
    const double b = right.number;
    switch (op) {
    case V::kPlus:
        if (numbers)
            FormulaNumbers::SetFinite(node, a + b);
        else if (left.valueType == V::kTypeDate && right.valueType == V::kTypeNombre)
            SetDate(node, SerialDate::ToLinear(a) + b);
        else if (left.valueType == V::kTypeNombre && right.valueType == V::kTypeDate)
            SetDate(node, SerialDate::ToLinear(b) + a);
        else
            node.DefinirErreur();
        break;
    case V::kMoins:
        if (numbers)
            FormulaNumbers::SetFinite(node, a - b);
        else if (left.valueType == V::kTypeDate && right.valueType == V::kTypeNombre)
            SetDate(node, SerialDate::ToLinear(a) - b);
        else if (left.valueType == V::kTypeDate && right.valueType == V::kTypeDate)
            FormulaNumbers::SetFinite(node, SerialDate::ToLinear(a) - SerialDate::ToLinear(b));
        else
            node.DefinirErreur();
        break;
    case V::kFois:
        if (numbers)
            FormulaNumbers::SetFinite(node, a * b);
        else
            node.DefinirErreur();
        break;
    case V::kDivise:
        if (numbers && b != 0.0)
            FormulaNumbers::SetFinite(node, a / b);
        else
            node.DefinirErreur();
        break;
    case V::kModulo: {
        std::int64_t dividend = 0;
        std::int64_t divisor = 0;
        if (numbers && FormulaNumbers::Truncate32(a, dividend) && FormulaNumbers::Truncate32(b, divisor) &&
            divisor != 0)
            node.DefinirNombre(static_cast<double>(dividend % divisor));
        else
            node.DefinirErreur();
        break;
    }
    default:
        node.DefinirErreur();
        break;
    }
}

bool FormulaEvaluator::Included(std::size_t left, std::size_t right) {
    const NumberLists::Lookup* kept = m_lookups[right].get();
    std::optional<NumberLists::Lookup> made;
    if (kept == nullptr)
        kept = &made.emplace(m_compiled[right].Nombres());
    return NumberLists::IsIncluded(m_compiled[left].Nombres(), *kept);
}

bool FormulaEvaluator::Equal(std::size_t li, std::size_t ri) {
    const V& left = m_compiled[li];
    const V& right = m_compiled[ri];
    if (left.EstErreur() || right.EstErreur() || left.dimension > 1 || right.dimension > 1 ||
        left.valueType != right.valueType)
        return false;
    if (left.EstListe() || right.EstListe())
        return Included(li, ri) && Included(ri, li);
    if (left.valueType == V::kTypeChaine)
        return left.string == right.string;
    return left.number == right.number;
}

bool FormulaEvaluator::Less(std::size_t li, std::size_t ri, bool orEqual) {
    const V& left = m_compiled[li];
    const V& right = m_compiled[ri];
    if (left.EstErreur() || right.EstErreur() || left.dimension > 1 || right.dimension > 1)
        return false;
    if (left.EstListe() || right.EstListe())
        return FormulaNumbers::IsNumberTyped(left) && FormulaNumbers::IsNumberTyped(right) &&
               Included(li, ri);
    if (left.valueType != right.valueType)
        return false;
    if (left.valueType == V::kTypeChaine) {
        const int order = FormulaText::Compare(left.string, right.string);
        return orEqual ? order <= 0 : order < 0;
    }
    return orEqual ? left.number <= right.number : left.number < right.number;
}

void FormulaEvaluator::Comparison(CValeurFormule& node) {
    const std::size_t li = OperandIndex(node, 0);
    const std::size_t ri = OperandIndex(node, 1);
    bool holds = false;
    switch (static_cast<int>(node.code)) {
    case V::kEgal:
        holds = Equal(li, ri);
        break;
    case V::kDifferent:
        holds = !Equal(li, ri);
        break;
    case V::kInferieur:
        holds = Less(li, ri, false);
        break;
    case V::kInferieurEgal:
        holds = Less(li, ri, true);
        break;
    case V::kSuperieur:
        holds = Less(ri, li, false);
        break;
    case V::kSuperieurEgal:
        holds = Less(ri, li, true);
        break;
    default:
        break;
    }
    node.DefinirNombre(holds ? 1.0 : 0.0);
}

void FormulaEvaluator::Logical(CValeurFormule& node) const {
    const V& left = Operand(node, 0);
    const V& right = Operand(node, 1);
    if (!left.EstScalaire(V::kTypeNombre) || !right.EstScalaire(V::kTypeNombre)) {
        node.DefinirErreur();
        return;
    }
    const bool a = left.number != 0.0;
    const bool b = right.number != 0.0;
    node.DefinirNombre((static_cast<int>(node.code) == V::kEt ? (a && b) : (a || b)) ? 1.0 : 0.0);
}

// The element of the list numbered by the index (1 for the first); the error value when there is
// no such element.
void FormulaEvaluator::Index(CValeurFormule& node) const {
    const V& list = Operand(node, 0);
    const V& index = Operand(node, 1);
    if (!index.EstScalaire(V::kTypeNombre) || !list.EstListe() || !(index.number >= 1.0) ||
        index.number >= static_cast<double>(list.elements.size()) + 1.0) {
        node.DefinirErreur();
        return;
    }
    node.DefinirNombre(list.elements[static_cast<std::size_t>(index.number) - 1]);
}
