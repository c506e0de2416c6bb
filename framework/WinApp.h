#pragma once

#include "framework/CmdTarget.h"

#include <memory>
#include <vector>

class CDocTemplate;
class CMDIFrameWnd;

// The application's part of the framework: it owns the document templates and the main frame,
// and ends the route of every command. The program's application class derives from it and keeps
// typed pointers to the templates it adds.
class CWinApp : public CCmdTarget {
public:
    CWinApp();
    ~CWinApp() override;

    // The template joins the application, which owns it from now on.
    template <class Template> Template& AddDocTemplate(std::unique_ptr<Template> docTemplate);
    std::vector<CDocTemplate*> GetDocTemplates() const;

    // The frame the templates open their windows in; the application owns it.
    void SetMainFrame(std::unique_ptr<CMDIFrameWnd> mainFrame);
    CMDIFrameWnd* GetMainFrame() const { return m_mainFrame.get(); }

    // Asks every document of every template to save its modifications; false at the first refusal.
    bool SaveAllModified();
    // Closes every document of every template, with its windows.
    void CloseAllDocuments();

private:
    void Adopt(std::unique_ptr<CDocTemplate> docTemplate);

    std::vector<std::unique_ptr<CDocTemplate>> m_docTemplates;
    // Declared last so that it goes first: its windows' documents close through the templates.
    std::unique_ptr<CMDIFrameWnd> m_mainFrame;
};

template <class Template> Template& CWinApp::AddDocTemplate(std::unique_ptr<Template> docTemplate) {
    Template& added = *docTemplate;
    Adopt(std::move(docTemplate));
    return added;
}
