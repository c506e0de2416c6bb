#include "variables/ScriptChecker.h"

#include "app/StringTable.h"
#include "variables/ScriptStructure.h"

namespace {

using E = CElementCompile;
namespace T = ScriptTypes;

int MessageArithmetique(int op) {
    switch (op) {
    case E::kPlus:
        return StringTable::kScriptAdditionImpossible;
    case E::kMoins:
        return StringTable::kScriptSoustractionImpossible;
    case E::kFois:
        return StringTable::kScriptMultiplicationImpossible;
    default:
        return StringTable::kScriptDivisionImpossible;
    }
}

bool TypeValide(int type) { return type % 100 == T::kNombre && type / 100 <= 1; }

class Checker {
public:
    Checker(std::span<const CElementCompile> tokens, ScriptError& error)
        : m_tokens(tokens), m_structure(tokens), m_error(error) {}

    bool Range(int first, int end, bool siAllowed, int depth, int& type);

private:
    // The state of one level of parentheses.
    struct Level {
        int arithmetic = 0, arithmeticAt = -1;
        int comparator = 0, comparatorAt = -1;
        int logical = 0, logicalAt = -1;
        bool function = false;
        int operand = T::kInconnu;
        int chain = T::kInconnu;
        int comparison = T::kInconnu;
        int logic = T::kInconnu;
    };

    bool Operand(Level& level, int& i, int first, int end, bool siAllowed, int depth);
    bool Operator(Level& level, int& i);
    bool Si(int si, int end, int depth, int& next);

    bool Fail(int id, int index) {
        m_error.message = Message(id);
        m_error.tokenIndex = index;
        return false;
    }
    bool Deeper(int depth, int index) {
        return depth + 1 <= kProfondeurScriptMax || Fail(StringTable::kScriptTropImbrique, index);
    }

    // Rule A: the chain so far with one more operand.
    bool Arithmetic(int chain, int op, int operand, int at, int& out) {
        if (chain == T::kInconnu || operand == T::kInconnu) {
            out = chain == T::kInconnu ? operand : chain;
            return true;
        }
        if (!TypeValide(chain) || !TypeValide(operand))
            return Fail(MessageArithmetique(op), at);
        if (chain == T::kNombre && operand == T::kNombre) {
            out = T::kNombre;
            return true;
        }
        if (op != E::kPlus && op != E::kMoins)
            return Fail(MessageArithmetique(op), at);
        out = chain;
        return true;
    }
    // Rule C.
    bool Comparison(int left, int right, int at, int& out) {
        if (left != T::kInconnu && right != T::kInconnu &&
            (!TypeValide(left) || !TypeValide(right) || left % 100 != right % 100))
            return Fail(StringTable::kScriptComparaisonImpossible, at);
        out = T::kNombre;
        return true;
    }
    // Rule L.
    bool Logic(int left, int right, int at, int& out) {
        if ((left != T::kInconnu && left != T::kNombre) || (right != T::kInconnu && right != T::kNombre))
            return Fail(StringTable::kScriptLogiqueSurNombres, at);
        out = T::kNombre;
        return true;
    }

    bool CloseChain(Level& level) {
        if (level.arithmetic == 0) {
            level.chain = level.operand;
            return true;
        }
        return Arithmetic(level.chain, level.arithmetic, level.operand, level.arithmeticAt, level.chain);
    }
    bool CloseComparison(Level& level) {
        if (level.comparator == 0) {
            level.comparison = level.chain;
            return true;
        }
        return Comparison(level.comparison, level.chain, level.comparatorAt, level.comparison);
    }
    bool CloseLogic(Level& level) {
        if (level.logical == 0) {
            level.logic = level.comparison;
            return true;
        }
        return Logic(level.logic, level.comparison, level.logicalAt, level.logic);
    }

    std::span<const CElementCompile> m_tokens;
    ScriptStructure m_structure;
    ScriptError& m_error;
};

bool Checker::Range(int first, int end, bool siAllowed, int depth, int& type) {
    if (first >= end)
        return Fail(StringTable::kScriptCaractereInattendu, first);
    Level level;
    bool expectOperand = true;
    int i = first;
    while (i < end) {
        if (expectOperand) {
            const bool wasFunction = m_tokens[static_cast<std::size_t>(i)].kind == E::kFonction;
            if (!Operand(level, i, first, end, siAllowed, depth))
                return false;
            expectOperand = wasFunction;
        } else {
            if (!Operator(level, i))
                return false;
            expectOperand = true;
        }
    }
    if (expectOperand)
        return Fail(StringTable::kScriptOperateurInattendu, end - 1);
    if (!CloseChain(level) || !CloseComparison(level) || !CloseLogic(level))
        return false;
    type = level.logic;
    return true;
}

bool Checker::Operand(Level& level, int& i, int first, int end, bool siAllowed, int depth) {
    const CElementCompile& token = m_tokens[static_cast<std::size_t>(i)];
    int type = T::kInconnu;
    switch (token.kind) {
    case E::kParentheseOuvrante: {
        const int close = m_structure.Fin(i);
        if (close < 0 || close >= end)
            return Fail(StringTable::kScriptManqueParentheseFermante, i);
        if (!Deeper(depth, i) || !Range(i + 1, close, siAllowed, depth + 1, type))
            return false;
        i = close + 1;
        break;
    }
    case E::kNombre:
    case E::kQuestionNumerique:
    case E::kQuestionFermee:
        type = T::kNombre;
        ++i;
        break;
    case E::kQuestionFermeeMultiple:
        type = T::kListe;
        ++i;
        break;
    case E::kFonction:
        if (level.function)
            return Fail(StringTable::kScriptAmbigu, i);
        level.function = true;
        ++i;
        return true;
    case E::kSi: {
        if (!siAllowed || i != first)
            return Fail(StringTable::kScriptSiInattendu, i);
        int next = 0;
        if (!Si(i, end, depth, next))
            return false;
        i = next;
        level.operand = T::kInconnu;
        return true;
    }
    case E::kParentheseFermante:
        return Fail(StringTable::kScriptParentheseInattendue, i);
    case E::kComparateur:
        return Fail(StringTable::kScriptComparateurInattendu, i);
    case E::kArithmetique:
        return Fail(StringTable::kScriptOperateurInattendu, i);
    case E::kLogique:
        return Fail(StringTable::kScriptOperateurLogiqueInattendu, i);
    default:
        return Fail(StringTable::kScriptErreurSyntaxe, i);
    }
    if (level.function) {
        type = T::kNombre;
        level.function = false;
    }
    level.operand = type;
    return true;
}

bool Checker::Operator(Level& level, int& i) {
    const CElementCompile& token = m_tokens[static_cast<std::size_t>(i)];
    const int code = token.Code();
    switch (token.kind) {
    case E::kParentheseOuvrante:
    case E::kParentheseFermante:
        return Fail(StringTable::kScriptParentheseInattendue, i);
    case E::kArithmetique:
        if (level.arithmetic != 0 && level.arithmetic != code)
            return Fail(StringTable::kScriptAmbigu, i);
        if (!CloseChain(level))
            return false;
        level.arithmetic = code;
        level.arithmeticAt = i;
        break;
    case E::kComparateur:
        if (level.comparator != 0)
            return Fail(StringTable::kScriptAmbigu, i);
        if (!CloseChain(level))
            return false;
        // The next operand starts a new chain, as in evaluation: "a + b = c - d" is sound.
        level.arithmetic = 0;
        level.comparison = level.chain;
        level.comparator = code;
        level.comparatorAt = i;
        break;
    case E::kLogique:
        if (level.logical != 0 && level.logical != code)
            return Fail(StringTable::kScriptAmbigu, i);
        if (!CloseChain(level) || !CloseComparison(level) || !CloseLogic(level))
            return false;
        level.arithmetic = 0;
        level.comparator = 0;
        level.logical = code;
        level.logicalAt = i;
        break;
    default:
        return Fail(StringTable::kScriptErreurSyntaxe, i);
    }
    ++i;
    return true;
}

bool Checker::Si(int si, int end, int depth, int& next) {
    const int finsi = m_structure.Fin(si);
    if (finsi < 0 || finsi >= end)
        return Fail(StringTable::kScriptFinSiAttendu, si);
    if (!Deeper(depth, si))
        return false;
    int type = T::kInconnu;
    int header = si;
    bool sinonSeen = false;
    while (true) {
        const int alors = m_structure.Alors(header);
        if (alors < 0 || alors >= finsi)
            return Fail(StringTable::kScriptAlorsAttendu, header);
        if (!Range(header + 1, alors, false, depth + 1, type))
            return false;
        int at = m_structure.Fin(alors);
        if (!Range(alors + 1, at, true, depth + 1, type))
            return false;
        while (m_tokens[static_cast<std::size_t>(at)].kind == E::kSinon) {
            if (sinonSeen)
                return Fail(StringTable::kScriptUnSeulSinon, at);
            sinonSeen = true;
            const int bodyEnd = m_structure.Fin(at);
            if (!Range(at + 1, bodyEnd, true, depth + 1, type))
                return false;
            at = bodyEnd;
        }
        if (at == finsi)
            break;
        header = at;
    }
    next = finsi + 1;
    return true;
}

} // namespace

bool VerifierScript(std::span<const CElementCompile> tokens, int first, int end, bool siAllowed, ScriptError& error,
                    int& type) {
    Checker checker(tokens, error);
    return checker.Range(first, end, siAllowed, 0, type);
}
