// Answers of recoded questions read through the reading facade with the real recode classes, as
// the loader builds them from "MFW Recode": sub-totals, intervals, and both changes of level.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "RecodesTestSupport.h"
#include "app/ContexteEtude.h"
#include "app/DBQuestionnaire.h"
#include "app/DataAccess.h"
#include "app/MatriceCodes.h"
#include "app/Recodage.h"
#include "app/TblRecode.h"
#include "app/VecteurDouble.h"
#include "support/RecordingUserInterface.h"
#include "tools/qesbuild/DescriptionParser.h"
#include "tools/qesbuild/QesWriter.h"

using namespace recodes_test;

namespace {

constexpr double kNotAsked = -888888.88;
constexpr std::int16_t kE = CMatriceCodes::kEmptyCell;

// Member (4, 1) gave no age and no link.
constexpr const char* kHouseholds = R"(
questionnaire "Foyers" language=fr
language 1036 fr "Français"
question 1 SEXE closed noanswer
  modality 1 fr "Homme"
  modality 2 fr "Femme"
question 2 AGE numeric
loop 500 PERSONNES count=4
  question 501 AGEP numeric
  question 502 LIEN closed
    modality 1 fr "Chef"
    modality 2 fr "Conjoint"
    modality 3 fr "Enfant"
end
records
Cle1,1;1,2;1
1,1,15
2,2,40
3,-2,70
4,1,
end
records loop=500
Cle1,Cle2,Ordre,501;1,502;1
1,1,1,40,1
1,2,2,10,3
2,1,1,71,1
4,1,1,-999999.99,
4,2,2,30,2
end
)";

class RecodedAnswersTest : public RecodesFixture {
protected:
    void SetUp() override {
        RecodesFixture::SetUp();
        folder = std::filesystem::path(::testing::TempDir()) / "recoded_answers";
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        const std::string path = (folder / "foyers.qes").string();
        qesbuild::FixtureDescription fixture = qesbuild::DescriptionParser::Parse(kHouseholds, "foyers.txt", folder);
        qesbuild::WriteFixture(fixture, path);
        context.SetUserInterface(std::make_unique<RecordingUserInterface>());
        context.questionnairePath = path;
        AddRecode(CRecodage::kModalite, 1, "Sexe regroupé", "0;0;Tous|1;1;Homme|2;1;Femme|");
        AddRecode(CRecodage::kIntervalle, 2, "Tranches", "18@65@", 0, true, true);
        AddRecode(CRecodage::kLevelNumerique, 501, "Âge moyen", "", 4, false, false, 500, 0);
        AddRecode(CRecodage::kLevelModalite, 502, "Liens", "", 0, false, false, 500, 0);
        EnregistrerRecodages();
        ASSERT_TRUE(context.OuvrirEtude()) << context.GetLastError();
    }
    void TearDown() override {
        std::filesystem::remove_all(folder);
        RecodesFixture::TearDown();
    }

    void AddRecode(std::int16_t type, std::int32_t question, const char* label, const char* groups,
                   std::int16_t method = 0, bool below = false, bool above = false, std::int32_t from = 0,
                   std::int32_t to = 0) {
        CDBQuestionnaire file(context);
        ASSERT_TRUE(file.Open(false));
        ASSERT_TRUE(CTblRecode::CreerTable(file.GetDatabase()));
        CTblRecode table(file.GetDatabase(), 404);
        table.Open();
        table.AddNew();
        table.m_Type = type;
        table.m_CodeQuestion = question;
        table.m_Libelle = label;
        table.m_Regroupement = groups;
        table.m_SousType = method;
        table.m_EstMoins = below;
        table.m_EstPlus = above;
        table.m_CodeNiveauDepart = from;
        table.m_CodeNiveauArrivee = to;
        table.Update();
    }

    CQuestionEtendue& Named(const std::string& name) {
        CQuestionEtendue* question = context.TrouverQuestionParNom(name);
        EXPECT_NE(question, nullptr) << name;
        return *question;
    }

    std::vector<std::vector<std::int16_t>> Codes(const std::string& name) {
        CDataAccess access(context, false);
        CMatriceCodes* codes = nullptr;
        EXPECT_TRUE(access.LireReponsesFermees(Named(name), codes)) << access.GetErrorText();
        std::vector<std::vector<std::int16_t>> rows;
        for (int r = 0; codes != nullptr && r < codes->GetNbLignes(); ++r) {
            rows.emplace_back();
            for (int c = 0; c < codes->GetNbColonnes(); ++c)
                rows.back().push_back(codes->GetAt(r, c));
        }
        access.MemoriserReponsesFermees(Named(name), codes);
        return rows;
    }

    std::vector<double> Values(const std::string& name) {
        CDataAccess access(context, false);
        CVecteurDouble* values = nullptr;
        EXPECT_TRUE(access.LireValeursNumeriques(Named(name), values)) << access.GetErrorText();
        std::vector<double> out;
        for (int i = 0; values != nullptr && i < values->GetSize(); ++i)
            out.push_back(values->GetAt(i));
        access.MemoriserValeursNumeriques(Named(name), values);
        return out;
    }

    std::filesystem::path folder;
    CContexteEtude context;
};

TEST_F(RecodedAnswersTest, RecodedQuestionsAreReadFromTheQuestionTheyRecode) {
    // Sub-totals: Homme and Femme both lie in the group "Tous"; interview 3 gave no answer.
    using Rows = std::vector<std::vector<std::int16_t>>;
    EXPECT_EQ(Codes("Sexe regroupé"), (Rows{{0}, {0}, {kE}, {0}}));
    // Intervals: below 18, 18 to 65, 65 and more, then "Non interrogé" for interview 4.
    EXPECT_EQ(Codes("Tranches"), (Rows{{0}, {1}, {2}, {3}}));
    EXPECT_EQ(Values("Tranches"), (std::vector<double>{15, 40, 70, kNotAsked}));
    // Mean age of each household's members (household 4's no answer left out); household 3
    // has no members.
    EXPECT_EQ(Values("Âge moyen"), (std::vector<double>{25, 71, kNotAsked, 30}));
    // Every link of the members: Chef, Conjoint, Enfant, then -2 at index 3. Member (4, 1) gave
    // none (-2). The answer count becomes the widest household's.
    EXPECT_EQ(Codes("Liens"), (Rows{{0, 2}, {0, kE}, {3, kE}, {3, 1}}));
    EXPECT_EQ(Named("Liens").answerCount, 2);
}

} // namespace
