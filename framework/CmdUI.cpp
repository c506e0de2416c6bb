#include "framework/CmdUI.h"

#include "framework/CmdTarget.h"

void CCmdUI::Enable(bool on) {
    m_enabled = on;
    m_enableChanged = true;
}

void CCmdUI::SetCheck(int check) {
    m_check = check;
}

void CCmdUI::SetText(const QString& text) {
    m_text = text;
}

void CCmdUI::DoUpdate(CCmdTarget& target) {
    m_enableChanged = false;
    target.OnCmdMsg(m_id, CmdMsg::kUpdateCommandUI, this);
    if (!m_enableChanged)
        Enable(target.OnCmdMsg(m_id, CmdMsg::kFindHandler, nullptr));
}
