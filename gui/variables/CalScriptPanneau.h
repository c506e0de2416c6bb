#pragma once

#include "gui/variables/PanneauVariable.h"

class CCalExpressionPage;
class CContexteEtude;

// "Par script": the script page laid on the dialog. Its check compiles the script and shows the
// first fault in place; its definition is the script's text.
class CCalScriptPanneau : public CPanneauVariable {
    Q_OBJECT

public:
    explicit CCalScriptPanneau(CContexteEtude& context, QWidget* parent = nullptr);

    void Charger(const CQuestionCalculee& definition) override;
    bool Verifier() override;
    void DonnerParties(PartiesVariable& parts) const override;

    CCalExpressionPage& Page() const { return *m_page; }

private:
    CCalExpressionPage* m_page;
};
