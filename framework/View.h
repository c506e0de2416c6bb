#pragma once

#include "framework/CmdTarget.h"

class CDocument;
class CMDIChildWnd;
class QWidget;

// The window side of a document: a view shows its document and receives commands before it.
//
// A view class derives from a Qt widget class first and from CView second, the widget class being
// whatever suits the view (a plain QWidget, a tree, a scroll area: see CScrollView):
//
//     class CQuestionnaireView : public QTreeWidget, public CView { ... };
//
// The view's frame owns it as its widget. Destroying the view takes it out of its document.
class CView : public CCmdTarget {
public:
    CView() = default;
    ~CView() override;

    CDocument* GetDocument() const { return m_document; }
    // The widget this view is; null only for a class that breaks the rule above.
    QWidget* GetWidget();
    // The child frame holding the view, null while it has none.
    CMDIChildWnd* GetParentFrame();

    // Once, after the document is open and before the frame shows: by default OnUpdate.
    virtual void OnInitialUpdate();
    // The document changed (UpdateAllViews; `sender` is the view that caused it, if any): by
    // default the view repaints.
    virtual void OnUpdate(CView* sender, int hint);

    // The view's own commands first, then its document's.
    bool OnCmdMsg(unsigned id, CmdMsg kind, CCmdUI* ui) override;

private:
    friend class CDocument;

    CDocument* m_document = nullptr;
};
