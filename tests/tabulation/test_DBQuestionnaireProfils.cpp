#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/DBQuestionnaire.h"
#include "app/IdName.h"
#include "support/RecordingUserInterface.h"
#include "tabulation/Profil.h"
#include "tabulation/Style.h"
#include "tools/qesbuild/DescriptionParser.h"
#include "tools/qesbuild/QesWriter.h"
#include "TabulationTestSupport.h"

namespace {

using namespace tabulation_test;

// A questionnaire file whose definition tables the store makes; the survey's questions are built
// in code: 12 (modalities 1, 3, 5), 20 in a loop (key 3), numeric 30 and 31.
class ProfileStoreTest : public TabulationFixture {
protected:
    void SetUp() override {
        TabulationFixture::SetUp();
        ASSERT_FALSE(folder.empty());
        survey.questionnairePath = folder + "/store.qes";
        qesbuild::FixtureDescription fixture = qesbuild::DescriptionParser::Parse(
            "questionnaire \"Store\" language=fr version=404\n"
            "language 1036 fr \"Français\"\n"
            "question 1 SEXE closed\n"
            "  modality 1 fr \"Homme\"\n",
            "store.txt", {});
        qesbuild::WriteFixture(fixture, survey.questionnairePath);
        auto recorder = std::make_unique<RecordingUserInterface>();
        ui = recorder.get();
        survey.SetUserInterface(std::move(recorder));
        AddLevel(0, "Interviews");
        q12 = &AddClosedQuestion(12, {1, 3, 5});
        q20 = &AddClosedQuestion(20, {1, 2}, {3});
        q30 = &AddQuestionOfType(30, 5);
        q31 = &AddQuestionOfType(31, 5);
        store = std::make_unique<CDBQuestionnaire>(survey, ui);
    }
    void TearDown() override {
        store.reset();
        std::filesystem::remove_all(folder);
        TabulationFixture::TearDown();
    }

    static std::string MakeFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "morvane-tabulation-XXXXXX").string();
        return ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
    }

    CProfil ClosedProfile(const std::string& label) const {
        CProfil profile;
        profile.label = label;
        std::vector<std::unique_ptr<CModaliteEtendue>> chosen;
        chosen.push_back(std::make_unique<CModaliteEtendue>(*q12->GetModaliteEtendue(2)));
        chosen.back()->displayOptions = {true, false, false, true};
        profile.Add(q12, chosen);
        profile.AddSeparator();
        chosen.clear();
        chosen.push_back(std::make_unique<CModaliteEtendue>(*q20->GetModaliteEtendue(0)));
        profile.Add(q20, chosen);
        return profile;
    }

    std::vector<std::string> StyleNames() {
        std::vector<std::unique_ptr<CIdName>> list;
        EXPECT_TRUE(store->GetStyleList(list));
        std::vector<std::string> names;
        for (const auto& entry : list)
            names.push_back(entry->name);
        return names;
    }

    std::string folder = MakeFolder();
    RecordingUserInterface* ui = nullptr;
    std::unique_ptr<CDBQuestionnaire> store;
    CQuestionEtendue* q12 = nullptr;
    CQuestionEtendue* q20 = nullptr;
    CQuestionEtendue* q30 = nullptr;
    CQuestionEtendue* q31 = nullptr;
};

TEST_F(ProfileStoreTest, AProfileSavedUnderANewKeyReadsBack) {
    CProfil profile = ClosedProfile("Marques");
    std::int32_t key = -1;
    ASSERT_TRUE(store->SaveProfile(key, profile)) << store->GetLastError();
    EXPECT_GT(key, 0);
    EXPECT_EQ(profile.id, key);

    CProfil read;
    ASSERT_TRUE(store->ReadProfile(key, read)) << store->GetLastError();
    EXPECT_EQ(read.id, key);
    EXPECT_EQ(read.label, "Marques");
    EXPECT_EQ(read.ToString(survey), "12@@0@5:1:0:1:0;|0|20@3;@0@1:0:0:0:0;|");

    // Saving again edits the same record.
    profile.label = "Marques citées";
    std::int32_t again = key;
    ASSERT_TRUE(store->SaveProfile(again, profile));
    EXPECT_EQ(again, key);
    std::vector<std::unique_ptr<CIdName>> list;
    ASSERT_TRUE(store->GetProfileList(list));
    ASSERT_EQ(list.size(), 2u); // "{Aucun}" and the profile
    EXPECT_EQ(list[1]->name, "Marques citées");
}

TEST_F(ProfileStoreTest, AMissingProfileIsNotReadAndLeavesTheObject) {
    CProfil profile = ClosedProfile("Avant");
    std::int32_t key = -1;
    ASSERT_TRUE(store->SaveProfile(key, profile));
    CProfil read = ClosedProfile("Inchangé");
    EXPECT_FALSE(store->ReadProfile(key + 1, read));
    EXPECT_EQ(read.label, "Inchangé");
    EXPECT_EQ(read.GetCount(), 3);
}

TEST_F(ProfileStoreTest, AnalysisProfilesKeepTheirIllustrativePartWhenTheActiveOneIsSaved) {
    CProfil active = ClosedProfile("Analyse");
    CProfil illustrative;
    std::vector<std::unique_ptr<CModaliteEtendue>> chosen;
    chosen.push_back(std::make_unique<CModaliteEtendue>(*q20->GetModaliteEtendue(1)));
    illustrative.Add(q20, chosen);
    std::int32_t key = -1;
    ASSERT_TRUE(store->SaveAnalysisProfile(key, active, illustrative)) << store->GetLastError();
    EXPECT_EQ(active.id, key);

    active.RemoveSeparators();
    ASSERT_TRUE(store->SaveProfile(key, active));

    CProfil readActive = ClosedProfile("old");
    CProfil readIllustrative = ClosedProfile("old");
    ASSERT_TRUE(store->ReadAnalysisProfile(key, readActive, readIllustrative));
    EXPECT_EQ(readActive.id, key);
    EXPECT_EQ(readActive.label, "Analyse");
    EXPECT_EQ(readActive.ToString(survey), "12@@0@5:1:0:1:0;|20@3;@0@1:0:0:0:0;|");
    EXPECT_EQ(readIllustrative.ToString(survey), "20@3;@0@2:0:0:0:0;|");
}

TEST_F(ProfileStoreTest, NumericProfilesAreQuestionLists) {
    CProfil profile;
    profile.label = "Mesures";
    profile.Add(q30);
    profile.AddSeparator();
    profile.Add(q31);
    std::int32_t key = -1;
    ASSERT_TRUE(store->SaveNumericProfile(key, profile)) << store->GetLastError();
    EXPECT_EQ(profile.id, key);

    CProfil read;
    read.Add(q12); // reading appends
    ASSERT_TRUE(store->ReadNumericProfile(key, read));
    EXPECT_EQ(read.label, "Mesures");
    ASSERT_EQ(read.GetCount(), 4);
    EXPECT_EQ(read.GetQuestion(1), q30);
    EXPECT_TRUE(read.IsSeparator(2));
    EXPECT_EQ(read.GetQuestion(3), q31);
}

TEST_F(ProfileStoreTest, NumericAnalysisProfilesHoldTwoLists) {
    CProfil active;
    active.label = "Analyse";
    active.Add(q30);
    CProfil illustrative;
    illustrative.Add(q31);
    illustrative.Add(q30);
    std::int32_t key = -1;
    ASSERT_TRUE(store->SaveAnalysisNumericProfile(key, active, illustrative)) << store->GetLastError();
    CProfil readActive;
    CProfil readIllustrative;
    ASSERT_TRUE(store->ReadAnalysisNumericProfile(key, readActive, readIllustrative));
    EXPECT_EQ(readActive.id, key);
    EXPECT_EQ(readActive.label, "Analyse");
    ASSERT_EQ(readActive.GetCount(), 1);
    EXPECT_EQ(readActive.GetQuestion(0), q30);
    ASSERT_EQ(readIllustrative.GetCount(), 2);
    EXPECT_EQ(readIllustrative.GetQuestion(0), q31);
}

// The named pairs of the analysis windows, of modalities and of questions: each saved, listed,
// read back through a store opened again on the file, then deleted.
TEST_F(ProfileStoreTest, NamedPairsSurviveClosingAndAreDeleted) {
    struct Kind {
        const char* what;
        std::function<bool(CDBQuestionnaire&, std::vector<std::unique_ptr<CIdName>>&)> list;
        std::function<bool(CDBQuestionnaire&, std::int32_t&, CProfil&, CProfil&)> save;
        std::function<bool(CDBQuestionnaire&, std::int32_t, CProfil&, CProfil&)> read;
        std::function<bool(CDBQuestionnaire&, std::int32_t)> remove;
        CQuestionEtendue* activeQuestion;
        CQuestionEtendue* illustrativeQuestion;
    };
    const std::vector<Kind> kinds = {
        {"modalities", &CDBQuestionnaire::GetProfileList, &CDBQuestionnaire::SaveAnalysisProfile,
         &CDBQuestionnaire::ReadAnalysisProfile, &CDBQuestionnaire::DeleteProfile, q12, q20},
        {"questions", &CDBQuestionnaire::GetNumericProfileList, &CDBQuestionnaire::SaveAnalysisNumericProfile,
         &CDBQuestionnaire::ReadAnalysisNumericProfile, &CDBQuestionnaire::DeleteNumericProfile, q30, q31},
    };
    const auto names = [](const Kind& kind, CDBQuestionnaire& opened) {
        std::vector<std::unique_ptr<CIdName>> list;
        EXPECT_TRUE(kind.list(opened, list));
        std::vector<std::string> out;
        for (const auto& entry : list)
            out.push_back(entry->name);
        return out;
    };
    for (const Kind& kind : kinds) {
        SCOPED_TRACE(kind.what);
        const bool modalities = kind.activeQuestion == q12;
        CProfil active;
        CProfil illustrative;
        active.label = "Paire";
        if (modalities) {
            active = ClosedProfile("Paire");
            std::vector<std::unique_ptr<CModaliteEtendue>> chosen;
            chosen.push_back(std::make_unique<CModaliteEtendue>(*q20->GetModaliteEtendue(1)));
            illustrative.Add(q20, chosen);
        } else {
            active.Add(q30);
            illustrative.Add(q31);
        }
        std::int32_t key = -1;
        ASSERT_TRUE(kind.save(*store, key, active, illustrative)) << store->GetLastError();
        EXPECT_EQ(names(kind, *store), (std::vector<std::string>{"{Aucun}", "Paire"}));

        store = std::make_unique<CDBQuestionnaire>(survey, ui);
        CProfil readActive;
        CProfil readIllustrative;
        ASSERT_TRUE(kind.read(*store, key, readActive, readIllustrative));
        EXPECT_EQ(readActive.label, "Paire");
        EXPECT_EQ(readActive.id, key);
        EXPECT_EQ(readActive.ToString(survey), active.ToString(survey));
        EXPECT_EQ(readIllustrative.ToString(survey), illustrative.ToString(survey));
        ASSERT_EQ(readIllustrative.GetCount(), 1);
        EXPECT_EQ(readIllustrative.GetQuestion(0), kind.illustrativeQuestion);

        ASSERT_TRUE(kind.remove(*store, key));
        store = std::make_unique<CDBQuestionnaire>(survey, ui);
        EXPECT_EQ(names(kind, *store), (std::vector<std::string>{"{Aucun}"}));
        EXPECT_FALSE(kind.read(*store, key, readActive, readIllustrative));
    }
}

CStyle TwoCalculations(const std::string& name) {
    CStyle style;
    style.name = name;
    auto pct = std::make_unique<CCalculEvolue>();
    pct->code = 1;
    pct->label = "Pct";
    style.Add(std::move(pct));
    auto chi2 = std::make_unique<CCalculEvolue>();
    chi2->type = CCalculEvolue::kTestLine;
    chi2->label = "Khi2";
    chi2->testLineText = "Indépendance";
    style.Add(std::move(chi2));
    return style;
}

TEST_F(ProfileStoreTest, StylesSavedAndReadBack) {
    CStyle style = TwoCalculations("Complet");
    ASSERT_TRUE(store->SaveStyle(style));
    EXPECT_GE(style.id, 1);
    CStyle read;
    ASSERT_TRUE(store->ReadStyle(style.id, read));
    EXPECT_EQ(read.id, style.id);
    EXPECT_EQ(read.name, "Complet");
    EXPECT_EQ(read.DonnerChaine(), "-1;-1;0;0;2;1;Pct;|-1;-1;0;3;2;0;Khi2;Indépendance|");
    EXPECT_TRUE(ui->shown.empty());
}

TEST_F(ProfileStoreTest, AStyleWhoseLabelsHoldASeparatorIsNotSaved) {
    CStyle style = TwoCalculations("Refusé");
    style.GetAt(0)->label = "Pct;total";
    EXPECT_FALSE(store->SaveStyle(style));
    EXPECT_EQ(style.id, 0);
    EXPECT_EQ(ui->ShownTexts(), (std::vector<std::string>{"Vous ne pouvez utiliser les caractères suivants ; et |"}));
    EXPECT_TRUE(StyleNames().empty());
}

TEST_F(ProfileStoreTest, AStoredStyleInsideARequestIsReadFromTheQuestionnaireByName) {
    CStyle stored = TwoCalculations("Complet");
    ASSERT_TRUE(store->SaveStyle(stored));
    const Bytes bytes = Stored(stored, 404);

    CStyle loaded;
    Load(loaded, bytes, 404);
    EXPECT_EQ(loaded.id, stored.id);
    EXPECT_EQ(loaded.name, "Complet");
    EXPECT_EQ(loaded.DonnerChaine(), stored.DonnerChaine());

    // Names compare exactly: another case is another style.
    CStyle other = stored;
    other.name = "complet";
    CStyle missing;
    Load(missing, Stored(other, 404), 404);
    EXPECT_EQ(missing.name, "complet");
    EXPECT_EQ(missing.GetCount(), 0);
}

} // namespace
