#pragma once

#include "gui/statistics/FactorFormView.h"

#include <cstdint>
#include <string>
#include <vector>

class CMorvaneDirecteDoc;
class QLabel;
class QPushButton;

// The form of the factor analysis of one table: the table's rows and columns split into active
// and illustrative ones ("..." opens "Sélection des lignes" on each), and "&Recalculer", which
// runs a principal component analysis or a correspondence analysis of the chosen cells, asks
// for the number of axes and lists the result tables and the maps of every pair of axes.
//
// The cells go in as they are; a cell holding a missing value, or a negative one for a
// correspondence analysis, would give no meaningful result: the run is refused and the cell
// named (its row and column in the table, from 1).
class CMorvaneDirecteView : public FactorFormView {
    Q_OBJECT

public:
    enum Controle {
        kLignesActives = 1153,
        kLignesIllustratives = 1154,
        kColonnesActives = 1155,
        kColonnesIllustratives = 1156,
        kBoutonLignes = 1151,
        kBoutonColonnes = 1152,
        kRecalculer = 1084,
    };
    // Label kinds of the result tables.
    enum Genre { kGenreLigne = 0, kGenreColonne = 1, kGenreAxe = 2, kGenreValeurPropre = 3 };

    explicit CMorvaneDirecteView(QWidget* parent = nullptr);

    void OnInitialUpdate() override;

    void OnLignes();
    void OnColonnes();
    void OnRecalculer();

    QLabel& GetCompte(Controle id) const;
    QPushButton& GetBouton(Controle id) const;
    const std::vector<double>& GetMatriceTravail() const { return m_matrix; }

    // ---- Data source of the tables and maps ----
    CLigne DonnerLigne(std::int32_t genre, std::int32_t second, std::int32_t index) const override;
    std::string DonnerLibelleLigne(std::int32_t index) const override;
    std::string DonnerLibelleColonne(std::int32_t index) const override;

private:
    CMorvaneDirecteDoc* GetDirecteDoc() const;
    bool EstAcp() const;
    void ShowCounts();
    void ClearAll();
    // The working matrix of the chosen rows and columns; false, the cell named, when one cannot
    // be analysed.
    bool BuildMatrix();
    bool RunEngine();
    void AddResults();

    QLabel* m_counts[4]{};
    QPushButton* m_rowsButton;
    QPushButton* m_columnsButton;
    QPushButton* m_recalculate;

    std::vector<std::string> m_rowLabels;
    std::vector<std::string> m_columnLabels;
    std::vector<std::uint32_t> m_activeRows;
    std::vector<std::uint32_t> m_illustrativeRows;
    std::vector<std::uint32_t> m_activeColumns;
    std::vector<std::uint32_t> m_illustrativeColumns;
    // The working matrix's rows and columns back to the table's: active first, then illustrative.
    std::vector<std::uint32_t> m_rowMap;
    std::vector<std::uint32_t> m_columnMap;
    std::vector<double> m_matrix;
};
