// A formula of the formula language, cut and compiled against the fuzz survey, then evaluated for
// one interview without answers: whatever the text, reading it ends with a value or an error
// whose place lies inside the text, never with a fault.
#include "formula/EvaluerFormule.h"
#include "formula/FormulaData.h"
#include "formula/FormulaEvaluator.h"
#include "formula/FormulaText.h"
#include "fuzz/FuzzSurvey.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const CContexteEtude& survey = fuzz::Survey();
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<CValeurFormule> compiled;
    FormulaError error;
    if (!PreparerFormule(text, compiled, error, survey)) {
        const auto characters = static_cast<std::int32_t>(FormulaText::CharacterCount(text));
        if (error.position < 0 || error.length < 0 || error.position + error.length > characters + 1)
            std::abort();
        return 0;
    }
    const FormulaData noAnswers;
    FormulaEvaluator evaluator(compiled, noAnswers);
    evaluator.Evaluer(0);
    evaluator.Evaluer(1);
    (void)evaluator.Resultat().DonnerTexte();
    return 0;
}
