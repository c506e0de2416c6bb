#pragma once

#include "gui/variables/PanneauVariable.h"

class CContexteEtude;
class CQuestionEtendue;
class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTreeWidget;

// "Par codage postal": an open question holding postcodes becomes a closed question of the
// classification level chosen, its modalities the captions of that level's file, shown in the
// list (short and long texts). The classification files are the user's settings; without them
// the list stays empty.
class CCodagePostalPage : public CPanneauVariable {
    Q_OBJECT

public:
    enum { IDD = 283 };

    explicit CCodagePostalPage(CContexteEtude& context, QWidget* parent = nullptr);

    void Charger(const CQuestionCalculee& definition) override;
    bool Verifier() override;
    void DonnerParties(PartiesVariable& parts) const override;

    QPushButton& QuestionButton() const { return *m_pick; }
    QLabel& QuestionLabel() const { return *m_name; }
    // The level radio: 0 category, 1 group, 2 type.
    QRadioButton& NiveauButton(int level) const;
    QCheckBox& LibelleLongBox() const { return *m_longTexts; }
    QTreeWidget& Liste() const { return *m_list; }
    int Niveau() const { return m_level; }

private:
    void OnChoisir();
    void OnNiveau(int level);
    void Remplir(bool report);

    CContexteEtude& m_context;
    CQuestionEtendue* m_question = nullptr;
    int m_level;
    QLabel* m_name;
    QPushButton* m_pick;
    QRadioButton* m_levels[3];
    QCheckBox* m_longTexts;
    QTreeWidget* m_list;
};
