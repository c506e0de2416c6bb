// The treatment runner's dispatcher: which compute function each combination of row kind, column
// kind and type code reaches, and what happens to a request that reaches none.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "RequestTestSupport.h"
#include "app/StringTable.h"
#include "support/RecordingUserInterface.h"
#include "tabulation/ExecuteurTraitement.h"

using namespace tabulation_test;

namespace {

struct Combination {
    std::int16_t rowKind;
    std::int16_t columnKind;
    std::int16_t type;
    const char* expected; // null: an unknown pair of kinds; "": known, nothing computed
};

// The documented combinations, one per line, with a type code picked for the "any" entries.
const Combination kDocumented[] = {
    {0, 0, 2, "CalculerTriCroise"},
    {0, 0, 16, "CalculerTauxImportanceCroise"},
    {0, 4, 1, "CalculerTriSimple"},
    {0, 4, 11, "CalculerTriClassement"},
    {0, 4, 15, "CalculerTraitementMixte"},
    {0, 5, 7, "CalculerTableauMoyenne"},
    {0, 5, 3, "CalculerTableauMoyenne"},
    {1, 0, 12, "CalculerTriCroiseRegroupe"},
    {1, 0, 2, "CalculerTriCroiseRegroupe"},
    {1, 4, 9, "CalculerTriRegroupe"},
    {1, 4, 1, "CalculerTriRegroupe"},
    {2, 2, 8, "CalculerProfilsCroises"},
    {2, 2, 14, "CalculerTableauxEvolues"},
    {2, 3, 13, "CalculerProfilsCroisesMoyenne"},
    {2, 4, 4, "CalculerProfilsSimples"},
    {2, 4, 10, "CalculerComparaisonModalites"},
    {3, 4, 5, "CalculerProfilsStatistiques"},
    {5, 4, 3, "CalculerTableauStatistiques"},
    {5, 0, 99, "CalculerTableauStatistiques"},
    {5, -1, 3, "CalculerTableauStatistiques"},
    {6, -1, 17, "ConstruireTableauReponses"},
    {6, 4, 19, "ConstruireTableauDictionnaire"},
    {6, 4, 20, "ConstruireTableauSegments"},
    {6, 6, 18, "ConstruireTableauReponsesSelon"},
    {7, -1, 21, "CalculerProfilsOuvertes"},
};

// Known pairs whose type code no line takes, open answers by another column kind, and the pairs
// that no line names.
const Combination kOthers[] = {
    {0, 0, 1, ""},
    {0, 4, 2, ""},
    {2, 2, 4, ""},
    {2, 4, 8, ""},
    {6, 4, 1, ""},
    {6, 0, 17, ""},
    {7, 4, 21, ""},
    {4, 4, 1, nullptr},
    {4, 0, 2, nullptr},
    {3, 0, 5, nullptr},
    {1, 2, 9, nullptr},
    {2, 0, 8, nullptr},
    {0, 3, 2, nullptr},
    {8, 4, 1, nullptr},
    {-1, 4, 1, nullptr},
};

void ExpectDispatch(const Combination& c) {
    SCOPED_TRACE(testing::Message() << "rows " << c.rowKind << ", columns " << c.columnKind << ", type " << c.type);
    const char* name = CExecuteurTraitement::DonnerNomCalcul(c.rowKind, c.columnKind, c.type);
    if (c.expected == nullptr) {
        EXPECT_EQ(name, nullptr);
        return;
    }
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(std::string(name), c.expected);
}

TEST(ExecuteurTraitementDispatch, EveryDocumentedCombinationNamesItsComputeFunction) {
    for (const Combination& c : kDocumented)
        ExpectDispatch(c);
}

TEST(ExecuteurTraitementDispatch, OtherTypeCodesComputeNothingAndOtherPairsAreUnknown) {
    for (const Combination& c : kOthers)
        ExpectDispatch(c);
}

class ExecuteurTraitementTest : public RequestFixture {
protected:
    void SetUp() override {
        RequestFixture::SetUp();
        auto recording = std::make_unique<RecordingUserInterface>();
        ui = recording.get();
        survey.SetUserInterface(std::move(recording));
    }

    std::unique_ptr<CTraitement> Request(std::int16_t rowKind, std::int16_t columnKind, std::int16_t type) {
        auto request = std::make_unique<CTraitement>();
        request->type = type;
        request->SetTypeAxe(CTraitement::kLignes, rowKind);
        request->SetTypeAxe(CTraitement::kColonnes, columnKind);
        request->title = "T";
        return request;
    }

    RecordingUserInterface* ui = nullptr;
};

TEST_F(ExecuteurTraitementTest, UnknownPairIsRefusedWithAMessageAndNoTable) {
    CExecuteurTraitement executor(survey);
    EXPECT_EQ(executor.Executer(Request(4, 4, 1)), 0);
    EXPECT_EQ(executor.GetNbTableaux(), 0);
    ASSERT_EQ(ui->shown.size(), 1u);
    EXPECT_EQ(ui->shown[0].message, Message(StringTable::kTraitementInconnu, {"4", "4", "1"}));
    EXPECT_EQ(ui->waitDepth, 0);
    EXPECT_EQ(ui->waitCount, 1);
}

TEST_F(ExecuteurTraitementTest, KnownPairWithAnotherTypeCodeComputesNothingSilently) {
    CExecuteurTraitement executor(survey);
    EXPECT_EQ(executor.Executer(Request(0, 0, 1)), 1);
    EXPECT_EQ(executor.GetNbTableaux(), 0);
    EXPECT_TRUE(ui->shown.empty());
}

TEST_F(ExecuteurTraitementTest, TableNotYetComputedByThisVersionIsSaidSo) {
    CExecuteurTraitement executor(survey);
    EXPECT_EQ(executor.Executer(Request(6, -1, 17)), 1);
    EXPECT_EQ(executor.GetNbTableaux(), 0);
    ASSERT_EQ(ui->shown.size(), 1u);
    EXPECT_EQ(ui->shown[0].message, Message(StringTable::kTraitementNonDisponible, {"ConstruireTableauReponses"}));
}

TEST_F(ExecuteurTraitementTest, NullRequestIsNotAKnownCombination) {
    CExecuteurTraitement executor(survey);
    EXPECT_EQ(executor.Calculer(nullptr), 0);
    EXPECT_TRUE(ui->shown.empty());
}

TEST_F(ExecuteurTraitementTest, TablesAreKeptInOrderUntilTaken) {
    CExecuteurTraitement executor(survey);
    for (const char* title : {"A", "B"}) {
        auto table = std::make_unique<CTableau>(1, 1, 1, 1, 1);
        table->title = title;
        executor.AjouterTableau(std::move(table));
    }
    executor.AjouterTableau(nullptr);
    ASSERT_EQ(executor.GetNbTableaux(), 2);
    EXPECT_EQ(executor.GetTableau(1)->title, "B");
    EXPECT_EQ(executor.GetTableau(2), nullptr);
    EXPECT_EQ(executor.GetTableau(-1), nullptr);
    std::vector<std::unique_ptr<CTableau>> taken = executor.TakeTableaux();
    ASSERT_EQ(taken.size(), 2u);
    EXPECT_EQ(taken[0]->title, "A");
    EXPECT_EQ(executor.GetNbTableaux(), 0);
}

} // namespace
