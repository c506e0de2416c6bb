#pragma once

#include <memory>
#include <string>
#include <vector>

class CDocument;
class CWinApp;
class DocumentSource;

// One kind of window: the documents opened through it, which it owns, in the order they were
// opened. The application holds the templates (CWinApp::AddDocTemplate); how a template builds a
// document and its window is its subclass's business (CMultiDocTemplate).
class CDocTemplate {
public:
    // `resourceId` names the menu and icon of the template's windows.
    explicit CDocTemplate(int resourceId);
    CDocTemplate(const CDocTemplate&) = delete;
    CDocTemplate& operator=(const CDocTemplate&) = delete;
    virtual ~CDocTemplate();

    int GetResourceId() const { return m_resourceId; }
    // The application that holds the template; null until it is added to one.
    CWinApp* GetApp() const { return m_app; }

    // The new document, shown in its window; null when the document refuses the source or no
    // window can be made, in which case nothing of the attempt is left.
    CDocument* OpenDocumentFile(const std::string& path);
    CDocument* OpenDocumentFile(const DocumentSource& source);

    // The open documents, first opened first; a copy, safe to walk while documents close.
    std::vector<CDocument*> GetDocuments() const;
    // Asks each document in turn to save its modifications; false at the first refusal.
    bool SaveAllModified();
    // Closes every document and its windows.
    void CloseAllDocuments();

protected:
    virtual CDocument* OpenDocument(const DocumentSource& source) = 0;

    // Ties a document being built to this template (before it is opened).
    void AttachDocument(CDocument& document);
    // Takes an opened document into the list.
    CDocument& AddDocument(std::unique_ptr<CDocument> document);

private:
    friend class CDocument;
    friend class CWinApp;

    // The closing document leaves the list and is destroyed. A document not in the list (still
    // being built) is left to its builder.
    void DestroyDocument(CDocument& document);
    bool Holds(const CDocument& document) const;

    int m_resourceId;
    CWinApp* m_app = nullptr;
    std::vector<std::unique_ptr<CDocument>> m_documents;
};
