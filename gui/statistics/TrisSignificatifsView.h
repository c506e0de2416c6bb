#pragma once

#include "framework/View.h"

#include <QWidget>
#include <memory>

class SignificantCrossTables;
class QLabel;
class QPushButton;
class QSpinBox;
class QTreeWidget;

// "Tableaux croisés significatifs": the analyst chooses a profile of row questions and one of
// column questions ("..."), a study field and a weighting, and a threshold ("Seuil", a risk in
// per cent); "&Recalculer" tests every pair and lists the cross tables of the pairs whose risk of
// error is at most the threshold, sorted by risk. A click on a header sorts on that column; a
// double click opens the table in a window that leaves it to this one.
class CTrisSignificatifsView : public QWidget, public CView {
    Q_OBJECT

public:
    enum Controle {
        kSeuil = 1117,
        kResultats = 1186,
        kChampEtude = 1055,
        kRedressement = 1056,
        kTexteChampEtude = 1034,
        kTexteRedressement = 1035,
        kProfilLignes = 1184,
        kProfilColonnes = 1185,
        kCompteLignes = 1187,
        kCompteColonnes = 1188,
        kRecalculer = 1084,
    };

    explicit CTrisSignificatifsView(QWidget* parent = nullptr);
    ~CTrisSignificatifsView() override;

    void OnInitialUpdate() override;

    void OnProfil(bool lignes);
    void OnChampEtude();
    void OnRedressement();
    void OnRecalculer();
    // Sorts the list on the column (0 the table's name, 1 its risk) and shows it again.
    void Trier(int colonne);
    // Opens the table of the list's row, as a double click does.
    void Ouvrir(int row);

    SignificantCrossTables* GetRecherche() const { return m_search.get(); }
    QTreeWidget& GetListe() const { return *m_list; }
    QSpinBox& GetSeuil() const { return *m_threshold; }
    QLabel& GetTexte(Controle id) const;
    QPushButton& GetBouton(Controle id) const;

private:
    void AfficherListe();
    void AfficherTextes();
    void FermerTableaux();

    QTreeWidget* m_list;
    QSpinBox* m_threshold;
    QLabel* m_studyFieldText;
    QLabel* m_weightingText;
    QLabel* m_rowCount;
    QLabel* m_columnCount;
    QPushButton* m_rowsButton;
    QPushButton* m_columnsButton;
    QPushButton* m_studyFieldButton;
    QPushButton* m_weightingButton;
    QPushButton* m_recalculate;
    std::unique_ptr<SignificantCrossTables> m_search;
};
