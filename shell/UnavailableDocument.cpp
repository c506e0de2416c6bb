#include "shell/UnavailableDocument.h"

#include "app/ContexteEtude.h"
#include "app/StringTable.h"

#include <utility>

UnavailableDocument::UnavailableDocument(std::string windowName) : m_windowName(std::move(windowName)) {}

bool UnavailableDocument::OnNewDocument() {
    return Refuse();
}

bool UnavailableDocument::OnOpenDocument(const DocumentSource& /*source*/) {
    return Refuse();
}

bool UnavailableDocument::Refuse() const {
    if (CContexteEtude* context = GetContexte())
        context->GetUserInterface().ShowMessage(Message(StringTable::kFenetreNonDisponible, {m_windowName}),
                                                UserInterface::Icon::Information);
    return false;
}
