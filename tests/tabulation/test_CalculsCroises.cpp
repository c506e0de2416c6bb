// Cross tables, importance-rate cross tables, cross tables with grouped rows and mean tables
// computed end to end through the runner on an eight-interview survey; every expected number is
// counted by hand from the table below.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Calcul.h"
#include "app/ChampEtude.h"
#include "app/ContexteEtude.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "recodes/ModaliteGroupe.h"
#include "recodes/RecodageModalite.h"
#include "support/RecordingUserInterface.h"
#include "support/FixtureStudyTest.h"
#include "tabulation/ExecuteurTraitement.h"
#include "tabulation/Fusion.h"
#include "tabulation/Tableau.h"
#include "tabulation/Traitement.h"
#include "tools/qesbuild/DescriptionParser.h"
#include "tools/qesbuild/QesWriter.h"

namespace {

// ACHAT takes up to two products; MONTANT is a free number.
//
//   interview  SEXE          ACHAT          MONTANT
//   1          Homme         Pain Lait      10
//   2          Homme         Lait           20
//   3          Homme         (not asked)    30
//   4          Femme         Pain Oeufs     40
//   5          Femme         Lait Oeufs     50
//   6          Femme         Pain           non-response
//   7          (not asked)   Pain           70
//   8          Femme         Oeufs          (not asked)
//
// Crossing ACHAT by SEXE keeps the units that gave both: 1, 2, 4, 5, 6 and 8 (6 units; 2 men and
// 4 women). Pain: man 1; women 4, 6. Lait: men 1, 2; woman 5. Oeufs: women 4, 5, 8.
constexpr const char* kPurchases = R"(
questionnaire "Courses" language=fr
language 1036 fr "Français"
question 1 SEXE closed
  modality 1 fr "Homme"
  modality 2 fr "Femme"
question 2 ACHAT closed answers=2
  modality 1 fr "Pain"
  modality 2 fr "Lait"
  modality 3 fr "Oeufs"
question 3 MONTANT numeric
records
Cle1,1;1,2;1,2;2,3;1
1,1,1,2,10
2,1,2,,20
3,1,,,30
4,2,1,3,40
5,2,2,3,50
6,2,1,,-999999.99
7,,1,,70
8,2,3,,
end
)";

constexpr double kMissing = CTableauBase::kValeurManquante;
constexpr double kTolerance = 1e-9;

using Modalities = std::vector<std::unique_ptr<CModaliteEtendue>>;
using Block = std::vector<std::vector<double>>;

struct Calc {
    std::int32_t code;
    const char* label;
};

// A node of a grouping: the modality code it stands for (0 for a group of the analyst's), its
// caption and its group level.
struct Node {
    std::int32_t code;
    const char* caption;
    std::int16_t level;
};

// Counts, column percentages and significance marks of ACHAT (rows) by SEXE (columns).
const std::vector<Calc> kCrossCalcs = {{0, "Effectifs"}, {2, "% colonne"}, {4, "Significativité"}};

class CalculsCroisesTest : public FixtureStudyTest {
protected:
    void SetUp() override {
        FixtureStudyTest::SetUp();
        OpenFixture(kPurchases, "courses");
        if (HasFatalFailure())
            return;
        // Tests by line, every cell marked whatever its expected count (all are at least 1 here).
        context.SignificanceType = 2;
        context.EffectifSignificativite = 1;
        ui->shown.clear();
    }
    // Copies of the question's first `count` modalities, then the axis's Total line.
    Modalities WithTotal(const std::string& question, int count, int axis) {
        Modalities chosen;
        for (int i = 0; i < count; ++i)
            chosen.push_back(std::make_unique<CModaliteEtendue>(*Named(question).GetModaliteEtendue(i)));
        chosen.push_back(std::make_unique<CModaliteEtendue>(*context.DonnerModaliteTotal(axis)));
        return chosen;
    }

    static void SetCalcs(CTraitement& request, const std::vector<Calc>& calcs) {
        std::vector<std::unique_ptr<CCalcul>> calculations;
        for (const Calc& c : calcs)
            calculations.push_back(std::make_unique<CCalcul>(c.code, c.label, true));
        request.SetCalculsLignes(calculations);
    }

    static std::unique_ptr<CTraitement> NewRequest(std::int16_t type, std::int16_t rowKind, std::int16_t columnKind,
                                                   std::int16_t layout) {
        auto request = std::make_unique<CTraitement>();
        request->type = type;
        request->title = "Achats par sexe";
        request->SetTypeAxe(CTraitement::kLignes, rowKind);
        request->SetTypeAxe(CTraitement::kColonnes, columnKind);
        request->mergeOptions.Type = layout;
        request->mergeOptions.EstLibelleTraitement = 1;
        return request;
    }

    // ACHAT (Pain, Lait, Oeufs, Total) by SEXE (Homme, Femme, Total).
    std::unique_ptr<CTraitement> CrossRequest(std::int16_t type, std::int16_t layout, const std::vector<Calc>& calcs) {
        auto request = NewRequest(type, CTraitement::kAxeFermee, CTraitement::kAxeFermee, layout);
        request->DefinirModalitesAxe(&Named("ACHAT"), WithTotal("ACHAT", 3, 0), CTraitement::kLignes);
        request->DefinirModalitesAxe(&Named("SEXE"), WithTotal("SEXE", 2, 1), CTraitement::kColonnes);
        SetCalcs(*request, calcs);
        return request;
    }

    // ACHAT read through a grouping of these nodes, by SEXE (Homme, Femme, Total).
    std::unique_ptr<CTraitement> GroupedRequest(const std::vector<Node>& nodes, const std::vector<Calc>& calcs) {
        auto request = NewRequest(CTraitement::kTriCroiseRegroupement, CTraitement::kAxeRegroupement,
                                  CTraitement::kAxeFermee, CTypeFusion::kSeparateTables);
        request->DefinirRegroupementAxe(&Named("ACHAT"), CTraitement::kLignes);
        CRecodageModalite* grouping = request->GetRegroupementAxe(CTraitement::kLignes);
        grouping->ViderNoeuds();
        for (const Node& node : nodes)
            grouping->AjouterNoeud(std::make_unique<CModaliteGroupe>(&context, node.code, node.caption, node.level));
        request->DefinirModalitesAxe(&Named("SEXE"), WithTotal("SEXE", 2, 1), CTraitement::kColonnes);
        SetCalcs(*request, calcs);
        return request;
    }

    // MONTANT within SEXE (Homme, Femme, Total).
    std::unique_ptr<CTraitement> MeanRequest(const std::vector<Calc>& calcs) {
        auto request = NewRequest(CTraitement::kTableauMoyenne, CTraitement::kAxeFermee, CTraitement::kAxeNumerique,
                                  CTypeFusion::kSeparateTables);
        request->DefinirModalitesAxe(&Named("SEXE"), WithTotal("SEXE", 2, 0), CTraitement::kLignes);
        request->SetQuestionAxe(&Named("MONTANT"), CTraitement::kColonnes);
        SetCalcs(*request, calcs);
        return request;
    }

    // Runs the request and answers the tables it made, in order.
    std::vector<CTableau*> Run(std::unique_ptr<CTraitement> request) {
        EXPECT_EQ(runner.Calculer(std::move(request)), 1);
        EXPECT_TRUE(ui->shown.empty()) << ui->ShownTexts().front();
        std::vector<CTableau*> tables;
        for (int i = 0; i < runner.GetNbTableaux(); ++i)
            tables.push_back(runner.GetTableau(i));
        return tables;
    }

    CExecuteurTraitement runner{context};
};

void ExpectBlock(const Block& expected, const std::function<double(int, int)>& cell, const std::string& what) {
    for (std::size_t i = 0; i < expected.size(); ++i)
        for (std::size_t j = 0; j < expected[i].size(); ++j)
            EXPECT_NEAR(cell(static_cast<int>(i), static_cast<int>(j)), expected[i][j], kTolerance)
                << what << ", line " << i << ", column " << j;
}

void ExpectTable(const CTableau& table, const Block& expected, const std::string& what) {
    ASSERT_EQ(table.RowCount(), static_cast<std::int32_t>(expected.size())) << what;
    ASSERT_EQ(table.ColumnCount(), static_cast<std::int32_t>(expected.front().size())) << what;
    ExpectBlock(expected, [&](int i, int j) { return table.GetValeur(i, j); }, what);
}

// Lines Pain, Lait, Oeufs, Total by columns Homme, Femme, Total.
const Block kCounts = {{1, 2, 3}, {2, 1, 3}, {0, 3, 3}, {2, 4, 6}};
const Block kColumnPercentages = {{50, 50, 50}, {100, 25, 50}, {0, 75, 50}, {100, 100, 100}};
// By line: Lait and Homme, p1 = 2/3 of the Lait units are men against p2 = 0 of the others,
// z = (2/3) / sqrt((2/3)(1/3)/3) = 2.449, above 1.96 but not 2.576: ++. The other cells of Lait and
// Oeufs mirror it; Pain is shared as the whole table is (z = 0). Total cells carry no mark.
const Block kMarks = {{0, 0, 0}, {2, -2, 0}, {-2, 2, 0}, {0, 0, 0}};

// Where block k's cell (i, j) lands, and the marker it carries, in each layout of the merge options.
struct Layout {
    std::int16_t type;
    int tables;
    int rows;
    int columns;
    int columnHeaderLevels;
    int rowHeaderLevels;
    std::function<const CTableau&(const std::vector<CTableau*>&, int k)> tableOf;
    std::function<int(int k, int i)> rowOf;
    std::function<int(int k, int j)> columnOf;
};

TEST_F(CalculsCroisesTest, CrossTableOfThreeCalculationsInEachLayoutOfTheMergeOptions) {
    const auto first = [](const std::vector<CTableau*>& tables, int) -> const CTableau& { return *tables[0]; };
    const std::vector<Layout> layouts = {
        {CTypeFusion::kSeparateTables, 3, 4, 3, 1, 1,
         [](const std::vector<CTableau*>& tables, int k) -> const CTableau& { return *tables[k]; },
         [](int, int i) { return i; }, [](int, int j) { return j; }},
        {CTypeFusion::kBlocksInColumns, 1, 4, 9, 2, 1, first, [](int, int i) { return i; },
         [](int k, int j) { return j * 3 + k; }},
        {CTypeFusion::kBlocksInRows, 1, 12, 3, 1, 2, first, [](int k, int i) { return i * 3 + k; },
         [](int, int j) { return j; }},
    };
    const std::vector<Block> blocks = {kCounts, kColumnPercentages, kMarks};
    const std::uint16_t markers[] = {CTableauBase::kMarqueEffectif, CTableauBase::kMarquePourcentage,
                                     CTableauBase::kMarqueSignificativite};
    for (const Layout& layout : layouts) {
        SCOPED_TRACE(testing::Message() << "merge type " << layout.type);
        CExecuteurTraitement fresh(context);
        ASSERT_EQ(fresh.Calculer(CrossRequest(CTraitement::kTriCroise, layout.type, kCrossCalcs)), 1);
        ASSERT_EQ(fresh.GetNbTableaux(), layout.tables);
        std::vector<CTableau*> tables;
        for (int t = 0; t < layout.tables; ++t) {
            tables.push_back(fresh.GetTableau(t));
            EXPECT_EQ(tables[t]->RowCount(), layout.rows);
            EXPECT_EQ(tables[t]->ColumnCount(), layout.columns);
            EXPECT_EQ(tables[t]->ColumnHeaderLevels(), layout.columnHeaderLevels);
            EXPECT_EQ(tables[t]->RowHeaderLevels(), layout.rowHeaderLevels);
            EXPECT_EQ(tables[t]->base, 6);
        }
        for (int k = 0; k < 3; ++k) {
            const CTableau& table = layout.tableOf(tables, k);
            ExpectBlock(blocks[static_cast<std::size_t>(k)],
                        [&](int i, int j) { return table.GetValeur(layout.rowOf(k, i), layout.columnOf(k, j)); },
                        kCrossCalcs[static_cast<std::size_t>(k)].label);
            for (int i = 0; i < 4; ++i)
                for (int j = 0; j < 3; ++j)
                    EXPECT_EQ(table.GetMarque(layout.rowOf(k, i), layout.columnOf(k, j)), markers[k]);
        }
    }
}

TEST_F(CalculsCroisesTest, SeparateTablesAreTitledByTheirCalculationAndKeepOnlyIt) {
    const std::vector<CTableau*> tables = Run(CrossRequest(CTraitement::kTriCroise, CTypeFusion::kSeparateTables,
                                                           kCrossCalcs));
    ASSERT_EQ(tables.size(), 3u);
    for (std::size_t k = 0; k < 3; ++k) {
        SCOPED_TRACE(k);
        const CTableau& table = *tables[k];
        EXPECT_EQ(table.title, std::string("Achats par sexe (") + kCrossCalcs[k].label + ")");
        ASSERT_NE(table.GetTraitement(), nullptr);
        ASSERT_EQ(table.GetTraitement()->GetCalculsLignes().size(), 1u);
        EXPECT_EQ(table.GetTraitement()->GetCalculsLignes()[0]->code, kCrossCalcs[k].code);
        EXPECT_EQ(table.GetLibelleLigne(0, 1), "Lait");
        EXPECT_EQ(table.GetLibelleLigne(0, 3), context.DonnerModaliteTotal(0)->GetShortCaption());
        EXPECT_EQ(table.GetLibelleColonne(0, 1), "Femme");
        EXPECT_EQ(table.GetLibelleColonne(0, 2), context.DonnerModaliteTotal(1)->GetShortCaption());
    }
}

TEST_F(CalculsCroisesTest, MergedTablesShowTheCalculationsUnderEachColumnOrBesideEachLine) {
    {
        const std::vector<CTableau*> tables =
            Run(CrossRequest(CTraitement::kTriCroise, CTypeFusion::kBlocksInColumns, kCrossCalcs));
        ASSERT_EQ(tables.size(), 1u);
        const CTableau& table = *tables[0];
        EXPECT_EQ(table.title, "Achats par sexe");
        EXPECT_EQ(table.MarkerMode(), CTableauBase::kMarqueParColonne);
        EXPECT_EQ(table.GetLibelleColonne(0, 3), "Femme");
        EXPECT_EQ(table.GetLibelleColonne(0, 4), "");
        EXPECT_EQ(table.GetLibelleColonne(1, 4), "% colonne");
        EXPECT_EQ(table.GetLibelleColonne(1, 8), "Significativité");
        ASSERT_NE(table.GetFusionColonnes(), nullptr);
        EXPECT_EQ(table.GetFusionColonnes()->GetFusion(0, 1 + 3), 2); // Femme spans its three columns
        EXPECT_EQ(table.GetTraitement()->GetCalculsLignes().size(), 3u);
    }
    {
        CExecuteurTraitement fresh(context);
        ASSERT_EQ(fresh.Calculer(CrossRequest(CTraitement::kTriCroise, CTypeFusion::kBlocksInRows, kCrossCalcs)), 1);
        ASSERT_EQ(fresh.GetNbTableaux(), 1);
        const CTableau& table = *fresh.GetTableau(0);
        EXPECT_EQ(table.title, "Achats par sexe");
        EXPECT_EQ(table.MarkerMode(), CTableauBase::kMarqueParLigne);
        EXPECT_EQ(table.GetLibelleLigne(0, 3), "Lait");
        EXPECT_EQ(table.GetLibelleLigne(1, 3), "Effectifs");
        EXPECT_EQ(table.GetLibelleLigne(1, 5), "Significativité");
        ASSERT_NE(table.GetFusionLignes(), nullptr);
        EXPECT_EQ(table.GetFusionLignes()->GetFusion(1 + 3, 0), 2); // Lait spans its three lines
    }
}

TEST_F(CalculsCroisesTest, ImportanceRatesMeasureAgainstAnswersWhereTheCrossMeasuresAgainstUnits) {
    // Over units the margins count units: 2 men, 4 women, 6 in all. Over answers they count the
    // pairs given: the men gave 3 products (1 + 2), the women 6 (2 + 1 + 3), 9 in all. Every unit
    // has one sex, so the line sums are the same either way (3 for each product).
    const std::vector<Calc> calcs = {{0, "Effectifs"}, {1, "% ligne"}, {2, "% colonne"}};
    struct Case {
        std::int16_t type;
        Block counts;
        Block rowPercentages;
        Block columnPercentages;
    };
    const double third = 100.0 / 3;
    const std::vector<Case> cases = {
        {CTraitement::kTriCroise,
         kCounts,
         {{third, 2 * third, 100}, {2 * third, third, 100}, {0, 100, 100}, {third, 2 * third, 100}},
         kColumnPercentages},
        {CTraitement::kTauxImportanceCroise,
         {{1, 2, 3}, {2, 1, 3}, {0, 3, 3}, {3, 6, 9}},
         {{third, 2 * third, 100}, {2 * third, third, 100}, {0, 100, 100}, {third, 2 * third, 100}},
         {{third, third, third}, {2 * third, 100.0 / 6, third}, {0, 50, third}, {100, 100, 100}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type);
        CExecuteurTraitement fresh(context);
        ASSERT_EQ(fresh.Calculer(CrossRequest(c.type, CTypeFusion::kSeparateTables, calcs)), 1);
        ASSERT_EQ(fresh.GetNbTableaux(), 3);
        ExpectTable(*fresh.GetTableau(0), c.counts, "counts");
        ExpectTable(*fresh.GetTableau(1), c.rowPercentages, "line percentages");
        ExpectTable(*fresh.GetTableau(2), c.columnPercentages, "column percentages");
        EXPECT_EQ(fresh.GetTableau(0)->base, 6); // the units crossed, either way
        EXPECT_EQ(fresh.GetTableau(1)->GetMarque(0, 0), CTableauBase::kMarquePourcentage);
    }
}

// Pain alone at the top; Frais, a group of the analyst's, over Lait and Oeufs.
const std::vector<Node> kFresh = {{1, "Pain", 0}, {0, "Frais", 0}, {2, "Lait", 1}, {3, "Oeufs", 1}};

TEST_F(CalculsCroisesTest, GroupedCrossShowsEachNodeAtItsLevelAgainstTheColumnsOfTheFirstLevel) {
    // Level 0 groups: Pain by 1 (man) and 4, 6 (women); Frais by 1, 2 (men) and 4, 5, 8 (women),
    // once each; 6 units. Level 1: Lait by 1, 2 and 5; Oeufs by 4, 5 and 8; 5 units. Column
    // percentages of both levels are measured against level 0's columns (2 men, 4 women); the
    // Total column against the largest total, 6.
    const std::vector<CTableau*> tables =
        Run(GroupedRequest(kFresh, {{0, "Effectifs"}, {2, "% colonne"}}));
    ASSERT_EQ(tables.size(), 2u);
    ExpectTable(*tables[0], {{1, 2, 3}, {2, 3, 5}, {2, 1, 3}, {0, 3, 3}}, "counts");
    ExpectTable(*tables[1], {{50, 50, 50}, {100, 75, 500.0 / 6}, {100, 25, 50}, {0, 75, 50}}, "column percentages");
    EXPECT_EQ(tables[1]->title, "Achats par sexe (% colonne)");
    EXPECT_EQ(tables[1]->GetMarque(0, 0), CTableauBase::kMarquePourcentage);

    const CTableau& table = *tables[0];
    EXPECT_EQ(table.base, 6);
    EXPECT_EQ(table.ColumnHeaderLevels(), 1);
    ASSERT_EQ(table.RowHeaderLevels(), 2);
    const std::vector<std::vector<std::string>> labels = {{"Pain", "Frais", "", ""}, {"", "", "Lait", "Oeufs"}};
    for (int level = 0; level < 2; ++level)
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(table.GetLibelleLigne(level, i), labels[level][i]) << level << ", " << i;
    EXPECT_EQ(table.GetLibelleColonne(0, 0), "Homme");
    const CFusion* down = table.GetFusionLignes();
    const CFusion* across = table.GetFusionColonnes();
    ASSERT_NE(down, nullptr);
    ASSERT_NE(across, nullptr);
    EXPECT_EQ(across->GetFusion(0, 0), 1); // the header corner
    EXPECT_EQ(across->GetFusion(1, 0), 1); // Pain and Frais reach the right edge of the header
    EXPECT_EQ(across->GetFusion(2, 0), 1);
    EXPECT_EQ(down->GetFusion(1, 0), 0);   // Pain has no descendant
    EXPECT_EQ(down->GetFusion(2, 0), 2);   // Frais covers Lait and Oeufs
    EXPECT_EQ(across->GetFusion(3, 1), 0);
    EXPECT_EQ(down->GetFusion(3, 1), 0);
}

TEST_F(CalculsCroisesTest, MeanTableShowsEachCalculationOfEveryLineWithItsMarker) {
    // MONTANT by SEXE: men 10, 20, 30 (mean 20, variance 200/3); women 40, 50 and a non-response
    // (interview 8 was not asked: it is left out); all 10 to 50 and the non-response. The men's
    // mean against the women's: pooled variance (25 x 1 + 200/3 x 2) / 3, t = -25 / sqrt(pooled) /
    // sqrt(1/2 + 1/3) = -3.77, beyond 2.576: ---; the women's mirrors it; the Total line has none.
    const std::vector<Calc> calcs = {{0, "Moyenne"},
                                     {2, "Nbre de réponses"},
                                     {3, "Nbre de 'Non-réponses'"},
                                     {10, "Significativité"},
                                     {4, "Somme"}};
    const std::vector<CTableau*> tables = Run(MeanRequest(calcs));
    ASSERT_EQ(tables.size(), 1u);
    const CTableau& table = *tables[0];
    EXPECT_EQ(table.ColumnHeaderLevels(), 1);
    EXPECT_EQ(table.RowHeaderLevels(), 1);
    EXPECT_EQ(table.MarkerMode(), CTableauBase::kMarqueParColonne);
    ExpectTable(table, {{20, 3, 0, -3, 60}, {45, 2, 1, 3, 90}, {30, 5, 1, 0, 150}}, "means");
    const std::uint16_t markers[] = {CTableauBase::kMarqueReel, CTableauBase::kMarqueEffectif,
                                     CTableauBase::kMarqueEffectif, CTableauBase::kMarqueSignificativite,
                                     CTableauBase::kMarqueReel};
    for (int j = 0; j < 5; ++j) {
        EXPECT_EQ(table.GetMarque(0, j), markers[j]) << j;
        EXPECT_EQ(table.GetLibelleColonne(0, j), calcs[static_cast<std::size_t>(j)].label);
    }
    EXPECT_EQ(table.GetLibelleLigne(0, 1), "Femme");
    EXPECT_EQ(table.base, 6); // units 1 to 6: a sex and a value or a non-response
    EXPECT_EQ(table.title, "Achats par sexe");
}

TEST_F(CalculsCroisesTest, ACodeThatNamesNoValueShowsEmptyCells) {
    const std::vector<CTableau*> cross =
        Run(CrossRequest(CTraitement::kTriCroise, CTypeFusion::kSeparateTables, {{9, "Inconnu"}}));
    ASSERT_EQ(cross.size(), 1u);
    ExpectTable(*cross[0], Block(4, std::vector<double>(3, kMissing)), "cross");

    CExecuteurTraitement fresh(context);
    ASSERT_EQ(fresh.Calculer(MeanRequest({{11, "Inconnu"}})), 1);
    ASSERT_EQ(fresh.GetNbTableaux(), 1);
    ExpectTable(*fresh.GetTableau(0), Block(3, std::vector<double>(1, kMissing)), "means");
}

TEST_F(CalculsCroisesTest, ALineOrColumnGivenTwiceShowsTheValuesOfItsFirstOccurrence) {
    // Copies of the question's modalities at these indexes (-1: the axis's Total line).
    const auto lines = [&](const std::string& question, const std::vector<int>& indexes, int axis) {
        Modalities chosen;
        for (int i : indexes)
            chosen.push_back(std::make_unique<CModaliteEtendue>(
                i < 0 ? *context.DonnerModaliteTotal(axis) : *Named(question).GetModaliteEtendue(i)));
        return chosen;
    };
    const auto repeatedAxes = [&](CTraitement& request) {
        request.DefinirModalitesAxe(&Named("ACHAT"), lines("ACHAT", {1, 0, 1, -1, -1}, 0),
                                    CTraitement::kLignes);
        request.DefinirModalitesAxe(&Named("SEXE"), lines("SEXE", {1, 0, 1, -1}, 1), CTraitement::kColonnes);
    };
    {
        SCOPED_TRACE("cross table");
        // Lines Lait, Pain, Lait, Total, Total by Femme, Homme, Femme, Total. Oeufs is not kept,
        // so unit 8 drops out: Lait by 2 men (1, 2) and woman 5, Pain by man 1 and women 4, 6;
        // 2 men and 3 women, 5 units.
        auto request = CrossRequest(CTraitement::kTriCroise, CTypeFusion::kSeparateTables,
                                    {{0, "Effectifs"}, {2, "% colonne"}});
        repeatedAxes(*request);
        const std::vector<CTableau*> tables = Run(std::move(request));
        ASSERT_EQ(tables.size(), 2u);
        ExpectTable(*tables[0], {{1, 2, 1, 3}, {2, 1, 2, 3}, {1, 2, 1, 3}, {3, 2, 3, 5}, {3, 2, 3, 5}},
                    "counts");
        const double third = 100.0 / 3;
        ExpectTable(*tables[1],
                    {{third, 100, third, 60},
                     {2 * third, 50, 2 * third, 60},
                     {third, 100, third, 60},
                     {100, 100, 100, 100},
                     {100, 100, 100, 100}},
                    "column percentages");
        EXPECT_EQ(tables[0]->base, 5);
    }
    {
        SCOPED_TRACE("importance rates");
        // The same cross over answers, against the table of each line and column given once.
        const std::vector<Calc> calcs = {
            {0, "Effectifs"}, {1, "% ligne"}, {2, "% colonne"}, {4, "Significativité"}};
        auto once = CrossRequest(CTraitement::kTauxImportanceCroise, CTypeFusion::kSeparateTables, calcs);
        once->DefinirModalitesAxe(&Named("ACHAT"), lines("ACHAT", {1, 0, -1}, 0), CTraitement::kLignes);
        once->DefinirModalitesAxe(&Named("SEXE"), lines("SEXE", {1, 0, -1}, 1), CTraitement::kColonnes);
        auto twice = CrossRequest(CTraitement::kTauxImportanceCroise, CTypeFusion::kSeparateTables, calcs);
        repeatedAxes(*twice);
        CExecuteurTraitement onceRunner(context);
        CExecuteurTraitement twiceRunner(context);
        ASSERT_EQ(onceRunner.Calculer(std::move(once)), 1);
        ASSERT_EQ(twiceRunner.Calculer(std::move(twice)), 1);
        ASSERT_EQ(onceRunner.GetNbTableaux(), 4);
        ASSERT_EQ(twiceRunner.GetNbTableaux(), 4);
        const int lineOnce[] = {0, 1, 0, 2, 2};
        const int columnOnce[] = {0, 1, 0, 2};
        EXPECT_NEAR(onceRunner.GetTableau(0)->GetValeur(2, 2), 6, kTolerance); // 6 answer pairs kept
        for (int k = 0; k < 4; ++k) {
            const CTableau& expected = *onceRunner.GetTableau(k);
            Block block(5, std::vector<double>(4));
            for (int i = 0; i < 5; ++i)
                for (int j = 0; j < 4; ++j)
                    block[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] =
                        expected.GetValeur(lineOnce[i], columnOnce[j]);
            ExpectTable(*twiceRunner.GetTableau(k), block, calcs[static_cast<std::size_t>(k)].label);
        }
    }
    {
        SCOPED_TRACE("grouped cross");
        // The first test's grouped cross with its columns as Femme, Homme, Femme, Total.
        auto request = GroupedRequest(kFresh, {{0, "Effectifs"}, {2, "% colonne"}});
        request->DefinirModalitesAxe(&Named("SEXE"), lines("SEXE", {1, 0, 1, -1}, 1), CTraitement::kColonnes);
        CExecuteurTraitement fresh(context);
        ASSERT_EQ(fresh.Calculer(std::move(request)), 1);
        ASSERT_EQ(fresh.GetNbTableaux(), 2);
        ExpectTable(*fresh.GetTableau(0), {{2, 1, 2, 3}, {3, 2, 3, 5}, {1, 2, 1, 3}, {3, 0, 3, 3}}, "counts");
        ExpectTable(*fresh.GetTableau(1),
                    {{50, 50, 50, 50}, {75, 100, 75, 500.0 / 6}, {25, 100, 25, 50}, {75, 0, 75, 50}},
                    "column percentages");
    }
    {
        SCOPED_TRACE("mean table");
        // The first test's mean table with its lines as Femme, Homme, Femme, Total, Total.
        auto request =
            MeanRequest({{0, "Moyenne"}, {2, "Nbre de réponses"}, {10, "Significativité"}, {4, "Somme"}});
        request->DefinirModalitesAxe(&Named("SEXE"), lines("SEXE", {1, 0, 1, -1, -1}, 0),
                                     CTraitement::kLignes);
        CExecuteurTraitement fresh(context);
        ASSERT_EQ(fresh.Calculer(std::move(request)), 1);
        ASSERT_EQ(fresh.GetNbTableaux(), 1);
        ExpectTable(*fresh.GetTableau(0),
                    {{45, 2, 3, 90}, {20, 3, -3, 60}, {45, 2, 3, 90}, {30, 5, 0, 150}, {30, 5, 0, 150}},
                    "means");
        EXPECT_EQ(fresh.GetTableau(0)->base, 6);
    }
}

TEST_F(CalculsCroisesTest, AKernelFailureShowsItsTextAndAddsNoTable) {
    // A study field given by a formula cannot be applied by the counting kernels, and weighting 77
    // does not exist. Each request is freed once, with no table made from it.
    CChampEtude formula;
    formula.id = 44;
    formula.name = "Jeunes";
    formula.complexCondition = true;
    formula.complexConditionText = "MONTANT < 30";
    context.MettreAJourChampEtude(formula);
    struct Failure {
        std::int32_t studyField;
        std::int32_t weighting;
        const char* named; // what the message names, "" when it is not checked
    };
    for (const Failure& failure : {Failure{44, -1, "'Jeunes'"}, Failure{-1, 77, ""}}) {
        std::vector<std::unique_ptr<CTraitement>> requests;
        requests.push_back(CrossRequest(CTraitement::kTriCroise, CTypeFusion::kBlocksInColumns, kCrossCalcs));
        requests.push_back(CrossRequest(CTraitement::kTauxImportanceCroise, CTypeFusion::kSeparateTables, kCrossCalcs));
        requests.push_back(GroupedRequest(kFresh, {{0, "Effectifs"}}));
        requests.push_back(MeanRequest({{0, "Moyenne"}}));
        for (auto& request : requests) {
            SCOPED_TRACE(testing::Message() << "type " << request->type << ", field " << failure.studyField);
            request->studyFieldId = failure.studyField;
            request->weightingId = failure.weighting;
            ui->shown.clear();
            EXPECT_EQ(runner.Calculer(std::move(request)), 1);
            EXPECT_EQ(runner.GetNbTableaux(), 0);
            const std::vector<std::string> texts = ui->ShownTexts();
            ASSERT_EQ(texts.size(), 1u);
            EXPECT_FALSE(texts[0].empty());
            EXPECT_NE(texts[0].find(failure.named), std::string::npos) << texts[0];
        }
    }
}

TEST_F(CalculsCroisesTest, ARequestThatGivesNoTableIsDroppedQuietly) {
    // No calculation: nothing to show. A merge type that names no layout, with several
    // calculations: nothing is made either.
    auto unknownLayout = CrossRequest(CTraitement::kTriCroise, 7, kCrossCalcs);
    EXPECT_EQ(runner.Calculer(CrossRequest(CTraitement::kTriCroise, CTypeFusion::kBlocksInRows, {})), 1);
    EXPECT_EQ(runner.Calculer(std::move(unknownLayout)), 1);
    EXPECT_EQ(runner.Calculer(GroupedRequest(kFresh, {})), 1);
    EXPECT_EQ(runner.GetNbTableaux(), 0);
    EXPECT_TRUE(ui->shown.empty());
}

} // namespace
