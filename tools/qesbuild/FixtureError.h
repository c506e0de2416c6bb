#pragma once

#include <stdexcept>
#include <string>

namespace qesbuild {

// A fault in a fixture's description or data: the file and the line it was found on, and what
// is wrong. Its what() reads "file:line: message", the form editors jump to.
class FixtureError : public std::runtime_error {
public:
    FixtureError(std::string file, int line, const std::string& message);

    const std::string& file() const noexcept { return file_; }
    int line() const noexcept { return line_; }

private:
    std::string file_;
    int line_;
};

} // namespace qesbuild
