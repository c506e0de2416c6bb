#include "variables/ScriptEvaluator.h"

#include "app/Enquete.h"
#include "app/MatriceCodes.h"
#include "app/QuestionEtendue.h"
#include "app/VecteurDouble.h"
#include "variables/ScriptKeywords.h"
#include "variables/ScriptOperations.h"
#include "variables/ScriptProgram.h"

#include <cmath>
#include <utility>

namespace {

using E = CElementCompile;

// The accumulators of one level.
struct Accumulators {
    CValeurScript operand;
    CValeurScript arithmetic;
    int arithmeticOp = 0;
    CValeurScript comparison;
    int comparator = 0;
    CValeurScript logic;
    int logicalOp = 0;
    int function = 0;

    void CloseChain() {
        arithmetic = arithmeticOp != 0 ? ScriptOperations::Calculer(arithmetic, arithmeticOp, operand) : operand;
        arithmeticOp = 0;
    }
    void CloseComparison() {
        comparison = comparator != 0 ? ScriptOperations::Comparer(comparison, comparator, arithmetic)
                                     : std::move(arithmetic);
        comparator = 0;
    }
    void CloseLogic() {
        logic = logicalOp != 0 ? ScriptOperations::Combiner(logic, logicalOp, comparison) : std::move(comparison);
        logicalOp = 0;
    }
    void ApplyFunction() {
        if (function == 0)
            return;
        operand = ScriptKeywords::EvaluerFonction(function, operand);
        function = 0;
    }
};

} // namespace

ScriptEvaluator::ScriptEvaluator(const ScriptProgram& program, const CEnquete& survey, const FormulaData& data)
    : m_program(program), m_references(program.Tokens().size()) {
    const auto tokens = program.Tokens();
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const CElementCompile& token = tokens[i];
        int index = -1;
        if (!token.EstReference() || token.question == nullptr || !survey.TrouverIndexQuestion(token.question, index))
            continue;
        m_references[i].answers = data.Trouver(index);
        m_references[i].modalities = token.question->GetNbreModalite();
    }
}

CValeurScript ScriptEvaluator::Evaluer(int interview) const { return CompilerScript(0, m_program.Size(), interview); }

double ScriptEvaluator::Resultat(int interview) const {
    const CValeurScript value = Evaluer(interview);
    if (value.EstErreur() || value.EstListe() || !std::isfinite(value.number))
        return CValeurScript::kNonReponse;
    return value.number;
}

CValeurScript ScriptEvaluator::CompilerScript(int first, int end, int interview) const {
    const auto tokens = m_program.Tokens();
    const ScriptStructure& structure = m_program.Structure();
    Accumulators level;
    bool expectOperand = true;
    int i = first;
    while (i < end) {
        const CElementCompile& token = tokens[static_cast<std::size_t>(i)];
        if (expectOperand) {
            switch (token.kind) {
            case E::kParentheseOuvrante: {
                const int close = structure.Fin(i);
                if (close < 0 || close >= end)
                    return CValeurScript::Erreur();
                level.operand = CompilerScript(i + 1, close, interview);
                i = close + 1;
                break;
            }
            case E::kNombre:
                level.operand = CValeurScript::Nombre(token.value);
                ++i;
                break;
            case E::kFonction:
                level.function = token.Code();
                ++i;
                continue;
            case E::kQuestionNumerique:
            case E::kQuestionFermee:
            case E::kQuestionFermeeMultiple:
                level.operand = Lire(i, interview);
                ++i;
                break;
            case E::kSi: {
                const int finsi = structure.Fin(i);
                if (finsi < 0 || finsi >= end)
                    return CValeurScript::Erreur();
                Si(i, interview, level.operand);
                i = finsi + 1;
                break;
            }
            default:
                return CValeurScript::Erreur();
            }
            level.ApplyFunction();
            expectOperand = false;
            continue;
        }
        // Each operator closes what it ends with the pending operator, then becomes pending.
        switch (token.kind) {
        case E::kArithmetique:
            level.CloseChain();
            level.arithmeticOp = token.Code();
            break;
        case E::kComparateur:
            level.CloseChain();
            level.CloseComparison();
            level.comparator = token.Code();
            break;
        case E::kLogique:
            level.CloseChain();
            level.CloseComparison();
            level.CloseLogic();
            level.logicalOp = token.Code();
            break;
        default:
            return CValeurScript::Erreur();
        }
        expectOperand = true;
        ++i;
    }
    level.CloseChain();
    level.CloseComparison();
    level.CloseLogic();
    return std::move(level.logic);
}

void ScriptEvaluator::Si(int si, int interview, CValeurScript& operand) const {
    const auto tokens = m_program.Tokens();
    const ScriptStructure& structure = m_program.Structure();
    const int finsi = structure.Fin(si);
    int header = si;
    while (header >= 0 && header < finsi) {
        const CElementCompile& token = tokens[static_cast<std::size_t>(header)];
        int bodyFirst = 0;
        bool holds = true;
        if (token.kind == E::kSinon) {
            bodyFirst = header + 1;
        } else {
            const int alors = structure.Alors(header);
            if (alors < 0 || alors >= finsi)
                return;
            // Only the number is looked at: a missing value counts as true.
            holds = CompilerScript(header + 1, alors, interview).number != 0.0;
            bodyFirst = alors + 1;
        }
        const int bodyEnd = structure.Fin(bodyFirst - 1);
        if (bodyEnd < 0 || bodyEnd > finsi)
            return;
        if (holds) {
            operand = CompilerScript(bodyFirst, bodyEnd, interview);
            return;
        }
        header = bodyEnd;
    }
}

CValeurScript ScriptEvaluator::Lire(int token, int interview) const {
    const CElementCompile& reference = m_program.Tokens()[static_cast<std::size_t>(token)];
    const Reference& read = m_references[static_cast<std::size_t>(token)];
    const FormulaData::Answers* answers = read.answers;
    if (reference.kind == E::kQuestionNumerique) {
        if (answers == nullptr || answers->values == nullptr || interview >= answers->values->GetSize())
            return CValeurScript::Nombre(CValeurScript::kNonReponse);
        return CValeurScript::Nombre(answers->values->GetAt(interview));
    }
    const CMatriceCodes* codes = answers != nullptr ? answers->codes : nullptr;
    const bool hasRow = codes != nullptr && interview < codes->GetNbLignes() && codes->GetNbColonnes() > 0;
    if (reference.kind == E::kQuestionFermee) {
        // The first answer slot as the modality's position counted from 1, whatever it holds.
        if (!hasRow)
            return CValeurScript::Nombre(CValeurScript::kNonReponse);
        return CValeurScript::Nombre(codes->GetAt(interview, 0) + 1.0);
    }
    std::vector<double> elements;
    if (hasRow) {
        for (int slot = 0; slot < codes->GetNbColonnes(); ++slot) {
            const int code = codes->GetAt(interview, slot);
            // Empty slots, the not-asked marker and codes outside the modalities are no answers.
            if (code < 0 || code >= read.modalities || code == answers->notAsked)
                continue;
            elements.push_back(code + 1.0);
        }
    }
    return CValeurScript::Liste(std::move(elements));
}
