#include "tools/qesbuild/FixtureError.h"

namespace qesbuild {

namespace {

std::string located(const std::string& file, int line, const std::string& message) {
    if (line <= 0)
        return file + ": " + message;
    return file + ":" + std::to_string(line) + ": " + message;
}

} // namespace

FixtureError::FixtureError(std::string file, int line, const std::string& message)
    : std::runtime_error(located(file, line, message)), file_(std::move(file)), line_(line) {}

} // namespace qesbuild
