#include "framework/WinApp.h"

#include "framework/DocTemplate.h"
#include "framework/MDIFrameWnd.h"

#include <utility>

CWinApp::CWinApp() = default;

CWinApp::~CWinApp() {
    // The windows first, while the templates that own their documents are still there.
    m_mainFrame.reset();
    m_docTemplates.clear();
}

std::vector<CDocTemplate*> CWinApp::GetDocTemplates() const {
    std::vector<CDocTemplate*> templates;
    templates.reserve(m_docTemplates.size());
    for (const auto& docTemplate : m_docTemplates)
        templates.push_back(docTemplate.get());
    return templates;
}

void CWinApp::SetMainFrame(std::unique_ptr<CMDIFrameWnd> mainFrame) {
    m_mainFrame = std::move(mainFrame);
}

bool CWinApp::SaveAllModified() {
    for (const auto& docTemplate : m_docTemplates) {
        if (!docTemplate->SaveAllModified())
            return false;
    }
    return true;
}

void CWinApp::CloseAllDocuments() {
    for (const auto& docTemplate : m_docTemplates)
        docTemplate->CloseAllDocuments();
}

void CWinApp::Adopt(std::unique_ptr<CDocTemplate> docTemplate) {
    docTemplate->m_app = this;
    m_docTemplates.push_back(std::move(docTemplate));
}
