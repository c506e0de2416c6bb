#pragma once

#include "gui/variables/PanneauVariable.h"

class CContexteEtude;
class LabelledItemTree;
class QPushButton;

// "Par calcul multivarié": the classes of a classification that made the variable, renamed,
// reordered or deleted; their answers are those the classification gave.
class CCalCalculMultivariePage : public CPanneauVariable {
    Q_OBJECT

public:
    enum { IDD = 227 };

    explicit CCalCalculMultivariePage(CContexteEtude& context, QWidget* parent = nullptr);

    void Charger(const CQuestionCalculee& definition) override;
    bool Verifier() override;
    void DonnerParties(PartiesVariable& parts) const override;

    LabelledItemTree& Arbre() const { return *m_tree; }

private:
    CContexteEtude& m_context;
    LabelledItemTree* m_tree;
};
