#include "tools/cli/WrittenOutput.h"

#include <cerrno>
#include <system_error>

namespace cli {

bool WrittenOutput::Check(std::ostream& out, std::ostream& err, const std::string& command) {
    errno = 0;
    out.flush();
    if (out.good())
        return true;
    // A failure met by an earlier write leaves no reason behind once errno has moved on.
    const int reason = errno;
    err << command << ": cannot write the output";
    if (reason != 0)
        err << ": " << std::generic_category().message(reason);
    err << '\n';
    err.flush();
    return false;
}

} // namespace cli
