#include "gui/statistics/MorvaneDirecteDoc.h"

#include "framework/DocumentSource.h"
#include "tabulation/DemandeOuverture.h"
#include "tabulation/Tableau.h"

CMorvaneDirecteDoc::CMorvaneDirecteDoc() = default;

CMorvaneDirecteDoc::~CMorvaneDirecteDoc() = default;

bool CMorvaneDirecteDoc::OnOpenDocument(const DocumentSource& source) {
    const CDemandeOuverture* request = source.GetObject<const CDemandeOuverture>();
    if (request == nullptr || request->source == nullptr)
        return false;
    DeleteContents();
    m_table = std::make_unique<CTableau>(*request->source);
    m_type = request->type;
    return true;
}

void CMorvaneDirecteDoc::DeleteContents() {
    m_table.reset();
}
