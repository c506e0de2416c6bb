#include "tools/qesrun/StreamUserInterface.h"

#include "app/StringTable.h"

namespace qesrun {

namespace {

const char* Prefix(UserInterface::Icon icon) {
    switch (icon) {
    case UserInterface::Icon::Warning:
        return "qesrun: warning: ";
    case UserInterface::Icon::Error:
        return "qesrun: error: ";
    case UserInterface::Icon::Information:
    case UserInterface::Icon::Question:
        break;
    }
    return "qesrun: ";
}

} // namespace

void StreamUserInterface::ShowMessage(const Message& message, Icon icon) {
    ++m_messages;
    m_out << Prefix(icon) << StringTable::Format(message) << '\n';
}

bool StreamUserInterface::AskYesNo(const Message& question) {
    ++m_messages;
    m_out << "qesrun: question answered No: " << StringTable::Format(question) << '\n';
    return false;
}

} // namespace qesrun
