#include "variables/CalculerScript.h"

#include "app/Enquete.h"
#include "formula/FormulaData.h"
#include "variables/ScriptEvaluator.h"
#include "variables/ScriptProgram.h"

#include <string>
#include <utility>

bool CalculerScript(std::string_view text, CEnquete& survey, std::vector<double>& values, ScriptError& error) {
    values.clear();
    ScriptProgram program;
    if (!ScriptProgram::Compiler(text, survey, program, error))
        return false;
    FormulaData data(survey);
    for (const CElementCompile& token : program.Tokens()) {
        int index = -1;
        if (!token.EstReference() || !survey.TrouverIndexQuestion(token.question, index))
            continue;
        std::string reason;
        if (!data.Charger(index, reason)) {
            error = ScriptError();
            error.message = Message::Text(reason);
            return false;
        }
    }
    const ScriptEvaluator evaluator(program, survey, data);
    const int count = survey.DonnerNbreInterviews();
    std::vector<double> computed(static_cast<std::size_t>(count > 0 ? count : 0));
    for (int i = 0; i < count; ++i)
        computed[static_cast<std::size_t>(i)] = evaluator.Resultat(i);
    values = std::move(computed);
    return true;
}
