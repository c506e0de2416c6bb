#include "framework/View.h"

#include "framework/Document.h"
#include "framework/MDIChildWnd.h"

#include <QWidget>

CView::~CView() {
    if (m_document != nullptr)
        m_document->RemoveView(*this);
}

QWidget* CView::GetWidget() {
    return dynamic_cast<QWidget*>(this);
}

CMDIChildWnd* CView::GetParentFrame() {
    QWidget* widget = GetWidget();
    for (QWidget* parent = widget != nullptr ? widget->parentWidget() : nullptr; parent != nullptr;
         parent = parent->parentWidget()) {
        if (auto* frame = dynamic_cast<CMDIChildWnd*>(parent))
            return frame;
    }
    return nullptr;
}

void CView::OnInitialUpdate() {
    OnUpdate(nullptr, 0);
}

void CView::OnUpdate(CView* /*sender*/, int /*hint*/) {
    if (QWidget* widget = GetWidget())
        widget->update();
}

bool CView::OnCmdMsg(unsigned id, CmdMsg kind, CCmdUI* ui) {
    if (HandleOwnCommand(id, kind, ui))
        return true;
    return m_document != nullptr && m_document->OnCmdMsg(id, kind, ui);
}
