#include "tabulation/FonctionsStatistiques.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>
#include <vector>

#include "app/ContexteEtude.h"
#include "app/VecteurDouble.h"

namespace {

constexpr double kTwoPi = 6.28318530717958;
// 2/pi to full precision (a rounded 0.63661977238 would shift every probability by 1e-11).
constexpr double kTwoOverPi = 2.0 / std::numbers::pi;

// Sum of exp(log prefactor + log term_i) over the terms: the terms of the chi-square series grow
// while the prefactor underflows, so both are combined in logarithms before each exponential.
double SumOfExponentials(double logFactor, const std::vector<double>& logTerms) {
    double sum = 0.0;
    for (double logTerm : logTerms) {
        sum += std::exp(logFactor + logTerm);
    }
    return sum;
}

// Upper tail for an even number of degrees of freedom: exp(-x/2) sum_{i < n/2} (x/2)^i / i!.
double EvenChiSquareTail(double x, int n) {
    const double half = x / 2.0;
    std::vector<double> logTerms;
    logTerms.reserve(static_cast<std::size_t>(n / 2));
    for (int i = 0; i < n / 2; ++i) {
        logTerms.push_back(i * std::log(half) - std::lgamma(i + 1.0));
    }
    return SumOfExponentials(-half, logTerms);
}

// The series of the odd upper tail beside its normal part:
// 2 phi(s) sum_{r=1}^{(n-1)/2} s^(2r-1) / (1 x 3 x ... x (2r-1)), with s = sqrt(x).
double OddChiSquareSeries(double x, int n) {
    const double s = std::sqrt(x);
    std::vector<double> logTerms;
    logTerms.reserve(static_cast<std::size_t>(n / 2));
    double logOddProduct = 0.0; // log(1 x 3 x ... x (2r - 1))
    for (int r = 1; r <= (n - 1) / 2; ++r) {
        logOddProduct += std::log(2.0 * r - 1.0);
        logTerms.push_back((2.0 * r - 1.0) * std::log(s) - logOddProduct);
    }
    const double logDensity = -x / 2.0 - 0.5 * std::log(kTwoPi);
    return 2.0 * SumOfExponentials(logDensity, logTerms);
}

// Upper tail for an odd number: 2 (1 - Phi(s)) plus the series, Phi the polynomial LoiNormale.
double OddChiSquareTail(double x, int n) {
    return 2.0 * (1.0 - LoiNormale(std::sqrt(x))) + OddChiSquareSeries(x, n);
}

// The same with the normal part 2 (1 - Phi(s)) taken as erfc(s / sqrt 2), which keeps its digits
// down to the smallest double where 1 - LoiNormale(s) is exactly 0 from s = 4.9 on.
double OddChiSquareUpperTail(double x, int n) {
    return std::erfc(std::sqrt(x) / std::numbers::sqrt2) + OddChiSquareSeries(x, n);
}

// The continued fraction of the regularized incomplete beta function I_x(a, b) (modified Lentz),
// which converges fast for x below (a + 1) / (a + b + 2).
double IncompleteBetaFraction(double a, double b, double x) {
    constexpr double kTiny = 1e-300;
    constexpr double kEpsilon = 1e-16;
    constexpr int kMostSteps = 10000;
    double c = 1.0;
    double d = 1.0 - (a + b) * x / (a + 1.0);
    d = 1.0 / (std::fabs(d) < kTiny ? kTiny : d);
    double fraction = d;
    for (int m = 1; m <= kMostSteps; ++m) {
        const double twoM = 2.0 * m;
        for (const double numerator : {m * (b - m) * x / ((a + twoM - 1.0) * (a + twoM)),
                                       -(a + m) * (a + b + m) * x / ((a + twoM) * (a + twoM + 1.0))}) {
            d = 1.0 + numerator * d;
            d = 1.0 / (std::fabs(d) < kTiny ? kTiny : d);
            c = 1.0 + numerator / c;
            c = std::fabs(c) < kTiny ? kTiny : c;
            fraction *= c * d;
        }
        if (std::fabs(c * d - 1.0) < kEpsilon)
            break;
    }
    return fraction;
}

// I_x(a, b) with x and 1 - x both given, so that neither is rounded from the other; the prefactor
// x^a (1 - x)^b / B(a, b) is taken in logarithms so that it underflows only below the smallest double.
double IncompleteBeta(double a, double b, double x, double oneMinusX) {
    if (!(x > 0.0))
        return 0.0;
    if (!(oneMinusX > 0.0))
        return 1.0;
    const double logBeta = std::lgamma(a) + std::lgamma(b) - std::lgamma(a + b);
    const double logFactor = a * std::log(x) + b * std::log(oneMinusX) - logBeta;
    if (x < (a + 1.0) / (a + b + 2.0))
        return std::exp(logFactor) * IncompleteBetaFraction(a, b, x) / a;
    return 1.0 - std::exp(logFactor) * IncompleteBetaFraction(b, a, oneMinusX) / b;
}

} // namespace

void FormaterDouble(std::string& text, double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    text.assign(buffer, result.ptr);
}

void TrierDoubles(CVecteurDouble& values) {
    std::vector<double> copy(static_cast<std::size_t>(values.GetSize()));
    for (int i = 0; i < values.GetSize(); ++i) {
        copy[static_cast<std::size_t>(i)] = values.GetAt(i);
    }
    std::sort(copy.begin(), copy.end());
    for (int i = 0; i < values.GetSize(); ++i) {
        values.SetAt(i, copy[static_cast<std::size_t>(i)]);
    }
}

double NormalDensity(double x) {
    return std::exp(-x * x / 2.0) / std::sqrt(kTwoPi);
}

double LoiNormale(double x) {
    const double z = std::fabs(x);
    double tail = 0.0;
    if (z < 4.9) {
        const double t = 1.0 / (1.0 + 0.2316419 * z);
        const double polynomial =
            t * (0.31938153 + t * (-0.356563782 + t * (1.781477937 + t * (-1.821255978 + t * 1.330274429))));
        tail = NormalDensity(z) * polynomial;
    }
    return x < 0.0 ? tail : 1.0 - tail;
}

double InverseLoiNormale(double p) {
    if (!(p >= 0.5)) {
        return 0.0;
    }
    double low = 0.0;
    double high = 6.25;
    while (high - low >= 1e-5) {
        const double middle = (low + high) / 2.0;
        if (LoiNormale(middle) <= p) {
            low = middle;
        } else {
            high = middle;
        }
    }
    return low;
}

double ProbaKhiDeux(double x, int n) {
    if (n <= 0) {
        return 1.0;
    }
    if (!(x > 0.0)) {
        return 0.0;
    }
    const double tail = (n % 2 == 0) ? EvenChiSquareTail(x, n) : OddChiSquareTail(x, n);
    return std::clamp(1.0 - tail, 0.0, 1.0);
}

double ProbaStudent(double t, int n) {
    if (n <= 0) {
        return 0.0;
    }
    const double theta = std::atan(std::fabs(t) / std::sqrt(static_cast<double>(n)));
    const double cos2 = std::cos(theta) * std::cos(theta);
    double a = 0.0;
    if (n % 2 == 0) {
        double sum = 1.0;
        double term = 1.0;
        for (int i = 1; i <= n / 2 - 1; ++i) {
            term *= (i == 1 ? 0.5 : (2.0 * i - 1.0) / (2.0 * i)) * cos2;
            sum += term;
        }
        a = std::sin(theta) * sum;
    } else if (n == 1) {
        a = theta * kTwoOverPi;
    } else {
        double sum = 1.0;
        double term = 1.0;
        for (int i = 1; i <= (n - 3) / 2; ++i) {
            term *= (i == 1 ? 2.0 / 3.0 : (2.0 * i) / (2.0 * i + 1.0)) * cos2;
            sum += term;
        }
        a = kTwoOverPi * (theta + std::sin(theta) * std::cos(theta) * sum);
    }
    return t < 0.0 ? 0.5 - a / 2.0 : 0.5 + a / 2.0;
}

double ProbaKhiDeuxSuperieure(double x, int n) {
    if (n <= 0) {
        return 0.0;
    }
    if (!(x > 0.0)) {
        return 1.0;
    }
    const double tail = (n % 2 == 0) ? EvenChiSquareTail(x, n) : OddChiSquareUpperTail(x, n);
    return std::clamp(tail, 0.0, 1.0);
}

double ProbaStudentSuperieure(double t, int n) {
    if (n <= 0) {
        return 1.0;
    }
    // P(T > |t|) = I_{n / (n + t^2)}(n / 2, 1 / 2) / 2.
    const double square = t * t;
    const double degrees = static_cast<double>(n);
    const double tail = 0.5 * IncompleteBeta(degrees / 2.0, 0.5, degrees / (degrees + square), square / (degrees + square));
    return t < 0.0 ? 1.0 - tail : tail;
}

double BorneInferieurePourcentage(double percentage, double base, double z) {
    if (!(base > 0.0)) {
        return kValeurManquante;
    }
    const double p = percentage / 100.0;
    const double bound = 100.0 * (p - z * std::sqrt(std::max(0.0, p * (1.0 - p)) / base));
    return bound < 0.0 ? 0.0 : bound;
}

double BorneSuperieurePourcentage(double percentage, double base, double z) {
    if (!(base > 0.0)) {
        return kValeurManquante;
    }
    const double p = percentage / 100.0;
    const double bound = 100.0 * (p + z * std::sqrt(std::max(0.0, p * (1.0 - p)) / base));
    return bound >= 100.0 ? 100.0 : bound;
}

double BorneInferieurePourcentage(double percentage, double base, const CContexteEtude& survey) {
    return BorneInferieurePourcentage(percentage, base, survey.ConfidenceIntervalThreshold);
}

double BorneSuperieurePourcentage(double percentage, double base, const CContexteEtude& survey) {
    return BorneSuperieurePourcentage(percentage, base, survey.ConfidenceIntervalThreshold);
}
