#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace qesformula {

// The qesformula command: opens a questionnaire, evaluates one formula for every interview and
// prints, on `out`, one line per interview: its key ("Cle1"), a tab and the result's text form.
// With --level N the results are carried to the records of level N, each record taking the
// result of its interview, and each line starts with the record's keys joined by ";". A formula
// that fails prints nothing on `out` and one line on `err`: its error code, position and length
// (and, when answers could not be read, the reader's text).
//
// The run never reads nor changes the user's settings: it works on a settings store of its own.
class Command {
public:
    static constexpr int kResultsPrinted = 0;
    // The questionnaire could not be opened, or the level's records could not be read.
    static constexpr int kNoResult = 1;
    // The command line or the formula was refused.
    static constexpr int kRefused = 2;

    static int Run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);
};

} // namespace qesformula
