// Times a formula of the formula language over every interview of a questionnaire, as a study
// field applies it: the first evaluation reading the answers of the questions it names from the
// response tables; then, the database inverted, the first evaluation of a session reading them
// from the inverted files; then the same evaluation with the answers in the survey's caches, as
// every later table of a session finds them. Opening the survey and inverting it are not counted.
// Usage: formula_benchmark FILE.qes [FORMULA]; prints "name seconds" lines (wall-clock and
// processor time), the processor time per interview of the cached evaluation, and the number of
// interviews whose result is 1. The file is inverted in place (its "dat" folder beside it).
#include "app/ContexteEtude.h"
#include "app/Inversion.h"
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

struct Timing {
    double seconds = 0.0;
    double processor = 0.0;
};

// The wall-clock time, and the processor time of the process (what the evaluation itself costs
// on a machine busy with other work).
bool Evaluate(CContexteEtude& context, const std::string& formula, std::vector<std::string>& results,
              Timing& timing) {
    results.clear();
    FormulaError error;
    const Clock::time_point start = Clock::now();
    const std::clock_t started = std::clock();
    const bool evaluated = EvaluerFormule(formula, error, context, results);
    timing.processor = static_cast<double>(std::clock() - started) / CLOCKS_PER_SEC;
    timing.seconds = SecondsSince(start);
    if (!evaluated)
        std::fprintf(stderr, "error %d at position %d, length %d %s\n", error.code, error.position,
                     error.length, error.text.c_str());
    return evaluated;
}

bool Open(CContexteEtude& context, const char* path) {
    context.questionnairePath = path;
    if (context.OuvrirEtude())
        return true;
    std::fprintf(stderr, "cannot open %s: %s\n", path, context.GetLastError().c_str());
    return false;
}

void Report(const char* name, const Timing& timing) {
    std::printf("%s %.6f\n", name, timing.seconds);
    std::printf("%s-processor %.6f\n", name, timing.processor);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: formula_benchmark FILE.qes [FORMULA]\n");
        return 2;
    }
    const std::string formula = argc == 3 ? argv[2] : kFormula;
    std::vector<std::string> results;
    Timing tables;
    {
        CContexteEtude context;
        if (!Open(context, argv[1]) || !Evaluate(context, formula, results, tables))
            return 1;
        if (CInversion(context).InverserBase() != CInversion::Issue::Done || !context.invertedFilesValid) {
            std::fprintf(stderr, "inversion failed: %s\n", context.GetLastError().c_str());
            return 1;
        }
    }
    // A session that opens the inverted database: its caches start empty.
    CContexteEtude context;
    if (!Open(context, argv[1]))
        return 1;
    if (!context.invertedFilesValid) {
        std::fprintf(stderr, "the inverted files are not used\n");
        return 1;
    }
    Timing inverted;
    Timing cached;
    if (!Evaluate(context, formula, results, inverted) || !Evaluate(context, formula, results, cached))
        return 1;
    long kept = 0;
    for (const std::string& result : results)
        kept += result == "1" ? 1 : 0;
    const int n = context.DonnerNbreInterviews();
    Report("tables", tables);
    Report("inverted", inverted);
    Report("cached", cached);
    std::printf("per-interview %.3e\n", n > 0 ? cached.processor / n : 0.0);
    std::printf("kept %ld\n", kept);
    std::fprintf(stderr, "%d interviews\n", n);
    return 0;
}
