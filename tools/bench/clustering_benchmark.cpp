// The typology and classification engines on synthetic data: k-means of numeric rows (beside
// R's kmeans, from the start rows ours draws), k-means of closed questions, and the centroid
// classification without and with a start partition (beside R's hclust for the first). Writes
// the data sets as raw binary for R and prints "key value" lines. See clustering_benchmark.sh.
//
//   clustering_benchmark WORKDIR numeric|closed|hac|hac-large
#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include "app/WorkerPool.h"
#include "statistics/CentresMobilesNumerique.h"
#include "statistics/CentresMobilesQualitatif.h"
#include "statistics/MoteurClassificationNumerique.h"
#include "statistics/StartDrawGenerator.h"
#include "tools/bench/BenchGenerator.h"

namespace {

using Generator = BenchGenerator;

double Cpu() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}
double Wall() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

long PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

template <class T>
void WriteBinary(const std::string& path, const std::vector<T>& values) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(values.data()), static_cast<std::streamsize>(values.size() * sizeof(T)));
}

// n rows of p values around `clusters` centres drawn in [0, spread)^p, with a normal noise of
// deviation `noise`; labels receives the centre of each row.
std::vector<double> NumericRows(int n, int p, int clusters, double spread, double noise, std::uint64_t seed,
                                std::vector<int>* labels = nullptr) {
    Generator random(seed);
    std::vector<double> centres(static_cast<std::size_t>(clusters) * static_cast<std::size_t>(p));
    for (double& c : centres)
        c = spread * random.Uniform();
    std::vector<double> rows(static_cast<std::size_t>(n) * static_cast<std::size_t>(p));
    for (int i = 0; i < n; ++i) {
        const std::size_t c = random.Next() % static_cast<std::uint32_t>(clusters);
        if (labels != nullptr)
            labels->push_back(static_cast<int>(c));
        for (int j = 0; j < p; ++j)
            rows[static_cast<std::size_t>(i) * p + j] = centres[c * p + j] + noise * random.Normal();
    }
    return rows;
}

// The rows the typology draws with a seed from a pool of n distinct rows: the engine's
// generator, each draw taken out of the pool.
std::vector<int> DrawnRows(unsigned seed, int n, int k) {
    StartDrawGenerator generator(seed);
    std::vector<int> taken;
    std::vector<int> drawn;
    for (int d = 0; d < k; ++d) {
        int row = generator.NextIndex(n - d);
        for (int t : taken)
            if (t <= row)
                ++row;
        taken.insert(std::lower_bound(taken.begin(), taken.end(), row), row);
        drawn.push_back(row);
    }
    return drawn;
}

void PrintTimes(const char* key, double cpu, double wall) { std::printf("%s %.6f %.6f\n", key, cpu, wall); }

int Numeric(const std::string& work) {
    const int n = 1000000;
    const int p = 10;
    std::vector<int> labels;
    const std::vector<double> rows = NumericRows(n, p, 5, 20.0, 1.0, 11, &labels);
    WriteBinary(work + "/kmeans.bin", rows);
    // The first seed that starts one group in each cluster, as one would choose R's start rows.
    unsigned seed = 0;
    for (;; ++seed) {
        std::vector<int> clusters;
        for (int row : DrawnRows(seed, n, 5))
            clusters.push_back(labels[static_cast<std::size_t>(row)]);
        std::sort(clusters.begin(), clusters.end());
        if (std::unique(clusters.begin(), clusters.end()) == clusters.end())
            break;
    }
    CCentresMobilesNumerique engine(n, 0, p, 0, rows.data());
    std::vector<double> parIndividu, parGroupe;
    const double cpu = Cpu();
    const double wall = Wall();
    if (!engine.Executer(5, parIndividu, parGroupe, false, static_cast<int>(seed)))
        return 1;
    PrintTimes("kmeans", Cpu() - cpu, Wall() - wall);
    std::printf("iterations %d\n", engine.GetIterations());
    std::printf("share %.12g\n", parGroupe.back());
    std::printf("seed %u drawn-as-predicted %d\n", seed, engine.GetLignesDepart() == DrawnRows(seed, n, 5) ? 1 : 0);
    std::printf("start");
    for (int row : engine.GetLignesDepart())
        std::printf(" %d", row + 1);
    std::printf("\n");
    std::vector<std::int32_t> groups(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        groups[static_cast<std::size_t>(i)] = static_cast<std::int32_t>(parIndividu[static_cast<std::size_t>(i) * 2]);
    WriteBinary(work + "/kmeans-groups.bin", groups);
    std::uint64_t hash = 1469598103934665603ULL;
    for (std::int32_t g : groups)
        hash = (hash ^ static_cast<std::uint64_t>(g)) * 1099511628211ULL;
    std::printf("groups-hash %llx\n", static_cast<unsigned long long>(hash));
    std::printf("threads %u\n", WorkerPool::Shared().ThreadCount());
    return 0;
}

int Closed(const std::string&) {
    const int n = 100000;
    const int q = 10;
    const int m = 5;
    Generator random(7);
    std::vector<std::uint8_t> table(static_cast<std::size_t>(n) * q * m, 0);
    for (int i = 0; i < n; ++i) {
        const int first = static_cast<int>(random.Next() % m);
        for (int j = 0; j < q; ++j) {
            const int code = random.Uniform() < 0.5 ? (first + j) % m : static_cast<int>(random.Next() % m);
            table[static_cast<std::size_t>(i) * q * m + static_cast<std::size_t>(j * m + code)] = 1;
        }
    }
    CCentresMobilesQualitatif engine(n, 0, q * m, 0, table.data());
    std::vector<double> parIndividu, parGroupe;
    const double cpu = Cpu();
    const double wall = Wall();
    if (!engine.Executer(5, parIndividu, parGroupe, false, 0))
        return 1;
    PrintTimes("kmeans-closed", Cpu() - cpu, Wall() - wall);
    std::printf("iterations %d\nshare %.12g\n", engine.GetIterations(), parGroupe.back());
    return 0;
}

int Hac(const std::string& work) {
    const int n = 2000;
    const int p = 10;
    const std::vector<double> rows = NumericRows(n, p, 8, 10.0, 2.0, 5);
    WriteBinary(work + "/hac.bin", rows);
    CMoteurClassificationNumerique engine(n, p, 0, rows.data());
    const double cpu = Cpu();
    const double wall = Wall();
    if (!engine.Executer(false, 0, 0))
        return 1;
    PrintTimes("hac", Cpu() - cpu, Wall() - wall);
    // The merges in R's notation: -row for a single row, m for the cluster of merge m (1-based).
    std::vector<int> id(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        id[static_cast<std::size_t>(i)] = -(i + 1);
    std::vector<std::int32_t> merges;
    for (std::size_t m = 0; m < engine.Fusions().size(); ++m) {
        const auto [i, j] = engine.Fusions()[m];
        merges.push_back(id[static_cast<std::size_t>(i)]);
        merges.push_back(id[static_cast<std::size_t>(j)]);
        id[static_cast<std::size_t>(i)] = static_cast<int>(m) + 1;
    }
    WriteBinary(work + "/hac-merges.bin", merges);
    std::printf("peak-mb %ld\n", PeakMegabytes());
    return 0;
}

int HacLarge(const std::string&) {
    const int n = 1000000;
    const int p = 10;
    const std::vector<double> rows = NumericRows(n, p, 5, 20.0, 1.0, 13);
    CMoteurClassificationNumerique engine(n, p, 0, rows.data());
    const double cpu = Cpu();
    const double wall = Wall();
    if (!engine.Executer(true, 50, 0))
        return 1;
    PrintTimes("hac-large", Cpu() - cpu, Wall() - wall);
    std::printf("merges %zu\npeak-mb %ld\n", engine.Fusions().size(), PeakMegabytes());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: clustering_benchmark WORKDIR numeric|closed|hac|hac-large\n");
        return 2;
    }
    const std::string work = argv[1];
    const std::string mode = argv[2];
    if (mode == "numeric")
        return Numeric(work);
    if (mode == "closed")
        return Closed(work);
    if (mode == "hac")
        return Hac(work);
    if (mode == "hac-large")
        return HacLarge(work);
    return 2;
}
