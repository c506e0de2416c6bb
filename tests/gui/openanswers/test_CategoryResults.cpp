#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/Ligne.h"
#include "gui/openanswers/ResultatsLexicaux.h"
#include "openanswers/OpenAnswersFixture.h"
#include "tabulation/Tableau.h"

namespace {

// Categories Un (6 tokens) and Deux (5 tokens); Trois has none and interview 5, without a
// category, is in the fourth modality. Counts by hand: bleu 1 / 3 / 0 / 0 (margin 4), rouge
// 4 / 0 / 0 / 1 (5), vert 1 / 2 / 0 / 0 (3), of 12 tokens.
const std::vector<std::string> kAnswers = {"rouge vert rouge", "Rouge rouge bleu", "vert bleu bleu", "vert bleu",
                                           "rouge", ""};
const std::vector<int> kCategories = {1, 1, 2, 2, 0, 1};

struct Row {
    std::string label;
    std::vector<double> values;
};

std::vector<Row> Rows(const CTableau& table) {
    std::vector<Row> rows;
    for (int i = 0; i < table.RowCount(); ++i) {
        Row row{table.GetLibelleLigne(0, i), {}};
        for (int j = 0; j < table.ColumnCount(); ++j)
            row.values.push_back(table.GetValeur(i, j));
        rows.push_back(row);
    }
    return rows;
}

void ExpectRows(const CTableau& table, const std::vector<Row>& expected) {
    const std::vector<Row> rows = Rows(table);
    ASSERT_EQ(rows.size(), expected.size()) << table.title;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].label, expected[i].label);
        ASSERT_EQ(rows[i].values.size(), expected[i].values.size());
        for (std::size_t j = 0; j < rows[i].values.size(); ++j)
            EXPECT_NEAR(rows[i].values[j], expected[i].values[j], 1e-9) << rows[i].label << " column " << j;
    }
}

class CategoryResultsTest : public OpenAnswersTest {
protected:
    void SetUp() override {
        OpenAnswersTest::SetUp();
        OpenAnswers(kAnswers, kCategories);
        corpus = Corpus();
    }
    std::unique_ptr<COuvCorpus> corpus;
};

// The test value of x occurrences among the n tokens of a category, for a form of share p of
// the corpus: (x - n p) / sqrt(n p (1 - p)).
TEST_F(CategoryResultsTest, OverRepresentedFormsOfEachCategory) {
    const auto tables = ResultatsLexicaux::FormesSpecifiques(*corpus, Named("GROUPE"), false, 5, 2);
    ASSERT_TRUE(tables.has_value());
    ASSERT_EQ(tables->size(), 4u);
    const CTableau& un = *(*tables)[0];
    EXPECT_EQ(un.title, "Un");
    EXPECT_EQ(un.GetLibelleColonne(0, 0), "Valeur test");
    EXPECT_EQ(un.GetLibelleColonne(0, 1), "Occ. partie");
    EXPECT_EQ(un.GetLibelleColonne(0, 2), "Occ. corpus");
    EXPECT_EQ(un.base, 6.0); // the survey's interviews
    // rouge in Un: (4 - 6 x 5/12) / sqrt(6 x 5/12 x 7/12) = 1.5 / 1.2076147 = 1.2421180.
    ExpectRows(un, {{"rouge", {1.2421180068162376, 4, 5}}});
    // Deux: bleu (3 - 5/3) / sqrt(5 x 1/3 x 2/3) = 1.2649111; vert (2 - 1.25) / sqrt(5 x 1/4 x 3/4)
    // = 0.7745967; rouge is negative.
    ExpectRows(*(*tables)[1], {{"bleu", {1.264911064067352, 3, 4}}, {"vert", {0.7745966692414834, 2, 3}}});
    // Trois has no token: no positive value, an empty table still given.
    EXPECT_EQ((*tables)[2]->title, "Trois");
    ExpectRows(*(*tables)[2], {});
}

TEST_F(CategoryResultsTest, TheMarginMustExceedTheMinimumAndTheCountLimits) {
    // vert's margin 3 is not above 3.
    auto tables = ResultatsLexicaux::FormesSpecifiques(*corpus, Named("GROUPE"), false, 5, 3);
    ASSERT_TRUE(tables.has_value());
    ExpectRows(*(*tables)[1], {{"bleu", {1.264911064067352, 3, 4}}});
    tables = ResultatsLexicaux::FormesSpecifiques(*corpus, Named("GROUPE"), false, 0, 2);
    ASSERT_TRUE(tables.has_value());
    for (const auto& table : *tables)
        EXPECT_EQ(table->RowCount(), 0);
}

TEST_F(CategoryResultsTest, OverRepresentedSegments) {
    ASSERT_TRUE(corpus->ChargerSegments());
    const auto tables = ResultatsLexicaux::SegmentsSpecifiques(*corpus, Named("GROUPE"), 5, 1);
    ASSERT_TRUE(tables.has_value());
    // "vert bleu" twice, both in Deux: (2 - 5 x 2/12) / sqrt(5 x 1/6 x 5/6) = 1.1666667 / 0.8333333 = 1.4.
    ExpectRows(*(*tables)[0], {});
    ExpectRows(*(*tables)[1], {{"vert bleu", {1.4, 2, 2}}});
}

// GROUPE with two answers: the last interview is in Un and in Deux.
constexpr const char* kTwoCodes = "questionnaire \"Avis\" language=fr\n"
                                  "language 1036 fr \"Français\"\n"
                                  "question 1 AVIS open\n"
                                  "  caption fr \"Votre avis\"\n"
                                  "question 2 GROUPE closed answers=2\n"
                                  "  caption fr \"Groupe\"\n"
                                  "  modality 1 fr \"Un\"\n"
                                  "  modality 2 fr \"Deux\"\n"
                                  "records\n"
                                  "Cle1,1;1,2;1,2;2\n"
                                  "1,\"rouge vert\",1,\n"
                                  "2,\"rouge rouge\",1,\n"
                                  "3,\"bleu vert\",2,\n"
                                  "4,\"bleu bleu\",2,\n"
                                  "5,\"rouge bleu\",1,2\n"
                                  "end\n";

TEST_F(OpenAnswersTest, CharacteristicAnswersOfTwoCategories) {
    OpenFixture(kTwoCodes, "deux");
    auto corpus = Corpus();
    for (const int method : {0, 1}) {
        const auto tables = ResultatsLexicaux::Caracteristiques(*corpus, Named("GROUPE"), false, method, 10);
        ASSERT_TRUE(tables.has_value());
        ASSERT_GE(tables->size(), 2u);
        EXPECT_EQ((*tables)[0]->GetLibelleColonne(0, 0), "Distance");
        const auto labels = [](const CTableau& table) {
            std::vector<std::string> texts;
            for (const Row& row : Rows(table))
                texts.push_back(row.label);
            return texts;
        };
        const std::vector<std::string> un = labels(*(*tables)[0]);
        const std::vector<std::string> deux = labels(*(*tables)[1]);
        // Every answer of a category's interviews is scored there, once.
        EXPECT_EQ(un.size(), 3u) << method;
        EXPECT_EQ(deux.size(), 3u) << method;
        EXPECT_NE(std::find(un.begin(), un.end(), "rouge bleu"), un.end()) << method;
        EXPECT_NE(std::find(deux.begin(), deux.end(), "rouge bleu"), deux.end()) << method;
    }
}

} // namespace
