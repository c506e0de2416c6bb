#pragma once

#include "app/UserInterface.h"

#include <ostream>
#include <string>

namespace cli {

// The user interface of a command-line run: every message the core shows is written, as the user
// would read it, on one stream (the error stream) after the command's name, and counted so that
// the command can tell a silent run from one that reported a problem. Questions are answered No,
// the answer that changes nothing; progress is never cancelled.
class StreamUserInterface final : public UserInterface {
public:
    StreamUserInterface(std::ostream& out, std::string command) : m_out(out), m_command(std::move(command)) {}

    void ShowMessage(const Message& message, Icon icon) override;
    bool AskYesNo(const Message& question) override;
    void BeginWait() override {}
    void EndWait() override {}
    void BeginProgress(const Message&, int) override {}
    bool ReportProgress(int) override { return true; }
    void EndProgress() override {}

    int MessageCount() const { return m_messages; }

private:
    std::ostream& m_out;
    std::string m_command;
    int m_messages = 0;
};

} // namespace cli
