// Times the search for significant cross tables and the multiple linear regression on a synthetic
// survey of closed questions weighted by its weight question POIDS.
// Usage:
//   significance_benchmark prepare FILE.qes DIR   inverts the database, stores the weighting
//                                                POIDS, writes DIR/codes.bin (one unsigned byte per
//                                                interview and closed question, row by row, 0 for
//                                                a blank) and DIR/weights.bin (doubles)
//   significance_benchmark scan FILE.qes THRESHOLD prints "name value" lines: the seconds of the
//                                                search over Q1..Q50 by Q51..Q100 (wall and
//                                                processor), then one "pair i j risk" line per
//                                                table listed
//   significance_benchmark rlm FILE.qes           the regression of Q1's codes on those of Q2..Q11
//                                                over the interviews that answered all eleven:
//                                                the solver's seconds (best of 3, wall and
//                                                processor) and "coef j value" lines
#include "app/ContexteEtude.h"
#include "app/DBQuestionnaire.h"
#include "app/DataAccess.h"
#include "app/Inversion.h"
#include "app/MatriceCodes.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "app/Redressement.h"
#include "app/VecteurDouble.h"
#include "statistics/RegressionLineaire.h"
#include "statistics/SignificantCrossTables.h"
#include "tabulation/Tableau.h"
#include "tools/bench/BenchSession.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

using bench::Clock;
using bench::ClosedQuestions;
using bench::Report;
using bench::SecondsSince;

constexpr const char* kWeightQuestion = "POIDS";
constexpr int kSide = 50;

double ProcessorSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

// The code of every interview's answer, 0 for a blank; false with the reason printed.
bool ReadCodes(CDataAccess& access, CQuestionEtendue& question, std::vector<std::int32_t>& codes) {
    CMatriceCodes* answers = nullptr;
    if (!access.LireReponsesFermees(question, answers)) {
        std::fprintf(stderr, "reading %s: %s\n", question.name.c_str(), access.GetErrorText().c_str());
        return false;
    }
    codes.resize(static_cast<std::size_t>(answers->GetNbLignes()));
    for (int row = 0; row < answers->GetNbLignes(); ++row) {
        const int index = answers->GetAt(row, 0);
        const std::int32_t code = index >= 0 ? question.GetCodeModalite(index) : 0;
        codes[static_cast<std::size_t>(row)] = code > 0 ? code : 0;
    }
    access.MemoriserReponsesFermees(question, answers);
    return true;
}

int Prepare(const char* path, const std::string& folder) {
    CContexteEtude context;
    if (!bench::OpenSurvey(context, path, "significance_benchmark"))
        return 1;
    if (CInversion(context).InverserBase() != CInversion::Issue::Done || !context.invertedFilesValid) {
        std::fprintf(stderr, "inversion failed: %s\n", context.GetLastError().c_str());
        return 1;
    }
    CQuestionEtendue* weight = context.TrouverQuestionParNom(kWeightQuestion);
    if (weight == nullptr) {
        std::fprintf(stderr, "no question %s\n", kWeightQuestion);
        return 1;
    }
    bench::WeightingByQuestion(context, *weight);
    CRedressement scheme;
    if (!context.DonnerRedressement(1, scheme) || !CDBQuestionnaire(context).SaveWeighting(scheme)) {
        std::fprintf(stderr, "cannot store the weighting %s\n", kWeightQuestion);
        return 1;
    }
    const std::vector<CQuestionEtendue*> closed = ClosedQuestions(context);
    CDataAccess access(context, true);
    std::vector<std::vector<std::int32_t>> codes(closed.size());
    for (std::size_t q = 0; q < closed.size(); ++q)
        if (!ReadCodes(access, *closed[q], codes[q]))
            return 1;
    CVecteurDouble* weights = nullptr;
    if (!access.LireValeursNumeriques(*weight, weights)) {
        std::fprintf(stderr, "reading %s: %s\n", kWeightQuestion, access.GetErrorText().c_str());
        return 1;
    }
    const int rows = weights->GetSize();
    std::vector<unsigned char> bytes;
    bytes.reserve(static_cast<std::size_t>(rows) * closed.size());
    for (int row = 0; row < rows; ++row)
        for (const auto& question : codes)
            bytes.push_back(static_cast<unsigned char>(question[static_cast<std::size_t>(row)]));
    std::vector<double> values(static_cast<std::size_t>(rows));
    for (int row = 0; row < rows; ++row)
        values[static_cast<std::size_t>(row)] = weights->GetAt(row);
    access.MemoriserValeursNumeriques(*weight, weights);
    std::ofstream codeFile(folder + "/codes.bin", std::ios::binary);
    codeFile.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    std::ofstream weightFile(folder + "/weights.bin", std::ios::binary);
    weightFile.write(reinterpret_cast<const char*>(values.data()),
                     static_cast<std::streamsize>(values.size() * sizeof(double)));
    if (codeFile && weightFile)
        return 0;
    std::fprintf(stderr, "cannot write into %s\n", folder.c_str());
    return 1;
}

// The question's real answers: its modalities of positive code.
void AddQuestion(CProfil& profile, CQuestionEtendue& question) {
    std::vector<std::unique_ptr<CModaliteEtendue>> modalities;
    question.DonnerModalites(modalities, true);
    std::erase_if(modalities, [](const auto& modality) { return modality->code <= 0; });
    profile.Add(&question, modalities);
}

int Scan(const char* path, int threshold) {
    CContexteEtude context;
    if (!bench::OpenSurvey(context, path, "significance_benchmark"))
        return 1;
    const std::vector<CQuestionEtendue*> closed = ClosedQuestions(context);
    if (closed.size() < 2 * kSide) {
        std::fprintf(stderr, "the survey needs %d closed questions\n", 2 * kSide);
        return 1;
    }
    context.weightingCode = 1;
    context.weightingLabel = kWeightQuestion;
    SignificantCrossTables scan(context);
    for (int i = 0; i < kSide; ++i) {
        AddQuestion(scan.GetProfilLignes(), *closed[static_cast<std::size_t>(i)]);
        AddQuestion(scan.GetProfilColonnes(), *closed[static_cast<std::size_t>(kSide + i)]);
    }
    scan.seuil = threshold;
    const double processor = ProcessorSeconds();
    const Clock::time_point start = Clock::now();
    if (!scan.Recalculer())
        return 1;
    Report("scan", SecondsSince(start));
    Report("scan-cpu", ProcessorSeconds() - processor);
    Report("listed", static_cast<double>(scan.GetResultats().size()));
    for (const auto& result : scan.GetResultats()) {
        const CTraitement* request = result.tableau->GetTraitement();
        const auto number = [&](int axis) {
            const CQuestionEtendue* question = request->GetQuestionAxe(axis);
            return question != nullptr ? std::stoi(question->name.substr(1)) : 0;
        };
        std::printf("pair %d %d %.17g\n", number(CTraitement::kLignes), number(CTraitement::kColonnes), result.risque);
    }
    return 0;
}

int Regression(const char* path) {
    constexpr int kExplanatory = 10;
    CContexteEtude context;
    if (!bench::OpenSurvey(context, path, "significance_benchmark"))
        return 1;
    const std::vector<CQuestionEtendue*> closed = ClosedQuestions(context);
    CDataAccess access(context, true);
    std::vector<std::vector<std::int32_t>> codes(kExplanatory + 1);
    for (int q = 0; q <= kExplanatory; ++q)
        if (!ReadCodes(access, *closed[static_cast<std::size_t>(q)], codes[static_cast<std::size_t>(q)]))
            return 1;
    std::vector<double> y;
    std::vector<double> x;
    for (std::size_t row = 0; row < codes[0].size(); ++row) {
        if (std::any_of(codes.begin(), codes.end(), [row](const auto& question) { return question[row] == 0; }))
            continue;
        y.push_back(codes[0][row]);
        for (int q = 1; q <= kExplanatory; ++q)
            x.push_back(codes[static_cast<std::size_t>(q)][row]);
    }
    CRegressionLineaire solver;
    solver.Initialiser(static_cast<int>(y.size()), 0, kExplanatory, y.data(), x.data());
    ResultatsRegression results;
    double best = 1e300;
    double bestProcessor = 1e300;
    for (int run = 0; run < 3; ++run) {
        int code = -1;
        const double processor = ProcessorSeconds();
        const Clock::time_point start = Clock::now();
        if (!solver.Calculer(results, code)) {
            std::fprintf(stderr, "the regression failed (%d)\n", code);
            return 1;
        }
        best = std::min(best, SecondsSince(start));
        bestProcessor = std::min(bestProcessor, ProcessorSeconds() - processor);
    }
    Report("rlm", best);
    Report("rlm-cpu", bestProcessor);
    Report("rows", static_cast<double>(y.size()));
    for (std::size_t j = 0; j * 3 < results.coefficients.size(); ++j)
        std::printf("coef %zu %.17g\n", j, results.coefficients[j * 3]);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "prepare" && argc == 4)
        return Prepare(argv[2], argv[3]);
    if (mode == "scan" && argc == 4)
        return Scan(argv[2], std::atoi(argv[3]));
    if (mode == "rlm" && argc == 3)
        return Regression(argv[2]);
    std::fprintf(stderr, "usage: significance_benchmark prepare FILE.qes DIR | scan FILE.qes THRESHOLD | rlm FILE.qes\n");
    return 2;
}
