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

bool CExecuteurTraitement::AjouterTableauOuvert(std::unique_ptr<CTableau> table, std::unique_ptr<CTraitement> request) {
    if (!table)
        return false;
    const double base = table->base;
    FinirTableau(*table, std::move(request), base);
    AjouterTableau(std::move(table));
    return true;
}

TablesOuvertes* CExecuteurTraitement::MoteurOuvertes(const char* name) const {
    TablesOuvertes* tables = TablesOuvertes::Donner();
    if (tables == nullptr)
        m_context.GetUserInterface().ShowMessage(Message(StringTable::kTraitementNonDisponible, {name}),
                                                 UserInterface::Icon::Information);
    return tables;
}

void CExecuteurTraitement::ConstruireTableauReponses(std::unique_ptr<CTraitement> request) {
    CQuestionEtendue* open = request->GetQuestionAxe(CTraitement::kLignes);
    TablesOuvertes* tables = MoteurOuvertes("ConstruireTableauReponses");
    if (tables == nullptr || open == nullptr)
        return;
    auto table = tables->ConstruireTableauReponses(m_context, *open);
    AjouterTableauOuvert(std::move(table), std::move(request));
}

void CExecuteurTraitement::ConstruireTableauReponsesSelon(std::unique_ptr<CTraitement> request) {
    CQuestionEtendue* open = request->GetQuestionAxe(CTraitement::kLignes);
    CQuestionEtendue* closed = request->GetQuestionAxe(CTraitement::kColonnes);
    TablesOuvertes* tables = MoteurOuvertes("ConstruireTableauReponsesSelon");
    if (tables == nullptr || open == nullptr || closed == nullptr)
        return;
    auto table = tables->ConstruireTableauReponsesSelon(m_context, *open, *closed);
    AjouterTableauOuvert(std::move(table), std::move(request));
}

void CExecuteurTraitement::ConstruireTableauDictionnaire(std::unique_ptr<CTraitement> request) {
    CQuestionEtendue* open = request->GetQuestionAxe(CTraitement::kLignes);
    if (open == nullptr || request->GetCalculsLignes().size() < 3)
        return;
    TablesOuvertes* tables = MoteurOuvertes("ConstruireTableauDictionnaire");
    if (tables == nullptr)
        return;
    auto table = tables->ConstruireTableauDictionnaire(m_context, *open, MinimumFrequency(*request, 0),
                                                       Parameter(*request, 1) != 0, Parameter(*request, 2));
    AjouterTableauOuvert(std::move(table), std::move(request));
}

void CExecuteurTraitement::ConstruireTableauSegments(std::unique_ptr<CTraitement> request) {
    CQuestionEtendue* open = request->GetQuestionAxe(CTraitement::kLignes);
    if (open == nullptr || request->GetCalculsLignes().size() < 2)
        return;
    TablesOuvertes* tables = MoteurOuvertes("ConstruireTableauSegments");
    if (tables == nullptr)
        return;
    auto table = tables->ConstruireTableauSegments(m_context, *open, MinimumFrequency(*request, 0),
                                                   Parameter(*request, 1));
    AjouterTableauOuvert(std::move(table), std::move(request));
}
