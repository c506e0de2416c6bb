#include "formula/EvaluerFormule.h"

#include "app/Enquete.h"
#include "formula/CompilerFormule.h"
#include "formula/DecouperFormule.h"
#include "formula/FormulaEvaluator.h"
#include "formula/FormulaText.h"

namespace {

bool FailWholeFormula(FormulaError& error, std::int32_t code, std::string_view formula) {
    error.code = code;
    error.position = 0;
    error.length = static_cast<std::int32_t>(FormulaText::CharacterCount(formula));
    return false;
}

} // namespace

bool PreparerFormule(std::string_view formula, std::vector<CValeurFormule>& compiled, FormulaError& error,
                     const CEnquete& survey) {
    error = FormulaError{};
    compiled.clear();
    std::vector<CValeurFormule> tokens;
    if (!DecouperFormule(formula, tokens, error, survey))
        return false;
    std::vector<std::int32_t> stack;
    if (!CompilerFormule(tokens, compiled, stack, error, survey)) {
        compiled.clear();
        return false;
    }
    if (stack.size() != 1) {
        compiled.clear();
        return FailWholeFormula(
            error, stack.empty() ? FormulaError::kAucunOperande : FormulaError::kPlusieursValeurs, formula);
    }
    // The value left is the formula's: the last node of the list.
    if (static_cast<std::size_t>(stack.front()) + 1 != compiled.size()) {
        compiled.clear();
        return FailWholeFormula(error, FormulaError::kPlusieursValeurs, formula);
    }
    return true;
}

bool ChargerDonneesFormule(const std::vector<CValeurFormule>& compiled, FormulaData& data,
                           FormulaError& error) {
    for (const CValeurFormule& node : compiled) {
        if (node.kind != CValeurFormule::kQuestion && node.kind != CValeurFormule::kModalite)
            continue;
        std::string text;
        if (!data.Charger(static_cast<int>(node.code), text)) {
            error.code = FormulaError::kLectureImpossible;
            error.position = node.position;
            error.length = node.length;
            error.text = std::move(text);
            return false;
        }
    }
    return true;
}

bool CalculerFormule(std::vector<CValeurFormule>& compiled, CEnquete& survey,
                     std::vector<std::string>& results, FormulaError& error) {
    if (compiled.empty())
        return true;
    FormulaData data(survey);
    if (!ChargerDonneesFormule(compiled, data, error))
        return false;
    FormulaEvaluator evaluator(compiled, data);
    const std::int32_t interviews = survey.DonnerNbreInterviews();
    results.reserve(results.size() + static_cast<std::size_t>(std::max(interviews, 0)));
    for (std::int32_t i = 0; i < interviews; ++i) {
        evaluator.Evaluer(i);
        std::string text;
        evaluator.Resultat().AjouterTexte(text);
        results.push_back(std::move(text));
    }
    return true;
}

bool EvaluerFormule(std::string_view formula, FormulaError& error, CEnquete& survey,
                    std::vector<std::string>& results) {
    std::vector<CValeurFormule> compiled;
    if (!PreparerFormule(formula, compiled, error, survey))
        return false;
    return CalculerFormule(compiled, survey, results, error);
}
