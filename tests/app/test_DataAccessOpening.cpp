// When a data access opens the questionnaire file: answers held by the survey's caches or by
// valid inverted files are read without it, so a file that has become unreadable since the survey
// was opened fails only what must come from the response tables, and lends nothing for it.

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DataAccessTestSupport.h"
#include "InversionTestSupport.h"
#include "app/Inversion.h"
#include "app/InvertedFiles.h"
#include "support/RecordingUserInterface.h"

using namespace data_access_test;

namespace {

class UnreadableDatabaseTest : public SurveyFixture {
protected:
    // The survey opened and inverted, MARQUES read into the cache, then the questionnaire file
    // replaced by text. The adults' SEXE and AGE are in their inverted files; the children's SEXE
    // and the adults' TAILLE lose theirs, and only the response tables could give them.
    void SetUp() override {
        Open(kAnswers);
        ASSERT_EQ(CInversion(survey, ui).InverserBase(), CInversion::Issue::Done) << survey.GetLastError();
        ASSERT_TRUE(survey.Ouvrir()) << survey.GetLastError();
        ASSERT_TRUE(survey.invertedFilesValid);
        ASSERT_EQ(ReadClosed(Question(1)), kMarques);
        CInvertedFiles files(survey);
        for (CQuestionEtendue* question : {&Question(61, "2;"), &Question(62, "1;")})
            ASSERT_TRUE(std::filesystem::remove(files.NomFichierQuestion(*question))) << question->name;
        database = inversion_test::FileBytes(survey.basePath);
        std::ofstream(survey.basePath, std::ios::trunc) << "Ceci n'est pas un questionnaire.\n";
    }

    // Every container of the cache still borrowed, kept or not.
    static int Loans(const CCacheDonnees& cache) {
        int loans = cache.GetOutsideLoanCount();
        for (int slot = 0; slot < cache.GetSlotCount(); ++slot)
            loans += cache.GetUseCountAt(slot);
        return loans;
    }
    int ClosedLoans() { return Loans(*survey.GetClosedAnswerCache()); }
    int NumericLoans() { return Loans(*survey.GetNumericCache()); }

    const std::vector<std::vector<int>> kMarques = {{0, 1, E}, {4, E, E}, {2, 2, E}, {4, E, E}};
    const std::vector<double> kAge = {34.5, kNotAsked, 61, kNoAnswer};
    RecordingUserInterface ui;
    std::vector<std::uint8_t> database;
};

TEST_F(UnreadableDatabaseTest, CachedAndInvertedClosedAnswersAreReadAndTheRestFailsLendingNothing) {
    CDataAccess access(survey, true);
    // Nothing that needs the file: it is not even tried, so no error is left behind.
    const std::vector<CQuestionEtendue*> available = {&Question(1), &Question(61, "1;")};
    std::vector<CMatriceCodes*> matrices;
    EXPECT_TRUE(access.LireTablesFermees(available, matrices)) << access.GetErrorText();
    EXPECT_EQ(access.GetErrorText(), "");
    ASSERT_EQ(matrices.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i)
        survey.GetClosedAnswerCache()->Liberer(available[i], matrices[i]);

    const std::vector<CQuestionEtendue*> questions = {&Question(1), &Question(61, "1;"), &Question(61, "2;")};
    EXPECT_FALSE(access.LireTablesFermees(questions, matrices));
    EXPECT_NE(access.GetErrorText().find("le fichier n'est pas une base de données"), std::string::npos) << access.GetErrorText();
    ASSERT_EQ(matrices.size(), 3u);
    ASSERT_NE(matrices[0], nullptr);
    EXPECT_EQ(Rows(*matrices[0]), kMarques);
    ASSERT_NE(matrices[1], nullptr);
    EXPECT_EQ(Rows(*matrices[1]), (std::vector<std::vector<int>>{{0}, {2}, {2}, {2}}));
    EXPECT_EQ(matrices[2], nullptr);
    EXPECT_EQ(ClosedLoans(), 2);
    for (std::size_t i = 0; i < 2; ++i)
        survey.GetClosedAnswerCache()->Liberer(questions[i], matrices[i]);
    EXPECT_EQ(ClosedLoans(), 0);

    // Read alone, the same: overwritten with null, no loan left behind.
    CMatriceCodes stale;
    CMatriceCodes* matrix = &stale;
    EXPECT_FALSE(access.LireTableFermee(Question(61, "2;"), matrix));
    EXPECT_EQ(matrix, nullptr);
    EXPECT_EQ(ClosedLoans(), 0);
}

TEST_F(UnreadableDatabaseTest, InvertedNumericAnswersAreReadAndTheRestFailsLendingNothing) {
    CDataAccess access(survey, true);
    const std::vector<CQuestionEtendue*> questions = {&Question(2), &Question(62, "1;")};
    std::vector<CVecteurDouble*> vectors;
    EXPECT_FALSE(access.LireTablesNumeriques(questions, vectors));
    EXPECT_NE(access.GetErrorText().find("le fichier n'est pas une base de données"), std::string::npos) << access.GetErrorText();
    ASSERT_EQ(vectors.size(), 2u);
    ASSERT_NE(vectors[0], nullptr);
    EXPECT_EQ(Values(*vectors[0]), kAge);
    EXPECT_EQ(vectors[1], nullptr);
    EXPECT_EQ(NumericLoans(), 1);
    survey.GetNumericCache()->Liberer(questions[0], vectors[0]);
    EXPECT_EQ(NumericLoans(), 0);

    // A data access that does not wish the inverted files needs the tables even for AGE, which
    // has just left the cache.
    survey.OublierDonneesQuestion(Question(2));
    CDataAccess tables(survey, false);
    CVecteurDouble* values = nullptr;
    EXPECT_FALSE(tables.LireTableNumerique(Question(2), values));
    EXPECT_EQ(values, nullptr);
    EXPECT_FALSE(tables.GetErrorText().empty());
    EXPECT_EQ(NumericLoans(), 0);
}

TEST_F(UnreadableDatabaseTest, LevelKeysComeFromTheInvertedLevelFile) {
    const CQuestionNiveau& members = *survey.DonnerNiveau(Question(61).level);
    CRecordKeys keys;
    CDataAccess inverted(survey, true);
    EXPECT_TRUE(inverted.ChargerClesNiveau(members, keys)) << inverted.GetLevelErrorText();
    EXPECT_EQ(keys, (CRecordKeys{{1, 1}, {1, 2}, {3, 2}, {4, 1}}));

    CDataAccess tables(survey, false);
    EXPECT_FALSE(tables.ChargerClesNiveau(members, keys));
    EXPECT_TRUE(keys.empty());
    EXPECT_NE(tables.GetLevelErrorText().find("le fichier n'est pas une base de données"), std::string::npos) << tables.GetLevelErrorText();
}

TEST_F(UnreadableDatabaseTest, AFileThatCouldNotBeOpenedIsNotTriedAgainByTheSameDataAccess) {
    CDataAccess access(survey, false);
    CVecteurDouble* values = nullptr;
    EXPECT_FALSE(access.LireTableNumerique(Question(2), values));
    const std::string openError = access.GetErrorText();
    EXPECT_NE(openError.find("le fichier n'est pas une base de données"), std::string::npos) << openError;
    // Every later refusal gives the file's reason again, whatever failed in between.
    std::vector<CVecteurDouble*> vectors;
    EXPECT_FALSE(access.LireTablesNumeriques({nullptr, &Question(2)}, vectors));
    EXPECT_EQ(access.GetErrorText(), openError);
    CRecordKeys keys;
    EXPECT_FALSE(access.ChargerClesNiveau(*survey.DonnerNiveau(0), keys));
    EXPECT_EQ(access.GetLevelErrorText(), openError);

    inversion_test::WriteBytes(survey.basePath, database);
    EXPECT_FALSE(access.LireTableNumerique(Question(2), values));
    EXPECT_EQ(values, nullptr);
    EXPECT_EQ(access.GetErrorText(), openError);
    EXPECT_EQ(NumericLoans(), 0);
    // A new data access opens the file mended.
    EXPECT_EQ(ReadNumeric(Question(2)), kAge);
}

} // namespace
