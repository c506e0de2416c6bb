// A script of a computed variable, cut, coloured and checked against the fuzz survey, then
// evaluated for one interview without answers: whatever the text, it ends with a value or a fault
// whose place lies inside the text (or a token of the list), never with a crash or a hang.
#include "formula/FormulaData.h"
#include "formula/FormulaText.h"
#include "fuzz/FuzzSurvey.h"
#include "variables/ScriptEvaluator.h"
#include "variables/ScriptLexer.h"
#include "variables/ScriptProgram.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const CContexteEtude& survey = fuzz::Survey();
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto characters = static_cast<std::int32_t>(FormulaText::CharacterCount(text));

    ScriptLexing colours;
    LexerScript(text, ScriptLexer::kColorer, survey, colours);
    for (const ScriptColourSpan& span : colours.spans) {
        if (span.position < 0 || span.length <= 0 || span.position + span.length > characters)
            std::abort();
    }

    ScriptProgram program;
    ScriptError error;
    if (!ScriptProgram::Compiler(text, survey, program, error)) {
        if (error.tokenIndex < 0 && (error.position < 0 || error.length < 0 ||
                                     error.position - 1 + error.length > characters))
            std::abort();
        return 0;
    }
    const FormulaData noAnswers;
    const ScriptEvaluator evaluator(program, survey, noAnswers);
    (void)evaluator.Resultat(0);
    return 0;
}
