// Times the reading of every closed question of a questionnaire file: from the response tables,
// the inversion of the database, and from the inverted files, each checked against its
// fingerprint as it is read (then again from the cache).
// Usage: read_benchmark tables|invert|inverted FILE.qes; prints "name seconds" lines.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/DataAccess.h"
#include "app/Enquete.h"
#include "app/Inversion.h"
#include "app/MatriceCodes.h"
#include "app/SilentUserInterface.h"

namespace {

class BenchSurvey : public CEnquete {
public:
    explicit BenchSurvey(std::string path) : m_path(std::move(path)) {}
    std::string DonnerCheminBase() const override { return m_path; }
    std::string DonnerCheminDonnees() const override { return m_path; }
    std::string DonnerRepertoireInversion() const override { return m_path.substr(0, m_path.size() - 3) + "dat"; }

private:
    std::string m_path;
};

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void Report(const char* name, double seconds) { std::printf("%s %.6f\n", name, seconds); }

std::vector<CQuestionEtendue*> ClosedQuestions(const CEnquete& survey) {
    std::vector<CQuestionEtendue*> closed;
    for (int i = 0; i < survey.DonnerNbreQuestions(); ++i)
        if (survey.DonnerQuestion(i)->EstFermee())
            closed.push_back(survey.DonnerQuestion(i));
    return closed;
}

// Every cell, so that nothing read can be left unused.
long long Checksum(const CMatriceCodes& codes) {
    long long sum = 0;
    for (int r = 0; r < codes.GetNbLignes(); ++r)
        for (int c = 0; c < codes.GetNbColonnes(); ++c)
            sum += codes.GetAt(r, c);
    return sum;
}

int ReadFromTables(BenchSurvey& survey) {
    const std::vector<CQuestionEtendue*> closed = ClosedQuestions(survey);
    const Clock::time_point start = Clock::now();
    CDataAccess access(survey, false);
    std::vector<CMatriceCodes*> codes;
    if (!access.LireTablesFermees(closed, codes)) {
        std::fprintf(stderr, "reading failed: %s\n", access.GetErrorText().c_str());
        return 1;
    }
    const double seconds = SecondsSince(start);
    long long sum = 0;
    for (std::size_t i = 0; i < closed.size(); ++i) {
        sum += Checksum(*codes[i]);
        access.MemoriserReponsesFermees(*closed[i], codes[i]);
    }
    Report("tables", seconds);
    std::fprintf(stderr, "%zu closed questions, checksum %lld\n", closed.size(), sum);
    return 0;
}

int Invert(BenchSurvey& survey) {
    SilentUserInterface ui;
    const Clock::time_point start = Clock::now();
    const CInversion::Issue issue = CInversion(survey, ui).InverserBase();
    const double seconds = SecondsSince(start);
    if (issue != CInversion::Issue::Done) {
        std::fprintf(stderr, "inversion failed: %s\n", survey.GetLastError().c_str());
        return 1;
    }
    Report("invert", seconds);
    return 0;
}

// Each question read from its file, given back, then read again: the second read finds it in
// the cache.
int ReadFromInvertedFiles(BenchSurvey& survey) {
    if (!survey.invertedFilesValid) {
        std::fprintf(stderr, "the inverted files are not valid\n");
        return 1;
    }
    const std::vector<CQuestionEtendue*> closed = ClosedQuestions(survey);
    CDataAccess access(survey, true);
    double fromFiles = 0.0;
    double fromCache = 0.0;
    long long sum = 0;
    for (CQuestionEtendue* question : closed) {
        CMatriceCodes* codes = nullptr;
        Clock::time_point start = Clock::now();
        const bool read = access.LireReponsesFermees(*question, codes);
        fromFiles += SecondsSince(start);
        if (!read) {
            std::fprintf(stderr, "reading %s failed: %s\n", question->name.c_str(), access.GetErrorText().c_str());
            return 1;
        }
        sum += Checksum(*codes);
        access.MemoriserReponsesFermees(*question, codes);
        start = Clock::now();
        access.LireReponsesFermees(*question, codes);
        fromCache += SecondsSince(start);
        access.MemoriserReponsesFermees(*question, codes);
    }
    Report("inverted", fromFiles);
    Report("cache", fromCache);
    std::fprintf(stderr, "%zu closed questions, checksum %lld\n", closed.size(), sum);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: read_benchmark tables|invert|inverted FILE.qes\n");
        return 2;
    }
    BenchSurvey survey(argv[2]);
    const Clock::time_point start = Clock::now();
    if (!survey.Ouvrir()) {
        std::fprintf(stderr, "opening failed: %s\n", survey.GetLastError().c_str());
        return 1;
    }
    std::fprintf(stderr, "opening %.3f s\n", SecondsSince(start));
    const std::string mode = argv[1];
    if (mode == "tables")
        return ReadFromTables(survey);
    if (mode == "invert")
        return Invert(survey);
    if (mode == "inverted")
        return ReadFromInvertedFiles(survey);
    std::fprintf(stderr, "unknown mode %s\n", argv[1]);
    return 2;
}
