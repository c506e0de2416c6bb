#pragma once

#include <cmath>
#include <string>

class CContexteEtude;
class CVecteurDouble;

// Free functions on doubles shared by the tabulation kernels, the confidence bounds of flat tables,
// the significance tests and the multivariate and open-answer analyses. All are pure functions of
// their arguments; the two percentage bounds also read the confidence threshold of the study context.

// The value that marks an empty cell in results ("no value could be computed").
inline constexpr double kValeurManquante = -999999.99;

// The value as a result keeps it: a value that is not a finite number (a sum or a product past the
// largest double, or 0/0 and inf - inf after one) has no value and becomes the missing value.
inline double ValeurOuManquante(double value) { return std::isfinite(value) ? value : kValeurManquante; }

// The double printed as "%.15g" would print it, always with "." whatever the locale.
void FormaterDouble(std::string& text, double value);

// Sorts the vector's elements ascending, in place (standard sort: no recursion that grows with the
// data).
void TrierDoubles(CVecteurDouble& values);

// Standard normal density at x.
double NormalDensity(double x);

// Standard normal distribution function (polynomial approximation, absolute error below 7.5e-8);
// exactly 0 below -4.9 and exactly 1 from 4.9 on.
double LoiNormale(double x);

// x with LoiNormale(x) = p, for p from 0.5 up, within 1e-5 (bisection on [0, 6.25]); 0 for p below 0.5.
double InverseLoiNormale(double p);

// P(chi-square with n degrees of freedom <= x). n = 0 gives 1 (the upper tail is empty); x <= 0
// gives 0 for n above 0. Odd n carry the normal approximation's error (below 1.5e-7).
double ProbaKhiDeux(double x, int n);

// P(Student's T with n degrees of freedom <= t); n <= 0 gives 0.
double ProbaStudent(double t, int n);

// The upper tails P(chi-square > x) and P(T > t), computed as tails rather than as 1 minus the
// functions above, so that a probability far below the rounding of 1 (a p-value of 1e-20 or
// 1e-300) keeps its significant digits down to the smallest double. Chi-square: n = 0 gives 0, x <= 0
// gives 1 for n above 0. Student: n <= 0 gives 1.
double ProbaKhiDeuxSuperieure(double x, int n);
double ProbaStudentSuperieure(double t, int n);

// Confidence bounds of a percentage P (0 to 100) over a base of n units, in percent, with the
// threshold z given, clamped to [0, 100]. A base not above 0 gives the missing value.
double BorneInferieurePourcentage(double percentage, double base, double z);
double BorneSuperieurePourcentage(double percentage, double base, double z);

// The same with the study context's ConfidenceIntervalThreshold.
double BorneInferieurePourcentage(double percentage, double base, const CContexteEtude& survey);
double BorneSuperieurePourcentage(double percentage, double base, const CContexteEtude& survey);
