// Times opening a questionnaire file: the whole survey opening (structure, loader, level 0
// counted from its inverted level file when the inversion beside the file can be believed, else
// from the response tables). Prints the seconds, the interview and question counts, whether the
// inverted files were believed, and the process's peak memory in bytes once opened.
// Usage: open_benchmark FILE.qes
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "app/Enquete.h"

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

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: open_benchmark FILE.qes\n");
        return 2;
    }
    BenchSurvey survey(argv[1]);
    const auto start = std::chrono::steady_clock::now();
    const bool opened = survey.Ouvrir();
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    if (!opened) {
        std::fprintf(stderr, "opening failed: %s\n", survey.GetLastError().c_str());
        return 1;
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%.4f %d %d %s %ld\n", elapsed.count(), survey.DonnerNbreInterviews(), survey.DonnerNbreQuestions(),
                survey.invertedFilesValid ? "inverted" : "tables", usage.ru_maxrss * 1024L);
    return 0;
}
