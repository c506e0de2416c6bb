#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "tabulation/CrossPlanes.h"

class CMatriceCodes;
class CVecteurDouble;

// The numeric statistics of the tabulation engine over arrays already read: the fourteen
// statistics of one numeric question over the units of a level, and the eleven statistics of a
// numeric question within each modality of a closed question with the test of each modality's mean
// against the others. The engine reads the values and weights and forwards to these functions.
// Variances are computed from centred values, so constant data gives exactly 0.
namespace NumericStatistics {

enum Statistic : int {
    kMean = 0,
    kStandardDeviation = 1,
    kAnswerWeight = 2,
    kNonResponseWeight = 3,
    kSum = 4,
    kMinimum = 5,
    kMaximum = 6,
    kLowerBound = 7,
    kUpperBound = 8,
    kVariance = 9,
    kMedian = 10,
    kKurtosis = 11,
    kSkewness = 12,
    kGini = 13,
    kStatisticCount = 14,
};

// In the per-modality records, entries 0 to 9 mean what they mean above; entry 10 is the mark.
inline constexpr int kMeanMark = 10;
inline constexpr int kMeanRecordSize = 11;

// A modality map entry of this value is not kept.
inline constexpr std::uint16_t kNotKept = 0xFFFF;

using Statistics = std::array<double, kStatisticCount>;

// Keeps the usable values of the units in the filter (one byte per unit, all units when null): a
// non-response adds its weight to the non-response weight and to the total; a "not asked" value
// and a value of weight 0 are dropped; any other value is kept with its weight and adds it to the
// total.
void FiltrerValeurs(const CVecteurDouble& values, const CVecteurDouble& weights, std::vector<double>& keptValues,
                    std::vector<double>& keptWeights, double& nonResponseWeight, double& totalWeight,
                    const std::uint8_t* filter = nullptr);

// Sorts the values ascending, each weight moving with its value; equal values keep their order.
void TrierValeursPoids(std::vector<double>& values, std::vector<double>& weights);

// The fourteen statistics of the kept values (sorted here, in place); z is the confidence
// threshold of the mean's bounds (ConfidenceIntervalThreshold). With no value every entry but 2
// and 3 is the missing value.
void CalculerStatistiquesValeurs(std::vector<double>& values, std::vector<double>& weights, double nonResponseWeight,
                                 double z, Statistics& statistics);

// The per-modality records of a numeric question (values) within the modalities of a closed
// question (codes, one row per unit, -5 for an empty slot) as the map keeps them: (r + 1) x 11
// doubles, the Total record last. total receives the weight of the units with a kept answer; when
// marks is given (one byte per unit), those units' bytes are set to 1.
void CalculerMoyennesModalites(const CMatriceCodes& codes, const CVecteurDouble& values, const CVecteurDouble& weights,
                               std::span<const std::uint16_t> map, int modalityCount, double z,
                               const CrossPlanes::SignificanceSettings& settings,
                               std::vector<double>& records, double& total,
                               std::vector<std::uint8_t>* marks = nullptr);

} // namespace NumericStatistics
