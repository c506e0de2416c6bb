// The correspondence analysis of the forms of an open question by the categories of a closed one,
// run from its window as the analyst runs it.
//
// The answers below are made so that the lexical table of the forms nord, est, sud, ouest by the
// three categories of GROUPE is the 4 x 3 table {{10, 5, 3}, {4, 12, 6}, {2, 3, 15}, {8, 8, 8}}.
// Reference values of that table: R 4.2.2 with FactoMineR 2.7, CA(t, graph = FALSE), run by hand
// ($eig[, 1], $row$coord, $col$coord); axes compare up to their sign.
#include "gui/statistics/StudyWindowTest.h"

#include "app/StringTable.h"
#include "framework/Document.h"
#include "gui/openanswers/OuvCorpusDoc.h"
#include "gui/openanswers/OuvCorrespondanceView.h"
#include "openanswers/OuvCorpus.h"
#include "portfolio/ElementDossier.h"
#include "statistics/Mapping.h"

#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>

namespace statistics_ui_test {
namespace {

const int kCounts[4][3] = {{10, 5, 3}, {4, 12, 6}, {2, 3, 15}, {8, 8, 8}};
const char* const kForms[] = {"nord", "est", "sud", "ouest"};
const double kEigenvalues[] = {0.201239695866, 0.076325389512};
const double kRows[4][2] = {{-0.527594749185, 0.326019696277},
                            {-0.129436911581, -0.432155623144},
                            {0.749455795659, 0.131827578123},
                            {-0.110199932211, 0.041771567239}};
const double kColumns[3][2] = {
    {-0.480793220021, 0.321152964152}, {-0.224863435800, -0.365339885281}, {0.557350421341, 0.078807676507}};

// One interview per category and form holding the form as many times as the table says (SEXE
// "Homme" for the Jeune ones, "Femme" for the others, "Autre" never), then an interview without
// category for either question naming "ailleurs" twice.
std::string Description() {
    std::string text = "questionnaire \"Régions\" language=fr\n"
                       "language 1036 fr \"Français\"\n"
                       "question 1 AVIS open\n"
                       "question 2 GROUPE closed\n"
                       "  caption fr \"Groupe\"\n"
                       "  modality 1 fr \"Jeune\"\n  modality 2 fr \"Adulte\"\n  modality 3 fr \"Senior\"\n"
                       "question 3 SEXE closed\n"
                       "  modality 1 fr \"Homme\"\n  modality 2 fr \"Femme\"\n  modality 3 fr \"Autre\"\n"
                       "question 4 UNIQUE closed\n"
                       "  modality 1 fr \"Seule\"\n"
                       "records\n"
                       "Cle1,1;1,2;1,3;1,4;1\n";
    int key = 0;
    for (int form = 0; form < 4; ++form)
        for (int category = 0; category < 3; ++category) {
            std::string answer;
            for (int k = 0; k < kCounts[form][category]; ++k)
                answer += std::string(k > 0 ? " " : "") + kForms[form];
            text += std::to_string(++key) + ",\"" + answer + "\"," + std::to_string(category + 1) + "," +
                    (category == 0 ? "1" : "2") + ",1\n";
        }
    text += std::to_string(++key) + ",\"ailleurs ailleurs\",,,1\n";
    return text + "end\n";
}

class OuvCorrespondanceTest : public StudyWindowTest {
protected:
    void SetUp() override {
        StudyWindowTest::SetUp();
        OpenSurvey(Description());
    }

    COuvCorrespondanceView& Open() {
        CMultiDocTemplate& docTemplate = AddTemplate<COuvCorpusDoc, COuvCorrespondanceView>();
        CDocument* document = docTemplate.OpenDocumentFile(DocumentSource::FromObject(&Named("AVIS")));
        EXPECT_NE(document, nullptr);
        QApplication::processEvents();
        return *dynamic_cast<COuvCorrespondanceView*>(document->GetViews().front());
    }

    // Moves the entries of those texts to the analysis, in that order of selection.
    static void Choose(COuvCorrespondanceView& view, std::vector<std::string> texts) {
        QTreeWidget& available = view.GetListe(COuvCorrespondanceView::kDisponibles);
        available.clearSelection();
        for (const std::string& text : texts) {
            const auto found = available.findItems(QString::fromStdString(text), Qt::MatchExactly, 0);
            ASSERT_EQ(found.size(), 1) << text;
            found.front()->setSelected(true);
        }
        view.GetBouton(COuvCorrespondanceView::kVersChoisies).click();
    }

    static std::vector<std::string> Texts(const QTreeWidget& list) {
        std::vector<std::string> texts;
        for (int i = 0; i < list.topLevelItemCount(); ++i)
            texts.push_back(list.topLevelItem(i)->text(0).toStdString());
        return texts;
    }

    void Recalculate(COuvCorrespondanceView& view, int axes) {
        std::vector<ModalAnswers::Step> steps;
        if (axes > 0)
            steps.push_back(Axes(axes));
        ModalAnswers answers(steps);
        QTest::mouseClick(&view.GetBouton(COuvCorrespondanceView::kRecalculer), Qt::LeftButton);
        EXPECT_EQ(answers.Unexpected(), 0);
        EXPECT_EQ(answers.Answered(), steps.size());
    }
};

TEST_F(OuvCorrespondanceTest, TheFormsByGroupGiveTheEigenvaluesAndCoordinatesOfTheReference) {
    COuvCorrespondanceView& view = Open();
    EXPECT_EQ(view.GetDocument()->GetTitle(), QStringLiteral("AFC des réponses ouvertes"));
    // Every entry, by frequency then text: nord 18, sud 20, est 22, ouest 24, ailleurs 2.
    EXPECT_EQ(Texts(view.GetListe(COuvCorrespondanceView::kDisponibles)),
              (std::vector<std::string>{"ouest", "est", "sud", "nord", "ailleurs"}));
    Choose(view, {"nord", "est", "sud", "ouest"});
    // Sorted by frequency, then by text, as a click on a column's header sorts.
    view.Trier(COuvCorrespondanceView::kChoisies, COuvCorrespondanceView::kColonneEffectif);
    EXPECT_EQ(Texts(view.GetListe(COuvCorrespondanceView::kChoisies)),
              (std::vector<std::string>{"ouest", "est", "sud", "nord"}));
    view.Trier(COuvCorrespondanceView::kChoisies, COuvCorrespondanceView::kColonneTexte);
    EXPECT_EQ(Texts(view.GetListe(COuvCorrespondanceView::kChoisies)),
              (std::vector<std::string>{"est", "nord", "ouest", "sud"}));
    // The rows in the order of the table above.
    QTreeWidget& list = view.GetListe(COuvCorrespondanceView::kChoisies);
    std::vector<QTreeWidgetItem*> items;
    while (list.topLevelItemCount() > 0)
        items.push_back(list.takeTopLevelItem(0));
    for (const char* form : kForms)
        for (QTreeWidgetItem* item : items)
            if (item->text(0) == form)
                list.addTopLevelItem(item);
    view.ChoisirQuestion(&Named("GROUPE"));
    Recalculate(view, 2);

    // GROUPE's fourth column, the not asked, holds none of these forms: it changes no axis.
    const std::vector<double>& data = view.GetDonnees();
    ASSERT_EQ(data.size(), 16u);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            EXPECT_EQ(data[static_cast<std::size_t>(4 * i + j)], j < 3 ? kCounts[i][j] : 0) << kForms[i] << " " << j;
    const FactorResults& results = view.GetResultats();
    ASSERT_TRUE(results.Existe());
    for (int k = 0; k < 2; ++k)
        EXPECT_NEAR(results.ValeursPropres()[static_cast<std::size_t>(3 * k)], kEigenvalues[k], 1e-10) << k;
    for (int k = 0; k < 2; ++k) {
        const double sign = results.CoordonneesLignes()[static_cast<std::size_t>(k)] * kRows[0][k] < 0 ? -1.0 : 1.0;
        for (int i = 0; i < 4; ++i)
            EXPECT_NEAR(sign * results.CoordonneesLignes()[static_cast<std::size_t>(2 * i + k)], kRows[i][k], 1e-9);
        for (int j = 0; j < 3; ++j)
            EXPECT_NEAR(sign * results.CoordonneesColonnes()[static_cast<std::size_t>(2 * j + k)], kColumns[j][k], 1e-9);
        EXPECT_EQ(results.CoordonneesColonnes()[static_cast<std::size_t>(6 + k)], 0.0);
    }
    std::vector<std::string> tree;
    for (int i = 0; i < view.GetArbre().topLevelItemCount(); ++i)
        tree.push_back(view.GetArbre().topLevelItem(i)->text(0).toStdString());
    EXPECT_EQ(tree, (std::vector<std::string>{"Données", "Valeurs propres", "Coordonnées des lignes",
                                              "Coordonnées des colonnes", "Qualité des lignes",
                                              "Qualité des colonnes", "Contribution des lignes",
                                              "Contribution des colonnes", "Mapping Axe 1 x 2"}));
    // The forms' points show their labels.
    ASSERT_NE(view.GetMapping(8), nullptr);
    EXPECT_TRUE(view.GetMapping(8)->presentation.GetPointSet(CPresentationMapping::kRowPoints).GetEstLibelleVisible());
    const CTableau* table = view.GetElement(0).GetTableau();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->GetLibelleLigne(0, 2), "sud");
    EXPECT_EQ(table->GetLibelleColonne(0, 1), "Adulte");

    // A new run closes the windows of the last one.
    m_windows.closed.clear();
    Recalculate(view, 2);
    EXPECT_EQ(m_windows.closed, std::vector<const void*>{view.GetDocument()});
}

TEST_F(OuvCorrespondanceTest, MovingFormsNeverLeavesOneInBothLists) {
    COuvCorrespondanceView& view = Open();
    Choose(view, {"nord", "sud"});
    QTreeWidget& chosen = view.GetListe(COuvCorrespondanceView::kChoisies);
    chosen.topLevelItem(0)->setSelected(true);
    view.GetBouton(COuvCorrespondanceView::kVersDisponibles).click();
    Choose(view, {"est", "ailleurs"});
    std::vector<std::string> all = Texts(view.GetListe(COuvCorrespondanceView::kDisponibles));
    const std::vector<std::string> analysed = Texts(chosen);
    all.insert(all.end(), analysed.begin(), analysed.end());
    std::sort(all.begin(), all.end());
    EXPECT_EQ(all, (std::vector<std::string>{"ailleurs", "est", "nord", "ouest", "sud"}));
    EXPECT_EQ(analysed.size(), 3u);
}

// nord, est and sud by Homme and Femme are {{10, 8}, {4, 18}}, {2, 18}}: FactoMineR's CA of it (run
// as above) has the one eigenvalue 0.188877410468 and the row coordinates -0.653274579918,
// 0.191870855640 and 0.376889180722. Nobody answered "Autre" and the not asked never named these
// forms: those two columns are zero, and give no NaN.
TEST_F(OuvCorrespondanceTest, ThreeFormsByTwoCategoriesGiveOneAxisNoMapAndNoNaN) {
    COuvCorrespondanceView& view = Open();
    Choose(view, {"nord", "sud", "est"});
    view.ChoisirQuestion(&Named("SEXE"));
    Recalculate(view, 1);
    // The rows in the list's order, by text: est, nord, sud; the columns Homme, Femme, Autre and
    // the not asked.
    EXPECT_EQ(view.GetDonnees(), (std::vector<double>{4, 18, 0, 0, 10, 8, 0, 0, 2, 18, 0, 0}));
    const FactorResults& results = view.GetResultats();
    ASSERT_TRUE(results.Existe());
    EXPECT_EQ(results.Axes(), 1);
    EXPECT_NEAR(results.ValeursPropres()[0], 0.188877410468, 1e-10);
    const double expected[] = {0.191870855640, -0.653274579918, 0.376889180722};
    const double sign = results.CoordonneesLignes()[0] * expected[0] < 0 ? -1.0 : 1.0;
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(sign * results.CoordonneesLignes()[static_cast<std::size_t>(i)], expected[i], 1e-9) << i;
    for (const std::vector<double>* values : {&results.CoordonneesLignes(), &results.CoordonneesColonnes(),
                                             &results.Correspondances().qualitesColonnes,
                                             &results.Correspondances().contributionsColonnes})
        for (const double value : *values)
            EXPECT_TRUE(std::isfinite(value));
    for (int i = 0; i < view.GetNombreElements(); ++i)
        EXPECT_EQ(view.GetMapping(i), nullptr);
}

TEST_F(OuvCorrespondanceTest, RunsWithoutTheirDataAreRefusedBeforeAnyComputation) {
    COuvCorrespondanceView& view = Open();
    Choose(view, {"nord", "sud"});
    Recalculate(view, 0);
    view.ChoisirQuestion(&Named("GROUPE"));
    Recalculate(view, 0);
    Choose(view, {"est"});
    view.ChoisirQuestion(&Named("UNIQUE"));
    Recalculate(view, 0);
    EXPECT_EQ(ShownTexts(), (std::vector<std::string>{
                                StringTable::Text(StringTable::kSelectionnerQuestion),
                                StringTable::Text(StringTable::kAuMoinsTroisFormes),
                                StringTable::Format(Message(StringTable::kQuestionAExpliquerDeuxModalites,
                                                            {Named("UNIQUE").GetCaption()}))}));
    EXPECT_FALSE(view.GetResultats().Existe());
    EXPECT_EQ(view.GetNombreElements(), 0);
}

} // namespace
} // namespace statistics_ui_test
