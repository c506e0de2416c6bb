#include "formula/CompilerFormule.h"

#include "app/Enquete.h"
#include "formula/FormulaFunction.h"
#include "formula/FormulaNumbers.h"

#include <cmath>
#include <optional>

namespace {

using V = CValeurFormule;

using E = FormulaError;

bool Is(const V& token, std::int32_t kind, int code) {
    return token.kind == kind && static_cast<int>(token.code) == code;
}
bool IsScalar(const V& v, std::int32_t type) {
    return v.dimension == V::kScalaire && v.valueType == type;
}
bool IsMultiplicative(const V& t) {
    return t.kind == V::kOperateur && (Is(t, V::kOperateur, V::kFois) || Is(t, V::kOperateur, V::kDivise) ||
                                       Is(t, V::kOperateur, V::kModulo));
}

void SetType(V& node, std::int32_t type, std::int16_t dimension) {
    node.valueType = type;
    node.dimension = dimension;
}

// Types an arithmetic or set operator's node from its operands; 0, or the operator's error code
// when the operands do not fit.
std::int32_t ReduireArithmetique(V& node, const V& left, const V& right) {
    const int op = static_cast<int>(node.code);
    if (IsScalar(left, V::kTypeChaine) || IsScalar(right, V::kTypeChaine)) {
        SetType(node, V::kTypeChaine, V::kScalaire);
        return 0;
    }
    static constexpr std::int32_t kRefusal[] = {E::kPlusRefuse,          E::kMoinsRefuse,
                                                E::kProduitRefuse,       E::kQuotientRefuse,
                                                E::kIntersectionRefusee, E::kModuloRefuse};
    const std::int32_t refused = op >= 0 && op <= V::kModulo ? kRefusal[op] : E::kPlusRefuse;
    if (left.dimension > 1 || right.dimension > 1)
        return refused;
    if (left.dimension == 1 || right.dimension == 1) {
        if (!FormulaNumbers::IsNumberTyped(left) || !FormulaNumbers::IsNumberTyped(right) ||
            (op != V::kPlus && op != V::kMoins && op != V::kInter))
            return refused;
        SetType(node, V::kTypeNombre, V::kDimensionListe);
        return 0;
    }
    const bool numbers = left.valueType == V::kTypeNombre && right.valueType == V::kTypeNombre;
    const bool leftDate = left.valueType == V::kTypeDate;
    const bool rightDate = right.valueType == V::kTypeDate;
    std::int32_t type = -1;
    switch (op) {
    case V::kPlus:
        if (numbers)
            type = V::kTypeNombre;
        else if ((leftDate && right.valueType == V::kTypeNombre) ||
                 (rightDate && left.valueType == V::kTypeNombre))
            type = V::kTypeDate;
        break;
    case V::kMoins:
        if (numbers || (leftDate && rightDate))
            type = V::kTypeNombre;
        else if (leftDate && right.valueType == V::kTypeNombre)
            type = V::kTypeDate;
        break;
    case V::kFois:
    case V::kDivise:
    case V::kModulo:
        if (numbers)
            type = V::kTypeNombre;
        break;
    default:
        break;
    }
    if (type < 0)
        return refused;
    SetType(node, type, V::kScalaire);
    return 0;
}

std::int32_t ReduireComparaison(V& node, const V& left, const V& right) {
    if (left.dimension > 1 || right.dimension > 1)
        return E::kComparaisonRefusee;
    if (left.dimension == 1 || right.dimension == 1) {
        if (!FormulaNumbers::IsNumberTyped(left) || !FormulaNumbers::IsNumberTyped(right))
            return E::kComparaisonRefusee;
    } else if (left.valueType != right.valueType) {
        return E::kComparaisonRefusee;
    }
    SetType(node, V::kTypeNombre, V::kScalaire);
    return 0;
}

std::int32_t ReduireLogique(V& node, const V& left, const V& right) {
    if (!IsScalar(left, V::kTypeNombre) || !IsScalar(right, V::kTypeNombre))
        return E::kLogiqueRefusee;
    SetType(node, V::kTypeNombre, V::kScalaire);
    return 0;
}

// Where the matching ")" of every "(" and the matching "]" of every "[" is, each kind nesting on
// its own; npos for none.
std::vector<std::size_t> Matches(const std::vector<V>& tokens) {
    std::vector<std::size_t> match(tokens.size(), std::string::npos);
    std::vector<std::size_t> parentheses;
    std::vector<std::size_t> brackets;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const V& token = tokens[i];
        std::vector<std::size_t>* open = token.kind == V::kParenthese ? &parentheses
                                         : token.kind == V::kCrochet  ? &brackets
                                                                      : nullptr;
        if (open == nullptr)
            continue;
        if (static_cast<int>(token.code) == V::kOuvrant) {
            open->push_back(i);
        } else if (!open->empty()) {
            match[open->back()] = i;
            open->pop_back();
        }
    }
    return match;
}

class Compiler {
public:
    Compiler(const std::vector<V>& tokens, std::vector<V>& compiled, FormulaError& error,
             const CEnquete& survey)
        : m_tokens(tokens), m_match(Matches(tokens)), m_compiled(compiled), m_error(error), m_survey(survey) {
    }

    bool Compile(std::vector<std::int32_t>& stack) { return CompileRange(0, m_tokens.size(), stack, 0); }

private:
    // The operators waiting for their right operand, one per level, and the function waiting for
    // its argument.
    struct Pending {
        std::optional<V> multiplicative;
        std::optional<V> additive;
        std::optional<V> comparison;
        std::optional<V> logical;
        const V* function = nullptr;
    };
    enum class Level { Multiplicative, Additive, Comparison, Logical };

    bool Fail(std::int32_t code, const V& at) {
        m_error.code = code;
        m_error.position = at.position;
        m_error.length = at.length;
        return false;
    }
    // A group from its opening token to its closing one.
    bool FailGroup(std::int32_t code, std::size_t open, std::size_t close) {
        m_error.code = code;
        m_error.position = m_tokens[open].position;
        m_error.length = m_tokens[close].position + m_tokens[close].length - m_tokens[open].position;
        return false;
    }

    std::int32_t Append(V node, std::vector<std::int32_t>& stack) {
        node.nodeIndex = static_cast<std::int32_t>(m_compiled.size());
        stack.push_back(node.nodeIndex);
        m_compiled.push_back(std::move(node));
        return stack.back();
    }

    const V& Node(std::int32_t index) const { return m_compiled[static_cast<std::size_t>(index)]; }

    bool Reduce(std::optional<V>& slot, Level level, std::vector<std::int32_t>& stack) {
        if (!slot)
            return true;
        V node = std::move(*slot);
        slot.reset();
        if (stack.size() < 2)
            return Fail(E::kTropPeuDOperandes, node);
        const std::int32_t right = stack.back();
        stack.pop_back();
        const std::int32_t left = stack.back();
        stack.pop_back();
        std::int32_t refused = 0;
        switch (level) {
        case Level::Multiplicative:
        case Level::Additive:
            refused = ReduireArithmetique(node, Node(left), Node(right));
            break;
        case Level::Comparison:
            refused = ReduireComparaison(node, Node(left), Node(right));
            break;
        case Level::Logical:
            refused = ReduireLogique(node, Node(left), Node(right));
            break;
        }
        if (refused != 0)
            return Fail(refused, node);
        node.operands = {left, right};
        Append(std::move(node), stack);
        return true;
    }

    // Reduces the pending operators from the multiplicative level up to `upTo`.
    bool ReduceUpTo(Pending& pending, Level upTo, std::vector<std::int32_t>& stack) {
        if (!Reduce(pending.multiplicative, Level::Multiplicative, stack))
            return false;
        if (upTo == Level::Multiplicative)
            return true;
        if (!Reduce(pending.additive, Level::Additive, stack))
            return false;
        if (upTo == Level::Additive)
            return true;
        if (!Reduce(pending.comparison, Level::Comparison, stack))
            return false;
        if (upTo == Level::Comparison)
            return true;
        return Reduce(pending.logical, Level::Logical, stack);
    }

    // The group between tokens open and close, compiled on a stack of its own; it must leave one
    // value.
    bool CompileGroup(std::size_t open, std::size_t close, int depth, std::vector<std::int32_t>& group) {
        if (depth >= kProfondeurMaximaleFormule)
            return Fail(E::kImbricationTropProfonde, m_tokens[open]);
        return CompileRange(open + 1, close, group, depth + 1);
    }

    bool Operand(const V& token, Pending& pending, std::vector<std::int32_t>& stack) {
        V node = token;
        switch (token.kind) {
        case V::kNombre:
        case V::kModalite:
            SetType(node, V::kTypeNombre, V::kScalaire);
            node.number = token.kind == V::kNombre ? token.code : 0.0;
            break;
        case V::kChaine:
            SetType(node, V::kTypeChaine, V::kScalaire);
            node.string = token.text;
            break;
        case V::kDate:
            SetType(node, V::kTypeDate, V::kScalaire);
            node.number = token.code;
            break;
        case V::kListe:
            break; // the tokenizer made it a list of its members
        case V::kQuestion: {
            int kind = 0;
            int extra = 0;
            m_survey.DonnerTypeQuestion(static_cast<int>(token.code), kind, extra);
            if (kind < V::kTypeNombre || kind > V::kTypeDate)
                return Fail(E::kTypeQuestionErreur, token);
            SetType(node, kind, extra != 0 ? V::kDimensionListe : V::kScalaire);
            break;
        }
        default:
            break;
        }
        Append(std::move(node), stack);
        return AppliquerFonction(pending.function, m_compiled, stack, m_error);
    }

    bool CompileRange(std::size_t begin, std::size_t end, std::vector<std::int32_t>& stack, int depth) {
        Pending pending;
        bool expectOperand = true;
        for (std::size_t i = begin; i < end; ++i) {
            const V& token = m_tokens[i];
            if (expectOperand) {
                if (Is(token, V::kParenthese, V::kOuvrant)) {
                    const std::size_t close = m_match[i];
                    if (close == std::string::npos || close >= end)
                        return Fail(E::kParentheseNonFermee, token);
                    std::vector<std::int32_t> group;
                    if (!CompileGroup(i, close, depth, group))
                        return false;
                    if (!AppliquerFonction(pending.function, m_compiled, group, m_error))
                        return false;
                    if (group.size() != 1)
                        return FailGroup(E::kGroupeSansValeurUnique, i, close);
                    stack.push_back(group.front());
                    expectOperand = false;
                    i = close;
                } else if (token.kind == V::kParenthese) {
                    return Fail(E::kParentheseMalPlacee, token);
                } else if (token.kind == V::kNombre || token.kind == V::kModalite ||
                           token.kind == V::kChaine || token.kind == V::kDate || token.kind == V::kListe ||
                           token.kind == V::kQuestion) {
                    if (!Operand(token, pending, stack))
                        return false;
                    expectOperand = false;
                } else if (token.kind == V::kFonction) {
                    if (pending.function != nullptr)
                        return Fail(E::kFonctionEnAttente, token);
                    pending.function = &token;
                } else if (token.kind == V::kSeparateur) {
                    return Fail(E::kOperateurAttendu, token);
                } else {
                    return Fail(E::kOperandeAttendu, token);
                }
                continue;
            }
            if (IsMultiplicative(token)) {
                if (!ReduceUpTo(pending, Level::Multiplicative, stack))
                    return false;
                pending.multiplicative = token;
                expectOperand = true;
            } else if (token.kind == V::kOperateur) {
                if (!ReduceUpTo(pending, Level::Additive, stack))
                    return false;
                pending.additive = token;
                expectOperand = true;
            } else if (token.kind == V::kComparaison) {
                if (!ReduceUpTo(pending, Level::Comparison, stack))
                    return false;
                pending.comparison = token;
                expectOperand = true;
            } else if (token.kind == V::kLogique) {
                if (!ReduceUpTo(pending, Level::Logical, stack))
                    return false;
                pending.logical = token;
                expectOperand = true;
            } else if (token.kind == V::kNombre && std::signbit(token.code)) {
                // "5-2" was cut as 5 and -2: the minus becomes the operator.
                if (!ReduceUpTo(pending, Level::Additive, stack))
                    return false;
                V minus = token;
                minus.kind = V::kOperateur;
                minus.code = V::kMoins;
                minus.length = 1;
                pending.additive = std::move(minus);
                V positive = token;
                positive.code = -token.code;
                positive.position = token.position + 1;
                positive.length = token.length - 1;
                if (!Operand(positive, pending, stack))
                    return false;
            } else if (token.kind == V::kSeparateur) {
                if (!ReduceUpTo(pending, Level::Logical, stack))
                    return false;
                V comma = token;
                SetType(comma, V::kTypeErreur, V::kDimensionListe);
                Append(std::move(comma), stack);
                expectOperand = true;
            } else if (Is(token, V::kCrochet, V::kOuvrant)) {
                const std::size_t close = m_match[i];
                if (close == std::string::npos || close >= end)
                    return Fail(E::kCrochetNonFerme, token);
                std::vector<std::int32_t> group;
                if (!CompileGroup(i, close, depth, group))
                    return false;
                if (group.size() != 1)
                    return FailGroup(E::kGroupeSansValeurUnique, i, close);
                stack.push_back(group.front());
                if (!ReduireIndex(token, stack))
                    return false;
                i = close;
            } else if (token.kind == V::kCrochet) {
                return Fail(E::kCrochetFermantSeul, token);
            } else if (token.kind == V::kParenthese) {
                return Fail(E::kParentheseMalPlacee, token);
            } else {
                return Fail(E::kOperateurAttendu, token);
            }
        }
        // A function still waiting at the end is dropped.
        return ReduceUpTo(pending, Level::Logical, stack);
    }

    // "[": the list and the index on the stack become the element.
    bool ReduireIndex(const V& bracket, std::vector<std::int32_t>& stack) {
        if (stack.size() < 2)
            return Fail(E::kTropPeuDOperandes, bracket);
        const std::int32_t index = stack.back();
        stack.pop_back();
        const std::int32_t list = stack.back();
        stack.pop_back();
        if (!IsScalar(Node(index), V::kTypeNombre))
            return Fail(E::kIndiceNonNumerique, Node(index));
        if (Node(list).dimension != V::kDimensionListe)
            return Fail(E::kIndiceSansListe, Node(list));
        V node = bracket;
        SetType(node, Node(list).valueType, V::kScalaire);
        node.operands = {list, index};
        Append(std::move(node), stack);
        return true;
    }

    const std::vector<V>& m_tokens;
    std::vector<std::size_t> m_match;
    std::vector<V>& m_compiled;
    FormulaError& m_error;
    const CEnquete& m_survey;
};

} // namespace

bool CompilerFormule(const std::vector<CValeurFormule>& tokens, std::vector<CValeurFormule>& compiled,
                     std::vector<std::int32_t>& stack, FormulaError& error, const CEnquete& survey) {
    return Compiler(tokens, compiled, error, survey).Compile(stack);
}
