#pragma once

#include "tabulation/ui/TableDefinitionEditor.h"

class CMorvaneApp;

// A table's definition edited in the request dialog that made it ("Edition/Retour à la
// définition..."), over the main window, and the new request run by the main frame. The
// application installs it on the table document at start-up.
class QtTableDefinitionEditor final : public TableDefinitionEditor {
public:
    explicit QtTableDefinitionEditor(CMorvaneApp& application);

    bool HasDefinitionDialog(std::int16_t type) const override;
    std::unique_ptr<CTraitement> ModifierTraitement(const CTraitement& existing) override;
    bool LancerTraitement(std::unique_ptr<CTraitement> request) override;

private:
    CMorvaneApp& m_application;
};
