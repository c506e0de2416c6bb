#pragma once

#include "framework/View.h"

#include <QWidget>
#include <cstdint>
#include <memory>

class IndependenceTest;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabBar;
class QTableWidget;

// The independence test window: the chi-square of the cross table of the document's two
// questions over the modalities chosen on each side ("Lignes", "&Colonnes"), its degrees of
// freedom, the verdict sentence in its colour (green when independence is likely rejected
// wrongly, red when it is likely rejected rightly) and the five planes of the test, one per tab.
class CTstIndependanceView : public QWidget, public CView {
    Q_OBJECT

public:
    enum Controle {
        kKhiDeux = 1005,
        kDegresLibertes = 1077,
        kLignes = 1151,
        kColonnes = 1152,
        kOnglets = 1168,
        kVerdict = 1170,
        kTableau = 100,
    };

    explicit CTstIndependanceView(QWidget* parent = nullptr);
    ~CTstIndependanceView() override;

    void OnInitialUpdate() override;

    // "Lignes" or "&Colonnes": the modalities of the side chosen again, then the test again.
    void OnModalites(int side);
    // Shows the plane of the tab in the table.
    void AfficherOnglet(int onglet);

    const IndependenceTest* GetTest() const { return m_test.get(); }
    QLineEdit& GetKhiDeux() const { return *m_chiSquare; }
    QLineEdit& GetDegresLibertes() const { return *m_degrees; }
    QLabel& GetVerdict() const { return *m_verdict; }
    QTabBar& GetOnglets() const { return *m_tabs; }
    QTableWidget& GetTableau() const { return *m_table; }
    QPushButton& GetBouton(int side) const;

private:
    void Calculer();
    void AfficherResultats();

    QLineEdit* m_chiSquare;
    QLineEdit* m_degrees;
    QLabel* m_verdict;
    QPushButton* m_rowsButton;
    QPushButton* m_columnsButton;
    QTabBar* m_tabs;
    QTableWidget* m_table;
    std::unique_ptr<IndependenceTest> m_test;
};
