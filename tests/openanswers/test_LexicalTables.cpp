#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "OpenAnswersFixture.h"
#include "app/ChampCondition.h"
#include "app/ChampEtude.h"
#include "app/MatriceCodes.h"
#include "openanswers/ReponsesCaracteristiques.h"
#include "openanswers/FormeSurRepresentee.h"
#include "tabulation/Tableau.h"

namespace {

using Table = std::vector<std::int32_t>;

// Two categories with tokens (Un: 6, Deux: 5), a third without any; interview 5 did not answer
// GROUPE, which puts it in the question's fourth modality, "not asked"; interview 6 is empty.
// Forms in order: bleu, rouge, vert.
const std::vector<std::string> kAnswers = {"rouge vert rouge", "Rouge rouge bleu", "vert bleu bleu",
                                           "vert bleu", "rouge", ""};
const std::vector<int> kCategories = {1, 1, 2, 2, 0, 1};

class LexicalTablesTest : public OpenAnswersTest {
protected:
    void SetUp() override {
        OpenAnswersTest::SetUp();
        OpenAnswers(kAnswers, kCategories);
        corpus = Corpus();
    }
    int Form(const char* text) {
        int index = -1;
        EXPECT_TRUE(corpus->ChercherForme(text, index)) << text;
        return index;
    }
    std::unique_ptr<COuvCorpus> corpus;
};

TEST_F(LexicalTablesTest, TableOfFormsByCategory) {
    int M = 0;
    const auto table = corpus->ConstruireTableLexicale(false, Named("GROUPE"), M);
    ASSERT_TRUE(table.has_value());
    ASSERT_EQ(M, 4);
    // Rows bleu, rouge, vert, margins; columns Un, Deux, Trois, not asked, margin. By hand.
    EXPECT_EQ(*table, (Table{1, 3, 0, 0, 4,   //
                             4, 0, 0, 1, 5,   //
                             1, 2, 0, 0, 3,   //
                             6, 5, 0, 1, 12}));
}

// The forms of a lemma move to its row; the margin row stays.
TEST_F(LexicalTablesTest, LemmatisedTable) {
    const int lemma = corpus->CreerLemme({Form("vert"), Form("bleu")});
    ASSERT_EQ(lemma, 3);
    int M = 0;
    const auto raw = corpus->ConstruireTableLexicale(false, Named("GROUPE"), M);
    const auto table = corpus->ConstruireTableLexicale(true, Named("GROUPE"), M);
    ASSERT_TRUE(raw && table);
    EXPECT_EQ(*raw, (Table{1, 3, 0, 0, 4, 4, 0, 0, 1, 5, 1, 2, 0, 0, 3, 0, 0, 0, 0, 0, 6, 5, 0, 1, 12}));
    EXPECT_EQ(*table, (Table{0, 0, 0, 0, 0, 4, 0, 0, 1, 5, 0, 0, 0, 0, 0, 2, 5, 0, 0, 7, 6, 5, 0, 1, 12}));
    const std::vector<std::uint32_t> lemmatised = corpus->CorpusLemmatise();
    const std::uint32_t E = COuvCorpus::kFinReponse;
    EXPECT_EQ(lemmatised, (std::vector<std::uint32_t>{1, 3, 1, E, 1, 1, 3, E, 3, 3, 3, E, 3, 3, E, 1, E, E}));
}

// Each value is sign(d) x sqrt(prop.test(x, n, p, correct = FALSE)$statistic) in R 4.2, with x
// the form's count in the category, n the category's tokens and p the form's share of the 12.
TEST_F(LexicalTablesTest, SpecificitiesEqualTheProportionTest) {
    int M = 0;
    const auto table = corpus->ConstruireTableLexicale(false, Named("GROUPE"), M);
    ASSERT_TRUE(table);
    const std::vector<double> z = corpus->CalculerSpecificites(*table, M);
    struct Case {
        const char* form;
        int category;
        double value;
    };
    const std::vector<Case> cases = {
        {"bleu", 0, -0.8660254037844386},   // prop.test(1, 6, 4/12)
        {"bleu", 1, 1.264911064067352},     // prop.test(3, 5, 4/12)
        {"rouge", 0, 1.2421180068162376},   // prop.test(4, 6, 5/12)
        {"rouge", 1, -1.8898223650461365},  // prop.test(0, 5, 5/12)
        {"rouge", 3, 1.1832159566199232},   // prop.test(1, 1, 5/12)
        {"vert", 0, -0.47140452079103168},  // prop.test(1, 6, 3/12)
        {"vert", 1, 0.7745966692414834},    // prop.test(2, 5, 3/12)
        {"vert", 2, 0.0},                   // a category without tokens
    };
    for (const Case& c : cases)
        EXPECT_NEAR(z[static_cast<std::size_t>(Form(c.form) * M + c.category)], c.value, 1e-10) << c.form;
}

TEST_F(LexicalTablesTest, SegmentsByCategory) {
    ASSERT_TRUE(corpus->ChargerSegments());
    ASSERT_EQ(SegmentTexts(*corpus), std::vector<std::string>{"vert bleu"});
    int M = 0;
    const auto table = corpus->ConstruireTableLexicaleSegments(Named("GROUPE"), M);
    ASSERT_TRUE(table);
    // The margin row counts tokens by category.
    EXPECT_EQ(*table, (Table{0, 2, 0, 0, 2, 6, 5, 0, 1, 12}));
    const std::vector<double> z = corpus->CalculerSpecificitesSegments(*table, M);
    EXPECT_NEAR(z[0], -1.0954451150103321, 1e-10); // prop.test(0, 6, 2/12)
    EXPECT_NEAR(z[1], 1.4000000000000001, 1e-10);  // prop.test(2, 5, 2/12)
    EXPECT_EQ(z[2], 0.0);
}

TEST(SelectionnerSurRepresentees, LargestValuesFirstTiesInRowOrder) {
    // One category; rows 0 .. 4 with margins 5, 5, 5, 5, 2.
    const std::vector<double> z = {2.0, 1.5, 1.5, 1.5, 3.0};
    const Table table = {0, 5, 0, 5, 0, 5, 0, 5, 0, 2, 0, 22};
    const auto indexes = [](const std::vector<FormeSurRepresentee>& selected) {
        std::vector<int> rows;
        for (const FormeSurRepresentee& s : selected)
            rows.push_back(s.index);
        return rows;
    };
    EXPECT_EQ(indexes(SelectionnerSurRepresentees(z, table, 1, 0, 3, 2)), (std::vector<int>{0, 1, 2}));
    // The margin must be strictly above the minimum: row 4 (margin 2) enters with 1, not with 2.
    EXPECT_EQ(indexes(SelectionnerSurRepresentees(z, table, 1, 0, 3, 1)), (std::vector<int>{4, 0, 1}));
    EXPECT_TRUE(SelectionnerSurRepresentees(z, table, 1, 0, 0, 0).empty());
    const std::vector<double> negative = {-1.0, 0.0, -2.0, 0.0, -3.0};
    EXPECT_TRUE(SelectionnerSurRepresentees(negative, table, 1, 0, 3, 0).empty());
}

TEST(Classer, EqualValuesShareARank) {
    // Two categories, four rows.
    std::vector<double> z = {0.5, 1.0, 2.0, 1.0, 0.5, 1.0, -1.0, 1.0};
    const std::vector<int> ranks = COuvCorpus::Classer(z, 4, 2);
    // Category 0: 2.0 first, the two 0.5 share rank 1, -1.0 is rank 3; category 1: all equal.
    EXPECT_EQ(ranks, (std::vector<int>{1, 0, 0, 0, 1, 0, 3, 0}));
}

// Scores worked by hand (see the comments); ties keep the earlier answer first.
TEST_F(LexicalTablesTest, CharacteristicAnswers) {
    int M = 0;
    const auto table = corpus->ConstruireTableLexicale(false, Named("GROUPE"), M);
    ASSERT_TRUE(table);
    CMatriceCodes codes;
    ASSERT_TRUE(corpus->LireCategories(Named("GROUPE"), codes));
    using R = ReponsesCaracteristiques;
    const auto answers = [](const std::vector<R::Reponse>& list) {
        std::vector<std::uint32_t> indexes;
        for (const R::Reponse& r : list)
            indexes.push_back(r.answer);
        return indexes;
    };
    // Long: 12 tokens x sum over bleu, rouge, vert of (x/n - T(i,j)/T(E,j))^2 / T(i,M).
    // Un: answers 0 and 1 both 12 x (1/144 + 1/108) = 7/36; the empty answer 5 is not scored.
    // Deux: answer 2 12 x (1/900 + 1/675) = 7/225, answer 3 12 x (1/400 + 1/300) = 7/100.
    const auto longs = R::Calculer(corpus->DonnerCorpus(), codes, *table, M, 3, R::kLongues, {});
    ASSERT_EQ(longs.size(), 4u);
    EXPECT_EQ(answers(longs[0]), (std::vector<std::uint32_t>{0, 1}));
    EXPECT_NEAR(longs[0][0].score, 7.0 / 36, 1e-12);
    EXPECT_EQ(longs[0][0].score, longs[0][1].score);
    EXPECT_EQ(answers(longs[1]), (std::vector<std::uint32_t>{2, 3}));
    EXPECT_NEAR(longs[1][0].score, 7.0 / 225, 1e-12);
    EXPECT_NEAR(longs[1][1].score, 7.0 / 100, 1e-12);
    EXPECT_TRUE(longs[2].empty()); // Trois has no token
    // Not asked: answer 4 «rouge» has the category's own profile, distance 0.
    EXPECT_EQ(answers(longs[3]), std::vector<std::uint32_t>{4});
    EXPECT_NEAR(longs[3][0].score, 0.0, 1e-12);
    // N = 1 keeps the first of the tie.
    EXPECT_EQ(answers(R::Calculer(corpus->DonnerCorpus(), codes, *table, M, 1, R::kLongues, {})[0]),
              std::vector<std::uint32_t>{0});
    EXPECT_TRUE(R::Calculer(corpus->DonnerCorpus(), codes, *table, M, 0, R::kLongues, {})[0].empty());

    // Short: ranks of the test values above, Un: rouge 0, vert 1, bleu 2; Deux: bleu 0, vert 1,
    // rouge 2. Un: answer 0 (0 + 1 + 0) / 3, answer 1 (0 + 0 + 2) / 3; Deux: answer 2 1/3, 3 1/2.
    std::vector<double> z = corpus->CalculerSpecificites(*table, M);
    const std::vector<int> ranks = COuvCorpus::Classer(z, corpus->GetNbreFormes(), M);
    const auto shorts = R::Calculer(corpus->DonnerCorpus(), codes, *table, M, 3, R::kCourtes, ranks);
    EXPECT_EQ(answers(shorts[0]), (std::vector<std::uint32_t>{0, 1}));
    EXPECT_NEAR(shorts[0][0].score, 1.0 / 3, 1e-12);
    EXPECT_NEAR(shorts[0][1].score, 2.0 / 3, 1e-12);
    EXPECT_EQ(answers(shorts[1]), (std::vector<std::uint32_t>{2, 3}));
    EXPECT_NEAR(shorts[1][1].score, 0.5, 1e-12);
}

// Recounted on the interviews of the category Un (1, 2 and the empty 6): bleu 1, rouge 4, vert 1;
// the lemma of vert and bleu 2; the segment «vert bleu», said by Deux only, 0.
TEST_F(LexicalTablesTest, FrequenciesInAStudyField) {
    CChampEtude un;
    un.id = 50;
    un.name = "Groupe un";
    CChampCondition& condition = un.conditions[0];
    condition.SetQuestion(&Named("GROUPE"));
    condition.kind = 0;
    condition.SetModalites({0});
    un.connectors = {1, 1, 1};
    context.MettreAJourChampEtude(un);
    const int lemma = corpus->CreerLemme({Form("vert"), Form("bleu")});
    ASSERT_TRUE(corpus->ChargerSegments());
    ASSERT_TRUE(corpus->RecalculerFrequences(50));
    ASSERT_TRUE(corpus->RecalculerFrequencesSegments(50));
    EXPECT_EQ(corpus->GetNombreReponses(), 3);
    EXPECT_EQ(corpus->DonnerForme(Form("rouge"))->frequency, 4);
    EXPECT_EQ(corpus->DonnerForme(0)->frequency, 1);  // bleu, hidden in the lemma
    EXPECT_EQ(corpus->DonnerForme(2)->frequency, 1);  // vert
    EXPECT_EQ(corpus->DonnerForme(lemma)->frequency, 2);
    EXPECT_EQ(corpus->DonnerSegment(0)->frequency, 0);
    // Every interview again.
    ASSERT_TRUE(corpus->RecalculerFrequences(-1));
    EXPECT_EQ(corpus->GetNombreReponses(), 6);
    EXPECT_EQ(corpus->DonnerForme(lemma)->frequency, 7);
}

TEST_F(LexicalTablesTest, DictionaryTable) {
    corpus->CreerLemme({Form("vert"), Form("bleu")});
    struct Case {
        int minimum;
        int key;
        std::vector<std::pair<std::string, double>> rows;
    };
    const std::vector<Case> cases = {
        {0, COuvCorpus::kTriTexte, {{"rouge", 5}, {"vert", 7}}},
        {0, COuvCorpus::kTriFrequence, {{"vert", 7}, {"rouge", 5}}},
        {6, COuvCorpus::kTriTexte, {{"vert", 7}}},
        {8, COuvCorpus::kTriTexte, {}},
    };
    for (const Case& c : cases) {
        const auto table = corpus->ConstruireTableauDictionnaire(c.minimum, true, c.key);
        ASSERT_EQ(table->RowCount(), static_cast<int>(c.rows.size()));
        EXPECT_EQ(table->title, "Dictionnaire de 'Votre avis'");
        EXPECT_EQ(table->GetLibelleColonne(0, 0), "Effectif");
        EXPECT_EQ(table->base, 6);
        for (int r = 0; r < table->RowCount(); ++r) {
            EXPECT_EQ(table->GetLibelleLigne(0, r), c.rows[static_cast<std::size_t>(r)].first);
            EXPECT_EQ(table->GetValeur(r, 0), c.rows[static_cast<std::size_t>(r)].second);
        }
    }
}

} // namespace
