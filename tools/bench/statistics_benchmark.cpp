// The factor engines on synthetic data: multiple correspondence analysis of closed questions,
// correspondence analysis of a count table and principal component analysis of numeric columns.
// Writes each data set as raw binary for the reference package and prints, per case, the
// processor seconds taken and the eigenvalues found. See statistics_benchmark.sh.
#include <sys/resource.h>

#include <ctime>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "statistics/Acm.h"
#include "statistics/Acp.h"
#include "statistics/Afc.h"
#include "tools/bench/BenchGenerator.h"

namespace {

using Generator = BenchGenerator;

// Processor time, not elapsed time: the comparison must hold on a busy machine too, and both
// sides compute on one thread.
using Instant = double;
Instant Now() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}
double Seconds(Instant start) { return Now() - start; }

template <class T>
void WriteBinary(const std::string& path, const std::vector<T>& values) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(values.data()), static_cast<std::streamsize>(values.size() * sizeof(T)));
}

void PrintEigenvalues(const char* name, double seconds, const std::vector<double>& values, std::size_t count) {
    std::printf("%s %.6f", name, seconds);
    for (std::size_t k = 0; k < count && k < values.size(); ++k)
        std::printf(" %.12g", values[k]);
    std::printf("\n");
}

// Answers of n interviews to q questions of m modalities, each question leaning on the first so
// that the analysis has structure: codes 1..m per interview, interview-major.
std::vector<std::int32_t> ClosedAnswers(int n, int q, int m, std::uint64_t seed) {
    Generator random(seed);
    std::vector<std::int32_t> codes(static_cast<std::size_t>(n) * static_cast<std::size_t>(q));
    for (int i = 0; i < n; ++i) {
        const std::int32_t first = static_cast<std::int32_t>(random.Next() % static_cast<std::uint32_t>(m));
        for (int j = 0; j < q; ++j) {
            const bool follows = random.Uniform() < 0.4;
            const std::int32_t code = follows ? (first + j) % m : static_cast<std::int32_t>(random.Next() % static_cast<std::uint32_t>(m));
            codes[static_cast<std::size_t>(i) * static_cast<std::size_t>(q) + static_cast<std::size_t>(j)] = code + 1;
        }
    }
    return codes;
}

std::vector<double> RunMca(const std::vector<std::int32_t>& codes, int n, int q, int m, double& seconds) {
    const auto start = Now();
    const int p = q * m;
    std::vector<std::uint8_t> table(static_cast<std::size_t>(n) * static_cast<std::size_t>(p), 0);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < q; ++j) {
            const std::int32_t code = codes[static_cast<std::size_t>(i) * static_cast<std::size_t>(q) + static_cast<std::size_t>(j)];
            table[static_cast<std::size_t>(i) * static_cast<std::size_t>(p) + static_cast<std::size_t>(j * m + code - 1)] = 1;
        }
    CAcm engine(n, 0, p, 0, table.data());
    ResultatsCorrespondances results;
    if (!engine.Calculer() || !engine.DonnerResultats(5, results))
        return {};
    seconds = Seconds(start);
    return engine.ValeursPropres();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: statistics_benchmark WORK_DIR [--large-only]\n");
        return 2;
    }
    const std::string work = argv[1];
    const bool largeOnly = argc > 2 && std::string(argv[2]) == "--large-only";
    double seconds = 0.0;

    if (!largeOnly) {
        // MCA: 100,000 interviews × 10 questions of 5 modalities, 5 axes.
        const std::vector<std::int32_t> mca = ClosedAnswers(100000, 10, 5, 1);
        WriteBinary(work + "/mca.bin", mca);
        const std::vector<double> mcaValues = RunMca(mca, 100000, 10, 5, seconds);
        PrintEigenvalues("mca", seconds, mcaValues, 5);

        // CA: a 200 × 50 table of counts with a gradient along its diagonal.
        Generator random(2);
        std::vector<double> counts(200 * 50);
        for (int i = 0; i < 200; ++i)
            for (int j = 0; j < 50; ++j)
                counts[static_cast<std::size_t>(i * 50 + j)] =
                    static_cast<double>(random.Next() % 20 + (i / 4 == j ? 30 : 0));
        WriteBinary(work + "/ca.bin", counts);
        auto start = Now();
        CAfc ca(200, 0, 50, 0, counts.data());
        ResultatsCorrespondances caResults;
        if (!ca.Calculer() || !ca.DonnerResultats(5, caResults))
            return 1;
        PrintEigenvalues("ca", Seconds(start), ca.ValeursPropres(), 5);

        // PCA: 1,000,000 rows × 20 columns, each column a mix of two shared factors and noise.
        const int rows = 1000000;
        std::vector<double> numbers(static_cast<std::size_t>(rows) * 20);
        for (int i = 0; i < rows; ++i) {
            const double f1 = random.Uniform();
            const double f2 = random.Uniform();
            for (int j = 0; j < 20; ++j)
                numbers[static_cast<std::size_t>(i) * 20 + static_cast<std::size_t>(j)] =
                    (j % 3) * f1 + (j % 2) * f2 + random.Uniform();
        }
        WriteBinary(work + "/pca.bin", numbers);
        start = Now();
        CAcp pca(rows, 0, 20, 0, numbers.data());
        ResultatsAcp pcaResults;
        if (!pca.Calculer() || !pca.DonnerResultats(5, pcaResults))
            return 1;
        PrintEigenvalues("pca", Seconds(start), pca.ValeursPropres(), 5);
    } else {
        // The largest case alone, for its memory: 1,000,000 interviews × 20 questions.
        const std::vector<std::int32_t> large = ClosedAnswers(1000000, 20, 5, 3);
        const std::vector<double> values = RunMca(large, 1000000, 20, 5, seconds);
        PrintEigenvalues("mca-large", seconds, values, 5);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak-mb %.1f\n", static_cast<double>(usage.ru_maxrss) / 1024.0);
    return 0;
}
