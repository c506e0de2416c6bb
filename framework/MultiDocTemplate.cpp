#include "framework/MultiDocTemplate.h"

#include "framework/DocumentSource.h"
#include "framework/MDIFrameWnd.h"
#include "framework/WinApp.h"

#include <utility>

CMultiDocTemplate::CMultiDocTemplate(int resourceId, DocumentFactory makeDocument, ViewFactory makeView,
                                     FrameFactory makeFrame, QString documentName)
    : CDocTemplate(resourceId), m_makeDocument(std::move(makeDocument)), m_makeView(std::move(makeView)),
      m_makeFrame(std::move(makeFrame)), m_documentName(std::move(documentName)) {}

CDocument* CMultiDocTemplate::OpenDocument(const DocumentSource& source) {
    CMDIFrameWnd* mainFrame = GetApp() != nullptr ? GetApp()->GetMainFrame() : nullptr;
    if (mainFrame == nullptr)
        return nullptr;
    std::unique_ptr<CDocument> document = m_makeDocument();
    std::unique_ptr<CMDIChildWnd> frame = m_makeFrame();
    std::unique_ptr<CView> view = m_makeView();
    if (document == nullptr || frame == nullptr || view == nullptr || view->GetWidget() == nullptr)
        return nullptr;

    AttachDocument(*document);
    document->AddView(*view);
    frame->setWidget(view.release()->GetWidget());

    bool opened = false;
    if (source.IsNone()) {
        SetDefaultTitle(*document);
        opened = document->OnNewDocument();
    } else {
        opened = document->OnOpenDocument(source);
    }
    if (!opened) {
        // The frame takes the view with it; the document must not close itself on the way, its
        // contents are freed here and the document goes when this returns.
        document->SetAutoDelete(false);
        frame.reset();
        document->DeleteContents();
        return nullptr;
    }
    if (source.IsNone())
        ++m_untitledCount;
    if (source.IsPath())
        document->SetPathName(source.GetPath());

    CDocument& added = AddDocument(std::move(document));
    mainFrame->AddChildFrame(std::move(frame)).InitialUpdateFrame();
    return &added;
}

void CMultiDocTemplate::SetDefaultTitle(CDocument& document) const {
    if (!m_documentName.isEmpty())
        document.SetTitle(m_documentName + QString::number(m_untitledCount + 1));
}
