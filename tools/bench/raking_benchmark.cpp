// Times, on a questionnaire file already opened and read into memory: a weighted cross table of
// two closed questions (counts, the eight planes with percentages and marks, the chi-square) and
// the raking of four closed questions to uniform targets. Also writes the data of the four
// questions as CSV and the raked weights, one per line, for the comparison with another package.
// Usage: raking_benchmark FILE.qes DATA.csv WEIGHTS.txt; prints "name seconds" lines.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <span>
#include <string>
#include <vector>

#include "app/ContexteEtude.h"
#include "app/DataAccess.h"
#include "app/MatriceCodes.h"
#include "app/Redressement.h"
#include "app/VecteurDouble.h"
#include "platform/questionnaire/StaticTools.h"
#include "recodes/CalculRedressement.h"
#include "recodes/ObjectifRedressement.h"
#include "tabulation/CrossPlanes.h"
#include "tabulation/MoteurTableau.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRakedQuestions = 4;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }
void Report(const char* name, double seconds) { std::printf("%s %.6f\n", name, seconds); }

// The modality map of a question: every modality in its own line but the not-asked one.
std::vector<std::uint16_t> MapWithoutNotAsked(const CQuestionEtendue& question, int& kept) {
    std::vector<std::uint16_t> map;
    kept = 0;
    for (int k = 0; k < question.GetNbreModalite(); ++k)
        map.push_back(question.GetCodeModalite(k) > 0 ? static_cast<std::uint16_t>(kept++) : CMoteurTableau::kNotKept);
    return map;
}

// A weighted cross table of two closed questions as the table engine computes it: the counts,
// the eight planes with percentages and marks, the chi-square.
bool CrossTable(CContexteEtude& context, CQuestionEtendue& rows, CQuestionEtendue& columns, std::int32_t weighting,
                double& chi2) {
    CMoteurTableau engine(context);
    int rowCount = 0;
    int columnCount = 0;
    const std::vector<std::uint16_t> rowMap = MapWithoutNotAsked(rows, rowCount);
    const std::vector<std::uint16_t> columnMap = MapWithoutNotAsked(columns, columnCount);
    std::vector<double> matrix;
    double total = 0.0;
    std::string error;
    if (!engine.CroiserModalites(rows, columns, matrix, total, rowMap, columnMap, 0, -1, weighting, error)) {
        std::fprintf(stderr, "cross table: %s\n", error.c_str());
        return false;
    }
    // The planes take each modality's line as a signed entry, -1 for a modality not kept.
    const std::vector<std::int16_t> rowLines(rowMap.begin(), rowMap.end());
    const std::vector<std::int16_t> columnLines(columnMap.begin(), columnMap.end());
    const int rowModalities = rows.GetNbreModalite();
    const int columnModalities = columns.GetNbreModalite();
    std::vector<double> planes;
    CrossPlanes::CalculerPourcentages(planes, matrix, rowCount + 1, rowModalities, rowLines, rowCount,
                                      columnCount + 1, columnModalities, columnLines, columnCount,
                                      CrossPlanes::SignificanceSettings::FromSurvey(context));
    int freedom = 0;
    double probability = 0.0;
    CrossPlanes::CalculerKhiDeux(planes, rowCount + 1, columnCount + 1, rowCount, columnCount, chi2, freedom,
                                 probability);
    return true;
}

// A scheme of plain targets, each question's real modalities (not the not-asked one) equal.
std::int32_t UniformScheme(CContexteEtude& context, const std::vector<CQuestionEtendue*>& questions) {
    CObjectifRedressement root;
    for (CQuestionEtendue* question : questions) {
        auto target = std::make_unique<CObjectifRedressement>(question);
        for (int k = 0; k < question->GetNbreModalite(); ++k)
            target->SetObjectif(k, question->GetCodeModalite(k) > 0 ? 1.0 : 0.0);
        root.AjouterObjectif(std::move(target));
    }
    CRedressement scheme;
    scheme.id = 1;
    scheme.name = "Uniforme";
    scheme.definition = "0@@0~" + root.EcrireDefinition(context, false, 0);
    context.MettreAJourRedressement(scheme);
    return scheme.id;
}

// A blank answer (the index of the not-asked modality, or an empty cell) is written NA.
void WriteCsv(const std::string& path, const std::vector<CQuestionEtendue*>& questions,
              const std::vector<CMatriceCodes*>& codes) {
    std::ofstream out(path);
    for (int q = 0; q < kRakedQuestions; ++q)
        out << (q == 0 ? "" : ",") << 'q' << q + 1;
    out << '\n';
    for (int i = 0; i < codes[0]->GetNbLignes(); ++i) {
        for (int q = 0; q < kRakedQuestions; ++q) {
            const int code = codes[static_cast<std::size_t>(q)]->GetAt(i, 0);
            out << (q == 0 ? "" : ",");
            if (code >= 0 && questions[static_cast<std::size_t>(q)]->GetCodeModalite(code) > 0)
                out << code;
            else
                out << "NA";
        }
        out << '\n';
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: raking_benchmark FILE.qes DATA.csv WEIGHTS.txt\n");
        return 2;
    }
    CContexteEtude context;
    context.questionnairePath = argv[1];
    if (!context.OuvrirEtude()) {
        std::fprintf(stderr, "cannot open %s: %s\n", argv[1], context.GetLastError().c_str());
        return 1;
    }
    std::vector<CQuestionEtendue*> questions;
    for (int i = 0; i < context.DonnerNbreQuestions() && questions.size() < kRakedQuestions + 2; ++i)
        if (context.DonnerQuestion(i)->EstFermee())
            questions.push_back(context.DonnerQuestion(i));
    std::vector<CMatriceCodes*> codes;
    CDataAccess access(context, false);
    if (!access.LireTablesFermees(questions, codes)) {
        std::fprintf(stderr, "reading failed: %s\n", access.GetErrorText().c_str());
        return 1;
    }
    WriteCsv(argv[2], questions, codes);
    const int n = context.DonnerNbreInterviews();
    // Uniform targets on skewed answers need weights above 5 times the mean: the widest upper
    // bound the settings allow keeps every bound from binding, so the weights can be compared.
    context.MinWeight = 0.0;
    context.MaxWeight = 90000.0;

    // Back to the cache, where raking and the table engine find them.
    for (std::size_t q = 0; q < questions.size(); ++q)
        access.MemoriserReponsesFermees(*questions[q], codes[q]);

    const std::vector<CQuestionEtendue*> raked(questions.begin(), questions.begin() + kRakedQuestions);
    const std::int32_t id = UniformScheme(context, raked);
    CVecteurDouble weights(n);
    weights.Remplir(1.0);
    std::string error;
    Clock::time_point start = Clock::now();
    const bool rakedWell = CalculerRedressement(id, 0, weights, error, context);
    Report("raking", SecondsSince(start));
    if (!rakedWell || !error.empty()) {
        std::fprintf(stderr, "raking: %s\n", error.c_str());
        return 1;
    }

    // The two other questions crossed under the weighting; the first table puts its weights in
    // the weight cache, the second is timed.
    double chi2 = 0.0;
    CQuestionEtendue& rowQuestion = *questions[kRakedQuestions];
    CQuestionEtendue& columnQuestion = *questions[kRakedQuestions + 1];
    if (!CrossTable(context, rowQuestion, columnQuestion, id, chi2))
        return 1;
    start = Clock::now();
    CrossTable(context, rowQuestion, columnQuestion, id, chi2);
    Report("cross", SecondsSince(start));
    std::ofstream out(argv[3]);
    for (int i = 0; i < n; ++i)
        out << CStaticTools::FormatG(weights.GetAt(i), 17) << '\n';
    std::fprintf(stderr, "%d interviews, chi-square %.6g\n", n, chi2);
    return 0;
}
