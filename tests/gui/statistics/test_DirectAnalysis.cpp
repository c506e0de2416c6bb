#include "AnalysisWindowTestSupport.h"

#include "app/Ligne.h"
#include "app/StringTable.h"
#include "portfolio/ElementDossier.h"
#include "gui/statistics/MorvaneDirecteDoc.h"
#include "gui/statistics/MorvaneDirecteView.h"
#include "gui/statistics/SelLignesDlg.h"
#include "tabulation/DemandeOuverture.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <cmath>
#include <gtest/gtest.h>

// The factor analysis of one table, run from its window as the analyst runs it. Reference values
// of the 4 x 3 table below: R 4.2.2, written independently of the engines: the correspondence
// analysis by svd() of D_r^-1/2 (P - r c') D_c^-1/2 (principal coordinates D_r^-1/2 U S), the
// principal component analysis by eigen() of the correlation matrix of the columns standardised
// with their population deviations (coordinates Z V). Axes compare up to their sign.
namespace statistics_ui_test {
namespace {

const double kCounts[4][3] = {{10, 5, 3}, {4, 12, 6}, {2, 3, 15}, {8, 8, 8}};

const double kCaEigenvalues[] = {0.201239695866, 0.076325389512};
const double kCaRows[4][2] = {{-0.527594749185, 0.326019696277},
                              {-0.129436911581, -0.432155623144},
                              {0.749455795659, 0.131827578123},
                              {-0.110199932211, 0.041771567239}};
const double kCaColumns[3][2] = {
    {-0.480793220021, 0.321152964152}, {-0.224863435800, -0.365339885281}, {0.557350421341, 0.078807676507}};
const double kPcaEigenvalues[] = {1.915979777103, 1.000000000000, 0.084020222897};
const double kPcaRows[4][3] = {{1.357012500649, 1.152704246309, -0.244269037402},
                               {0.467710017904, -1.590731859906, -0.172802597317},
                               {-2.315728172416, 0.368865358819, -0.073934019145},
                               {0.491005653864, 0.069162254779, 0.491005653864}};

CTableau CountTable(double replaced = 0.0, int row = -1, int column = -1) {
    CTableau table(1, 1, 4, 3, CTableauBase::kMarqueParColonne);
    table.title = "Tableau";
    const char* rows[] = {"Nord", "Est", "Sud", "Ouest"};
    const char* columns[] = {"Jeune", "Adulte", "Senior"};
    for (int i = 0; i < 4; ++i) {
        const CLigne label(rows[i]);
        table.SetLibelleLigne(0, i, &label);
    }
    for (int j = 0; j < 3; ++j) {
        const CLigne label(columns[j]);
        table.SetLibelleColonne(0, j, &label);
    }
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 3; ++j)
            table.SetValeur(i, j, i == row && j == column ? replaced : kCounts[i][j]);
    return table;
}

double Cell(const std::vector<double>& values, int i, int k, int axes) {
    return values[static_cast<std::size_t>(i * axes + k)];
}

class DirectAnalysisTest : public AnalysisWindowTest {
protected:
    CMorvaneDirecteView& Open(const CTableau& table, std::uint16_t type) {
        CMultiDocTemplate& docTemplate = AddTemplate<CMorvaneDirecteDoc, CMorvaneDirecteView>();
        const CDemandeOuverture request(type, &table);
        CDocument* document = docTemplate.OpenDocumentFile(DocumentSource::FromObject(&request));
        EXPECT_NE(document, nullptr);
        QApplication::processEvents();
        return *dynamic_cast<CMorvaneDirecteView*>(document->GetViews().front());
    }

    // "&Recalculer" clicked, the number-of-axes dialog answered with `axes` (0: not expected).
    void Recalculate(CMorvaneDirecteView& view, int axes) {
        std::vector<ModalAnswers::Step> steps;
        if (axes > 0)
            steps.push_back(Axes(axes));
        ModalAnswers answers(steps);
        QTest::mouseClick(&view.GetBouton(CMorvaneDirecteView::kRecalculer), Qt::LeftButton);
        EXPECT_EQ(answers.Unexpected(), 0);
        EXPECT_EQ(answers.Answered(), steps.size());
    }

    std::vector<std::string> TreeTexts(const CMorvaneDirecteView& view) const {
        std::vector<std::string> texts;
        for (int i = 0; i < view.GetArbre().topLevelItemCount(); ++i)
            texts.push_back(view.GetArbre().topLevelItem(i)->text(0).toStdString());
        return texts;
    }
};

TEST_F(DirectAnalysisTest, CorrespondenceAnalysisOfAFourByThreeTable) {
    const CTableau table = CountTable();
    CMorvaneDirecteView& view = Open(table, CMorvaneDirecteDoc::kAfc);
    EXPECT_EQ(view.GetDocument()->GetTitle(), QStringLiteral("AFC"));
    EXPECT_EQ(view.GetCompte(CMorvaneDirecteView::kLignesActives).text(), QStringLiteral("4"));
    EXPECT_EQ(view.GetCompte(CMorvaneDirecteView::kColonnesActives).text(), QStringLiteral("3"));
    Recalculate(view, 2);

    const FactorResults& results = view.GetResultats();
    ASSERT_TRUE(results.Existe());
    ASSERT_EQ(results.NombreValeursPropres(), 2) << "p - 1 eigenvalues";
    for (int k = 0; k < 2; ++k)
        EXPECT_NEAR(results.ValeursPropres()[static_cast<std::size_t>(3 * k)], kCaEigenvalues[k], 1e-10) << k;
    for (int k = 0; k < 2; ++k) {
        const double sign = Cell(results.CoordonneesLignes(), 0, k, 2) * kCaRows[0][k] < 0 ? -1.0 : 1.0;
        for (int i = 0; i < 4; ++i)
            EXPECT_NEAR(sign * Cell(results.CoordonneesLignes(), i, k, 2), kCaRows[i][k], 1e-9) << i << "," << k;
        for (int j = 0; j < 3; ++j)
            EXPECT_NEAR(sign * Cell(results.CoordonneesColonnes(), j, k, 2), kCaColumns[j][k], 1e-9) << j << "," << k;
    }
    EXPECT_EQ(TreeTexts(view),
              (std::vector<std::string>{"Valeurs propres", "Matrice de travail", "Coordonnées des lignes",
                                        "Qualité des lignes", "Contribution des lignes", "Coordonnées des colonnes",
                                        "Qualité des colonnes", "Contribution des colonnes", "Mapping Axe 1 x 2"}));
}

TEST_F(DirectAnalysisTest, TablesTakeTheirLabelsFromTheAnalysis) {
    const CTableau table = CountTable();
    CMorvaneDirecteView& view = Open(table, CMorvaneDirecteDoc::kAfc);
    Recalculate(view, 2);
    const CTableau* eigenvalues = view.GetElement(0).GetTableau();
    ASSERT_NE(eigenvalues, nullptr);
    EXPECT_EQ(eigenvalues->GetLibelleLigne(0, 1), "Axe 2");
    EXPECT_EQ(eigenvalues->GetLibelleColonne(0, 0), "Valeur propre");
    EXPECT_EQ(eigenvalues->GetLibelleColonne(0, 2), "Information cumulée");
    EXPECT_NEAR(eigenvalues->GetValeur(1, 2), 100.0, 1e-9);
    const CTableau* rows = view.GetElement(2).GetTableau();
    EXPECT_EQ(rows->GetLibelleLigne(0, 2), "Sud");
    EXPECT_EQ(rows->GetLibelleColonne(0, 0), "Axe 1");
    EXPECT_EQ(rows->GetMarque(0, 0), CTableauBase::kMarqueReel);
    EXPECT_EQ(view.GetElement(3).GetTableau()->GetMarque(0, 0), CTableauBase::kMarquePourcentage);
    EXPECT_EQ(view.GetElement(5).GetTableau()->GetLibelleLigne(0, 2), "Senior");
}

TEST_F(DirectAnalysisTest, ThreeAxesGiveThreeMapsInOrderAndReadTheirPoints) {
    const CTableau table = CountTable();
    CMorvaneDirecteView& view = Open(table, CMorvaneDirecteDoc::kAcp);
    Recalculate(view, 3);
    const FactorResults& results = view.GetResultats();
    ASSERT_EQ(results.Axes(), 3);
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(results.ValeursPropres()[static_cast<std::size_t>(3 * k)], kPcaEigenvalues[k], 1e-10) << k;
        const double sign = Cell(results.CoordonneesLignes(), 0, k, 3) * kPcaRows[0][k] < 0 ? -1.0 : 1.0;
        for (int i = 0; i < 4; ++i)
            EXPECT_NEAR(sign * Cell(results.CoordonneesLignes(), i, k, 3), kPcaRows[i][k], 1e-9) << i << "," << k;
    }
    std::vector<std::string> maps;
    for (int e = 0; e < view.GetNombreElements(); ++e) {
        if (CMapping* mapping = view.GetMapping(e)) {
            maps.push_back(mapping->nom + " " + std::to_string(mapping->axeHorizontal) + std::to_string(mapping->axeVertical));
            EXPECT_EQ(mapping->fenetreSymetrique, 1);
            EXPECT_EQ(mapping->nombreLignes, 4);
            EXPECT_EQ(mapping->nombreColonnes, 3);
            EXPECT_EQ(mapping->proprietaire, view.GetDocument());
        }
    }
    EXPECT_EQ(maps, (std::vector<std::string>{"Mapping Axe 1 x 2 01", "Mapping Axe 1 x 3 02", "Mapping Axe 2 x 3 12"}));
    // The map reads its points and labels from the analysis.
    CMapping& second = *view.GetMapping(view.GetNombreElements() - 2);
    double x = 0;
    double y = 0;
    second.DonnerPoint(CMapping::kLignes, 3, x, y);
    EXPECT_DOUBLE_EQ(x, Cell(results.CoordonneesLignes(), 3, 0, 3));
    EXPECT_DOUBLE_EQ(y, Cell(results.CoordonneesLignes(), 3, 2, 3));
    EXPECT_EQ(second.DonnerLibelle(CMapping::kColonnes, 1), "Adulte");
    // A PCA's variables have neither quality nor contribution; rows have both.
    EXPECT_TRUE(view.DonnerQualites(CMapping::kColonnes, 0).empty());
    EXPECT_EQ(view.DonnerContributions(CMapping::kLignes, 0).size(), 4u);
}

TEST_F(DirectAnalysisTest, OneAxisGivesNoMap) {
    const CTableau table = CountTable();
    CMorvaneDirecteView& view = Open(table, CMorvaneDirecteDoc::kAfc);
    // Two active columns: a correspondence analysis of one axis.
    std::vector<ModalAnswers::Step> steps{[](QDialog& shown) {
        auto* dialog = qobject_cast<CSelLignesDlg*>(&shown);
        ASSERT_NE(dialog, nullptr);
        dialog->GetListe(CSelLignesDlg::kActif).topLevelItem(2)->setSelected(true);
        QTest::mouseClick(&dialog->GetBouton(CSelLignesDlg::kActifVersIllustratif), Qt::LeftButton);
        dialog->accept();
    }};
    {
        ModalAnswers answers(steps);
        QTest::mouseClick(&view.GetBouton(CMorvaneDirecteView::kBoutonColonnes), Qt::LeftButton);
    }
    EXPECT_EQ(view.GetCompte(CMorvaneDirecteView::kColonnesActives).text(), QStringLiteral("2"));
    EXPECT_EQ(view.GetCompte(CMorvaneDirecteView::kColonnesIllustratives).text(), QStringLiteral("1"));
    Recalculate(view, 1);
    EXPECT_EQ(view.GetResultats().Axes(), 1);
    for (int e = 0; e < view.GetNombreElements(); ++e)
        EXPECT_EQ(view.GetMapping(e), nullptr) << e;
    // The illustrative column is projected: 3 columns, 2 active contributions.
    EXPECT_EQ(view.GetResultats().Colonnes(), 3);
    EXPECT_EQ(view.DonnerContributions(CMapping::kColonnes, 0).back(), -999999.99);
}

TEST_F(DirectAnalysisTest, RefusedRunsSayWhyAndLeaveNoResult) {
    struct Case {
        const char* name;
        std::uint16_t type;
        double value;
        int row;
        int column;
        int activeRows; // 0: all
        std::string message;
    };
    const Case cases[] = {
        {"missing cell", CMorvaneDirecteDoc::kAcp, -999999.99, 2, 1, 0,
         StringTable::Format(Message(StringTable::kCelluleManquante, {"3", "2"}))},
        {"not asked cell", CMorvaneDirecteDoc::kAfc, -888888.88, 0, 0, 0,
         StringTable::Format(Message(StringTable::kCelluleManquante, {"1", "1"}))},
        {"negative cell", CMorvaneDirecteDoc::kAfc, -2.0, 3, 2, 0,
         StringTable::Format(Message(StringTable::kCelluleNegative, {"4", "3"}))},
        {"one active row", CMorvaneDirecteDoc::kAcp, 1.0, 0, 0, 1,
         "Vous devez sélectionner au moins 2 lignes actives..."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_ui->shown.clear();
        const CTableau table = CountTable(c.value, c.row, c.column);
        CMorvaneDirecteView& view = Open(table, c.type);
        if (c.activeRows > 0) {
            ModalAnswers answers({[](QDialog& shown) {
                auto& dialog = dynamic_cast<CSelLignesDlg&>(shown);
                QTest::mouseClick(&dialog.GetBouton(CSelLignesDlg::kToutActifVersNon), Qt::LeftButton);
                dialog.GetListe(CSelLignesDlg::kNonSelectionne).topLevelItem(0)->setSelected(true);
                QTest::mouseClick(&dialog.GetBouton(CSelLignesDlg::kVersActif), Qt::LeftButton);
                dialog.accept();
            }});
            QTest::mouseClick(&view.GetBouton(CMorvaneDirecteView::kBoutonLignes), Qt::LeftButton);
        }
        Recalculate(view, 0);
        EXPECT_EQ(ShownTexts(), std::vector<std::string>{c.message});
        EXPECT_FALSE(view.GetResultats().Existe());
        EXPECT_EQ(view.GetArbre().topLevelItemCount(), 0);
        view.GetDocument()->OnCloseDocument();
    }
}

// The engines' eigenvalues of a constant table are all 0: nothing to show, and no dialog.
TEST_F(DirectAnalysisTest, NoAxisWithInertiaIsToldInsteadOfAskingForAxes) {
    CTableau table = CountTable();
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 3; ++j)
            table.SetValeur(i, j, 5.0);
    CMorvaneDirecteView& view = Open(table, CMorvaneDirecteDoc::kAcp);
    Recalculate(view, 0);
    EXPECT_EQ(ShownTexts(), std::vector<std::string>{StringTable::Text(StringTable::kAucunAxe)});
    EXPECT_EQ(view.GetArbre().topLevelItemCount(), 0);
}

TEST_F(DirectAnalysisTest, DoubleClicksOpenLinkedWindowsThatARerunCloses) {
    const CTableau table = CountTable();
    CMorvaneDirecteView& view = Open(table, CMorvaneDirecteDoc::kAfc);
    Recalculate(view, 2);
    QTreeWidget& tree = view.GetArbre();
    DoubleClick(tree, 2);
    DoubleClick(tree, 8);
    ASSERT_EQ(m_windows.tables.size(), 1u);
    EXPECT_EQ(m_windows.tables[0].title, "Coordonnées des lignes");
    EXPECT_EQ(m_windows.tables[0].owner, view.GetDocument());
    EXPECT_EQ(m_windows.tables[0].rows, 4);
    EXPECT_EQ(m_windows.tables[0].columns, 2);
    ASSERT_EQ(m_windows.maps.size(), 1u);
    EXPECT_EQ(m_windows.maps[0], view.GetMapping(8));
    m_windows.closed.clear();
    Recalculate(view, 2);
    EXPECT_EQ(m_windows.closed, std::vector<const void*>{view.GetDocument()});
}

} // namespace
} // namespace statistics_ui_test
