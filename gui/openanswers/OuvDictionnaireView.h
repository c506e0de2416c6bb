#pragma once

#include "framework/CommandMap.h"
#include "framework/View.h"

#include <QWidget>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class COuvCorpus;
class COuvDictionnaireDoc;
class CTableau;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTreeWidget;
class QTreeWidgetItem;

// The dictionary form: the forms and lemmas of the open question of at least the minimum
// frequency (stop words when asked), sorted by text or by count, with the number listed; the
// analyst groups forms into lemmas ("&Associer", "&Dissocier"), sends words to the stop-word
// library ("&Mot outil"), recounts in a study field, searches, re-reads the answers and opens the
// concordance of an entry. Lemma and stop-word edits are written at once.
class COuvDictionnaireView : public QWidget, public CView {
    Q_OBJECT

public:
    static constexpr unsigned kExporterWord = 32800;
    static constexpr unsigned kAjouterAuDossier = 32786;
    enum Colonne { kTexte = 0, kFrequence = 1 };

    explicit COuvDictionnaireView(QWidget* parent = nullptr);
    ~COuvDictionnaireView() override;

    void OnInitialUpdate() override;
    bool HandleOwnCommand(unsigned id, CmdMsg kind, CCmdUI* ui) override;

    // The list as a table (what the portfolio and Word receive), and the request that rebuilds it.
    std::unique_ptr<CTableau> TableauDeLaListe() const;

    // The controls, for the window's tests.
    QTreeWidget& Liste() const { return *m_list; }
    QSpinBox& FrequenceMinimale() const { return *m_minimum; }
    QCheckBox& AfficherMotsOutils() const { return *m_showStopWords; }
    QLineEdit& Recherche() const { return *m_search; }
    QLabel& Nombre() const { return *m_count; }
    QPushButton& Associer() const { return *m_associate; }
    QPushButton& Dissocier() const { return *m_dissociate; }
    void Remplir();
    void TrierPar(int column);
    void OnAssocier();
    void OnDissocier();
    void OnMotOutil();
    void OnRechercher();
    void OnRelire();
    void OnConcordance();
    void OnChampEtude();

private:
    COuvDictionnaireDoc* GetDoc() const;
    COuvCorpus* Corpus() const;
    int EntreeDe(const QTreeWidgetItem* item) const;
    QTreeWidgetItem* Ajouter(int entry);
    std::vector<QTreeWidgetItem*> Selection() const;
    void Trier();
    void Selectionner(const std::vector<int>& entries);
    void MettreAJourBoutons();
    void OnExporterWord();
    void OnAjouterAuDossier();
    void OnUpdateAjouterAuDossier(CCmdUI& ui);

    static const CommandEntry<COuvDictionnaireView> kCommandMap[];

    int m_sortColumn = kTexte;
    std::int32_t m_studyField = -1;
    QTreeWidget* m_list;
    QSpinBox* m_minimum;
    QCheckBox* m_showStopWords;
    QLineEdit* m_search;
    QLabel* m_count;
    QLabel* m_field;
    QPushButton* m_associate;
    QPushButton* m_dissociate;
};
