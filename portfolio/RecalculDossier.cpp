#include "portfolio/RecalculDossier.h"

#include "app/StringTable.h"
#include "portfolio/ElementDossier.h"
#include "tabulation/ExecuteurTraitement.h"
#include "tabulation/Tableau.h"
#include "tabulation/Traitement.h"

RecalculDossier::RecalculDossier(CContexteEtude& context) : m_context(context) {}

bool RecalculDossier::RecalculerElement(CElementDossier& element) {
    if (!element.EstTableau())
        return true;
    const CTableau* table = element.GetTableau();
    const CTraitement* request = table != nullptr ? table->GetTraitement() : nullptr;
    std::vector<Message> reasons;
    if (request == nullptr) {
        reasons.emplace_back(StringTable::kDossierSansRequete);
    } else if (request->EstInvalide()) {
        reasons = request->GetMessagesInvalidite();
    } else {
        // The element keeps its request until a table replaces it: the run has a copy.
        CExecuteurTraitement executor(m_context);
        executor.Executer(std::make_unique<CTraitement>(*request));
        std::vector<std::unique_ptr<CTableau>> tables = executor.TakeTableaux();
        if (!tables.empty() && tables.front() != nullptr) {
            element.SetTableau(std::move(tables.front()));
            return true;
        }
        reasons.emplace_back(StringTable::kDossierAucunTableau);
    }
    m_failures.push_back({element.name, std::move(reasons)});
    element.DevenirChapitre();
    return false;
}

Message RecalculDossier::DonnerMessage() const {
    std::string list;
    for (const Failure& failure : m_failures) {
        list += "\n" + failure.name;
        for (const Message& reason : failure.reasons)
            list += "\n    " + StringTable::Format(reason);
    }
    return Message(StringTable::kDossierElementsDevenusChapitres, {list});
}
