// Times the script of a computed variable over every interview of a questionnaire: the first
// computation reads the answers of the questions it names, the second finds them in the survey's
// caches and costs the evaluation alone. Opening the survey is not counted.
// Usage: script_benchmark FILE.qes [SCRIPT]; prints "name seconds" lines and the sum of the
// values stored (non-responses left out). The default script names the first numeric question
// and the first two closed questions of the questionnaire three times each over 20 lines.
#include "app/ContexteEtude.h"
#include "app/QuestionEtendue.h"
#include "variables/CalculerScript.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Twenty lines over one numeric and two closed questions of the survey; empty when it has none.
std::string DefaultScript(const CEnquete& survey) {
    std::string numeric;
    std::vector<std::string> closed;
    for (int i = 0; i < survey.DonnerNbreQuestions(); ++i) {
        const CQuestionEtendue* question = survey.DonnerQuestion(i);
        if (question->level != 0)
            continue;
        if (numeric.empty() && survey.EstQuestionNumerique(i))
            numeric = "??" + question->name + "??";
        else if (closed.size() < 2 && survey.EstQuestionFermee(i) && !survey.EstQuestionNumerique(i))
            closed.push_back("??" + question->name + "??");
    }
    if (numeric.empty() || closed.size() < 2)
        return {};
    const std::string& a = closed[0];
    const std::string& b = closed[1];
    return "SI " + numeric + " >= 18 ET " + a + " = 1 ALORS\n"
           "  ((" + numeric + " * 2) + 1) / 3\n"
           "SINONSI " + a + " = 2 OU " + a + " = 3 ALORS\n"
           "  SI TAILLE(" + b + ") > 1 ALORS\n"
           "    LOG(CVNRNI(" + numeric + ") + 1)\n"
           "  SINONSI 2 <= " + b + " ALORS\n"
           "    INT(" + numeric + " / 10)\n"
           "  SINON\n"
           "    (" + a + " + 1) * 2\n"
           "  FINSI\n"
           "SINONSI " + numeric + " < 0 ALORS\n"
           "  NR\n"
           "SINONSI (" + numeric + " + 5) > 100 ALORS\n"
           "  100\n"
           "SINON\n"
           "  SI " + a + " <> 4 ALORS\n"
           "    SQR(" + numeric + ")\n"
           "  SINON 0\n"
           "  FINSI\n"
           "FINSI";
}

bool Run(const char* name, const std::string& script, CContexteEtude& context) {
    std::vector<double> values;
    ScriptError error;
    const Clock::time_point start = Clock::now();
    if (!CalculerScript(script, context, values, error)) {
        std::fprintf(stderr, "error %d at %d (%d), token %d\n", error.message.id, error.position, error.length,
                     error.tokenIndex);
        return false;
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    double sum = 0.0;
    for (double value : values) {
        if (value != -999999.99)
            sum += value;
    }
    std::printf("%s %.3f (%zu interviews, sum %.6g)\n", name, seconds, values.size(), sum);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: script_benchmark FILE.qes [SCRIPT]\n");
        return 2;
    }
    CContexteEtude context;
    context.questionnairePath = argv[1];
    if (!context.OuvrirEtude()) {
        std::fprintf(stderr, "%s\n", context.GetLastError().c_str());
        return 1;
    }
    const std::string script = argc > 2 ? argv[2] : DefaultScript(context);
    if (script.empty()) {
        std::fprintf(stderr, "no numeric and two closed questions to name\n");
        return 1;
    }
    return Run("first", script, context) && Run("cached", script, context) ? 0 : 1;
}
