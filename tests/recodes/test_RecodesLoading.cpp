#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "RecodesTestSupport.h"
#include "app/ContexteEtude.h"
#include "app/DBQuestionnaire.h"
#include "app/QuestionNiveau.h"
#include "app/TblRecode.h"
#include "recodes/RecodageIntervalle.h"
#include "recodes/RecodageModalite.h"
#include "support/RecordingUserInterface.h"
#include "tools/qesbuild/DescriptionParser.h"
#include "tools/qesbuild/QesWriter.h"

using namespace recodes_test;

namespace {

constexpr const char* kQuestionnaire = R"(
questionnaire "Recodes" language=fr
language 1036 fr "Français"
language 1033 en "English"
question 1 SEXE closed noanswer
  modality 1 fr "Homme" en "Man"
  modality 2 fr "Femme" en "Woman"
question 2 AGE numeric
loop 50 L expand
  modality 1 fr "A"
  modality 2 fr "B"
  question 51 NOTE numeric
  question 52 AVIS open
end
loop 500 PERSONNES count=4
  question 501 AGEP numeric
end
records
Cle1,1;1,2;1
1,1,34
2,2,51
end
)";

// One record of "MFW Recode".
struct RecodeRecord {
    std::int16_t type;
    std::int32_t question;
    std::int32_t sourceRecode;
    const char* label;
    const char* regroupement = "";
    std::int16_t sousType = 0;
    bool cumule = false;
    bool moins = false;
    bool plus = false;
    const char* unite = "";
    std::int32_t levelFrom = 0;
    std::int32_t levelTo = 0;
};

class RecodesLoadingTest : public RecodesFixture {
protected:
    void SetUp() override {
        RecodesFixture::SetUp();
        folder = std::filesystem::path(::testing::TempDir()) /
                 ("recodes_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        path = (folder / "recodes.qes").string();
        qesbuild::FixtureDescription fixture = qesbuild::DescriptionParser::Parse(kQuestionnaire, "recodes.txt", folder);
        qesbuild::WriteFixture(fixture, path);
        auto recorder = std::make_unique<RecordingUserInterface>();
        ui = recorder.get();
        context.SetUserInterface(std::move(recorder));
        context.questionnairePath = path;
    }
    void TearDown() override {
        std::filesystem::remove_all(folder);
        RecodesFixture::TearDown();
    }

    // Adds the records in order; their keys are 1, 2, 3...
    void AddRecodes(const std::vector<RecodeRecord>& records) {
        CDBQuestionnaire file(context);
        ASSERT_TRUE(file.Open(false));
        ASSERT_TRUE(CTblRecode::CreerTable(file.GetDatabase()));
        CTblRecode table(file.GetDatabase(), 404);
        table.Open();
        for (const RecodeRecord& record : records) {
            table.AddNew();
            table.m_Type = record.type;
            table.m_CodeQuestion = record.question;
            table.m_CodeRecodageQuestion = record.sourceRecode;
            table.m_Libelle = record.label;
            table.m_Regroupement = record.regroupement;
            table.m_SousType = record.sousType;
            table.m_EstCumule = record.cumule;
            table.m_EstMoins = record.moins;
            table.m_EstPlus = record.plus;
            table.m_Unite = record.unite;
            table.m_CodeNiveauDepart = record.levelFrom;
            table.m_CodeNiveauArrivee = record.levelTo;
            table.Update();
        }
    }

    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& question : context.questions)
            names.push_back(question->name);
        return names;
    }

    const CQuestionEtendue& Named(const std::string& name) const {
        const CQuestionEtendue* question = context.TrouverQuestionParNom(name);
        EXPECT_NE(question, nullptr) << name;
        return question != nullptr ? *question : *context.questions.front();
    }

    std::filesystem::path folder;
    std::string path;
    CContexteEtude context;
    RecordingUserInterface* ui = nullptr; // owned by the context
};

TEST_F(RecodesLoadingTest, TheLoaderInsertsEachRecodedQuestionAfterItsSource) {
    AddRecodes({
        {CRecodage::kModalite, 1, 0, "Sexe regroupé", "0;0;Tous|1;1;Homme|2;1;Femme|", 0, true},
        {CRecodage::kModalite, 1, 1, "Tout", "0;0;Tout le monde|1;1;Tous|"}, // a recode of the recode above
        {CRecodage::kIntervalle, 2, 0, "Tranches", "18@65@", 0, false, true, true, "ans"},
        {CRecodage::kIntervalle, 51, 0, "Notes", "10@", 0, false, false, true},
        {CRecodage::kLevelNumerique, 501, 0, "Âge moyen", "", 4, false, false, false, "", 500, 0},
        {4, 2, 0, "Type inconnu"},
        {CRecodage::kLevelModalite, 1, 0, "Pas au bon niveau", "", 0, false, false, false, "", 500, 0},
    });
    EnregistrerRecodages();
    ASSERT_TRUE(context.OuvrirEtude()) << context.GetLastError();
    EXPECT_TRUE(ui->shown.empty());

    EXPECT_EQ(Names(), (std::vector<std::string>{"SEXE", "Sexe regroupé", "Tout", "AGE", "Tranches", "L", "NOTE",
                                                 "Notes", "AVIS", "NOTE (A)", "NOTE (A) Notes", "AVIS (A)",
                                                 "NOTE (B)", "NOTE (B) Notes", "AVIS (B)", "PERSONNES", "AGEP",
                                                 "Âge moyen"}));

    const CQuestionEtendue& sexe = Named("SEXE");
    const CQuestionEtendue& grouped = Named("Sexe regroupé");
    EXPECT_EQ(grouped.code, 1);
    EXPECT_EQ(grouped.recodeId, 1);
    EXPECT_EQ(grouped.depth, sexe.depth + 1);
    EXPECT_EQ(grouped.type, 1);
    EXPECT_EQ(grouped.answerCount, 1);
    EXPECT_EQ(grouped.hasNoAnswer, 0);
    ASSERT_EQ(grouped.GetNbreModalite(), 1);
    EXPECT_EQ(Caption(grouped, 0, kFrench), "Tous");
    const auto* subTotals = dynamic_cast<const CRecodageModalite*>(grouped.GetRecodage());
    ASSERT_NE(subTotals, nullptr);
    EXPECT_TRUE(subTotals->GetEstCumule());
    EXPECT_EQ(subTotals->NodeCount(), 3);
    EXPECT_TRUE(subTotals->Node(0)->displayOptions[0]); // prepared after reading
    EXPECT_FALSE(subTotals->Node(1)->displayOptions[0]);
    EXPECT_EQ(Named("Tout").recodeId, 2);

    const CQuestionEtendue& bands = Named("Tranches");
    EXPECT_EQ(bands.type, 7);
    EXPECT_TRUE(bands.EstRecodageIntervalle());
    std::vector<std::string> french;
    std::vector<std::string> english;
    for (int i = 0; i < bands.GetNbreModalite(); ++i) {
        french.push_back(Caption(bands, i, kFrench));
        english.push_back(Caption(bands, i, kEnglish));
    }
    EXPECT_EQ(french, (std::vector<std::string>{"Moins de 18 ans", "De 18 à 65 ans", "65 ou plus ans", "Non interrogé"}));
    EXPECT_EQ(english, (std::vector<std::string>{"Less than 18 ans", "From 18 to 65 ans", "65 or more ans",
                                                 "Not asked"}));

    EXPECT_EQ(Named("NOTE (B) Notes").values, std::vector<std::int32_t>{2});

    const CQuestionEtendue& mean = Named("Âge moyen");
    EXPECT_EQ(mean.type, 5);
    EXPECT_EQ(mean.level, 0);
    EXPECT_EQ(mean.hasNoAnswer, 1);
    ASSERT_NE(mean.GetRecodage(), nullptr);
    EXPECT_EQ(mean.GetRecodage()->GetSousType(), 4);
    EXPECT_EQ(mean.GetRecodage()->GetNiveauDepart(), Named("AGEP").level);
    EXPECT_NE(Named("AGEP").level, 0);
}

TEST_F(RecodesLoadingTest, SupprimerDeletesTheRecodesRecordOnly) {
    AddRecodes({
        {CRecodage::kModalite, 1, 0, "Sexe regroupé", "0;0;Tous|1;1;Homme|2;1;Femme|"},
        {CRecodage::kIntervalle, 2, 0, "Tranches", "18@65@"},
    });
    EnregistrerRecodages();
    ASSERT_TRUE(context.OuvrirEtude()) << context.GetLastError();
    const CRecodage* bands = Named("Tranches").GetRecodage();
    ASSERT_NE(bands, nullptr);
    EXPECT_TRUE(bands->Supprimer());
    EXPECT_TRUE(ui->shown.empty());

    ASSERT_TRUE(context.OuvrirEtude()) << context.GetLastError();
    EXPECT_EQ(context.TrouverQuestionParNom("Tranches"), nullptr);
    EXPECT_NE(context.TrouverQuestionParNom("Sexe regroupé"), nullptr);
}

} // namespace
