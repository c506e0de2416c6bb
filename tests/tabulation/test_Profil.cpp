#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tabulation/Profil.h"
#include "TabulationTestSupport.h"

namespace {

using namespace tabulation_test;

using Modalities = std::vector<std::unique_ptr<CModaliteEtendue>>;

// Questions: 12 (modalities 1, 3, 5), 20 in a loop (key 3) and 20 in a loop (keys 3 and 5), both
// with modalities 1 and 2, 12 recoded (recode 2, modalities 10 and 11), numeric 30, open 31.
class ProfilTest : public TabulationFixture {
protected:
    void SetUp() override {
        TabulationFixture::SetUp();
        q12 = &AddClosedQuestion(12, {1, 3, 5});
        q20k3 = &AddClosedQuestion(20, {1, 2}, {3});
        q20k35 = &AddClosedQuestion(20, {1, 2}, {3, 5});
        q12r2 = &AddClosedQuestion(12, {10, 11}, {}, 2);
        q30 = &AddQuestionOfType(30, 5);
        q31 = &AddQuestionOfType(31, 4);
    }

    // Copies of the question's modalities at these indexes, with the given display options.
    static Modalities Chosen(const CQuestionEtendue& question, const std::vector<int>& indexes,
                             std::array<bool, 4> options = {}) {
        Modalities chosen;
        for (int i : indexes) {
            chosen.push_back(std::make_unique<CModaliteEtendue>(*question.GetModaliteEtendue(i)));
            chosen.back()->displayOptions = options;
        }
        return chosen;
    }

    CProfil Read(const std::string& text) const {
        CProfil profile;
        profile.FromString(survey, text);
        return profile;
    }

    CQuestionEtendue* q12 = nullptr;
    CQuestionEtendue* q20k3 = nullptr;
    CQuestionEtendue* q20k35 = nullptr;
    CQuestionEtendue* q12r2 = nullptr;
    CQuestionEtendue* q30 = nullptr;
    CQuestionEtendue* q31 = nullptr;
};

TEST_F(ProfilTest, TextForms) {
    struct Case {
        const char* what;
        std::function<void(CProfil&)> build;
        const char* text;
    };
    const std::vector<Case> cases{
        {"empty", [](CProfil&) {}, ""},
        {"the example", [this](CProfil& p) {
             Modalities chosen = Chosen(*q12, {0, 1});
             chosen[1]->displayOptions[0] = true;
             p.Add(q12, chosen);
             p.AddSeparator();
         },
         "12@@0@1:0:0:0:0;3:1:0:0:0;|0|"},
        {"flags in the order first, second, fourth, third", [this](CProfil& p) {
             p.Add(q12, Chosen(*q12, {0}, {false, false, true, false}));
             p.Add(q12, Chosen(*q12, {1}, {false, false, false, true}));
             p.Add(q12, Chosen(*q12, {2}, {true, true, false, false}));
         },
         "12@@0@1:0:0:0:1;|12@@0@3:0:0:1:0;|12@@0@5:1:1:0:0;|"},
        {"loop keys and recodes", [this](CProfil& p) {
             p.Add(q20k3, Chosen(*q20k3, {1}));
             p.Add(q20k35, Chosen(*q20k35, {0, 1}));
             p.Add(q12r2, Chosen(*q12r2, {1}));
         },
         "20@3;@0@2:0:0:0:0;|20@3;5;@0@1:0:0:0:0;2:0:0:0:0;|12@@2@11:0:0:0:0;|"},
        {"questions without modalities", [this](CProfil& p) {
             p.Add(q30);
             p.AddSeparator();
             p.Add(q31);
         },
         "30@@0@|0|31@@0@|"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CProfil profile;
        c.build(profile);
        EXPECT_EQ(profile.ToString(survey), c.text);
    }
}

TEST_F(ProfilTest, CurrentFormsReadBackAsTheyWereWritten) {
    for (const char* text : {"", "0|0|", "12@@0@1:0:0:0:0;3:1:0:0:0;|0|", "30@@0@|0|31@@0@|",
                             "12@@0@1:0:0:0:1;|12@@0@3:0:0:1:0;|0|12@@0@5:1:1:1:1;|",
                             "20@3;@0@2:0:0:0:0;|20@3;5;@0@1:0:0:0:0;2:1:0:0:0;|12@@2@11:0:1:0:0;|"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(Read(text).ToString(survey), text);
    }
}

TEST_F(ProfilTest, ReadingOlderFormsAndSkippingWhatNoLongerResolves) {
    struct Case {
        const char* what;
        const char* text;
        const char* readBack;
    };
    const std::vector<Case> cases{
        {"three fields and a modality index", "12@0@1;|", "12@@0@3:0:0:0:0;|"},
        {"three fields, several indexes", "12@0@2;0;|0|", "12@@0@5:0:0:0:0;1:0:0:0:0;|0|"},
        {"three fields of a recode", "12@2@0;|", "12@@2@10:0:0:0:0;|"},
        {"indexes out of range", "12@0@3;-1;1;|", "12@@0@3:0:0:0:0;|"},
        {"modalities all gone, the separator stays", "12@@0@2:0:0:0:0;4:0:0:0:0;|0|", "0|"},
        {"an unknown question", "99@@0@1:0:0:0:0;|0|", "0|"},
        {"unknown loop keys", "20@4;@0@1:0:0:0:0;|", ""},
        {"a field of empty items is no question-only line", "12@@0@;|0|", "0|"},
        {"items of other sizes", "12@@0@1:0:0:0;3:0:0:0:0:0;5:1:0:0:0;|", "12@@0@5:1:0:0:0;|"},
        {"items that are not numbers", "12@@0@a:0:0:0:0;3:x:0:0:0;1:0:0:0:0.5;5:0:0:0:0;|", "12@@0@5:0:0:0:0;|"},
        {"a code that is not a number", "1x@@0@1:0:0:0:0;|0|", "0|"},
        {"a recode that is not a number", "12@@r@1:0:0:0:0;|", ""},
        {"an empty code", "@@0@1:0:0:0:0;|", ""},
        {"two fields", "12@1:0:0:0:0;|", ""},
        {"five fields", "12@@0@1:0:0:0:0;@|", ""},
        {"empty pieces", "||0||", "0|"},
        {"no final bar", "12@@0@1:0:0:0:0;|0", "12@@0@1:0:0:0:0;|0|"},
        {"non-zero flags set", "12@@0@1:7:-1:0:2;|", "12@@0@1:1:1:0:1;|"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Read(c.text).ToString(survey), c.readBack);
    }
}

// A question line with an empty modality field is what a question-only line writes (numeric and
// open-question profiles): it reads back as a line of that question without modalities, in the
// current form and the older three-field one. A line whose listed modalities all vanished is
// still dropped.
TEST_F(ProfilTest, QuestionOnlyLinesSurviveAReload) {
    const CProfil profile = Read("30@@0@|0|31@@0@|12@@0@|12@0@|20@3;5;@0@|12@@0@4:0:0:0:0;|");
    ASSERT_EQ(profile.GetCount(), 6);
    const std::vector<CQuestionEtendue*> questions{q30, nullptr, q31, q12, q12, q20k35};
    for (int i = 0; i < profile.GetCount(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(profile.GetQuestion(i), questions[static_cast<std::size_t>(i)]);
        EXPECT_EQ(profile.GetNbreModalites(i), 0);
    }
    EXPECT_EQ(profile.ToString(survey), "30@@0@|0|31@@0@|12@@0@|12@@0@|20@3;5;@0@|");
}

TEST_F(ProfilTest, DisplayOptionsComeFromTheTextAlone) {
    // An earlier request left options on the survey's modalities.
    for (int i = 0; i < 3; ++i)
        q12->GetModaliteEtendue(i)->displayOptions = {true, true, true, true};
    const CProfil current = Read("12@@0@1:0:0:0:0;3:0:1:0:0;|");
    const CProfil older = Read("12@0@2;|");
    const CSousProfil* line = current.GetSousProfil(0);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->Modalites()[0]->displayOptions, (std::array<bool, 4>{false, false, false, false}));
    EXPECT_EQ(line->Modalites()[1]->displayOptions, (std::array<bool, 4>{false, true, false, false}));
    ASSERT_NE(older.GetSousProfil(0), nullptr);
    EXPECT_EQ(older.GetSousProfil(0)->Modalites()[0]->displayOptions, (std::array<bool, 4>{}));
    // The survey's modalities are not touched.
    EXPECT_EQ(q12->GetModaliteEtendue(0)->displayOptions, (std::array<bool, 4>{true, true, true, true}));
}

TEST_F(ProfilTest, ReadingReplacesTheLinesButNotIdAndLabel) {
    CProfil profile;
    profile.id = 8;
    profile.label = "Profil";
    profile.Add(q30);
    profile.FromString(survey, "0|");
    EXPECT_EQ(profile.GetCount(), 1);
    EXPECT_TRUE(profile.IsSeparator(0));
    EXPECT_EQ(profile.id, 8);
    EXPECT_EQ(profile.label, "Profil");
}

TEST_F(ProfilTest, LinesAndCounts) {
    CProfil profile;
    profile.Add(q12, Chosen(*q12, {0, 2}));
    profile.AddSeparator();
    profile.Add(q30);
    profile.Add(nullptr);
    EXPECT_EQ(profile.GetCount(), 4);
    EXPECT_EQ(profile.GetNbreModalites(0), 2);
    EXPECT_EQ(profile.GetNbreModalites(2), 0);
    EXPECT_EQ(profile.GetNbreModalites(9), 0);
    EXPECT_EQ(profile.GetNbreModalitesTotal(), 2);
    EXPECT_TRUE(profile.IsSeparator(1));
    EXPECT_TRUE(profile.IsSeparator(3));
    EXPECT_FALSE(profile.IsSeparator(2));
    EXPECT_FALSE(profile.IsSeparator(-1));

    CQuestionEtendue* question = nullptr;
    Modalities modalities;
    profile.GetAt(0, question, modalities);
    EXPECT_EQ(question, q12);
    ASSERT_EQ(modalities.size(), 2u);
    EXPECT_EQ(modalities[1]->code, 5);
    profile.GetAt(7, question, modalities);
    EXPECT_EQ(question, nullptr);
    EXPECT_TRUE(modalities.empty());
    EXPECT_EQ(profile.GetQuestion(2, question), q30);
    EXPECT_EQ(question, q30);
    EXPECT_EQ(CProfil().GetNbreModalitesTotal(), 0);
}

TEST_F(ProfilTest, ExtractsAndSeparators) {
    CProfil profile;
    profile.Add(q12, Chosen(*q12, {0}));
    profile.AddSeparator();
    profile.Add(q20k3, Chosen(*q20k3, {1}));
    profile.AddSeparator();
    profile.id = 4;
    profile.label = "Profil";

    EXPECT_EQ(profile.Extract(2, 1)->GetCount(), 0);
    const auto middle = profile.Extract(1, 2);
    EXPECT_EQ(middle->ToString(survey), "0|20@3;@0@2:0:0:0:0;|");
    EXPECT_EQ(middle->id, -1);
    EXPECT_EQ(middle->label, "");
    EXPECT_EQ(profile.Extract(-3, 99)->ToString(survey), profile.ToString(survey));

    profile.RemoveSeparators();
    EXPECT_EQ(profile.ToString(survey), "12@@0@1:0:0:0:0;|20@3;@0@2:0:0:0:0;|");
    CProfil separators = Read("0|0|0|");
    separators.RemoveSeparators();
    EXPECT_EQ(separators.GetCount(), 0);
}

TEST_F(ProfilTest, CopiesAreDeep) {
    CProfil original;
    original.id = 5;
    original.label = "Original";
    original.Add(q12, Chosen(*q12, {1}));
    CProfil copy(original);
    EXPECT_EQ(copy.id, 5);
    EXPECT_EQ(copy.label, "Original");
    EXPECT_NE(copy.GetSousProfil(0)->Modalites()[0].get(), original.GetSousProfil(0)->Modalites()[0].get());
    CProfil assigned;
    assigned.AddSeparator();
    assigned = original;
    EXPECT_EQ(assigned.ToString(survey), original.ToString(survey));
    original.RemoveAll();
    EXPECT_EQ(copy.ToString(survey), "12@@0@3:0:0:0:0;|");
    EXPECT_EQ(assigned.GetQuestion(0), q12);
}

} // namespace
