#pragma once

#include "framework/CmdTarget.h"

#include <QMdiSubWindow>

class CDocument;
class CView;
class QCloseEvent;

// The frame of one document window inside the main frame. It owns its view (its widget), passes
// commands to it before handling its own, takes the document's title, and asks the document
// before it closes. Closed, it is destroyed, and its view with it.
class CMDIChildWnd : public QMdiSubWindow, public CCmdTarget {
    Q_OBJECT

public:
    explicit CMDIChildWnd(QWidget* parent = nullptr);

    // The view shown; null while the frame holds none.
    CView* GetActiveView() const;
    CDocument* GetActiveDocument() const;

    // Once the document is open: the view's initial update, the title, then shown and activated.
    void InitialUpdateFrame();
    // The window title becomes the document's title.
    virtual void OnUpdateFrameTitle();

    bool OnCmdMsg(unsigned id, CmdMsg kind, CCmdUI* ui) override;

protected:
    void closeEvent(QCloseEvent* event) override;
};
