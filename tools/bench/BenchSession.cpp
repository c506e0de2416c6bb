#include "tools/bench/BenchSession.h"

#include <sys/resource.h>

#include <cstdio>
#include <iostream>
#include <memory>
#include <string>

#include "app/ContexteEtude.h"
#include "app/QuestionEtendue.h"
#include "app/Redressement.h"
#include "recodes/ObjectifRedressement.h"
#include "tabulation/ExecuteurTraitement.h"
#include "tools/cli/StreamUserInterface.h"

namespace bench {

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void Report(const char* name, double value) {
    std::printf("%s %.6f\n", name, value);
}

void ReportValue(const char* name, double value) {
    std::printf("%s %.15g\n", name, value);
}

bool OpenSurvey(CContexteEtude& context, const char* path, const char* tool) {
    context.SetUserInterface(std::make_unique<cli::StreamUserInterface>(std::cerr, tool));
    CContexteEtude::RegisterContext(&context);
    context.questionnairePath = path;
    if (context.OuvrirEtude())
        return true;
    std::fprintf(stderr, "cannot open %s: %s\n", path, context.GetLastError().c_str());
    return false;
}

std::vector<CQuestionEtendue*> ClosedQuestions(const CContexteEtude& context) {
    std::vector<CQuestionEtendue*> closed;
    for (int i = 0; i < context.DonnerNbreQuestions(); ++i)
        if (context.DonnerQuestion(i)->EstFermee())
            closed.push_back(context.DonnerQuestion(i));
    return closed;
}

Tables Execute(CContexteEtude& context, std::unique_ptr<CTraitement> request) {
    CExecuteurTraitement executor(context);
    executor.Executer(std::move(request));
    return executor.TakeTableaux();
}

std::int32_t WeightingByQuestion(CContexteEtude& context, const CQuestionEtendue& weight) {
    std::int32_t code = 0;
    std::string keys;
    std::int32_t recode = 0;
    context.DonnerReferenceQuestion(&weight, code, keys, recode);
    CObjectifRedressement root;
    CRedressement scheme;
    scheme.id = 1;
    scheme.name = weight.name;
    scheme.definition = std::to_string(code) + '@' + keys + '@' + std::to_string(recode) + '~' +
                        root.EcrireDefinition(context, false, 0);
    context.MettreAJourRedressement(scheme);
    return scheme.id;
}

double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

} // namespace bench
