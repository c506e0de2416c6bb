// Times the tables an analyst asks of a survey of closed questions, weighted by its weight
// question POIDS, through the request runner as the program runs them: a frequency table of every
// closed question (counts and percentages of respondents), one cross table of the first two
// questions (counts, row and column percentages, chi-square), and the first question crossed with
// each of the others.
// Usage:
//   tabulation_benchmark prepare FILE.qes DATA.csv   inverts the database, stores the weighting
//                                                   POIDS (the weight question's values as they
//                                                   are) in the questionnaire, writes every closed
//                                                   question and POIDS as CSV (codes, blank empty)
//   tabulation_benchmark run FILE.qes                prints "name value" lines: the seconds of the
//                                                   three jobs (the first pays the weights), of the
//                                                   weights and of reading the answers alone, the
//                                                   worker threads, the peak memory, the values
//                                                   the peers are checked on
#include "app/CacheDonnees3.h"
#include "app/ContexteEtude.h"
#include "app/DBQuestionnaire.h"
#include "app/DataAccess.h"
#include "app/Inversion.h"
#include "app/MatriceCodes.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "app/Redressement.h"
#include "app/VecteurDouble.h"
#include "app/VecteurPoids.h"
#include "app/WorkerPool.h"
#include "recodes/ObjectifRedressement.h"
#include "tabulation/CrossPlanes.h"
#include "tabulation/ExecuteurTraitement.h"
#include "tabulation/MoteurTableau.h"
#include "tabulation/Tableau.h"
#include "tabulation/Traitement.h"
#include "tools/bench/BenchSession.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace {

using bench::Clock;
using bench::ClosedQuestions;
using bench::Execute;
using bench::PeakMegabytes;
using bench::Report;
using bench::ReportValue;
using bench::SecondsSince;
using bench::WeightingByQuestion;
using Modalities = std::vector<std::unique_ptr<CModaliteEtendue>>;
using bench::Tables;

constexpr const char* kWeightQuestion = "POIDS";


// ---- prepare ------------------------------------------------------------------------------------

// The answer of a row as the question's modality code, "" when blank (an empty cell or the
// not-asked modality).
std::string CodeText(const CQuestionEtendue& question, const CMatriceCodes& codes, int row) {
    const int index = codes.GetAt(row, 0);
    const std::int32_t code = index >= 0 ? question.GetCodeModalite(index) : 0;
    return code > 0 ? std::to_string(code) : std::string();
}

int Prepare(const char* path, const char* csvPath) {
    CContexteEtude context;
    if (!bench::OpenSurvey(context, path, "tabulation_benchmark"))
        return 1;
    if (CInversion(context).InverserBase() != CInversion::Issue::Done || !context.invertedFilesValid) {
        std::fprintf(stderr, "inversion failed: %s\n", context.GetLastError().c_str());
        return 1;
    }
    const std::vector<CQuestionEtendue*> closed = ClosedQuestions(context);
    CQuestionEtendue* weight = context.TrouverQuestionParNom(kWeightQuestion);
    if (weight != nullptr) {
        // Stored, for the runs of qesrun that name it.
        WeightingByQuestion(context, *weight);
        CRedressement scheme;
        if (!context.DonnerRedressement(1, scheme) || !CDBQuestionnaire(context).SaveWeighting(scheme)) {
            std::fprintf(stderr, "cannot store the weighting %s\n", kWeightQuestion);
            return 1;
        }
    }
    CDataAccess access(context, true);
    std::vector<CMatriceCodes*> codes(closed.size(), nullptr);
    CVecteurDouble* weights = nullptr;
    for (std::size_t q = 0; q < closed.size(); ++q)
        if (!access.LireReponsesFermees(*closed[q], codes[q])) {
            std::fprintf(stderr, "reading %s: %s\n", closed[q]->name.c_str(), access.GetErrorText().c_str());
            return 1;
        }
    if (weight == nullptr || !access.LireValeursNumeriques(*weight, weights)) {
        std::fprintf(stderr, "reading %s: %s\n", kWeightQuestion, access.GetErrorText().c_str());
        return 1;
    }
    std::ofstream out(csvPath);
    for (const CQuestionEtendue* question : closed)
        out << question->name << ',';
    out << kWeightQuestion << '\n';
    char number[32];
    for (int row = 0; row < weights->GetSize(); ++row) {
        for (std::size_t q = 0; q < closed.size(); ++q)
            out << CodeText(*closed[q], *codes[q], row) << ',';
        std::snprintf(number, sizeof number, "%.10g", weights->GetAt(row));
        out << number << '\n';
    }
    for (std::size_t q = 0; q < closed.size(); ++q)
        access.MemoriserReponsesFermees(*closed[q], codes[q]);
    access.MemoriserValeursNumeriques(*weight, weights);
    if (out)
        return 0;
    std::fprintf(stderr, "cannot write %s\n", csvPath);
    return 1;
}

// ---- run ----------------------------------------------------------------------------------------

// Copies of the question's modalities (its real answers only, or every one), then the side's
// Total.
Modalities Selection(const CContexteEtude& context, CQuestionEtendue& question, bool realAnswersOnly,
                     int side) {
    Modalities all;
    question.DonnerModalites(all, false);
    Modalities chosen;
    for (auto& modality : all)
        if (!realAnswersOnly || modality->code > 0)
            chosen.push_back(std::move(modality));
    auto total = std::make_unique<CModaliteEtendue>(*context.DonnerModaliteTotal(side));
    total->selected = true;
    chosen.push_back(std::move(total));
    return chosen;
}

std::unique_ptr<CTraitement> Request(std::int16_t type, std::int32_t weighting,
                                     std::initializer_list<std::int32_t> calculationCodes) {
    auto request = std::make_unique<CTraitement>();
    request->type = type;
    request->weightingId = weighting;
    request->weightingName = kWeightQuestion;
    request->mergeOptions.Type = CTypeFusion::kSeparateTables;
    request->mergeOptions.EstVersDossier = 0;
    std::vector<std::unique_ptr<CCalcul>> calculations;
    for (std::int32_t code : calculationCodes)
        calculations.push_back(std::make_unique<CCalcul>(code, "Calcul " + std::to_string(code), true));
    request->SetCalculsLignes(calculations);
    return request;
}

// Every modality of the question (the not-asked one too, as the missing answers) and the Total,
// counts and percentages of respondents.
std::unique_ptr<CTraitement> FrequencyRequest(CContexteEtude& context, CQuestionEtendue& question,
                                              std::int32_t weighting) {
    auto request = Request(CTraitement::kTriSimple, weighting, {0, 1});
    request->title = question.name;
    request->SetTypeAxe(CTraitement::kLignes, CTraitement::kAxeFermee);
    request->DefinirModalitesAxe(&question, Selection(context, question, false, 0), CTraitement::kLignes);
    request->SetTypeAxe(CTraitement::kColonnes, CTraitement::kAxeAucun);
    return request;
}

// The real answers of both questions and their Totals: counts, row and column percentages.
std::unique_ptr<CTraitement> CrossRequest(CContexteEtude& context, CQuestionEtendue& rows,
                                          CQuestionEtendue& columns, std::int32_t weighting) {
    auto request = Request(CTraitement::kTriCroise, weighting, {0, 1, 2});
    request->title = rows.name + " x " + columns.name;
    request->SetTypeAxe(CTraitement::kLignes, CTraitement::kAxeFermee);
    request->DefinirModalitesAxe(&rows, Selection(context, rows, true, 0), CTraitement::kLignes);
    request->SetTypeAxe(CTraitement::kColonnes, CTraitement::kAxeFermee);
    request->DefinirModalitesAxe(&columns, Selection(context, columns, true, 1), CTraitement::kColonnes);
    return request;
}

// The chi-square of a table of counts whose last line and last column are the Totals: expected
// counts from the margins, the Total line and column left out.
double ChiSquare(const CTableau& counts) {
    const int lines = counts.RowCount();
    const int columns = counts.ColumnCount();
    const auto planeSize = static_cast<std::size_t>(lines) * static_cast<std::size_t>(columns);
    std::vector<double> planes(planeSize * CrossPlanes::kPlaneCount, 0.0);
    const double total = counts.GetValeur(lines - 1, columns - 1);
    for (int i = 0; i < lines; ++i)
        for (int j = 0; j < columns; ++j) {
            const std::size_t cell =
                static_cast<std::size_t>(i) * static_cast<std::size_t>(columns) + static_cast<std::size_t>(j);
            planes[CrossPlanes::kCount * planeSize + cell] = counts.GetValeur(i, j);
            planes[CrossPlanes::kExpectedCount * planeSize + cell] =
                total > 0.0 ? counts.GetValeur(i, columns - 1) * counts.GetValeur(lines - 1, j) / total : 0.0;
        }
    double chiSquare = 0.0;
    int freedom = 0;
    double probability = 0.0;
    CMoteurTableau::CalculerKhiDeux(planes, lines, columns, lines - 1, columns - 1, chiSquare, freedom,
                                    probability);
    return chiSquare;
}

// Runs the request; the tables it made, in order.
// One cross table with its chi-square; the first table is the counts (one table per calculation).
double CrossWithChiSquare(CContexteEtude& context, CQuestionEtendue& rows, CQuestionEtendue& columns,
                          std::int32_t weighting, int& tables) {
    const Tables made = Execute(context, CrossRequest(context, rows, columns, weighting));
    tables += static_cast<int>(made.size());
    return made.empty() ? -1.0 : ChiSquare(*made.front());
}

// The share of the jobs spent reading: every question read from its inverted file (in the page
// cache) and given back, as each table reads it (the survey's answer cache keeps only the last few
// questions read).
double ReadingSeconds(CContexteEtude& context, const std::vector<CQuestionEtendue*>& closed) {
    CDataAccess access(context, true);
    const Clock::time_point start = Clock::now();
    for (CQuestionEtendue* question : closed) {
        CMatriceCodes* codes = nullptr;
        if (access.LireReponsesFermees(*question, codes))
            access.MemoriserReponsesFermees(*question, codes);
    }
    return SecondsSince(start);
}

// The weighting's vector of weights, computed into the weight cache.
bool ComputeWeights(CContexteEtude& context, std::int32_t weighting) {
    CMoteurTableau engine(context);
    CVecteurPoids* weights = nullptr;
    std::string error;
    if (!engine.DonnerPoidsInterviews(0, -1, weighting, weights, error)) {
        std::fprintf(stderr, "weighting %s: %s\n", kWeightQuestion, error.c_str());
        return false;
    }
    engine.LibererPoids(0, -1, weighting, weights);
    return true;
}

int Run(const char* path) {
    CContexteEtude context;
    if (!bench::OpenSurvey(context, path, "tabulation_benchmark"))
        return 1;
    if (!context.invertedFilesValid) {
        std::fprintf(stderr, "the inverted files are not valid: run prepare first\n");
        return 1;
    }
    const std::vector<CQuestionEtendue*> closed = ClosedQuestions(context);
    const CQuestionEtendue* weight = context.TrouverQuestionParNom(kWeightQuestion);
    if (closed.size() < 2 || weight == nullptr) {
        std::fprintf(stderr, "the survey needs two closed questions and the question %s\n", kWeightQuestion);
        return 1;
    }
    const std::int32_t weighting = WeightingByQuestion(context, *weight);

    // Frequencies: the answers come from the inverted files (in the page cache). The first table
    // of the session reads POIDS and computes the weights; the others find them in the weight
    // cache.
    int tables = 0;
    double firstCount = -1.0;
    double lastCount = -1.0;
    Clock::time_point start = Clock::now();
    for (CQuestionEtendue* question : closed) {
        const Tables made = Execute(context, FrequencyRequest(context, *question, weighting));
        tables += static_cast<int>(made.size());
        if (!made.empty() && question == closed.front())
            firstCount = made.front()->GetValeur(0, 0);
        if (!made.empty() && question == closed.back())
            lastCount = made.front()->GetValeur(0, 0);
    }
    Report("frequencies", SecondsSince(start));

    start = Clock::now();
    const double chi2 = CrossWithChiSquare(context, *closed[0], *closed[1], weighting, tables);
    Report("cross", SecondsSince(start));

    double lastChi2 = -1.0;
    start = Clock::now();
    for (std::size_t q = 1; q < closed.size(); ++q) {
        const double value = CrossWithChiSquare(context, *closed[0], *closed[q], weighting, tables);
        if (q + 1 == closed.size())
            lastChi2 = value;
    }
    Report("crosses", SecondsSince(start));

    Report("reading", ReadingSeconds(context, closed));
    // The weights alone, again from POIDS already read (the best of five): the share of the first
    // job they took.
    double weights = 0.0;
    for (int run = 0; run < 5; ++run) {
        context.GetWeightCache()->InvaliderCle3(weighting);
        start = Clock::now();
        if (!ComputeWeights(context, weighting))
            return 1;
        const double seconds = SecondsSince(start);
        weights = run == 0 ? seconds : std::min(weights, seconds);
    }
    Report("weights", weights);
    Report("threads", WorkerPool::Shared().ThreadCount());
    Report("memory", PeakMegabytes());
    Report("tables", tables);
    ReportValue("count_first", firstCount);
    ReportValue("count_last", lastCount);
    ReportValue("chi2_first", chi2);
    ReportValue("chi2_last", lastChi2);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "prepare" && argc == 4)
        return Prepare(argv[2], argv[3]);
    if (mode == "run" && argc == 3)
        return Run(argv[2]);
    std::fprintf(stderr, "usage: tabulation_benchmark prepare FILE.qes DATA.csv | run FILE.qes\n");
    return 2;
}
