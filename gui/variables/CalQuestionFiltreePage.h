#pragma once

#include <cstdint>

#include "gui/variables/PanneauVariable.h"

class CContexteEtude;
class CQuestionEtendue;
class QLabel;
class QPushButton;

// "Question filtrée par champ": a copy of a closed, numeric or date question in which every
// interview outside a study field has no answer. The definition is the field's id.
class CCalQuestionFiltreePage : public CPanneauVariable {
    Q_OBJECT

public:
    enum { IDD = 290 };

    explicit CCalQuestionFiltreePage(CContexteEtude& context, QWidget* parent = nullptr);

    void Charger(const CQuestionCalculee& definition) override;
    bool Verifier() override;
    void DonnerParties(PartiesVariable& parts) const override;

    QPushButton& QuestionButton() const { return *m_pickQuestion; }
    QPushButton& ChampButton() const { return *m_pickField; }
    QLabel& QuestionLabel() const { return *m_question; }
    QLabel& ChampLabel() const { return *m_field; }
    std::int32_t Champ() const { return m_fieldId; }

private:
    void OnChoisirQuestion();
    void OnChoisirChamp();
    void SetField(std::int32_t id, const std::string& name);

    CContexteEtude& m_context;
    CQuestionEtendue* m_source = nullptr;
    std::int32_t m_fieldId = -1;
    QLabel* m_question;
    QLabel* m_field;
    QPushButton* m_pickQuestion;
    QPushButton* m_pickField;
};
