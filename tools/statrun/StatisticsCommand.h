#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace statrun {

// statistics-run METHOD INPUT [options]: METHOD is pca, ca or mca; INPUT a CSV table (first line:
// column names, first column: row names) or a questionnaire (.qes). Prints the eigenvalue table
// and the coordinates of rows and columns as tab-separated text on out; problems go to err.
// Answers the process's exit status: 0 done, 1 a problem with the data, 2 a usage error.
int Run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace statrun
