#include "tabulation/NumericStatistics.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include "app/MatriceCodes.h"
#include "app/VecteurDouble.h"
#include "tabulation/FonctionsStatistiques.h"

namespace NumericStatistics {
namespace {

constexpr std::int16_t kEmptyCell = -5;

// Weighted running mean and sum of squared deviations (West's update of Welford's method): no
// cancellation between sums of x and x squared.
struct Accumulator {
    double weight = 0.0;
    double mean = 0.0;
    double squares = 0.0; // sum of w (x - mean)^2
    double sum = 0.0;
    double nonResponses = 0.0;
    // Any kept value (of weight above 0) replaces them, however large it is.
    double minimum = std::numeric_limits<double>::infinity();
    double maximum = -std::numeric_limits<double>::infinity();

    void Add(double x, double w) {
        weight += w;
        sum += w * x;
        if (w > 0.0) {
            minimum = std::min(minimum, x);
            maximum = std::max(maximum, x);
        }
        if (weight > 0.0 && w != 0.0) {
            const double deviation = x - mean;
            mean += deviation * (w / weight); // w / weight first: a constant stays exact
            squares += w * deviation * (x - mean);
        }
    }

    double Variance() const { return weight > 0.0 ? std::max(0.0, squares / weight) : 0.0; }
};

void WriteRecord(const Accumulator& acc, double z, double* e) {
    e[kAnswerWeight] = acc.weight;
    e[kNonResponseWeight] = acc.nonResponses;
    e[kSum] = acc.sum;
    if (!(acc.weight > 0.0)) {
        for (int i : {kMean, kStandardDeviation, kMinimum, kMaximum, kLowerBound, kUpperBound, kVariance}) {
            e[i] = kValeurManquante;
        }
        return;
    }
    const double variance = acc.Variance();
    const double standardDeviation = std::sqrt(variance);
    e[kMean] = acc.mean;
    e[kStandardDeviation] = standardDeviation;
    e[kMinimum] = acc.minimum;
    e[kMaximum] = acc.maximum;
    e[kLowerBound] = acc.mean - z * standardDeviation / std::sqrt(acc.weight);
    e[kUpperBound] = acc.mean + z * standardDeviation / std::sqrt(acc.weight);
    e[kVariance] = variance;
}

// Student's comparison of a modality's mean with the pooled other modalities; no mark when a
// denominator is not above 0.
int ModalityMark(const std::vector<Accumulator>& acc, std::size_t k,
                   const CrossPlanes::SignificanceSettings& settings) {
    double othersWeight = 0.0;
    double weightedMeans = 0.0;
    double weightedVariances = 0.0;
    for (std::size_t j = 0; j < acc.size(); ++j) {
        if (j == k || !(acc[j].weight > 0.0)) continue;
        othersWeight += acc[j].weight;
        weightedMeans += acc[j].weight * acc[j].mean;
        weightedVariances += acc[j].weight * acc[j].Variance();
    }
    const double weightK = acc[k].weight;
    const double freedom = othersWeight + weightK - 2.0;
    if (!(othersWeight > 0.0) || !(freedom > 0.0)) return 0;
    const double othersMean = weightedMeans / othersWeight;
    const double othersVariance = weightedVariances / othersWeight;
    const double radicand = (othersVariance * (othersWeight - 1.0) + acc[k].Variance() * (weightK - 1.0)) / freedom;
    if (!(radicand > 0.0)) return 0;
    const double t = (acc[k].mean - othersMean) / std::sqrt(radicand) / std::sqrt(1.0 / othersWeight + 1.0 / weightK);
    return CrossPlanes::SignificanceMark(t, settings);
}

// The weighted mean by running updates rather than sum(w x) / sum(w): constant data gives back its
// value exactly, so its centred moments are exactly 0.
double RunningMean(const std::vector<double>& values, const std::vector<double>& weights) {
    Accumulator acc;
    for (std::size_t i = 0; i < values.size(); ++i) acc.Add(values[i], weights[i]);
    return acc.mean;
}

// Values far from the usual scale (1e308 in a numeric answer) overflow a sum, a square or a
// fourth power; whatever did has no value in the record.
void KeepFinite(std::span<double> record) {
    for (double& value : record) value = ValeurOuManquante(value);
}

} // namespace

void FiltrerValeurs(const CVecteurDouble& values, const CVecteurDouble& weights, std::vector<double>& keptValues,
                    std::vector<double>& keptWeights, double& nonResponseWeight, double& totalWeight,
                    const std::uint8_t* filter) {
    keptValues.clear();
    keptWeights.clear();
    nonResponseWeight = 0.0;
    totalWeight = 0.0;
    const int n = std::min(values.GetSize(), weights.GetSize());
    for (int i = 0; i < n; ++i) {
        if (filter != nullptr && filter[i] == 0) continue;
        const double x = values.GetAt(i);
        const double w = weights.GetAt(i);
        if (x == CVecteurDouble::kNoAnswer) {
            nonResponseWeight += w;
            totalWeight += w;
        } else if (x != CVecteurDouble::kNotAsked && w != 0.0) {
            keptValues.push_back(x);
            keptWeights.push_back(w);
            totalWeight += w;
        }
    }
}

void TrierValeursPoids(std::vector<double>& values, std::vector<double>& weights) {
    std::vector<std::size_t> order(values.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return values[a] < values[b]; });
    std::vector<double> v(values.size());
    std::vector<double> w(values.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        v[i] = values[order[i]];
        w[i] = order[i] < weights.size() ? weights[order[i]] : 0.0;
    }
    values.swap(v);
    weights.swap(w);
}

void CalculerStatistiquesValeurs(std::vector<double>& values, std::vector<double>& weights, double nonResponseWeight,
                                 double z, Statistics& statistics) {
    weights.resize(values.size(), 0.0);
    TrierValeursPoids(values, weights);
    const std::size_t n = values.size();
    double weightSum = 0.0;
    double sum = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        weightSum += weights[i];
        sum += weights[i] * values[i];
    }
    statistics.fill(kValeurManquante);
    statistics[kAnswerWeight] = weightSum;
    statistics[kNonResponseWeight] = nonResponseWeight;
    if (n == 0) return;

    double mean = 0.0;
    double variance = 0.0;
    double m3 = 0.0;
    double m4 = 0.0;
    if (weightSum > 0.0) {
        mean = RunningMean(values, weights);
        double m2 = 0.0;
        for (std::size_t i = 0; i < n; ++i) {
            const double d = values[i] - mean;
            m2 += weights[i] * d * d;
            m3 += weights[i] * d * d * d;
            m4 += weights[i] * d * d * d * d;
        }
        variance = std::max(0.0, m2 / weightSum);
    }
    const double standardDeviation = std::sqrt(variance);
    const bool moments = weightSum > 0.0 && standardDeviation > 0.0;

    double gini = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        gini += (2.0 * static_cast<double>(i) - static_cast<double>(n) + 1.0) * values[i];
    }
    const double giniDenominator = static_cast<double>(n) * (static_cast<double>(n) - 1.0) * mean;

    statistics[kMean] = mean;
    statistics[kStandardDeviation] = standardDeviation;
    statistics[kSum] = sum;
    statistics[kMinimum] = values.front();
    statistics[kMaximum] = values.back();
    if (weightSum > 0.0) {
        statistics[kLowerBound] = mean - z * standardDeviation / std::sqrt(weightSum);
        statistics[kUpperBound] = mean + z * standardDeviation / std::sqrt(weightSum);
    }
    statistics[kVariance] = variance;
    statistics[kMedian] = values[(n + 1) / 2 - 1];
    if (moments) {
        statistics[kKurtosis] = m4 / (weightSum * variance * variance);
        statistics[kSkewness] = m3 / (weightSum * variance * standardDeviation);
    }
    if (giniDenominator != 0.0) statistics[kGini] = gini / giniDenominator;
    KeepFinite(statistics);
}

void CalculerMoyennesModalites(const CMatriceCodes& codes, const CVecteurDouble& values, const CVecteurDouble& weights,
                               std::span<const std::uint16_t> map, int modalityCount, double z,
                               const CrossPlanes::SignificanceSettings& settings,
                               std::vector<double>& records, double& total,
                               std::vector<std::uint8_t>* marks) {
    const int r = std::max(modalityCount, 0);
    std::vector<Accumulator> acc(static_cast<std::size_t>(r) + 1);
    Accumulator& totalAccumulator = acc.back();
    total = 0.0;
    const int columns = codes.GetNbColonnes();
    const int units = std::min({codes.GetNbLignes(), values.GetSize(), weights.GetSize()});
    if (marks != nullptr && static_cast<int>(marks->size()) < units) marks->resize(static_cast<std::size_t>(units), 0);
    const std::int16_t* cells = codes.DonnerCellules();
    for (int u = 0; u < units; ++u) {
        const double x = values.GetAt(u);
        if (x == CVecteurDouble::kNotAsked) continue;
        const double w = weights.GetAt(u);
        const bool nonResponse = x == CVecteurDouble::kNoAnswer;
        bool kept = false;
        for (int s = 0; s < columns; ++s) {
            const std::int16_t m = cells[static_cast<std::size_t>(u) * columns + s];
            if (m == kEmptyCell || m < 0 || m >= r || m >= static_cast<int>(map.size())) continue;
            if (map[static_cast<std::size_t>(m)] == kNotKept) continue;
            kept = true;
            Accumulator& a = acc[static_cast<std::size_t>(m)];
            if (nonResponse) a.nonResponses += w;
            else a.Add(x, w);
        }
        if (!kept) continue;
        if (nonResponse) totalAccumulator.nonResponses += w;
        else totalAccumulator.Add(x, w);
        total += w;
        if (marks != nullptr) (*marks)[static_cast<std::size_t>(u)] = 1;
    }

    records.assign(static_cast<std::size_t>(r + 1) * kMeanRecordSize, 0.0);
    for (std::size_t k = 0; k < acc.size(); ++k) {
        double* e = &records[k * kMeanRecordSize];
        WriteRecord(acc[k], z, e);
    }
    const std::vector<Accumulator> modalities(acc.begin(), acc.end() - 1);
    for (std::size_t k = 0; k < modalities.size(); ++k) {
        if (!(modalities[k].weight > 0.0)) continue;
        records[k * kMeanRecordSize + kMeanMark] = ModalityMark(modalities, k, settings);
    }
    KeepFinite(records);
}

} // namespace NumericStatistics
