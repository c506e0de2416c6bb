#include "tabulation/ExecuteurTraitement.h"

#include <cstdint>

#include "app/ContexteEtude.h"
#include "app/StringTable.h"
#include "app/UserInterface.h"
#include "tabulation/TablesOuvertes.h"

// The open-answer tables: built by the lexical engine through TablesOuvertes, then titled by
// the request and owning it. The dictionary and the segments read their parameters from the
// codes of the request's row calculations: minimum frequency (a signed 16-bit value), with stop
// words (non-zero) and sort key for the dictionary; minimum frequency and sort key for the
// segments. A request with fewer calculations computes nothing.

namespace {

std::int32_t Parameter(const CTraitement& request, std::size_t i) { return request.GetCalculsLignes()[i]->code; }

int MinimumFrequency(const CTraitement& request, std::size_t i) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(Parameter(request, i)));
}

} // namespace

void CExecuteurTraitement::ConstruireTableauOuvert(std::unique_ptr<CTraitement> request, std::size_t parameters,
                                                   const char* name, const OpenTableBuilder& build) {
    if (request->GetCalculsLignes().size() < parameters)
        return;
    TablesOuvertes* tables = TablesOuvertes::Donner();
    if (tables == nullptr) {
        m_context.GetUserInterface().ShowMessage(Message(StringTable::kTraitementNonDisponible, {name}),
                                                 UserInterface::Icon::Information);
        return;
    }
    CQuestionEtendue* open = request->GetQuestionAxe(CTraitement::kLignes);
    if (open == nullptr)
        return;
    std::unique_ptr<CTableau> table = build(*tables, *open, *request);
    if (!table)
        return;
    const double base = table->base;
    FinirTableau(*table, std::move(request), base);
    AjouterTableau(std::move(table));
}

void CExecuteurTraitement::ConstruireTableauReponses(std::unique_ptr<CTraitement> request) {
    ConstruireTableauOuvert(std::move(request), 0, "ConstruireTableauReponses",
                            [&](TablesOuvertes& tables, CQuestionEtendue& open, const CTraitement&) {
                                return tables.ConstruireTableauReponses(m_context, open);
                            });
}

void CExecuteurTraitement::ConstruireTableauReponsesSelon(std::unique_ptr<CTraitement> request) {
    ConstruireTableauOuvert(std::move(request), 0, "ConstruireTableauReponsesSelon",
                            [&](TablesOuvertes& tables, CQuestionEtendue& open, const CTraitement& asked) {
                                CQuestionEtendue* closed = asked.GetQuestionAxe(CTraitement::kColonnes);
                                return closed != nullptr ? tables.ConstruireTableauReponsesSelon(m_context, open, *closed)
                                                         : nullptr;
                            });
}

void CExecuteurTraitement::ConstruireTableauDictionnaire(std::unique_ptr<CTraitement> request) {
    ConstruireTableauOuvert(std::move(request), 3, "ConstruireTableauDictionnaire",
                            [&](TablesOuvertes& tables, CQuestionEtendue& open, const CTraitement& asked) {
                                return tables.ConstruireTableauDictionnaire(m_context, open, MinimumFrequency(asked, 0),
                                                                            Parameter(asked, 1) != 0, Parameter(asked, 2));
                            });
}

void CExecuteurTraitement::ConstruireTableauSegments(std::unique_ptr<CTraitement> request) {
    ConstruireTableauOuvert(std::move(request), 2, "ConstruireTableauSegments",
                            [&](TablesOuvertes& tables, CQuestionEtendue& open, const CTraitement& asked) {
                                return tables.ConstruireTableauSegments(m_context, open, MinimumFrequency(asked, 0),
                                                                        Parameter(asked, 1));
                            });
}
