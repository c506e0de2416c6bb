#include "framework/CommandRouter.h"

#include "framework/CmdTarget.h"
#include "framework/CmdUI.h"

#include <QAction>
#include <QIcon>
#include <QKeySequence>
#include <QMenu>
#include <QPointer>

CommandRouter::CommandRouter(CCmdTarget& route, QObject* parent) : QObject(parent), m_route(route) {
    m_idleTimer.setInterval(kIdleUpdateMilliseconds);
    connect(&m_idleTimer, &QTimer::timeout, this, &CommandRouter::UpdateActions);
    m_idleTimer.start();
}

QAction* CommandRouter::AddCommand(const CommandDescription& command) {
    if (QAction* existing = GetAction(command.id))
        return existing;
    auto* action = new QAction(QString::fromUtf8(command.text), this);
    if (command.shortcut != nullptr)
        action->setShortcut(QKeySequence(QString::fromUtf8(command.shortcut)));
    if (command.icon != nullptr)
        action->setIcon(QIcon(QString::fromUtf8(command.icon)));
    const unsigned id = command.id;
    connect(action, &QAction::triggered, this, [this, id] { Execute(id); });
    m_actions.emplace(id, action);
    return action;
}

QAction* CommandRouter::GetAction(unsigned id) const {
    const auto found = m_actions.find(id);
    return found != m_actions.end() ? found->second : nullptr;
}

bool CommandRouter::Execute(unsigned id) {
    CCmdUI state(id);
    state.DoUpdate(m_route);
    QAction* action = GetAction(id);
    if (!state.IsEnabled()) {
        if (action != nullptr)
            ApplyState(*action, state);
        return false;
    }
    // The command may close the window that holds this router.
    QPointer<CommandRouter> alive(this);
    const bool handled = m_route.OnCmdMsg(id, CmdMsg::kCommand, nullptr);
    if (alive != nullptr && action != nullptr) {
        CCmdUI after(id);
        after.DoUpdate(m_route);
        ApplyState(*action, after);
    }
    return handled;
}

void CommandRouter::UpdateActions() {
    for (const auto& [id, action] : m_actions) {
        CCmdUI state(id);
        state.DoUpdate(m_route);
        ApplyState(*action, state);
    }
}

void CommandRouter::UpdateBeforeShowing(QMenu& menu) {
    connect(&menu, &QMenu::aboutToShow, this, &CommandRouter::UpdateActions);
}

void CommandRouter::ApplyState(QAction& action, const CCmdUI& state) {
    action.setEnabled(state.IsEnabled());
    if (const std::optional<int>& check = state.GetCheck()) {
        action.setCheckable(true);
        action.setChecked(*check != 0);
    }
    if (const std::optional<QString>& text = state.GetText())
        action.setText(*text);
}
