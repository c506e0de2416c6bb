#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace qesrun {

// The qesrun command: opens a questionnaire, reads one request (its text form, or a stored
// request with --archive), computes it and prints every table it produced on `out`. Whatever the
// core tells the user, and every refusal, goes to `err`; `out` receives the tables only, all at
// once, and nothing when no table came out.
//
// The run never reads nor changes the user's settings: it works on a settings store of its own,
// so that the same request on the same file always prints the same text.
class Command {
public:
    static constexpr int kTablesPrinted = 0;
    // The questionnaire could not be opened, or the request produced no table.
    static constexpr int kNoTable = 1;
    // The command line, the request file or the request itself was refused.
    static constexpr int kRefused = 2;

    static int Run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);
};

} // namespace qesrun
