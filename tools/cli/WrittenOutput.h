#pragma once

#include <ostream>
#include <string>

namespace cli {

// The last step of a command-line run: what it wrote on its output must have reached the file or
// device in full (a full disk, /dev/full, a closed pipe), or the run must not report success.
class WrittenOutput {
public:
    // Flushes `out`. True when every write to it succeeded; otherwise tells so on `err`, as
    // "COMMAND: cannot write the output: reason", and answers false.
    static bool Check(std::ostream& out, std::ostream& err, const std::string& command);
};

} // namespace cli
