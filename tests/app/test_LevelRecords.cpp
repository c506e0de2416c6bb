#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "LoaderTestSupport.h"
#include "SurveyTestSupport.h"
#include "app/DataAccess.h"
#include "app/InvertedFilesFingerprint.h"
#include "app/VecteurDouble.h"

using namespace survey_test;

namespace {

constexpr double kNotAsked = -888888.88;

// Households (interviews) with their members, a loop level nested once. Household 2 is not
// complete, household 4 says nothing about it; member (3, 1) lies under no household.
constexpr const char* kHouseholds = R"(
questionnaire "Ménages" language=fr
language 1036 fr "Français"
question 1 SIZE numeric
loop 50 MEMBERS count=4
  question 51 AGE numeric
end
records
Cle1,Completed,1;1
1,true,3
2,false,1
4,,2
5,true,1
end
records loop=50
Cle1,Cle2,Ordre,51;1
1,1,1,40
1,2,2,38
1,3,3,9
2,1,1,71
3,1,1,30
4,1,1,25
4,2,2,2
5,1,1,52
end
)";

class LevelRecordsTest : public ::testing::Test {
protected:
    void SetUp() override {
        survey.basePath = folder.Sub("menages.qes");
        survey.invertedFolder = folder.Sub("menages.dat");
        WriteFixtureText(kHouseholds, folder.Path(), survey.basePath);
    }

    // Members per household, counted by SQLite itself.
    std::map<std::int32_t, std::int32_t> CountedBySql() const {
        std::map<std::int32_t, std::int32_t> counts;
        sqlite3* connection = nullptr;
        EXPECT_EQ(sqlite3_open_v2(survey.basePath.c_str(), &connection, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
        sqlite3_stmt* statement = nullptr;
        const char* sql = "SELECT h.Cle1, count(m.Cle1) FROM \"VEL Reponse1\" h "
                          "LEFT JOIN \"VEL Reponse2\" m ON m.Cle1 = h.Cle1 GROUP BY h.Cle1 ORDER BY h.Cle1";
        EXPECT_EQ(sqlite3_prepare_v2(connection, sql, -1, &statement, nullptr), SQLITE_OK);
        while (sqlite3_step(statement) == SQLITE_ROW)
            counts[sqlite3_column_int(statement, 0)] = sqlite3_column_int(statement, 1);
        sqlite3_finalize(statement);
        sqlite3_close(connection);
        return counts;
    }

    void Stamp(std::int32_t count) {
        std::filesystem::create_directory(survey.invertedFolder);
        std::ofstream file(std::filesystem::path(survey.invertedFolder) / "Velto.dat", std::ios::binary);
        const unsigned char le[4] = {static_cast<unsigned char>(count), static_cast<unsigned char>(count >> 8),
                                     static_cast<unsigned char>(count >> 16), static_cast<unsigned char>(count >> 24)};
        file.write(reinterpret_cast<const char*>(le), 4);
    }

    TemporaryFolder folder;
    TestSurvey survey;
};

TEST_F(LevelRecordsTest, TheResponseTablesAreKnownByNumberAndDepth) {
    CDataAccess access(survey, false);
    ASSERT_TRUE(access.IsOpen()) << access.GetErrorText();
    EXPECT_EQ(CDataAccess::NomTableReponse(2), "VEL Reponse2");
    EXPECT_EQ(CDataAccess::NomCle(3), "Cle3");
    EXPECT_EQ(access.NombreTablesReponse(), 2);
    EXPECT_EQ(access.ProfondeurTable(1), 0);
    EXPECT_EQ(access.ProfondeurTable(2), 1);
    EXPECT_EQ(access.ProfondeurTable(3), -1);
    EXPECT_TRUE(access.ExisteTable("VEL Reponse1"));
    EXPECT_FALSE(access.ExisteTable("vel reponse1"));
}

TEST_F(LevelRecordsTest, OpeningCountsTheInterviewsAndLevelsCountTheirRecordsPerAncestor) {
    ASSERT_TRUE(survey.Ouvrir()) << survey.GetLastError();
    EXPECT_EQ(survey.DonnerNbreInterviews(), 4);
    ASSERT_EQ(survey.DonnerNbreNiveaux(), 2);
    CQuestionNiveau& members = *survey.DonnerNiveau(1);
    EXPECT_FALSE(members.EstCharge()); // opening reads level 0 only
    std::string error;
    ASSERT_TRUE(members.ChargerEffectifs(survey, 1, error)) << error;
    EXPECT_EQ(members.GetNbreEnregistrements(), 8);

    std::vector<std::int32_t> counts;
    ASSERT_TRUE(members.GetEffectifs(0, counts));
    std::vector<std::int32_t> expected;
    for (const auto& [household, count] : CountedBySql())
        expected.push_back(count);
    EXPECT_EQ(counts, expected); // {3, 1, 2, 1}: the member of household 3 counts nowhere
}

TEST_F(LevelRecordsTest, CarryingDownGivesAMemberWithoutHouseholdTheInitialValue) {
    ASSERT_TRUE(survey.Ouvrir()) << survey.GetLastError();
    CQuestionNiveau& members = *survey.DonnerNiveau(1);
    std::string error;
    ASSERT_TRUE(members.ChargerEffectifs(survey, 1, error)) << error;
    CVecteurDouble households(4);
    for (int i = 0; i < 4; ++i)
        households.SetAt(i, 10.0 * (i + 1)); // households 1, 2, 4, 5
    CVecteurDouble carried;
    ASSERT_TRUE(members.TransfererValeurs(households, carried, 0, 1));
    const std::vector<double> expected = {10, 10, 10, 20, kNotAsked, 30, 30, 40};
    ASSERT_EQ(carried.GetSize(), static_cast<int>(expected.size()));
    for (int i = 0; i < carried.GetSize(); ++i)
        EXPECT_EQ(carried.GetAt(i), expected[static_cast<std::size_t>(i)]) << i;
}

TEST_F(LevelRecordsTest, UseCompletedOnlyDropsTheIncompleteInterviews) {
    survey.UseCompletedOnly = true;
    ASSERT_TRUE(survey.Ouvrir()) << survey.GetLastError();
    EXPECT_EQ(survey.DonnerNbreInterviews(), 3); // household 4, with no value, is kept
    EXPECT_EQ(survey.DonnerNiveau(0)->GetEnregistrements(), (CRecordKeys{{1}, {4}, {5}}));
    // Only table 1 is filtered: the member of household 2 is still read.
    CQuestionNiveau& members = *survey.DonnerNiveau(1);
    std::string error;
    ASSERT_TRUE(members.ChargerEffectifs(survey, 1, error)) << error;
    EXPECT_EQ(members.GetNbreEnregistrements(), 8);
}

TEST_F(LevelRecordsTest, TheStampDecidesWhetherTheInvertedFilesAreUsed) {
    struct Case {
        bool checkInversion;
        std::int32_t stamp;
        bool used;
    };
    const Case cases[] = {{true, 4, true}, {true, 7, false}, {false, 7, true}};
    std::string error; // the fingerprint of an inversion of no file, for the questionnaire as it is
    std::filesystem::create_directory(survey.invertedFolder);
    ASSERT_TRUE(InvertedFilesFingerprint(survey.basePath, survey.invertedFolder).Write({}, InvertedFilesFingerprint::Interviews::All, error)) << error;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stamp);
        Stamp(c.stamp);
        survey.CheckInversion = c.checkInversion;
        ASSERT_TRUE(survey.Ouvrir()) << survey.GetLastError();
        EXPECT_EQ(survey.invertedFilesValid, c.used);
        EXPECT_EQ(survey.DonnerNbreInterviews(), 4); // always level 0's count
    }
}

TEST_F(LevelRecordsTest, OpeningFailsWhenTheInterviewsCannotBeCounted) {
    {
        sqlite3* connection = nullptr;
        ASSERT_EQ(sqlite3_open(survey.basePath.c_str(), &connection), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(connection, "DROP TABLE \"VEL Reponse1\"", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(connection);
    }
    EXPECT_FALSE(survey.Ouvrir());
    EXPECT_NE(survey.GetLastError().find("VEL Reponse1"), std::string::npos) << survey.GetLastError();
    EXPECT_EQ(survey.DonnerNbreQuestions(), 0);
    EXPECT_EQ(survey.DonnerNbreNiveaux(), 0);
}

TEST_F(LevelRecordsTest, OpeningReadsTheFileWithoutChangingIt) {
    const auto before = std::filesystem::last_write_time(survey.basePath);
    const auto size = std::filesystem::file_size(survey.basePath);
    ASSERT_TRUE(survey.Ouvrir()) << survey.GetLastError();
    EXPECT_EQ(std::filesystem::last_write_time(survey.basePath), before);
    EXPECT_EQ(std::filesystem::file_size(survey.basePath), size);
}

} // namespace
