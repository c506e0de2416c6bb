// Times a formula of the formula language over every interview of a questionnaire: the first
// evaluation, which reads the answers of the questions it names, then the same evaluation with
// the answers in the survey's caches, as every later table of a session finds them. Opening the
// survey is not counted.
// Usage: formula_benchmark FILE.qes [FORMULA]; prints "name seconds" lines (wall-clock and
// processor time), the processor time per interview, and the number of interviews whose result
// is 1.
#include "app/ContexteEtude.h"
#include "formula/EvaluerFormule.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kFormula = "??Q1?? >= 2 ET ??Q2?? IN {1;3} OU ??Q3?? = 1";

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The wall-clock time, and the processor time of the process (what the evaluation itself costs
// on a machine busy with other work).
bool Evaluate(CContexteEtude& context, const std::string& formula, std::vector<std::string>& results,
              double& seconds, double& processor) {
    results.clear();
    FormulaError error;
    const Clock::time_point start = Clock::now();
    const std::clock_t started = std::clock();
    const bool evaluated = EvaluerFormule(formula, error, context, results);
    processor = static_cast<double>(std::clock() - started) / CLOCKS_PER_SEC;
    seconds = SecondsSince(start);
    if (!evaluated)
        std::fprintf(stderr, "error %d at position %d, length %d %s\n", error.code, error.position,
                     error.length, error.text.c_str());
    return evaluated;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: formula_benchmark FILE.qes [FORMULA]\n");
        return 2;
    }
    const std::string formula = argc == 3 ? argv[2] : kFormula;
    CContexteEtude context;
    context.questionnairePath = argv[1];
    if (!context.OuvrirEtude()) {
        std::fprintf(stderr, "cannot open %s: %s\n", argv[1], context.GetLastError().c_str());
        return 1;
    }
    std::vector<std::string> results;
    double reading = 0.0;
    double readingProcessor = 0.0;
    double cached = 0.0;
    double cachedProcessor = 0.0;
    if (!Evaluate(context, formula, results, reading, readingProcessor) ||
        !Evaluate(context, formula, results, cached, cachedProcessor))
        return 1;
    long kept = 0;
    for (const std::string& result : results)
        kept += result == "1" ? 1 : 0;
    const int n = context.DonnerNbreInterviews();
    std::printf("reading %.6f\n", reading);
    std::printf("reading-processor %.6f\n", readingProcessor);
    std::printf("cached %.6f\n", cached);
    std::printf("cached-processor %.6f\n", cachedProcessor);
    std::printf("per-interview %.3e\n", n > 0 ? cachedProcessor / n : 0.0);
    std::printf("kept %ld\n", kept);
    std::fprintf(stderr, "%d interviews\n", n);
    return 0;
}
