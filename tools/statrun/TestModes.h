#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace statrun {

// The test and regression modes of statistics-run (docs/statistics-run.md):
//   regression INPUT: the coefficients, standard deviations and probabilities of a linear
//     regression with a constant, and the observed, fitted and relative gap of every row;
//   chi2 INPUT: the chi-square test of independence of two closed questions or of a CSV table of
//     counts, with its degrees of freedom, probability, risk, verdict and five planes.
// The computations are the program's: the regression window's and the independence window's.
bool IsTestMode(const std::string& method);
// Answers the exit status: 0 done, 1 a problem with the data, 2 a usage error.
int RunTestMode(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace statrun
