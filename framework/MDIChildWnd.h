#pragma once

#include "framework/CmdTarget.h"

#include <QMdiSubWindow>
#include <QRect>

class CDocument;
class CView;
class QCloseEvent;

// The frame of one document window inside the main frame. It owns its view (its widget), passes
// commands to it before handling its own, takes the document's title, and asks the document
// before it closes. Closed, it is destroyed, and its view with it.
class CMDIChildWnd : public QMdiSubWindow, public CCmdTarget {
    Q_OBJECT

public:
    // Where a window stands: its place and size when neither maximised nor minimised, and whether
    // it is maximised or minimised now.
    struct Placement {
        QRect normalGeometry;
        Qt::WindowStates state;
    };

    explicit CMDIChildWnd(QWidget* parent = nullptr);

    Placement GetWindowPlacement() const;
    // The window takes the place and size, then the state (a window put in another's place).
    void SetWindowPlacement(const Placement& placement);

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
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void KeepNormalGeometry();

    // Kept at each move and resize made while neither maximised nor minimised: the area keeps
    // the geometry a maximised window comes back to, but does not tell it.
    QRect m_normalGeometry;
};
