#include "framework/MDIFrameWnd.h"

#include "framework/FrameworkCommands.h"
#include "framework/MDIChildWnd.h"
#include "framework/WindowListMenu.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <vector>

const CommandEntry<CMDIFrameWnd> CMDIFrameWnd::kCommandMap[] = {
    {FrameworkCommands::kWindowCascade, &CMDIFrameWnd::OnWindowCascade, nullptr},
    {FrameworkCommands::kWindowTileHorizontally, &CMDIFrameWnd::OnWindowTile, nullptr},
};

CMDIFrameWnd::CMDIFrameWnd(CCmdTarget* application, QWidget* parent)
    : QMainWindow(parent), m_application(application), m_mdiArea(new QMdiArea(this)),
      m_router(new CommandRouter(*this, this)) {
    setCentralWidget(m_mdiArea);
    // Another active window changes the route of every command.
    connect(m_mdiArea, &QMdiArea::subWindowActivated, m_router, &CommandRouter::UpdateActions);
}

CMDIFrameWnd::~CMDIFrameWnd() {
    // The router and the document windows go while this frame is still whole: they route commands
    // through it, and their documents close as their last view goes.
    delete m_router;
    m_router = nullptr;
    // Closing one document window may take others of the same document with it.
    std::vector<QPointer<QMdiSubWindow>> frames;
    for (QMdiSubWindow* frame : m_mdiArea->subWindowList())
        frames.emplace_back(frame);
    for (const QPointer<QMdiSubWindow>& frame : frames)
        delete frame.data();
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive() const {
    return dynamic_cast<CMDIChildWnd*>(m_mdiArea->currentSubWindow());
}

CMDIChildWnd& CMDIFrameWnd::AddChildFrame(std::unique_ptr<CMDIChildWnd> frame) {
    CMDIChildWnd& added = *frame;
    m_mdiArea->addSubWindow(frame.release());
    return added;
}

void CMDIFrameWnd::AddCommands(std::span<const CommandDescription> commands) {
    for (const CommandDescription& command : commands)
        addAction(m_router->AddCommand(command));
}

bool CMDIFrameWnd::OnCmdMsg(unsigned id, CmdMsg kind, CCmdUI* ui) {
    CMDIChildWnd* child = MDIGetActive();
    if (child != nullptr && child->OnCmdMsg(id, kind, ui))
        return true;
    if (HandleOwnCommand(id, kind, ui))
        return true;
    return m_application != nullptr && m_application->OnCmdMsg(id, kind, ui);
}

bool CMDIFrameWnd::HandleOwnCommand(unsigned id, CmdMsg kind, CCmdUI* ui) {
    return DispatchCommandMap(*this, kCommandMap, id, kind, ui) || CCmdTarget::HandleOwnCommand(id, kind, ui);
}

void CMDIFrameWnd::SetWindowMenu(QMenu& menu) {
    m_windowList = new WindowListMenu(menu, *m_mdiArea);
}

WindowListMenu* CMDIFrameWnd::GetWindowList() const {
    return m_windowList.data();
}

void CMDIFrameWnd::OnWindowCascade() {
    ArrangeInStackingOrder(&QMdiArea::cascadeSubWindows);
}

void CMDIFrameWnd::OnWindowTile() {
    ArrangeInStackingOrder(&QMdiArea::tileSubWindows);
}

// The area places its windows in the order of its activation-order setting (the order they were
// opened, by default) and leaves their stacking alone: a window opened early but brought in front
// since, such as the questionnaire tree that the analyst clicks before each command, would stay
// above the windows cascaded after it and hide their title bars. Placed in stacking order, the
// window in front lands last, on top of the cascade.
void CMDIFrameWnd::ArrangeInStackingOrder(void (QMdiArea::*arrange)()) {
    const QMdiArea::WindowOrder kept = m_mdiArea->activationOrder();
    m_mdiArea->setActivationOrder(QMdiArea::StackingOrder);
    (m_mdiArea->*arrange)();
    m_mdiArea->setActivationOrder(kept);
    // The arranged windows may cover the minimised ones' title bars.
    for (QMdiSubWindow* window : m_mdiArea->subWindowList(QMdiArea::StackingOrder))
        if (window->isMinimized())
            window->raise();
}
