#pragma once

#include "framework/CmdTarget.h"
#include "framework/CommandMap.h"
#include "framework/CommandRouter.h"

#include <QMainWindow>
#include <QPointer>
#include <memory>
#include <span>

class CMDIChildWnd;
class QMdiArea;
class QMenu;
class WindowListMenu;

// The main window: the document windows live in its MDI area, and every command starts its route
// here: the active child frame (its view, the view's document, the frame), then this frame, then
// the application. The frame holds the command router that makes the commands into actions.
class CMDIFrameWnd : public QMainWindow, public CCmdTarget {
    Q_OBJECT

public:
    // `application` ends every route; it may be null.
    explicit CMDIFrameWnd(CCmdTarget* application, QWidget* parent = nullptr);
    ~CMDIFrameWnd() override;

    QMdiArea& GetMdiArea() const { return *m_mdiArea; }
    // The active child frame (the one last active while the program is in the background); null
    // when there is none.
    CMDIChildWnd* MDIGetActive() const;
    // The frame joins the MDI area, still hidden.
    CMDIChildWnd& AddChildFrame(std::unique_ptr<CMDIChildWnd> frame);

    CommandRouter& GetCommandRouter() const { return *m_router; }
    // One action per command, in the router and in this window, so that their shortcuts work
    // wherever the focus is in the window.
    void AddCommands(std::span<const CommandDescription> commands);

    // The menu that ends with the list of the open document windows (WindowListMenu).
    void SetWindowMenu(QMenu& menu);
    // Null until a window menu is set.
    WindowListMenu* GetWindowList() const;

    bool OnCmdMsg(unsigned id, CmdMsg kind, CCmdUI* ui) override;

protected:
    bool HandleOwnCommand(unsigned id, CmdMsg kind, CCmdUI* ui) override;

private:
    // "Cascade" and "Mosaïque": every document window but the minimised ones is placed, in the
    // order the windows are stacked (the bottom one first), so that each title bar stays in sight
    // of the windows above it; the minimised windows are then brought in front of the others.
    void OnWindowCascade();
    void OnWindowTile();
    void ArrangeInStackingOrder(void (QMdiArea::*arrange)());

    static const CommandEntry<CMDIFrameWnd> kCommandMap[];

    CCmdTarget* m_application;
    QMdiArea* m_mdiArea;
    CommandRouter* m_router;
    QPointer<WindowListMenu> m_windowList; // belongs to its menu
};
