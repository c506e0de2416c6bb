#include "tools/cli/StreamUserInterface.h"

#include "app/StringTable.h"

namespace cli {

namespace {

const char* Kind(UserInterface::Icon icon) {
    switch (icon) {
    case UserInterface::Icon::Warning:
        return "warning: ";
    case UserInterface::Icon::Error:
        return "error: ";
    case UserInterface::Icon::Information:
    case UserInterface::Icon::Question:
        break;
    }
    return "";
}

} // namespace

void StreamUserInterface::ShowMessage(const Message& message, Icon icon) {
    ++m_messages;
    m_out << m_command << ": " << Kind(icon) << StringTable::Format(message) << '\n';
}

bool StreamUserInterface::AskYesNo(const Message& question) {
    ++m_messages;
    m_out << m_command << ": question answered No: " << StringTable::Format(question) << '\n';
    return false;
}

} // namespace cli
