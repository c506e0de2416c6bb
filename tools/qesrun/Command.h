#pragma once

#include <ostream>
#include <string>
#include <vector>

class CContexteEtude;

namespace qesrun {

// The qesrun command: opens a questionnaire, reads one request (its text form, or a stored
// request with --archive), computes it and prints every table it produced on `out`; with --rtf,
// --xlsx or --txt it also writes them into that file. Whatever the
// core tells the user, and every refusal, goes to `err`; `out` receives the tables only, all at
// once, and nothing when no table came out.
//
// The run never reads nor changes the user's settings: it works on a settings store of its own,
// so that the same request on the same file always prints the same text. It reads its analysis
// options from that store as the program reads its own at start-up and at each opening, so that
// a request gives the table the program gives on the same settings.
class Command {
public:
    static constexpr int kTablesPrinted = 0;
    // The questionnaire could not be opened, or the request produced no table.
    static constexpr int kNoTable = 1;
    // The command line, the request file or the request itself was refused.
    static constexpr int kRefused = 2;
    // The tables were printed, but an export file asked for could not be written.
    static constexpr int kExportFailed = 3;

    static int Run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

    // Opens the questionnaire into `context` as the program does: the options the program reads
    // when it starts, then the opening with the options read at each opening, all from the
    // settings store installed. False when the questionnaire could not be opened (the reason told
    // through the context's user interface).
    static bool OpenStudy(CContexteEtude& context, const std::string& questionnaire);
};

} // namespace qesrun
