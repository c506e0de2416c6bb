#pragma once

#include <QString>
#include <optional>

class CCmdTarget;

// The state of one command as its update handler leaves it: enabled or not, checked or not, and
// optionally a new text. Whoever shows the command (a menu action, a tool button, a status pane)
// applies the state it finds here.
class CCmdUI {
public:
    explicit CCmdUI(unsigned id) : m_id(id) {}

    unsigned GetId() const { return m_id; }

    void Enable(bool on = true);
    // 0 unchecked, 1 checked; any other value shows as checked.
    void SetCheck(int check = 1);
    void SetText(const QString& text);

    // Asks the route that starts at `target` for the command's state. The first update handler met
    // on the route decides; when none calls Enable, the command is enabled exactly when some target
    // on the route has a handler for it, so that a command nobody can run is never offered.
    void DoUpdate(CCmdTarget& target);

    bool IsEnabled() const { return m_enabled; }
    // Set only when an update handler called SetCheck.
    const std::optional<int>& GetCheck() const { return m_check; }
    // Set only when an update handler called SetText.
    const std::optional<QString>& GetText() const { return m_text; }

private:
    unsigned m_id;
    bool m_enabled = true;
    bool m_enableChanged = false;
    std::optional<int> m_check;
    std::optional<QString> m_text;
};
