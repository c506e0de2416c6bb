#pragma once

#include "gui/variables/PanneauVariable.h"

class CContexteEtude;
class CQuestionEtendue;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// "En croisant deux questions": two closed questions and the modalities of the new question, each
// a group of pairs (a modality of the first question, a modality of the second). Choosing the
// second question fills the tree with one modality per pair, the non-responses grouped when the
// user wishes. Modalities and pairs move up and down, are removed, and modalities are renamed in
// place (F2); "Copier boucle" asks the dialog to repeat the crossing over a loop.
class CCalCroisementPage : public CPanneauVariable {
    Q_OBJECT

public:
    enum { IDD = 226 };
    // Item data of a modality item; a pair item holds i1 × K2 + i2.
    static constexpr int kModalite = -1;

    explicit CCalCroisementPage(CContexteEtude& context, QWidget* parent = nullptr);

    void Charger(const CQuestionCalculee& definition) override;
    bool Verifier() override;
    void DonnerParties(PartiesVariable& parts) const override;

    // The questions, as the pickers would set them (the tree is filled when both are set).
    void ChoisirQuestion(int side, CQuestionEtendue* question);

    QTreeWidget& Arbre() const { return *m_tree; }
    QPushButton& QuestionButton(int side) const { return side == 0 ? *m_pick1 : *m_pick2; }
    QPushButton& MonterButton() const { return *m_up; }
    QPushButton& DescendreButton() const { return *m_down; }
    QPushButton& SupprimerButton() const { return *m_remove; }
    QPushButton& CopierBoucleButton() const { return *m_copyLoop; }
    CQuestionEtendue* Question(int side) const { return side == 0 ? m_question1 : m_question2; }

signals:
    void CopierBoucle();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnChoisir(int side);
    void Remplir();
    void ShowNames();
    QTreeWidgetItem* AddModality(const QString& caption);
    void AddPair(QTreeWidgetItem& modality, int first, int second);
    QString PairName(int first, int second) const;
    void Monter();
    void Descendre();
    void Supprimer();
    void OnRenamed(QTreeWidgetItem* item, int column);

    CContexteEtude& m_context;
    CQuestionEtendue* m_question1 = nullptr;
    CQuestionEtendue* m_question2 = nullptr;
    QLabel* m_name1;
    QLabel* m_name2;
    QPushButton* m_pick1;
    QPushButton* m_pick2;
    QTreeWidget* m_tree;
    QPushButton* m_up;
    QPushButton* m_down;
    QPushButton* m_remove;
    QPushButton* m_copyLoop;
    QString m_nameBeforeEdit;
};
