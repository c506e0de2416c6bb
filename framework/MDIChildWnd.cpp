#include "framework/MDIChildWnd.h"

#include "framework/Document.h"
#include "framework/View.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMoveEvent>
#include <QResizeEvent>

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

CMDIChildWnd::Placement CMDIChildWnd::GetWindowPlacement() const {
    const Qt::WindowStates state = windowState() & (Qt::WindowMaximized | Qt::WindowMinimized);
    return {state == Qt::WindowNoState ? geometry() : m_normalGeometry, state};
}

void CMDIChildWnd::SetWindowPlacement(const Placement& placement) {
    // Maximised or minimised, the window first comes back to its own normal geometry: that is the
    // one its new state keeps for later.
    if (isMaximized() || isMinimized())
        showNormal();
    if (placement.normalGeometry.isValid())
        setGeometry(placement.normalGeometry);
    if (placement.state.testFlag(Qt::WindowMinimized))
        showMinimized();
    else if (placement.state.testFlag(Qt::WindowMaximized))
        showMaximized();
}

void CMDIChildWnd::moveEvent(QMoveEvent* event) {
    QMdiSubWindow::moveEvent(event);
    KeepNormalGeometry();
}

void CMDIChildWnd::resizeEvent(QResizeEvent* event) {
    QMdiSubWindow::resizeEvent(event);
    KeepNormalGeometry();
}

void CMDIChildWnd::KeepNormalGeometry() {
    if (!isMaximized() && !isMinimized())
        m_normalGeometry = geometry();
}
