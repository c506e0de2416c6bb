// Crossed profiles and the splitting of requests of two profiles, on the ten interviews of
// ProfileTestSupport.h; every expected number is counted by hand from its table.
#include "ProfileTestSupport.h"
#include "tabulation/CroisementProfils.h"
#include "tabulation/Fusion.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace profile_test;

const std::vector<Calc> kCounts = {{0, "Effectifs"}};
const std::vector<Calc> kAllPlanes = {{0, "Effectifs"},   {1, "% ligne"}, {2, "% colonne"},
                                      {3, "% total"},     {4, "Signif."}, {5, "Théorique"},
                                      {6, "Valeur test"}, {7, "Affinité"}};

class ProfilsCroisesTest : public ProfileTest {
protected:
    // SEXE and AGE by ACHAT and NOTE1, every modality chosen.
    CProfil Rows() { return Profile({{"SEXE", {1, 2}}, {"AGE", {1, 2, 3}}}); }
    CProfil Columns() { return Profile({{"ACHAT", {1, 2, 3}}, {"NOTE1", {1, 2, 3}}}); }

    std::unique_ptr<CTraitement> Crossed(const CProfil& rows, const CProfil& columns,
                                         const std::vector<Calc>& calcs, bool rowTotal, bool columnTotal,
                                         std::int16_t layout = 1) {
        auto request = Request(CTraitement::kProfilsCroises, CTraitement::kAxeProfilFermees, rows,
                               CTraitement::kAxeProfilFermees, &columns, calcs, layout);
        request->SetTotalAxe(CTraitement::kLignes, rowTotal ? 1 : 0);
        request->SetTotalAxe(CTraitement::kColonnes, columnTotal ? 1 : 0);
        return request;
    }

    // The single cross table of two questions with these modalities, through the cross-table
    // compute function; one table per plane.
    std::vector<CTableau*> CrossTable(const Line& row, const Line& column) {
        auto request = std::make_unique<CTraitement>();
        request->type = CTraitement::kTriCroise;
        request->SetTypeAxe(CTraitement::kLignes, CTraitement::kAxeFermee);
        request->SetTypeAxe(CTraitement::kColonnes, CTraitement::kAxeFermee);
        request->DefinirModalitesAxe(&Named(row.question), Pick(row.question, row.codes),
                                     CTraitement::kLignes);
        request->DefinirModalitesAxe(&Named(column.question), Pick(column.question, column.codes),
                                     CTraitement::kColonnes);
        request->SetCalculsLignes(Calculations(kAllPlanes));
        request->mergeOptions.Type = CTypeFusion::kSeparateTables;
        return RunQuietly(std::move(request));
    }
};

// Units that cross SEXE or AGE with ACHAT or NOTE1: 1 to 8 (3 through NOTE1 only, 5 through
// ACHAT only, 7 through AGE only). 9 answered only the row questions and 10 only the column
// questions: neither counts in the Totals. Crosses: SEXE x ACHAT 6 units, SEXE x NOTE1 6, AGE x
// ACHAT 7, AGE x NOTE1 6: the base is 7.
//
//             Pain Lait Oeufs | Mauvais Moyen Bon | Total
//   Homme       1    2    0   |    1      1    1  |   3     (1, 2, 3)
//   Femme       2    1    3   |    0      1    2  |   4     (4, 5, 6, 8)
//   Jeune       2    2    1   |    1      0    1  |   3     (1, 5, 7)
//   Moyen       1    1    0   |    0      2    0  |   2     (2, 6)
//   Senior      1    0    2   |    0      0    2  |   2     (4, 8)
//   Total       4    3    3   |    2      2    3  |   7
const Block kCountsTotalsAfter = {{1, 2, 0, 1, 1, 1, 3}, {2, 1, 3, 0, 1, 2, 4}, {2, 2, 1, 1, 0, 1, 3},
                                  {1, 1, 0, 0, 2, 0, 2}, {1, 0, 2, 0, 0, 2, 2}, {4, 3, 3, 2, 2, 3, 7}};

TEST_F(ProfilsCroisesTest, TotalsCountTheUnitsThatAnsweredAPairOfAnyCross) {
    const std::vector<CTableau*> tables = RunQuietly(Crossed(Rows(), Columns(), kCounts, true, true));
    ASSERT_EQ(tables.size(), 1u);
    const CTableau& table = *tables[0];
    ExpectTable(table, kCountsTotalsAfter, "counts");
    EXPECT_EQ(table.title, "Profils");
    EXPECT_EQ(table.base, 7);
    EXPECT_EQ(table.ColumnHeaderLevels(), 2);
    EXPECT_EQ(table.RowHeaderLevels(), 2);
    EXPECT_EQ(table.GetMarque(0, 0), CTableauBase::kMarqueEffectif);

    // Each row question's caption stands beside its modalities, each column question's above its own.
    EXPECT_EQ(table.GetLibelleLigne(0, 0), Caption("SEXE"));
    ASSERT_NE(table.GetLigneEnTete(0, 0), nullptr);
    EXPECT_EQ(table.GetLigneEnTete(0, 0)->heading, 1);
    EXPECT_EQ(table.GetLibelleLigne(1, 0), "Homme");
    EXPECT_EQ(table.GetLibelleLigne(0, 2), Caption("AGE"));
    EXPECT_EQ(table.GetLibelleLigne(1, 4), "Senior");
    EXPECT_EQ(table.GetLibelleLigne(0, 5), Total(0));
    EXPECT_EQ(table.GetLibelleColonne(0, 0), Caption("ACHAT"));
    EXPECT_EQ(table.GetColonneEnTete(0, 0)->heading, 0);
    EXPECT_EQ(table.GetLibelleColonne(1, 2), "Oeufs");
    EXPECT_EQ(table.GetLibelleColonne(0, 3), Caption("NOTE1"));
    EXPECT_EQ(table.GetLibelleColonne(1, 3), "Mauvais");
    EXPECT_EQ(table.GetLibelleColonne(0, 6), Total(1));

    // Grid positions: two header lines above, two header columns on the left.
    const CFusion& rows = *table.GetFusionLignes();
    const CFusion& columns = *table.GetFusionColonnes();
    EXPECT_EQ(rows.GetFusion(2 + 0, 0), 1);    // "Sexe" over its 2 lines
    EXPECT_EQ(rows.GetFusion(2 + 2, 0), 2);    // "Age" over its 3
    EXPECT_EQ(columns.GetFusion(0, 2 + 0), 2); // "Achats" over its 3 columns
    EXPECT_EQ(columns.GetFusion(0, 2 + 3), 2); // "Accueil" over its 3
    EXPECT_EQ(columns.GetFusion(2 + 5, 0), 1); // the Total line's label over both header columns
    EXPECT_EQ(rows.GetFusion(0, 2 + 6), 1);    // the Total column's label over both header lines
    EXPECT_EQ(rows.GetFusion(0, 0), 1);        // the corner
    EXPECT_EQ(columns.GetFusion(0, 0), 1);
}

TEST_F(ProfilsCroisesTest, TotalsBeforeShowTheBaseInTheCornerAndHundredsInTheColumnPercentages) {
    CRegistre::SetIsTotalBefore(true);
    const std::vector<CTableau*> tables =
        RunQuietly(Crossed(Rows(), Columns(), {{0, "Effectifs"}, {2, "% colonne"}}, true, true, 0));
    ASSERT_EQ(tables.size(), 2u);
    EXPECT_EQ(tables[0]->title, "Profils (Effectifs)");
    ExpectTable(*tables[0],
                {{7, 4, 3, 3, 2, 2, 3},
                 {3, 1, 2, 0, 1, 1, 1},
                 {4, 2, 1, 3, 0, 1, 2},
                 {3, 2, 2, 1, 1, 0, 1},
                 {2, 1, 1, 0, 0, 2, 0},
                 {2, 1, 0, 2, 0, 0, 2}},
                "counts");
    EXPECT_EQ(tables[0]->GetLibelleLigne(0, 0), Total(0));
    EXPECT_EQ(tables[0]->GetLibelleColonne(0, 0), Total(1));
    EXPECT_EQ(tables[0]->GetLibelleLigne(0, 1), Caption("SEXE"));

    // Column percentages of each cross over its own column margins (SEXE x ACHAT: 3 units for
    // each product; SEXE x NOTE1: 1, 2, 3; AGE x ACHAT: 4, 3, 3; AGE x NOTE1: 1, 2, 3). The Total
    // column shows each modality's share of the marked units that answered its question: 7 of
    // the 8 answered SEXE (all but 7), 7 answered AGE (all but 3).
    const double third = 100.0 / 3;
    const double seventh = 100.0 / 7;
    ExpectTable(*tables[1],
                {{100, 100, 100, 100, 100, 100, 100},
                 {3 * seventh, third, 2 * third, 0, 100, 50, third},
                 {4 * seventh, 2 * third, third, 100, 0, 50, 2 * third},
                 {3 * seventh, 50, 2 * third, third, 100, 0, third},
                 {2 * seventh, 25, third, 0, 0, 100, 0},
                 {2 * seventh, 25, 0, 2 * third, 0, 0, 2 * third}},
                "column percentages");
    EXPECT_EQ(tables[1]->GetMarque(1, 1), CTableauBase::kMarquePourcentage);
}

TEST_F(ProfilsCroisesTest, EveryBlockHoldsThePlanesOfTheCrossTableOfItsPair) {
    const std::vector<CTableau*> profile =
        RunQuietly(Crossed(Rows(), Columns(), kAllPlanes, false, false, 0));
    ASSERT_EQ(profile.size(), kAllPlanes.size());
    const std::vector<Line> rows = {{"SEXE", {1, 2}}, {"AGE", {1, 2, 3}}};
    const std::vector<Line> columns = {{"ACHAT", {1, 2, 3}}, {"NOTE1", {1, 2, 3}}};
    int line = 0;
    for (const Line& row : rows) {
        int column = 0;
        for (const Line& col : columns) {
            SCOPED_TRACE(std::string(row.question) + " x " + col.question);
            const std::vector<CTableau*> single = CrossTable(row, col);
            ASSERT_EQ(single.size(), kAllPlanes.size());
            for (std::size_t plane = 0; plane < kAllPlanes.size(); ++plane)
                for (int i = 0; i < single[plane]->RowCount(); ++i)
                    for (int j = 0; j < single[plane]->ColumnCount(); ++j)
                        EXPECT_DOUBLE_EQ(profile[plane]->GetValeur(line + i, column + j),
                                         single[plane]->GetValeur(i, j))
                            << kAllPlanes[plane].label << " " << i << ", " << j;
            column += static_cast<int>(col.codes.size());
        }
        line += static_cast<int>(row.codes.size());
    }
}

TEST_F(ProfilsCroisesTest, AnEmptyLinePerQuestionCarriesTheCaptionAndNoValue) {
    // Only ACHAT is crossed now: 3 (who answered no product) is no longer marked, so Homme's
    // Total falls to 2. AGE x ACHAT has 7 units, the base.
    auto request = Crossed(Profile({{"AGE", {1, 2, 3}}, {"SEXE", {1, 2}}}), Profile({{"ACHAT", {1, 2, 3}}}),
                           {{0, "Effectifs"}, {6, "Valeur test"}}, true, true, 0);
    request->mergeOptions.IsEmptyLinePerQuestion = 1;
    const std::vector<CTableau*> tables = RunQuietly(std::move(request));
    ASSERT_EQ(tables.size(), 2u);
    const double m = kMissing;
    ExpectTable(*tables[0],
                {{m, m, m, m},
                 {2, 2, 1, 3},
                 {1, 1, 0, 2},
                 {1, 0, 2, 2},
                 {m, m, m, m},
                 {1, 2, 0, 2},
                 {2, 1, 3, 4},
                 {4, 3, 3, 7}},
                "counts");
    const CTableau& table = *tables[0];
    EXPECT_EQ(table.RowHeaderLevels(), 1);
    EXPECT_EQ(table.GetLibelleLigne(0, 0), Caption("AGE"));
    EXPECT_EQ(table.GetLibelleLigne(0, 1), "Jeune");
    EXPECT_EQ(table.GetLibelleLigne(0, 4), Caption("SEXE"));
    EXPECT_EQ(table.GetLibelleLigne(0, 7), Total(0));
    EXPECT_EQ(table.GetFusionColonnes()->GetFusion(2 + 0, 1), 3); // the caption line's cells are one
    EXPECT_EQ(table.GetFusionColonnes()->GetFusion(2 + 4, 1), 3);
    // The test value of a Total is none; its caption lines none either. The corner keeps 0.
    const CTableau& tests = *tables[1];
    for (int i : {0, 4, 7})
        for (int j = 0; j < 3; ++j)
            EXPECT_EQ(tests.GetValeur(i, j), kMissing) << i << ", " << j;
    for (int i : {0, 1, 2, 3, 4, 5, 6})
        EXPECT_EQ(tests.GetValeur(i, 3), kMissing) << i;
    EXPECT_EQ(tests.GetValeur(7, 3), 0.0);
}

TEST_F(ProfilsCroisesTest, TheExpectedCountOfATotalIsItsCount) {
    const std::vector<CTableau*> tables = RunQuietly(
        Crossed(Rows(), Columns(), {{5, "Théorique"}, {4, "Signif."}, {7, "Affinité"}}, true, true, 0));
    ASSERT_EQ(tables.size(), 3u);
    for (int j = 0; j < 6; ++j) {
        EXPECT_EQ(tables[0]->GetValeur(5, j), kCountsTotalsAfter[5][static_cast<std::size_t>(j)]) << j;
        EXPECT_EQ(tables[2]->GetValeur(5, j), 100) << j;
    }
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(tables[0]->GetValeur(i, 6), kCountsTotalsAfter[static_cast<std::size_t>(i)][6]) << i;
    // The corner keeps 0 in the expected counts, marks and affinities.
    EXPECT_EQ(tables[0]->GetValeur(5, 6), 0.0);
    EXPECT_EQ(tables[1]->GetValeur(5, 6), 0.0);
    EXPECT_EQ(tables[2]->GetValeur(5, 6), 0.0);
}

TEST_F(ProfilsCroisesTest, AModalityChosenTwiceShowsTheSameNumbersTwice) {
    // Eggs or bread: units 1, 4, 5, 6 and 8 make a pair (2 bought milk only), 1 of them a man.
    const std::vector<CTableau*> tables = RunQuietly(
        Crossed(Profile({{"SEXE", {1, 2, 1}}}), Profile({{"ACHAT", {3, 1, 3}}}), kCounts, true, true));
    ASSERT_EQ(tables.size(), 1u);
    ExpectTable(*tables[0], {{0, 1, 0, 1}, {3, 2, 3, 4}, {0, 1, 0, 1}, {3, 3, 3, 5}}, "counts");
}

TEST_F(ProfilsCroisesTest, AProfileOfFiveHundredQuestionsMakesOneTallTable) {
    std::vector<Line> lines(500, Line{"SEXE", {1, 2}});
    const std::vector<CTableau*> tables =
        RunQuietly(Crossed(Profile(lines), Profile({{"ACHAT", {1, 2, 3}}}), kCounts, true, false));
    ASSERT_EQ(tables.size(), 1u);
    ASSERT_EQ(tables[0]->RowCount(), 1001);
    for (int q : {0, 250, 499}) {
        EXPECT_EQ(tables[0]->GetValeur(2 * q, 1), 2) << q;
        EXPECT_EQ(tables[0]->GetValeur(2 * q + 1, 2), 3) << q;
    }
    EXPECT_EQ(tables[0]->GetValeur(1000, 0), 3); // Pain over the 6 units of SEXE x ACHAT
}

TEST_F(ProfilsCroisesTest, AQuestionThatCannotBeReadShowsItsTextAndMakesNoTable) {
    // LIEN is asked per member: it cannot be read per interview.
    const std::vector<CTableau*> tables =
        Run(Crossed(Rows(), Profile({{"ACHAT", {1, 2, 3}}, {"LIEN", {1, 2}}}), kCounts, true, true));
    EXPECT_TRUE(tables.empty());
    const std::vector<std::string> texts = ui->ShownTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_FALSE(texts[0].empty());
}

// ---- Splitting ----

TEST_F(ProfilsCroisesTest, TablesPerLineAndPerColumnGiveOneCrossTablePerPairInTheOptionsOrder) {
    const CProfil rows = Profile({{"SEXE", {1, 2}}, {"AGE", {1, 2, 3}}, {nullptr, {}}, {"NOTE2", {1, 2, 3}}});
    const CProfil columns = Profile({{"ACHAT", {1, 2, 3}}, {"NOTE1", {1, 2, 3}}});
    struct Case {
        bool rowsOutside;
        std::vector<std::pair<const char*, const char*>> order;
    };
    const std::vector<Case> cases = {
        {false,
         {{"SEXE", "ACHAT"},
          {"AGE", "ACHAT"},
          {"NOTE2", "ACHAT"},
          {"SEXE", "NOTE1"},
          {"AGE", "NOTE1"},
          {"NOTE2", "NOTE1"}}},
        {true,
         {{"SEXE", "ACHAT"},
          {"SEXE", "NOTE1"},
          {"AGE", "ACHAT"},
          {"AGE", "NOTE1"},
          {"NOTE2", "ACHAT"},
          {"NOTE2", "NOTE1"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rowsOutside);
        CRegistre::SetIsBreakColumnsFirst(c.rowsOutside);
        auto request = Crossed(rows, columns, kCounts, true, false);
        request->mergeOptions.EstTableauParLigne = 1;
        request->mergeOptions.EstTableauParColonne = 1;
        const std::vector<CTableau*> tables = RunQuietly(std::move(request));
        ASSERT_EQ(tables.size(), c.order.size());
        for (std::size_t t = 0; t < tables.size(); ++t) {
            EXPECT_EQ(tables[t]->title, Caption(c.order[t].first) + " x " + Caption(c.order[t].second));
            ASSERT_NE(tables[t]->GetTraitement(), nullptr);
            EXPECT_EQ(tables[t]->GetTraitement()->type, CTraitement::kTriCroise);
            EXPECT_EQ(tables[t]->ColumnHeaderLevels(), 1);
        }
    }
    // The first: SEXE by ACHAT with the row Total the request asked for.
    CRegistre::SetIsBreakColumnsFirst(false);
    auto request = Crossed(rows, columns, kCounts, true, false);
    request->mergeOptions.EstTableauParLigne = 1;
    request->mergeOptions.EstTableauParColonne = 1;
    const std::vector<CTableau*> tables = RunQuietly(std::move(request));
    ASSERT_FALSE(tables.empty());
    ExpectTable(*tables[0], {{1, 2, 0}, {2, 1, 3}, {3, 3, 3}}, "Sexe x Achats");
    EXPECT_EQ(tables[0]->GetLibelleLigne(0, 2), Total(0));
}

TEST_F(ProfilsCroisesTest, TablesPerColumnGiveOneProfileTablePerColumnQuestion) {
    auto request = Crossed(Profile({{"SEXE", {1, 2}}}), Columns(), kCounts, false, false);
    request->mergeOptions.EstTableauParColonne = 1;
    const std::vector<CTableau*> tables = RunQuietly(std::move(request));
    ASSERT_EQ(tables.size(), 2u);
    EXPECT_EQ(tables[0]->title, Caption("ACHAT"));
    EXPECT_EQ(tables[1]->title, Caption("NOTE1"));
    EXPECT_EQ(tables[0]->ColumnHeaderLevels(), 2);
    ExpectTable(*tables[0], {{1, 2, 0}, {2, 1, 3}}, "Sexe x Achats");
    ExpectTable(*tables[1], {{1, 1, 1}, {0, 1, 2}}, "Sexe x Accueil");
}

TEST_F(ProfilsCroisesTest, ProfilesOfOneQuestionAreNotSplitWhateverTheOptions) {
    auto request =
        Crossed(Profile({{"SEXE", {1, 2}}}), Profile({{"ACHAT", {1, 2, 3}}}), kCounts, false, false);
    request->mergeOptions.EstTableauParLigne = 1;
    request->mergeOptions.EstTableauParColonne = 1;
    const std::vector<CTableau*> tables = RunQuietly(std::move(request));
    ASSERT_EQ(tables.size(), 1u);
    EXPECT_EQ(tables[0]->ColumnHeaderLevels(), 2); // a crossed profile, not a cross table
    EXPECT_EQ(tables[0]->title, "Profils");
}

TEST_F(ProfilsCroisesTest, SeparatorsSplitTheRowsFirstUnlessColumnsBreakFirst) {
    const CProfil rows = Profile({{"SEXE", {1, 2}}, {nullptr, {}}, {"AGE", {1, 2, 3}}});
    const CProfil columns = Profile({{"ACHAT", {1, 2, 3}}, {nullptr, {}}, {"NOTE1", {1, 2, 3}}});
    struct Case {
        bool columnsFirst;
        std::vector<std::pair<const char*, const char*>> order;
    };
    const std::vector<Case> cases = {
        {false, {{"SEXE", "ACHAT"}, {"SEXE", "NOTE1"}, {"AGE", "ACHAT"}, {"AGE", "NOTE1"}}},
        {true, {{"SEXE", "ACHAT"}, {"AGE", "ACHAT"}, {"SEXE", "NOTE1"}, {"AGE", "NOTE1"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.columnsFirst);
        CRegistre::SetIsBreakColumnsFirst(c.columnsFirst);
        const std::vector<CTableau*> tables = RunQuietly(Crossed(rows, columns, kCounts, false, false));
        ASSERT_EQ(tables.size(), c.order.size());
        for (std::size_t t = 0; t < tables.size(); ++t) {
            EXPECT_EQ(tables[t]->title, "Profils");
            EXPECT_EQ(tables[t]->GetLibelleLigne(0, 0), Caption(c.order[t].first)) << t;
            EXPECT_EQ(tables[t]->GetLibelleColonne(0, 0), Caption(c.order[t].second)) << t;
        }
    }
}

TEST_F(ProfilsCroisesTest, SeparatorsAtTheEndsLeaveOneGroup) {
    const CProfil rows = Profile({{nullptr, {}}, {"SEXE", {1, 2}}, {"AGE", {1, 2, 3}}, {nullptr, {}}});
    const std::vector<CTableau*> tables = RunQuietly(Crossed(rows, Columns(), kCounts, true, true));
    ASSERT_EQ(tables.size(), 1u);
    ExpectTable(*tables[0], kCountsTotalsAfter, "counts");
}

TEST_F(ProfilsCroisesTest, TotalValuesByPlane) {
    // Line side then column side; -1: no flat value.
    const int expected[8][2] = {{0, 0}, {1, 9}, {9, 1}, {1, 1}, {9, 9}, {-1, -1}, {-1, -1}, {9, 9}};
    for (int plane = 0; plane < 8; ++plane) {
        EXPECT_EQ(CroisementProfils::DonnerValeursTotal(plane, 1), expected[plane][0]) << plane;
        EXPECT_EQ(CroisementProfils::DonnerValeursTotal(plane, 0), expected[plane][1]) << plane;
    }
    EXPECT_EQ(CroisementProfils::DonnerValeursTotal(8, 1), -1);
}

} // namespace
