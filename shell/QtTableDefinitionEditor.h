#pragma once

#include "framework/MDIChildWnd.h"
#include "gui/tabulation/TableDefinitionEditor.h"

#include <optional>

class CMorvaneApp;

// A table's definition edited in the request dialog that made it ("Edition/Retour à la
// définition..."), over the main window, and the new request run by the main frame. The
// application installs it on the table document at start-up.
//
// The first window the new request opens takes the place, size and state (maximised, minimised)
// of the window whose definition was edited, which closes after it: the analyst finds the new
// table where the old one was.
class QtTableDefinitionEditor final : public TableDefinitionEditor {
public:
    explicit QtTableDefinitionEditor(CMorvaneApp& application);

    bool HasDefinitionDialog(std::int16_t type) const override;
    std::unique_ptr<CTraitement> ModifierTraitement(const CTraitement& existing) override;
    bool LancerTraitement(std::unique_ptr<CTraitement> request) override;

private:
    // The window that shows the table of the request: the active one when it does, else the first
    // that does; null when none does.
    CMDIChildWnd* WindowOf(const CTraitement& request) const;

    CMorvaneApp& m_application;
    // The placement of the window whose definition is being edited, until the new request runs.
    std::optional<CMDIChildWnd::Placement> m_replacedPlacement;
};
