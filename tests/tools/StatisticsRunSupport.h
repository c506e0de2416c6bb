#pragma once

#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "tools/statrun/StatisticsCommand.h"

// Running statistics-run in-process and reading its tab-separated output.
namespace statistics_run_test {

struct RunResult {
    int status = 0;
    std::string out;
    std::string err;
};

inline RunResult StatisticsRun(const std::vector<std::string>& arguments) {
    std::ostringstream out;
    std::ostringstream err;
    RunResult run;
    run.status = statrun::Run(arguments, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

inline std::string Fixture(const char* name) {
    return std::string(MORVANE_SOURCE_DIR) + "/tests/fixtures/" + name;
}

// The line of a label, its fields after the label (an empty field, a missing value, as NaN); the
// first such line after the line `after` when it is given.
inline std::vector<double> Line(const std::string& text, const std::string& label, const std::string& after = {}) {
    std::istringstream in(text);
    std::string line;
    bool past = after.empty();
    while (std::getline(in, line)) {
        if (!past) {
            past = line == after;
            continue;
        }
        if (line.rfind(label + "\t", 0) != 0)
            continue;
        std::vector<double> values;
        std::istringstream fields(line.substr(label.size() + 1));
        std::string field;
        while (std::getline(fields, field, '\t'))
            values.push_back(field.empty() ? std::numeric_limits<double>::quiet_NaN() : std::stod(field));
        if (!line.empty() && line.back() == '\t')
            values.push_back(std::numeric_limits<double>::quiet_NaN());
        return values;
    }
    return {};
}

} // namespace statistics_run_test
