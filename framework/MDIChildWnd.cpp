#include "framework/MDIChildWnd.h"

#include "framework/Document.h"
#include "framework/View.h"

#include <QCloseEvent>
#include <QMdiArea>

CMDIChildWnd::CMDIChildWnd(QWidget* parent) : QMdiSubWindow(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
}

CView* CMDIChildWnd::GetActiveView() const {
    return dynamic_cast<CView*>(widget());
}

CDocument* CMDIChildWnd::GetActiveDocument() const {
    CView* view = GetActiveView();
    return view != nullptr ? view->GetDocument() : nullptr;
}

void CMDIChildWnd::InitialUpdateFrame() {
    if (CView* view = GetActiveView())
        view->OnInitialUpdate();
    OnUpdateFrameTitle();
    show();
    if (QMdiArea* area = mdiArea())
        area->setActiveSubWindow(this);
}

void CMDIChildWnd::OnUpdateFrameTitle() {
    if (CDocument* document = GetActiveDocument())
        setWindowTitle(document->GetTitle());
}

bool CMDIChildWnd::OnCmdMsg(unsigned id, CmdMsg kind, CCmdUI* ui) {
    CView* view = GetActiveView();
    if (view != nullptr && view->OnCmdMsg(id, kind, ui))
        return true;
    return HandleOwnCommand(id, kind, ui);
}

void CMDIChildWnd::closeEvent(QCloseEvent* event) {
    CDocument* document = GetActiveDocument();
    if (document != nullptr && !document->CanCloseFrame(*this)) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}
