#include "framework/Document.h"

#include "framework/DocTemplate.h"
#include "framework/FrameworkCommands.h"
#include "framework/MDIChildWnd.h"
#include "framework/View.h"

#include <QWidget>
#include <algorithm>
#include <filesystem>

const CommandEntry<CDocument> CDocument::kCommandMap[] = {
    {FrameworkCommands::kFileClose, &CDocument::OnFileClose, nullptr},
};

CDocument::CDocument() = default;

CDocument::~CDocument() {
    // A document destroyed with views still attached (its template going first) must not leave
    // them pointing at it.
    for (CView* view : m_views)
        view->m_document = nullptr;
}

void CDocument::SetTitle(const QString& title) {
    m_title = title;
    UpdateFrameTitles();
}

void CDocument::SetPathName(const std::string& path) {
    m_pathName = path;
    SetTitle(QString::fromStdString(std::filesystem::path(path).filename().string()));
}

void CDocument::AddView(CView& view) {
    if (view.m_document == this)
        return;
    if (view.m_document != nullptr)
        view.m_document->RemoveView(view);
    m_views.push_back(&view);
    view.m_document = this;
}

void CDocument::RemoveView(CView& view) {
    const auto found = std::find(m_views.begin(), m_views.end(), &view);
    if (found == m_views.end())
        return;
    m_views.erase(found);
    view.m_document = nullptr;
    if (m_views.empty() && m_autoDelete && !m_closing)
        OnCloseDocument();
}

void CDocument::UpdateAllViews(CView* sender, int hint) {
    for (CView* view : std::vector<CView*>(m_views)) {
        if (view != sender)
            view->OnUpdate(sender, hint);
    }
}

bool CDocument::OnNewDocument() {
    DeleteContents();
    SetModifiedFlag(false);
    return true;
}

bool CDocument::OnOpenDocument(const DocumentSource& /*source*/) {
    // A document class that opens nothing refuses every source.
    return false;
}

void CDocument::OnCloseDocument() {
    m_closing = true;
    for (CView* view : std::vector<CView*>(m_views)) {
        // An earlier frame may have held this view too.
        if (std::find(m_views.begin(), m_views.end(), view) == m_views.end())
            continue;
        if (CMDIChildWnd* frame = view->GetParentFrame())
            delete frame;
        else
            delete view->GetWidget();
    }
    m_closing = false;
    DeleteContents();
    if (m_autoDelete && m_docTemplate != nullptr)
        m_docTemplate->DestroyDocument(*this);
}

bool CDocument::CanCloseFrame(CMDIChildWnd& frame) {
    for (CView* view : m_views) {
        if (view->GetParentFrame() != &frame)
            return true;
    }
    return SaveModified();
}

void CDocument::OnFileClose() {
    if (!SaveModified())
        return;
    OnCloseDocument();
}

bool CDocument::HandleOwnCommand(unsigned id, CmdMsg kind, CCmdUI* ui) {
    return DispatchCommandMap(*this, kCommandMap, id, kind, ui) || CCmdTarget::HandleOwnCommand(id, kind, ui);
}

void CDocument::UpdateFrameTitles() {
    for (CView* view : m_views) {
        if (CMDIChildWnd* frame = view->GetParentFrame())
            frame->OnUpdateFrameTitle();
    }
}
