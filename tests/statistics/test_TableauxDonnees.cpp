#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "McaFixture.h"
#include "app/DataAccess.h"
#include "app/ModaliteEtendue.h"
#include "statistics/Acm.h"
#include "statistics/TableauDisjonctif.h"
#include "statistics/TableauNumerique.h"
#include "support/FixtureStudyTest.h"
#include "tabulation/Profil.h"

namespace {

// The survey of the multiple correspondence tests (McaFixture.h) with three numeric questions
// answered by the first five interviews, some of them missing.
const char* const kSurvey = R"(
questionnaire "Loisirs" language=fr
language 1036 fr "Français"
question 1 SEXE closed
  caption fr "Sexe"
  modality 1 fr "Homme"
  modality 2 fr "Femme"
question 2 AGE closed
  caption fr "Âge"
  modality 1 fr "Jeune"
  modality 2 fr "Moyen"
  modality 3 fr "Âgé"
question 3 LOISIRS closed answers=2
  caption fr "Loisirs"
  modality 1 fr "Sport"
  modality 2 fr "Lecture"
  modality 3 fr "Cinéma"
  modality 4 fr "Jardin"
question 4 REGION closed
  caption fr "Région"
  modality 1 fr "Nord"
  modality 2 fr "Sud"
  modality 3 fr "Ouest"
question 5 REVENU numeric
  caption fr "Revenu"
question 6 NOTE numeric
  caption fr "Note"
question 7 AGEN numeric
  caption fr "Âge en années"
records
Cle1,1;1,2;1,3;1,3;2,4;1,5;1,6;1,7;1
1,1,1,1,2,1,10,2,30
2,1,2,2,,2,20,,40
3,2,3,3,4,3,30,4,50
4,2,1,1,,1,,6,20
5,1,3,4,2,2,50,8,
6,2,2,3,,3,,,
7,1,1,1,3,1,,,
8,2,3,4,,2,,,
9,1,2,2,3,3,,,
10,2,1,1,4,1,,,
11,1,3,2,,2,,,
12,2,2,3,1,3,,,
end
)";

class DataTables : public FixtureStudyTest {
protected:
    void SetUp() override { OpenFixture(kSurvey, "loisirs"); }

    // The question's own modalities, without the "not asked" one the survey adds.
    void AddAll(CProfil& profile, const char* name) {
        CQuestionEtendue& question = Named(name);
        std::vector<std::unique_ptr<CModaliteEtendue>> modalities;
        question.DonnerModalites(modalities, true);
        std::erase_if(modalities, [](const auto& modality) { return modality->code < 0; });
        profile.Add(&question, modalities);
    }
    std::vector<std::int32_t> Range(int first, int last) {
        std::vector<std::int32_t> list;
        for (int i = first; i <= last; ++i)
            list.push_back(i);
        return list;
    }
};

// The table of the survey's answers is the indicator table the reference analysis was made on,
// and the engine's eigenvalues on it are the reference ones.
TEST_F(DataTables, DisjunctiveTableOfClosedQuestionsWithMultipleAnswers) {
    CProfil active;
    AddAll(active, "SEXE");
    AddAll(active, "AGE");
    AddAll(active, "LOISIRS");
    CProfil illustrative;
    AddAll(illustrative, "REGION");
    CDataAccess access(context, false);
    TableauDisjonctif table;
    ASSERT_TRUE(ConstruireTableauDisjonctif(access, table, Range(0, 9), Range(10, 11), active, illustrative, false, 0))
        << access.GetErrorText();
    EXPECT_EQ(table.cellules, mca_fixture::kTable);
    EXPECT_EQ(table.lignesActives, 10);
    EXPECT_EQ(table.lignesIllustratives, 2);
    EXPECT_EQ(table.colonnesActives, 9);
    EXPECT_EQ(table.colonnesIllustratives, 3);
    EXPECT_EQ(table.interviews, Range(0, 11));
    EXPECT_EQ(table.libellesColonnes.front(), "Homme");
    EXPECT_EQ(table.libellesColonnes.back(), "Ouest");

    CAcm engine(10, 2, 9, 3, table.cellules.data());
    ASSERT_TRUE(engine.Calculer());
    for (int k = 0; k < 6; ++k)
        EXPECT_NEAR(engine.ValeursPropres()[static_cast<std::size_t>(k)], mca_fixture::kEigenvalues[k], 1e-9);
}

// Only the modalities chosen make columns; labels carry their question when asked; the rows
// follow the lists in their order.
TEST_F(DataTables, ChosenModalitiesPrefixedLabelsAndRowOrder) {
    CQuestionEtendue& loisirs = Named("LOISIRS");
    std::vector<std::unique_ptr<CModaliteEtendue>> all;
    loisirs.DonnerModalites(all, true);
    std::vector<std::unique_ptr<CModaliteEtendue>> chosen;
    chosen.push_back(std::move(all[3]));
    chosen.push_back(std::move(all[1]));
    CProfil active;
    active.Add(&loisirs, chosen);
    CDataAccess access(context, false);
    TableauDisjonctif table;
    ASSERT_TRUE(ConstruireTableauDisjonctif(access, table, {4, 0}, {}, active, CProfil(), true, 0));
    EXPECT_EQ(table.libellesColonnes, (std::vector<std::string>{"Loisirs:Jardin", "Loisirs:Lecture"}));
    // Interview 5 answered Jardin and Lecture; interview 1 Sport and Lecture.
    EXPECT_EQ(table.cellules, (std::vector<std::uint8_t>{1, 1, 0, 1}));
    EXPECT_EQ(table.interviews, (std::vector<std::int32_t>{4, 0}));
}

TEST_F(DataTables, AListNamingNoInterviewFails) {
    CProfil active;
    AddAll(active, "SEXE");
    CDataAccess access(context, false);
    TableauDisjonctif table;
    EXPECT_FALSE(ConstruireTableauDisjonctif(access, table, {0, 12}, {}, active, CProfil(), false, 0));
    EXPECT_TRUE(table.cellules.empty());
}

TEST_F(DataTables, NumericTableByMissingValueMode) {
    CProfil active;
    active.Add(&Named("REVENU"));
    active.Add(&Named("NOTE"));
    CProfil illustrative;
    illustrative.Add(&Named("AGEN"));
    struct Case {
        int mode;
        std::vector<double> cells;
        std::vector<std::int32_t> interviews;
        int actives;
        int illustratives;
    } cases[] = {
        // Means over the active rows' present values: REVENU 20, NOTE 4, AGEN 35.
        {kRemplacerParMoyenne, {10, 2, 30, 20, 4, 40, 30, 4, 50, 20, 6, 20, 50, 8, 35}, {0, 1, 2, 3, 4}, 4, 1},
        {kRemplacerParZero, {10, 2, 30, 20, 0, 40, 30, 4, 50, 0, 6, 20, 50, 8, 0}, {0, 1, 2, 3, 4}, 4, 1},
        {kSupprimerInterview, {10, 2, 30, 30, 4, 50}, {0, 2}, 2, 0},
    };
    for (const Case& c : cases) {
        CDataAccess access(context, false);
        TableauNumerique table;
        ASSERT_TRUE(ConstruireTableauNumerique(access, table, {0, 1, 2, 3}, {4}, active, illustrative, c.mode, 0))
            << access.GetErrorText();
        EXPECT_EQ(table.cellules, c.cells) << "mode " << c.mode;
        EXPECT_EQ(table.interviews, c.interviews) << "mode " << c.mode;
        EXPECT_EQ(table.lignesActives, c.actives) << "mode " << c.mode;
        EXPECT_EQ(table.lignesIllustratives, c.illustratives) << "mode " << c.mode;
        EXPECT_EQ(table.libellesColonnes, (std::vector<std::string>{"Revenu", "Note", "Âge en années"}));
    }
}

// Every active row missing a value: mode 2 leaves no active row at all.
TEST_F(DataTables, RemovingIncompleteRowsCanLeaveNoActiveRow) {
    CProfil active;
    active.Add(&Named("NOTE"));
    active.Add(&Named("AGEN"));
    CDataAccess access(context, false);
    TableauNumerique table;
    ASSERT_TRUE(ConstruireTableauNumerique(access, table, {1, 4, 5}, {0}, active, CProfil(), kSupprimerInterview, 0));
    EXPECT_EQ(table.lignesActives, 0);
    EXPECT_EQ(table.lignesIllustratives, 1);
    EXPECT_EQ(table.interviews, (std::vector<std::int32_t>{0}));
}

} // namespace

namespace {

// Answers that name no modality of the question: the second missing code (-1), not asked (-2)
// and a code the question does not have (7). None of them sets the byte of a modality.
const char* const kOddCodes = R"(
questionnaire "Codes" language=fr
language 1036 fr "Français"
question 1 SEXE closed
  caption fr "Sexe"
  modality 1 fr "Homme"
  modality 2 fr "Femme"
records
Cle1,1;1
1,1
2,-1
3,-2
4,7
5,2
end
)";

class OddCodes : public FixtureStudyTest {
protected:
    void SetUp() override { OpenFixture(kOddCodes, "codes"); }
};

TEST_F(OddCodes, CodesNamingNoModalitySetNothing) {
    CQuestionEtendue& question = Named("SEXE");
    std::vector<std::unique_ptr<CModaliteEtendue>> modalities;
    question.DonnerModalites(modalities, true);
    std::erase_if(modalities, [](const auto& modality) { return modality->code < 0; });
    const std::size_t columns = modalities.size();
    ASSERT_EQ(columns, 2u);
    CProfil active;
    active.Add(&question, modalities);
    CDataAccess access(context, false);
    TableauDisjonctif table;
    ASSERT_TRUE(ConstruireTableauDisjonctif(access, table, {0, 1, 2, 3, 4}, {}, active, CProfil(), false, 0));
    ASSERT_EQ(table.cellules.size(), 5 * columns);
    for (std::size_t row = 0; row < 5; ++row)
        for (std::size_t c = 0; c < columns; ++c) {
            const bool set = (row == 0 && c == 0) || (row == 4 && c == 1);
            EXPECT_EQ(table.cellules[row * columns + c], set ? 1 : 0) << "row " << row << " column " << c;
        }
}

} // namespace
