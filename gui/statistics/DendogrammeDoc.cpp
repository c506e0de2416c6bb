#include "gui/statistics/DendogrammeDoc.h"

#include "framework/DocumentSource.h"
#include "framework/DocumentTitle.h"
#include "statistics/Dendogramme.h"

bool CDendogrammeDoc::OnOpenDocument(const DocumentSource& source) {
    CDendogramme* dendogramme = source.GetObject<CDendogramme>();
    if (dendogramme == nullptr)
        return false;
    m_dendogramme = dendogramme;
    SetTitle(DocumentTitle::FromText(dendogramme->titre));
    return true;
}

void CDendogrammeDoc::SetPathName(const std::string& /*path*/) {
    if (m_dendogramme != nullptr)
        SetTitle(DocumentTitle::FromText(m_dendogramme->titre));
}

bool CDendogrammeDoc::FermerSiSource(const void* source) {
    if (source == nullptr || m_dendogramme == nullptr || m_dendogramme->documentSource != source)
        return false;
    OnCloseDocument();
    return true;
}
