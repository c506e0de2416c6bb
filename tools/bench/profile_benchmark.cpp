// Times the profile tables of a survey of closed questions through the request runner, as the
// program runs them: a crossed profile of the first ten questions by the next ten (100 blocks of
// counts, row and column percentages) and an advanced table of the same profiles with three cell
// calculations (counts, row and column profiles) and a chi-square test line for every pair.
// Usage (the database inverted first, e.g. by `tabulation_benchmark prepare`):
//   profile_benchmark run FILE.qes   prints "name value" lines: the seconds of the two tables, the
//                                    peak memory, the values the peer is checked on
#include "app/ContexteEtude.h"
#include "tabulation/CalculEvolue.h"
#include "tabulation/ExecuteurTraitement.h"
#include "tabulation/Style.h"
#include "tabulation/Tableau.h"
#include "tabulation/Traitement.h"
#include "tools/bench/BenchProfiles.h"
#include "tools/bench/BenchSession.h"

#include <chrono>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace {

using bench::Clock;
using bench::ClosedQuestions;
using bench::CrossedProfileRequest;
using bench::Execute;
using bench::PeakMegabytes;
using bench::ProfileOf;
using bench::ProfileRequest;
using bench::Report;
using bench::ReportValue;
using bench::SecondsSince;
using bench::Tables;

constexpr std::size_t kQuestionsPerSide = 10;

std::unique_ptr<CTraitement> AdvancedTableRequest(const CProfil& rows, const CProfil& columns) {
    auto request = ProfileRequest(CTraitement::kTableauxEvolues, rows, columns);
    auto style = std::make_unique<CStyle>();
    for (std::int32_t kind : {0, 1, 2}) {
        auto cell = std::make_unique<CCalculEvolue>();
        cell->type = CCalculEvolue::kCrossing;
        cell->code = kind;
        cell->label = CCalculEvolue::DonnerLibelleOperation(cell->type, kind);
        style->Add(std::move(cell));
    }
    auto test = std::make_unique<CCalculEvolue>();
    test->type = CCalculEvolue::kTestLine;
    test->label = CCalculEvolue::DonnerLibelleOperation(test->type, 0);
    test->testLineText = "??K??";
    style->Add(std::move(test));
    request->SetStyle(std::move(style));
    return request;
}

int Run(const char* path) {
    CContexteEtude context;
    if (!bench::OpenSurvey(context, path, "profile_benchmark"))
        return 1;
    if (!context.invertedFilesValid) {
        std::fprintf(stderr, "the inverted files are not valid: invert the database first\n");
        return 1;
    }
    const std::vector<CQuestionEtendue*> closed = ClosedQuestions(context);
    if (closed.size() < 2 * kQuestionsPerSide) {
        std::fprintf(stderr, "the survey needs %zu closed questions\n", 2 * kQuestionsPerSide);
        return 1;
    }
    const CProfil rows = ProfileOf(closed, 0, kQuestionsPerSide);
    const CProfil columns = ProfileOf(closed, kQuestionsPerSide, kQuestionsPerSide);

    Clock::time_point start = Clock::now();
    const Tables crossed = Execute(context, CrossedProfileRequest(rows, columns));
    Report("crossed", SecondsSince(start));

    start = Clock::now();
    const Tables advanced = Execute(context, AdvancedTableRequest(rows, columns));
    Report("advanced", SecondsSince(start));

    Report("memory", PeakMegabytes());
    ReportValue("count_first", crossed.empty() ? -1.0 : crossed.front()->GetValeur(0, 0));
    // The first test text is the one of the first pair of questions.
    ReportValue("chi2_first", advanced.empty() ? -1.0 : std::stod("0" + advanced.front()->GetTexte(1)));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "run" && argc == 3)
        return Run(argv[2]);
    std::fprintf(stderr, "usage: profile_benchmark run FILE.qes\n");
    return 2;
}
