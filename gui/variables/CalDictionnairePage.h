#pragma once

#include "gui/variables/PanneauVariable.h"

#include <QStringList>

class CContexteEtude;
class CQuestionEtendue;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// "Par dictionnaire": an open question and the modalities of the new question, each a list of
// words and quoted segments typed by the analyst. An interview receives every modality whose
// list holds a word or segment of its answer. Modalities are added, removed, moved (their word
// lists travel with them: codes follow the order at computation time) and renamed in place (F2).
class CCalDictionnairePage : public CPanneauVariable {
    Q_OBJECT

public:
    enum { IDD = 281 };

    explicit CCalDictionnairePage(CContexteEtude& context, QWidget* parent = nullptr);

    void Charger(const CQuestionCalculee& definition) override;
    bool Verifier() override;
    void DonnerParties(PartiesVariable& parts) const override;

    // The question, as the picker would set it; a question that is not open is not taken.
    void ChoisirQuestion(CQuestionEtendue* question);

    QTreeWidget& Arbre() const { return *m_tree; }
    QPlainTextEdit& ListeMots() const { return *m_words; }
    QPushButton& QuestionButton() const { return *m_pick; }
    QPushButton& AjouterButton() const { return *m_add; }
    QPushButton& SupprimerButton() const { return *m_remove; }
    QPushButton& MonterButton() const { return *m_up; }
    QPushButton& DescendreButton() const { return *m_down; }
    CQuestionEtendue* Question() const { return m_question; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnChoisir();
    void Ajouter();
    void Supprimer();
    void Deplacer(int step);
    void OnSelection();
    void OnWordsEdited();
    void OnRenamed(QTreeWidgetItem* item, int column);
    QTreeWidgetItem* AddItem(const QString& caption, int list);
    QString& ListOf(const QTreeWidgetItem& item);

    CContexteEtude& m_context;
    CQuestionEtendue* m_question = nullptr;
    // One word list per modality ever added, indexed by the item's data: a removed modality
    // leaves its slot, so the items that remain keep theirs.
    QStringList m_lists;
    int m_created = 0;
    QLabel* m_caption;
    QPushButton* m_pick;
    QTreeWidget* m_tree;
    QPushButton* m_add;
    QPushButton* m_remove;
    QPushButton* m_down;
    QPushButton* m_up;
    QPlainTextEdit* m_words;
};
