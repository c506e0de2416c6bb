#include "gui/presentation/MappingDoc.h"

#include "framework/DocumentSource.h"
#include "framework/DocumentTitle.h"
#include "statistics/Mapping.h"

namespace {

CMappingDoc::AjoutDossier& AjoutInstalle() {
    static CMappingDoc::AjoutDossier add;
    return add;
}

} // namespace

void CMappingDoc::SetAjoutDossier(AjoutDossier add) {
    AjoutInstalle() = std::move(add);
}

const CMappingDoc::AjoutDossier& CMappingDoc::GetAjoutDossier() {
    return AjoutInstalle();
}

CMappingDoc::CMappingDoc() = default;

CMappingDoc::~CMappingDoc() = default;

bool CMappingDoc::OnOpenDocument(const DocumentSource& source) {
    CMapping* mapping = source.GetObject<CMapping>();
    if (mapping == nullptr)
        return false;
    DeleteContents();
    m_mapping = mapping;
    SetTitle(DocumentTitle::FromText(mapping->nom));
    return true;
}

void CMappingDoc::SetPathName(const std::string& /*path*/) {
    if (m_mapping != nullptr)
        SetTitle(DocumentTitle::FromText(m_mapping->nom));
}

void CMappingDoc::DeleteContents() {
    m_mapping = nullptr;
}

bool CMappingDoc::FermerSiSource(const void* source) {
    if (source == nullptr || m_mapping == nullptr || m_mapping->proprietaire != source)
        return false;
    OnCloseDocument();
    return true;
}
