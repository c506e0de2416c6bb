// The axis builders that give one side of a sub-request a line of a profile.
#include "RequestTestSupport.h"
#include "app/ContexteEtude.h"
#include "app/Ligne.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "app/Registre.h"
#include "support/SettingsFixture.h"
#include "tabulation/AxesTraitement.h"
#include "tabulation/Profil.h"
#include "tabulation/Traitement.h"
#include "tools/qesbuild/DescriptionParser.h"
#include "tools/qesbuild/QesWriter.h"

#include <cstdint>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace AxesTraitement;
using tabulation_test::Modalities;

std::vector<std::int32_t> Codes(const CTraitement::Lignes& lines) {
    std::vector<std::int32_t> codes;
    for (const auto& line : lines)
        codes.push_back(line->code);
    return codes;
}

// ---- On an in-memory survey (no Total pseudo-modality: it exists once a questionnaire is open) ----

// The profile: Q1 with modalities 1 and 3, a separator, Q2 with modalities 1 and 2.
class AxesTraitementTest : public tabulation_test::RequestFixture {
protected:
    void SetUp() override {
        RequestFixture::SetUp();
        profile.Add(q1, Chosen(*q1, {0, 2}));
        profile.AddSeparator();
        profile.Add(q2, Chosen(*q2, {0, 1}));
        request.title = "Avant";
    }

    CProfil profile;
    CTraitement request;
};

TEST_F(AxesTraitementTest, AxisWithTotalTakesTheLineQuestionAndItsModalities) {
    EXPECT_EQ(AjouterAxeAvecTotal(request, profile, 2, CTraitement::kColonnes, false), q2);
    EXPECT_EQ(request.GetQuestionAxe(CTraitement::kColonnes), q2);
    EXPECT_EQ(Codes(request.GetModalitesAxe(CTraitement::kColonnes)), (std::vector<std::int32_t>{1, 2}));
    EXPECT_TRUE(request.GetModalitesAxe(CTraitement::kLignes).empty());
}

TEST_F(AxesTraitementTest, AxisWithTotalBeforeAnySurveyIsOpenHasNoTotalLine) {
    ASSERT_EQ(survey.DonnerModaliteTotal(0), nullptr);
    EXPECT_EQ(AjouterAxeAvecTotal(request, profile, 0, CTraitement::kLignes, true), q1);
    EXPECT_EQ(Codes(request.GetModalitesAxe(CTraitement::kLignes)), (std::vector<std::int32_t>{1, 3}));
}

// A separator or an index past the lines names no question: the request keeps what it had.
TEST_F(AxesTraitementTest, LineWithoutQuestionLeavesTheRequestAsItWas) {
    ASSERT_EQ(AjouterAxeAvecTotal(request, profile, 0, CTraitement::kLignes, false), q1);
    for (int index : {1, 3, -1}) {
        SCOPED_TRACE(testing::Message() << "line " << index);
        EXPECT_EQ(AjouterAxeAvecTotal(request, profile, index, CTraitement::kLignes, true), nullptr);
        EXPECT_EQ(DefinirAxeQuestion(request, profile, index, CTraitement::kLignes), nullptr);
        DefinirAxeProfilQuestion(request, profile, index, CTraitement::kLignes);

        EXPECT_EQ(request.GetQuestionAxe(CTraitement::kLignes), q1);
        EXPECT_EQ(Codes(request.GetModalitesAxe(CTraitement::kLignes)), (std::vector<std::int32_t>{1, 3}));
        EXPECT_EQ(request.GetProfilAxe(CTraitement::kLignes), nullptr);
        EXPECT_EQ(request.title, "Avant");
    }
}

TEST_F(AxesTraitementTest, ProfileAxisHoldsTheOneLineAndTheTitleIsTheQuestionCaption) {
    DefinirAxeProfilQuestion(request, profile, 2, CTraitement::kColonnes);

    const CProfil* axisProfile = request.GetProfilAxe(CTraitement::kColonnes);
    ASSERT_NE(axisProfile, nullptr);
    EXPECT_NE(axisProfile, &profile);
    ASSERT_EQ(axisProfile->GetCount(), 1);
    EXPECT_EQ(axisProfile->GetQuestion(0), q2);
    const CSousProfil* line = axisProfile->GetSousProfil(0);
    ASSERT_NE(line, nullptr);
    ASSERT_EQ(line->GetNbreModalites(), 2);
    EXPECT_EQ(line->Modalites()[0]->code, 1);
    EXPECT_EQ(line->Modalites()[1]->code, 2);
    EXPECT_EQ(request.title, q2->GetCaption());
    EXPECT_EQ(request.GetProfilAxe(CTraitement::kLignes), nullptr);
    // The profile read from stays whole.
    EXPECT_EQ(profile.GetCount(), 3);
}

TEST_F(AxesTraitementTest, QuestionAxisTakesTheLineQuestion) {
    EXPECT_EQ(DefinirAxeQuestion(request, profile, 2, CTraitement::kLignes), q2);
    EXPECT_EQ(request.GetQuestionAxe(CTraitement::kLignes), q2);
    EXPECT_EQ(request.GetQuestionAxe(CTraitement::kColonnes), nullptr);
}

// ---- On an open questionnaire, whose row and column Totals exist ----

constexpr const char* kOneQuestion = R"(
questionnaire "Total" language=fr
language 1036 fr "Français"
question 1 COULEUR closed
  modality 1 fr "Rouge"
  modality 2 fr "Vert"
  modality 3 fr "Bleu"
records
Cle1,1;1
1,1
end
)";

class AxeAvecTotalTest : public SettingsFixture {
protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        folder = std::filesystem::path(::testing::TempDir()) /
                 (std::string("axes_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        const std::string path = (folder / "total.qes").string();
        qesbuild::FixtureDescription fixture =
            qesbuild::DescriptionParser::Parse(kOneQuestion, "total.txt", folder);
        qesbuild::WriteFixture(fixture, path);
        context.questionnairePath = path;
        ASSERT_TRUE(context.OuvrirEtude()) << context.GetLastError();
        question = context.TrouverQuestionParNom("COULEUR");
        ASSERT_NE(question, nullptr);
        Modalities chosen;
        for (int i : {0, 2})
            chosen.push_back(std::make_unique<CModaliteEtendue>(*question->GetModaliteEtendue(i)));
        profile.Add(question, chosen);
        // The column Total is told apart from the row Total by its kept flag.
        context.DonnerModaliteTotal(1)->selected = false;
    }
    void TearDown() override {
        std::filesystem::remove_all(folder);
        SettingsFixture::TearDown();
    }

    std::filesystem::path folder;
    CContexteEtude context;
    CQuestionEtendue* question = nullptr;
    CProfil profile;
};

TEST_F(AxeAvecTotalTest, TotalGoesFirstOrLastAsTheOptionSaysWithTheTotalOfItsAxis) {
    const struct {
        bool totalBefore;
        int axis;
        std::vector<std::int32_t> codes;
        std::size_t totalAt;
    } cases[] = {
        {true, CTraitement::kLignes, {CLigne::kTotalCode, 1, 3}, 0},
        {false, CTraitement::kLignes, {1, 3, CLigne::kTotalCode}, 2},
        {true, CTraitement::kColonnes, {CLigne::kTotalCode, 1, 3}, 0},
        {false, CTraitement::kColonnes, {1, 3, CLigne::kTotalCode}, 2},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(testing::Message() << "Total before " << test.totalBefore << ", axis " << test.axis);
        CRegistre::SetIsTotalBefore(test.totalBefore);
        CTraitement request;
        EXPECT_EQ(AjouterAxeAvecTotal(request, profile, 0, test.axis, true), question);

        const CTraitement::Lignes& lines = request.GetModalitesAxe(test.axis);
        ASSERT_EQ(Codes(lines), test.codes);
        const CModaliteEtendue& total = *context.DonnerModaliteTotal(test.axis);
        EXPECT_EQ(lines[test.totalAt]->label, total.GetShortCaption());
        EXPECT_EQ(lines[test.totalAt]->kept, total.selected ? 1 : 0);
    }
}

TEST_F(AxeAvecTotalTest, WithoutTotalAskedNoTotalLine) {
    CRegistre::SetIsTotalBefore(true);
    CTraitement request;
    AjouterAxeAvecTotal(request, profile, 0, CTraitement::kLignes, false);
    EXPECT_EQ(Codes(request.GetModalitesAxe(CTraitement::kLignes)), (std::vector<std::int32_t>{1, 3}));
}

} // namespace
