// Times the lexical engine on the open question AVIS of a synthetic survey (qesbuild synthetic
// --open): the answers, already in memory, cut into forms and counted (what the peers of the
// script do); the dictionary, corpus and cache files built from the answers (the caches deleted
// first), the same read back from the caches, the repeated segments computed and written, and the
// lexical table of the forms by the ten categories of Q8 with its test values. Best of three runs
// each; prints "name value" lines for openanswers_benchmark.sh, and with --forms FILE writes every
// form and its frequency ("form<TAB>frequency", dictionary order) for the peers' check.
// Usage: openanswers_benchmark FILE.qes [--forms FILE]
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "app/ContexteEtude.h"
#include "app/DataAccess.h"
#include "app/QuestionEtendue.h"
#include "openanswers/EnregistrerOuvertes.h"
#include "openanswers/LexicalCacheFiles.h"
#include "openanswers/OuvCorpus.h"
#include "tools/bench/BenchSession.h"

namespace {

constexpr int kRuns = 3;

void RemoveCaches(const CContexteEtude& context, const CQuestionEtendue& question) {
    for (const char* prefix : {"Dic", "Crp", "Lem", "Sgm"}) {
        std::error_code ignored;
        std::filesystem::remove(std::filesystem::path(context.DonnerRepertoireInversion()) /
                                    LexicalCacheFiles::Nom(prefix, question),
                                ignored);
    }
}

template <class Step> double Best(Step step) {
    double best = std::numeric_limits<double>::max();
    for (int run = 0; run < kRuns; ++run) {
        const bench::Clock::time_point start = bench::Clock::now();
        if (!step())
            return -1.0;
        best = std::min(best, bench::SecondsSince(start));
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 && !(argc == 4 && std::strcmp(argv[2], "--forms") == 0)) {
        std::fprintf(stderr, "usage: openanswers_benchmark FILE.qes [--forms FILE]\n");
        return 2;
    }
    EnregistrerOuvertes();
    CContexteEtude context;
    if (!bench::OpenSurvey(context, argv[1], "openanswers_benchmark"))
        return 1;
    CQuestionEtendue* question = context.TrouverQuestionParNom("AVIS");
    CQuestionEtendue* categories = context.TrouverQuestionParNom("Q8");
    if (question == nullptr || categories == nullptr) {
        std::fprintf(stderr, "%s has no AVIS or no Q8: write it with qesbuild synthetic --open\n", argv[1]);
        return 1;
    }

    // The answers in memory cut into forms and counted: the work the peers do.
    std::vector<std::string> answers;
    {
        CDataAccess access(context, true);
        if (!access.LireReponsesOuvertes(*question, answers)) {
            std::fprintf(stderr, "%s\n", access.GetErrorText().c_str());
            return 1;
        }
    }
    const double count = Best([&] { return !COuvCorpus::DecouperReponses(answers).ids.empty(); });
    const double build = Best([&] {
        RemoveCaches(context, *question);
        COuvCorpus corpus(context, *question);
        return corpus.Ouvrir();
    });
    COuvCorpus corpus(context, *question);
    const double load = Best([&] { return corpus.Charger(); });
    const double segments = Best([&] { return corpus.RecalculerSegments(); });
    std::size_t forms = 0;
    const double specificities = Best([&] {
        int M = 0;
        const auto table = corpus.ConstruireTableLexicale(false, *categories, M);
        if (!table)
            return false;
        forms = static_cast<std::size_t>(corpus.GetNbreFormes());
        return corpus.CalculerSpecificites(*table, M).size() == forms * static_cast<std::size_t>(M);
    });
    if (build < 0 || load < 0 || segments < 0 || specificities < 0) {
        std::fprintf(stderr, "a step failed\n");
        return 1;
    }
    bench::Report("count", count);
    bench::Report("build", build);
    bench::Report("load", load);
    bench::Report("segments", segments);
    bench::Report("specificities", specificities);
    std::printf("answers %d\n", context.DonnerNbreInterviews());
    std::printf("tokens %zu\n", corpus.DonnerCorpus().size() - static_cast<std::size_t>(context.DonnerNbreInterviews()));
    std::printf("forms %zu\n", forms);
    std::printf("categories %d\n", categories->GetNbreModalite());
    std::printf("segmentcount %d\n", corpus.GetNbreSegments());
    std::printf("peak %.1f\n", bench::PeakMegabytes());
    if (argc == 4) {
        std::ofstream out(argv[3]);
        for (int i = 0; i < corpus.GetNbreFormes(); ++i)
            out << corpus.DonnerForme(i)->text << '\t' << corpus.DonnerForme(i)->frequency << '\n';
    }
    return 0;
}
