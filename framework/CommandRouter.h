#pragma once

#include <QObject>
#include <QTimer>
#include <map>
#include <span>

class CCmdTarget;
class CCmdUI;
class QAction;
class QMenu;

// One command as the menus and the tool bar show it. Texts are UTF-8; the shortcut is in Qt's
// portable form ("Ctrl+O"); the icon is a resource path. Shortcut and icon may be null.
struct CommandDescription {
    unsigned id;
    const char* text;
    const char* shortcut;
    const char* icon;
};

// The commands as actions: one QAction per command id, triggered into the route that starts at
// the given target, and kept enabled, checked and titled as the update handlers on that route say:
// before a menu shows, when the active window changes, and on a short idle timer for the tool bar.
class CommandRouter : public QObject {
    Q_OBJECT

public:
    static constexpr int kIdleUpdateMilliseconds = 250;

    explicit CommandRouter(CCmdTarget& route, QObject* parent = nullptr);

    // The action of the command, made on the first call for its id (later calls give it back
    // unchanged). It belongs to the router; menus and tool bars only show it.
    QAction* AddCommand(const CommandDescription& command);
    QAction* GetAction(unsigned id) const;

    // Runs the command when its update handler leaves it enabled, as it stands at this moment
    // (an action may still look enabled between two refreshes). False when it did not run.
    bool Execute(unsigned id);

    // Refreshes every action from the update handlers.
    void UpdateActions();
    // Refreshes the actions each time the menu is about to show.
    void UpdateBeforeShowing(QMenu& menu);

private:
    static void ApplyState(QAction& action, const CCmdUI& state);

    CCmdTarget& m_route;
    std::map<unsigned, QAction*> m_actions;
    QTimer m_idleTimer;
};
