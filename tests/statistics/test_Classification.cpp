#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <set>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "app/StringTable.h"
#include "statistics/Dendogramme.h"
#include "statistics/DendogrammeDessin.h"
#include "statistics/MatriceTriangulaire.h"
#include "statistics/MoteurClassificationModalites.h"
#include "statistics/MoteurClassificationNumerique.h"
#include "support/RecordingUserInterface.h"

namespace {

using Pairs = std::vector<std::pair<int, int>>;

// The 9 rows x 2 numeric questions of the classification reference
// (../shared/data/wave-3-references.md).
const std::vector<double> kNine = {1, 2, 1.5, 1.8, 5, 8, 8, 8, 1, 0.6, 9, 11, 8, 2, 10, 2, 9, 3};

// 100 x between-group inertia / total inertia of a partition of the rows of a standardised
// table, computed directly from the groups' means: the independent check of a level.
double LevelOfPartition(const std::vector<double>& table, int columns, const std::vector<std::vector<int>>& groups) {
    const int rows = static_cast<int>(table.size()) / columns;
    double between = 0.0;
    double total = 0.0;
    for (int j = 0; j < columns; ++j) {
        double mean = 0.0;
        for (int i = 0; i < rows; ++i)
            mean += table[static_cast<std::size_t>(i * columns + j)] / rows;
        double variance = 0.0;
        for (int i = 0; i < rows; ++i)
            variance += std::pow(table[static_cast<std::size_t>(i * columns + j)] - mean, 2) / rows;
        for (const auto& group : groups) {
            double groupMean = 0.0;
            for (int i : group)
                groupMean += table[static_cast<std::size_t>(i * columns + j)] / static_cast<double>(group.size());
            between += static_cast<double>(group.size()) * std::pow(groupMean - mean, 2) / variance;
        }
        total += rows;
    }
    return between / total * 100.0;
}

// The partitions after each merge, replaying the pairs on singletons.
std::vector<double> LevelsOfMerges(const std::vector<double>& table, int columns, const Pairs& merges) {
    const int rows = static_cast<int>(table.size()) / columns;
    std::vector<std::vector<int>> items(static_cast<std::size_t>(rows));
    for (int i = 0; i < rows; ++i)
        items[static_cast<std::size_t>(i)] = {i};
    std::vector<double> levels;
    for (const auto& [i, j] : merges) {
        auto& kept = items[static_cast<std::size_t>(i)];
        kept.insert(kept.end(), items[static_cast<std::size_t>(j)].begin(), items[static_cast<std::size_t>(j)].end());
        items[static_cast<std::size_t>(j)].clear();
        std::vector<std::vector<int>> groups;
        for (const auto& item : items)
            if (!item.empty())
                groups.push_back(item);
        levels.push_back(LevelOfPartition(table, columns, groups));
    }
    return levels;
}

// The one column 0, 10, 0, 10, 4 classified (its merges: (0,2), (1,3), (0,4), (0,1)).
const std::vector<double> kFive = {0, 10, 0, 10, 4};

// R: hclust(dist(Z)^2, "centroid") on the standardised rows gives the same sequence of merges;
// the levels are the reference's (5 decimals) and, to 1e-9, those computed directly from each
// partition.
TEST(MoteurClassification, NineRowsMergesAndLevelsOfR) {
    CMoteurClassificationNumerique engine(9, 2, 0, kNine.data());
    ASSERT_TRUE(engine.Executer(false, 0, 0));
    const Pairs expected = {{0, 1}, {0, 4}, {6, 8}, {6, 7}, {2, 3}, {2, 5}, {2, 6}, {0, 2}};
    EXPECT_EQ(engine.Fusions(), expected);
    const double reference[] = {99.93558, 99.40390, 98.95489, 98.21525, 96.22410, 91.64721, 59.43426, 0};
    const std::vector<double> direct = LevelsOfMerges(kNine, 2, expected);
    ASSERT_EQ(engine.Niveaux().size(), 8u);
    for (std::size_t m = 0; m < 8; ++m) {
        EXPECT_NEAR(engine.Niveaux()[m], reference[m], 5e-6) << m;
        EXPECT_NEAR(engine.Niveaux()[m], direct[m], 1e-9) << m;
    }
    EXPECT_EQ(engine.NiveauDepart(), 100.0);
    EXPECT_EQ(engine.NombreElements(), 9);
}

// One column 0, 10, 0, 10, 4 (mean 4.8, population variance 20.16). The two pairs of identical
// rows are merged in the first pass, both at 100 (merging equal points moves no inertia); then
// {0, 0} takes 4, at 100 x (3 (4/3 - 4.8)^2 + 2 (10 - 4.8)^2) / 100.8 = 89.41798941; then the
// last merge at 0. Five items, four merges.
TEST(MoteurClassification, IdenticalRowsMergeFirstSeveralInOnePass) {
    CMoteurClassificationNumerique engine(5, 1, 0, kFive.data());
    ASSERT_TRUE(engine.Executer(false, 0, 0));
    EXPECT_EQ(engine.Fusions(), (Pairs{{0, 2}, {1, 3}, {0, 4}, {0, 1}}));
    const double levels[] = {100, 100, 100 * (3 * std::pow(4.0 / 3 - 4.8, 2) + 2 * std::pow(5.2, 2)) / 100.8, 0};
    for (std::size_t m = 0; m < 4; ++m)
        EXPECT_NEAR(engine.Niveaux()[m], levels[m], 1e-9) << m;
}

// The same with modalities: rows 0 and 2, 1 and 3 are the same profiles, so they merge in the
// first pass at 100; there are N0 - 1 merges, the last at 0.
TEST(MoteurClassification, ModalitiesIdenticalProfilesMergeFirst) {
    const std::vector<std::uint8_t> table = {
        1, 0, 1, 0, //
        0, 1, 0, 1, //
        1, 0, 1, 0, //
        0, 1, 0, 1, //
        1, 0, 0, 1, //
    };
    CMoteurClassificationModalites engine(5, 4, 0, table.data());
    ASSERT_TRUE(engine.Executer(false, 0, 0));
    ASSERT_EQ(engine.Fusions().size(), 4u);
    EXPECT_EQ(engine.Fusions()[0], (std::pair<int, int>{0, 2}));
    EXPECT_EQ(engine.Fusions()[1], (std::pair<int, int>{1, 3}));
    EXPECT_NEAR(engine.Niveaux()[0], 100.0, 1e-12);
    EXPECT_NEAR(engine.Niveaux()[1], 100.0, 1e-12);
    EXPECT_EQ(engine.Niveaux()[3], 0.0);
}

// A value that is no number, or an infinity, makes distances that cannot be compared: the run
// fails with the message, keeps no merge.
TEST(MoteurClassification, NonFiniteDistancesEndTheRun) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (double bad : {nan, inf}) {
        const std::vector<double> table = {0, 1, 2, bad, 4, 5};
        CMoteurClassificationNumerique engine(6, 1, 0, table.data());
        EXPECT_FALSE(engine.Executer(false, 0, 0)) << bad;
        EXPECT_EQ(engine.GetErreur(), Message(StringTable::kClassificationImpossible)) << bad;
        EXPECT_TRUE(engine.Fusions().empty());
    }
}

// With a start partition the items are the groups of a typology: the 12 reference rows in the
// order where seed 1 draws one start row per cluster (see the typology tests) give R's three
// clusters, two merges, a start level equal to the typology's explained share
// (R: 100 x betweenss / totss = 99.4078048221), and a tree whose leaves are the groups.
TEST(MoteurClassification, StartPartitionFromATypology) {
    const double rows[12][3] = {
        {1.0, 2.0, 0.5}, {1.2, 1.8, 0.7}, {9.0, 1.0, 6.0}, {0.8, 2.3, 0.4}, {1.1, 2.1, 0.9}, {5.4, 7.6, 3.3},
        {4.8, 8.3, 2.8}, {5.0, 8.0, 3.0}, {5.1, 8.1, 3.1}, {9.3, 1.4, 6.2}, {8.7, 0.8, 5.7}, {9.1, 1.1, 6.4},
    };
    std::vector<double> table;
    for (const auto& row : rows)
        table.insert(table.end(), row, row + 3);
    CMoteurClassificationNumerique engine(12, 3, 0, table.data());
    ASSERT_TRUE(engine.Executer(true, 3, 1));
    EXPECT_EQ(engine.NombreElements(), 3);
    EXPECT_EQ(engine.Fusions().size(), 2u);
    EXPECT_NEAR(engine.NiveauDepart(), 99.4078048221, 1e-9);
    const std::vector<std::vector<std::int32_t>> groups = {{0, 1, 3, 4}, {5, 6, 7, 8}, {2, 9, 10, 11}};
    EXPECT_EQ(engine.GroupesDepart(), groups);

    CDendogramme dendogramme;
    engine.ConstruireDendogramme(3, 3, dendogramme);
    std::set<std::vector<std::int32_t>> leaves;
    for (const auto& node : dendogramme.Noeuds())
        if (!node->ADeuxEnfants()) {
            EXPECT_EQ(node->numeroFusion, -1);
            EXPECT_NEAR(node->niveau, 99.4078048221, 1e-9);
            EXPECT_EQ(node->nbInterviews, 4);
            leaves.insert(node->membres);
        }
    EXPECT_EQ(leaves, std::set<std::vector<std::int32_t>>(groups.begin(), groups.end()));
    EXPECT_EQ(dendogramme.NombreGroupes(), 3);
}

// A typology that cannot draw its start rows ends the classification with its message.
TEST(MoteurClassification, StartPartitionWithTooManyGroupsFails) {
    const std::vector<double> table = {1, 1, 2, 2};
    CMoteurClassificationNumerique engine(4, 1, 0, table.data());
    EXPECT_FALSE(engine.Executer(true, 3, 0));
    EXPECT_EQ(engine.GetErreur(), Message(StringTable::kIndividusDepartImpossibles));
}

// The run reports its steps and stops when the user cancels: no merge is kept, no message.
TEST(MoteurClassification, CancelStopsAndKeepsNothing) {
    RecordingUserInterface ui;
    ui.cancelAtStep = 12; // the 9 rows of distances are steps 0 .. 8, the merges 9 .. 16
    CMoteurClassificationNumerique engine(9, 2, 0, kNine.data());
    engine.SetUserInterface(&ui);
    EXPECT_FALSE(engine.Executer(false, 0, 0));
    EXPECT_TRUE(engine.EstAnnule());
    EXPECT_EQ(engine.GetErreur(), Message());
    EXPECT_TRUE(engine.Fusions().empty());
    EXPECT_EQ(ui.lastProgress, 12);
    EXPECT_EQ(ui.progressTitles, (std::vector<Message>{Message(StringTable::kClassificationHierarchique)}));
}

// The pairs of the matrix, row by row, and the closest pairs found in linear order.
TEST(MatriceTriangulaire, LinearIndexPairsAndClosestPairs) {
    CMatriceTriangulaire matrix(4);
    const Pairs order = {{0, 1}, {0, 2}, {0, 3}, {1, 2}, {1, 3}, {2, 3}};
    for (long long index = 0; index < 6; ++index) {
        EXPECT_EQ(matrix.IndexLineaire(order[static_cast<std::size_t>(index)].first,
                                       order[static_cast<std::size_t>(index)].second),
                  index);
        EXPECT_EQ(matrix.Paire(index), order[static_cast<std::size_t>(index)]);
    }
    const double values[] = {3, 1, 2, 1, 5, 4};
    for (std::size_t p = 0; p < 6; ++p)
        matrix.Fixer(order[p].first, order[p].second, values[p]);
    Pairs closest;
    EXPECT_EQ(matrix.PlusProchesPaires(closest), 1.0);
    EXPECT_EQ(closest, (Pairs{{0, 2}, {1, 2}}));
    // Removing 2 leaves (0, 3) at 2; raising the pair a row's minimum was on looks again.
    matrix.SupprimerElement(2);
    EXPECT_EQ(matrix.PlusProchesPaires(closest), 2.0);
    EXPECT_EQ(closest, (Pairs{{0, 3}}));
    matrix.Fixer(0, 3, 6);
    EXPECT_EQ(matrix.PlusProchesPaires(closest), 3.0);
    EXPECT_EQ(closest, (Pairs{{0, 1}}));
    matrix.SupprimerElement(1);
    matrix.SupprimerElement(3);
    EXPECT_GE(matrix.PlusProchesPaires(closest), CMatriceTriangulaire::kRechercheMax);
    EXPECT_TRUE(closest.empty());
}

// The tree of the five rows 0, 10, 0, 10, 4 (merges (0,2), (1,3), (0,4), (0,1)), cut in 2
// groups and drawn down to 5 clusters: root m3 over m2 (m0 over rows 0, 2; row 4) and m1 (rows
// 1, 3). Leaves in drawing order 0, 2, 4, 1, 3 at 0 .. 4; m0 at 0.5, m2 halfway between 0.5 and
// 2 (1.25, not the mean of its leaves), m1 3.5, root (1.25 + 3.5) / 2 = 2.375. Drawing rows:
// leaves 0, then m0 1, m1 2, m2 3, root 4. Reduced: x = 20 row + 8, y = trunc(10 p) + 10;
// detailed: x = 55 row + 28, y = trunc(34 p) + 34.
TEST(Dendogramme, FiveLeavesPlacedAndDrawnInBothModes) {
    CMoteurClassificationNumerique engine(5, 1, 0, kFive.data());
    ASSERT_TRUE(engine.Executer(false, 0, 0));
    CDendogramme d;
    engine.ConstruireDendogramme(2, 5, d);
    const struct {
        int fusion;
        std::vector<std::int32_t> rows;
        double position;
        int rang;
        CDendogramme::Point reduit;
        CDendogramme::Point detaille;
        int groupe;
    } nodes[] = {
        {3, {0, 2, 4, 1, 3}, 2.375, 4, {88, 33}, {248, 114}, 0},
        {2, {0, 2, 4}, 1.25, 3, {68, 22}, {193, 76}, 1},
        {0, {0, 2}, 0.5, 1, {28, 15}, {83, 51}, 0},
        {-1, {0}, 0, 0, {8, 10}, {28, 34}, 0},
        {-1, {2}, 1, 0, {8, 20}, {28, 68}, 0},
        {-1, {4}, 2, 0, {8, 30}, {28, 102}, 0},
        {1, {1, 3}, 3.5, 2, {48, 45}, {138, 153}, 2},
        {-1, {1}, 3, 0, {8, 40}, {28, 136}, 0},
        {-1, {3}, 4, 0, {8, 50}, {28, 170}, 0},
    };
    ASSERT_EQ(d.Noeuds().size(), 9u);
    for (std::size_t n = 0; n < 9; ++n) {
        const CClassificationGroupe& node = *d.Noeuds()[n];
        EXPECT_EQ(node.numeroFusion, nodes[n].fusion) << n;
        EXPECT_EQ(CDendogramme::Interviews(node), nodes[n].rows) << n;
        EXPECT_EQ(node.nbInterviews, static_cast<int>(nodes[n].rows.size())) << n;
        EXPECT_EQ(node.position, nodes[n].position) << n;
        EXPECT_EQ(node.rangDessin, nodes[n].rang) << n;
        EXPECT_EQ(CDendogramme::Coordonnees(node, CDendogramme::Mode::Reduit), nodes[n].reduit) << n;
        EXPECT_EQ(CDendogramme::Coordonnees(node, CDendogramme::Mode::Detaille), nodes[n].detaille) << n;
        EXPECT_EQ(node.numeroGroupe, nodes[n].groupe) << n;
    }
    EXPECT_EQ(d.NombreRangs(), 5);
    EXPECT_EQ(d.NombreGroupes(), 2);
    // Width: row step x 5 rows + 50; height: (5 clusters shown + 2) x leaf spacing.
    EXPECT_EQ(d.TailleDefilement(CDendogramme::Mode::Reduit), (CDendogramme::Point{150, 70}));
    EXPECT_EQ(d.TailleDefilement(CDendogramme::Mode::Detaille), (CDendogramme::Point{325, 238}));
    EXPECT_EQ(d.Noeuds()[0]->niveau, 0.0);
    EXPECT_NEAR(d.Noeuds()[1]->niveau, engine.Niveaux()[2], 0);
    EXPECT_EQ(d.Noeuds()[3]->niveau, 100.0);
}

// Drawn down to 2 clusters, the two groups are not split: they hold their interviews
// themselves. Cut in more groups than a path has merges, the leaves of the path join the
// partition.
TEST(Dendogramme, ClustersNotShownKeepTheirMembers) {
    CMoteurClassificationNumerique engine(5, 1, 0, kFive.data());
    ASSERT_TRUE(engine.Executer(false, 0, 0));
    CDendogramme d;
    engine.ConstruireDendogramme(2, 2, d);
    ASSERT_EQ(d.Noeuds().size(), 3u);
    EXPECT_EQ(std::set<std::int32_t>(d.Noeuds()[1]->membres.begin(), d.Noeuds()[1]->membres.end()),
              (std::set<std::int32_t>{0, 2, 4}));
    EXPECT_EQ(d.Noeuds()[1]->nbInterviews, 3);
    EXPECT_EQ(d.Noeuds()[2]->nbInterviews, 2);
    EXPECT_EQ(d.Noeuds()[0]->nbInterviews, 5);

    CDendogramme fine;
    engine.ConstruireDendogramme(5, 5, fine);
    ASSERT_EQ(fine.NombreGroupes(), 5);
    for (int g = 0; g < 5; ++g)
        EXPECT_EQ(fine.Groupe(g)->numeroFusion, -1) << g;
    EXPECT_EQ(CDendogramme::Interviews(*fine.Groupe(2)), (std::vector<std::int32_t>{4}));
}

} // namespace

namespace {

// Three million items would need 36 TB of distances: a message, not a crash.
TEST(MoteurClassification, DistancesTooLargeForMemoryAreAMessage) {
    const std::vector<double> table(3000000, 1.0);
    CMoteurClassificationNumerique engine(3000000, 1, 0, table.data());
    EXPECT_FALSE(engine.Executer(false, 0, 0));
    EXPECT_EQ(engine.GetErreur(), Message(StringTable::kPasAssezDeMemoire));
}

} // namespace

namespace {

// What the window draws of the five-leaf tree above. Reduced: m0 at (28, 15) over rows 0 at
// (8, 10) and 2 at (8, 20): lines (28, 15) -> (23, 10) -> (8, 10) and (28, 15) -> (23, 20) ->
// (8, 20); a circle of radius 4 per node, red for the two groups. Detailed: the group m2 at
// (193, 76): box (168, 62, 218, 90), "Groupe 1" over (168, 62, 218, 76), its 3 interviews in
// (169, 77, 192, 90), its level in (194, 77, 217, 90).
TEST(DendogrammeDessin, LinesNodesAndTextAreasOfBothModes) {
    CMoteurClassificationNumerique engine(5, 1, 0, kFive.data());
    ASSERT_TRUE(engine.Executer(false, 0, 0));
    CDendogramme d;
    engine.ConstruireDendogramme(2, 5, d);

    const DendogrammeDessin reduced = DendogrammeDessin::Dessiner(d, CDendogramme::Mode::Reduit);
    ASSERT_EQ(reduced.traits.size(), 8u);
    ASSERT_EQ(reduced.noeuds.size(), 9u);
    // Root (88, 33) to m2 (68, 22), m2 to m0 (28, 15), m0 to its two rows.
    EXPECT_EQ(reduced.traits[0], (DendogrammeDessin::Trait{{88, 33}, {83, 22}, {68, 22}}));
    EXPECT_EQ(reduced.traits[1], (DendogrammeDessin::Trait{{68, 22}, {63, 15}, {28, 15}}));
    EXPECT_EQ(reduced.traits[2], (DendogrammeDessin::Trait{{28, 15}, {23, 10}, {8, 10}}));
    EXPECT_EQ(reduced.traits[3], (DendogrammeDessin::Trait{{28, 15}, {23, 20}, {8, 20}}));
    EXPECT_EQ(reduced.noeuds[0].forme, (DendogrammeDessin::Rect{4, 6, 12, 14}));
    int red = 0;
    for (const auto& node : reduced.noeuds)
        red += node.partition ? 1 : 0;
    EXPECT_EQ(red, 2);
    EXPECT_EQ(reduced.noeuds.back().centre, (CDendogramme::Point{88, 33})) << "the root drawn last";
    EXPECT_EQ(reduced.taille, (CDendogramme::Point{150, 70}));

    const DendogrammeDessin detailed = DendogrammeDessin::Dessiner(d, CDendogramme::Mode::Detaille);
    const auto group = std::find_if(detailed.noeuds.begin(), detailed.noeuds.end(),
                                    [](const auto& node) { return node.groupe->numeroGroupe == 1; });
    ASSERT_NE(group, detailed.noeuds.end());
    EXPECT_EQ(group->centre, (CDendogramme::Point{193, 76}));
    EXPECT_EQ(group->forme, (DendogrammeDessin::Rect{168, 62, 218, 90}));
    EXPECT_EQ(group->zoneGroupe, (DendogrammeDessin::Rect{168, 62, 218, 76}));
    EXPECT_EQ(group->zoneInterviews, (DendogrammeDessin::Rect{169, 77, 192, 90}));
    EXPECT_EQ(group->zoneNiveau, (DendogrammeDessin::Rect{194, 77, 217, 90}));
    EXPECT_EQ(group->groupe->nbInterviews, 3);
    // A node outside the partition has no group text.
    EXPECT_EQ(detailed.noeuds.back().zoneGroupe, DendogrammeDessin::Rect{});
    EXPECT_EQ(detailed.taille, (CDendogramme::Point{325, 238}));
}

} // namespace
