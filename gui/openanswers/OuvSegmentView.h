#pragma once

#include "framework/CommandMap.h"
#include "framework/View.h"

#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class COuvCorpus;
class CTableau;
class CTraitement;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTreeWidget;

// The repeated segments of one open question with their frequency and length, counted in a
// study field, from a minimum frequency; sortable by text, frequency or length. "Re&lire"
// computes them again; "&Concordance" shows a segment in its contexts. The list exports to
// Word and goes to the portfolio as a request the tabulation engine rebuilds.
class COuvSegmentView : public QWidget, public CView {
public:
    enum Controle {
        kFrequenceMinimale = 1005,
        kListe = 1076,
        kRecherche = 1077,
        kNombre = 1078,
        kChampEtude = 1079,
    };
    // "Fichier/Exporter vers Word..." and "Edition/Ajouter au Dossier".
    static constexpr unsigned kExporterWord = 32800;
    static constexpr unsigned kAjouterAuDossier = 32786;

    // What adds a table to the portfolio, which sits above the window; empty for none, and then
    // the command stays disabled.
    using AjoutDossier = std::function<void(const CTableau& table)>;
    static void SetAjoutDossier(AjoutDossier add);

    explicit COuvSegmentView(QWidget* parent = nullptr);

    void OnInitialUpdate() override;

    // Lists the segments of at least the minimum frequency, sorted.
    void Remplir();
    void Trier(int column);
    void OnRechercher();
    void OnRelire();
    void OnChampEtude();
    void OnConcordance();
    void OnExporterWord();
    void OnAjouterAuDossier();

    QTreeWidget& GetListe() const { return *m_list; }
    QSpinBox& GetFrequenceMinimale() const { return *m_minimum; }
    QLineEdit& GetRecherche() const { return *m_search; }
    int GetColonneTri() const { return m_sortColumn; }

    // The list as a table, and the table with the request that rebuilds it in the portfolio.
    std::unique_ptr<CTableau> ConstruireTableau() const;
    std::unique_ptr<CTableau> ConstruireElementDossier() const;

protected:
    bool HandleOwnCommand(unsigned id, CmdMsg kind, CCmdUI* ui) override;

private:
    COuvCorpus* GetCorpus() const;
    void OnUpdateCommande(CCmdUI& ui);

    static const CommandEntry<COuvSegmentView> kCommandMap[];

    int m_sortColumn = 0;
    std::int32_t m_studyField = -1;
    QSpinBox* m_minimum;
    QLineEdit* m_search;
    QLabel* m_count;
    QLabel* m_studyFieldName;
    QTreeWidget* m_list;
};
