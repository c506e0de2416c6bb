#include "framework/DocTemplate.h"

#include "framework/Document.h"
#include "framework/DocumentSource.h"

#include <algorithm>
#include <utility>

CDocTemplate::CDocTemplate(int resourceId) : m_resourceId(resourceId) {}

CDocTemplate::~CDocTemplate() = default;

CDocument* CDocTemplate::OpenDocumentFile(const std::string& path) {
    return OpenDocument(DocumentSource::FromPath(path));
}

CDocument* CDocTemplate::OpenDocumentFile(const DocumentSource& source) {
    return OpenDocument(source);
}

std::vector<CDocument*> CDocTemplate::GetDocuments() const {
    std::vector<CDocument*> documents;
    documents.reserve(m_documents.size());
    for (const auto& document : m_documents)
        documents.push_back(document.get());
    return documents;
}

bool CDocTemplate::SaveAllModified() {
    for (CDocument* document : GetDocuments()) {
        if (!document->SaveModified())
            return false;
    }
    return true;
}

void CDocTemplate::CloseAllDocuments() {
    for (CDocument* document : GetDocuments()) {
        // Closing one document may close others (the windows built from it).
        if (Holds(*document))
            document->OnCloseDocument();
    }
}

bool CDocTemplate::Holds(const CDocument& document) const {
    return std::any_of(m_documents.begin(), m_documents.end(),
                       [&document](const auto& owned) { return owned.get() == &document; });
}

void CDocTemplate::AttachDocument(CDocument& document) {
    document.m_docTemplate = this;
}

CDocument& CDocTemplate::AddDocument(std::unique_ptr<CDocument> document) {
    AttachDocument(*document);
    m_documents.push_back(std::move(document));
    return *m_documents.back();
}

void CDocTemplate::DestroyDocument(CDocument& document) {
    const auto found = std::find_if(m_documents.begin(), m_documents.end(),
                                    [&document](const auto& owned) { return owned.get() == &document; });
    if (found == m_documents.end())
        return;
    // Out of the list before it goes, so that nothing its destruction triggers finds it there.
    std::unique_ptr<CDocument> closing = std::move(*found);
    m_documents.erase(found);
}
