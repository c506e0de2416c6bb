#pragma once

#include "gui/variables/PanneauVariable.h"

#include <vector>

class CContexteEtude;
class CQuestionEtendue;
class LabelledItemTree;
class QCheckBox;
class QPushButton;
class QTreeWidget;

// "En superposant des questions": a closed variable that stacks the answers of several closed
// questions onto one list of modalities, each taking the source modality of its number; with
// "Cumuler les modalités déjà citées" an interview counts once per question that gave it.
class CCalSuperpositionPage : public CPanneauVariable {
    Q_OBJECT

public:
    enum { IDD = 224 };

    explicit CCalSuperpositionPage(CContexteEtude& context, QWidget* parent = nullptr);

    void Charger(const CQuestionCalculee& definition) override;
    bool Verifier() override;
    void DonnerParties(PartiesVariable& parts) const override;

    LabelledItemTree& Modalites() const { return *m_modalities; }
    QTreeWidget& Questions() const { return *m_questions; }
    QCheckBox& CumulerBox() const { return *m_cumulate; }
    QPushButton& AjouterButton() const { return *m_add; }

    // The questions chosen in the question selection dialog, added in order.
    void Ajouter(const std::vector<CQuestionEtendue*>& chosen);

protected:
    // Insert and Delete in the question tree add and remove questions.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnAjouter();
    void SupprimerQuestion();
    void Montrer(const std::vector<CQuestionEtendue*>& questions);
    std::vector<CQuestionEtendue*> QuestionsChoisies() const;

    CContexteEtude& m_context;
    LabelledItemTree* m_modalities;
    QTreeWidget* m_questions;
    QCheckBox* m_cumulate;
    QPushButton* m_add;
};
