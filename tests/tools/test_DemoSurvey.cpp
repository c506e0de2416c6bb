#include "ToolsTestSupport.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "tools/qesbuild/DemoSurvey.h"
#include "tools/qesbuild/QesWriter.h"
#include "tools/qesbuild/SyntheticSurvey.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <set>
#include <string>

using namespace qesbuild;
using tools_test::TempFolder;

namespace {

// Every record of every response table, in key order, as text.
std::string DumpResponseTables(const std::string& path) {
    db::Database database(path, db::Database::Access::ReadOnly);
    std::string dump;
    for (const std::string& table : database.tables()) {
        if (table.rfind("VEL Reponse", 0) != 0)
            continue;
        dump += "[" + table + "]\n";
        db::Recordset records(database, table);
        records.setCurrentIndex("PrimaryKey");
        for (; !records.isEOF(); records.moveNext()) {
            for (std::size_t f = 0; f < records.fields().size(); ++f) {
                const db::Value value = records.value(static_cast<int>(f));
                dump += value.isNull() ? std::string("<null>") : value.toText();
                dump += '|';
            }
            dump += '\n';
        }
    }
    return dump;
}

std::string WriteDemo(const TempFolder& folder, const std::string& name, std::uint64_t seed) {
    const std::filesystem::path path = folder.path() / name;
    FixtureDescription description = DemoSurvey::Description();
    QesWriter writer(path, *description.questionnaire, description.fileVersion, description.interviewers);
    DemoSurvey::WriteRecords(writer, seed, DemoSurvey::kInterviews);
    writer.Commit();
    return path.string();
}

// Pearson's chi-square of a contingency table given as counts by (row, column).
double ChiSquare(const std::map<std::pair<long long, long long>, double>& counts) {
    std::map<long long, double> rows, columns;
    double total = 0.0;
    for (const auto& [cell, n] : counts) {
        rows[cell.first] += n;
        columns[cell.second] += n;
        total += n;
    }
    double chi2 = 0.0;
    for (const auto& [row, rowTotal] : rows) {
        for (const auto& [column, columnTotal] : columns) {
            const double expected = rowTotal * columnTotal / total;
            const auto found = counts.find({row, column});
            const double observed = found == counts.end() ? 0.0 : found->second;
            chi2 += (observed - expected) * (observed - expected) / expected;
        }
    }
    return chi2;
}

} // namespace

TEST(DemoSurvey, TheFileListsTheStructureAndResponseTables) {
    TempFolder folder;
    DemoSurvey::Write(folder.path());
    const std::string path = folder.Sub("demo.qes");
    ASSERT_TRUE(std::filesystem::exists(path));
    std::string tables;
    if (std::filesystem::exists("/usr/bin/sqlite3")) {
        const std::string command = "/usr/bin/sqlite3 '" + path + "' .tables";
        std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
        ASSERT_TRUE(pipe);
        std::array<char, 256> buffer{};
        while (std::fgets(buffer.data(), static_cast<int>(buffer.size()), pipe.get()) != nullptr)
            tables += buffer.data();
    } else {
        db::Database database(path, db::Database::Access::ReadOnly);
        for (const std::string& table : database.tables())
            tables += table + "\n";
    }
    for (const char* table : {"Questionnaire", "Language", "Question", "Modalite", "QuestionCaption",
                              "SemiOpen", "Interviewer", "VEL Reponse1", "VEL Reponse2"})
        EXPECT_NE(tables.find(table), std::string::npos) << table << " missing from:\n" << tables;
}

TEST(DemoSurvey, TheSameSeedGivesTheSameDataAndAnotherSeedOtherData) {
    TempFolder folder;
    const std::string first = DumpResponseTables(WriteDemo(folder, "a.qes", DemoSurvey::kSeed));
    const std::string second = DumpResponseTables(WriteDemo(folder, "b.qes", DemoSurvey::kSeed));
    const std::string other = DumpResponseTables(WriteDemo(folder, "c.qes", DemoSurvey::kSeed + 1));
    EXPECT_EQ(first, second);
    EXPECT_NE(first, other);
    EXPECT_GT(first.size(), 100000u);
}

// The interviews look like a survey: household members under every interview, nearly all
// completed, and the correlations built in strong enough for a chi-square test.
TEST(DemoSurvey, InterviewsCarryMembersAndSignificantDifferences) {
    TempFolder folder;
    DemoSurvey::Write(folder.path());
    db::Database database(folder.Sub("demo.qes"), db::Database::Access::ReadOnly);
    ASSERT_EQ(database.rowCount("VEL Reponse1"), DemoSurvey::kInterviews);

    std::map<long long, int> members;
    db::Recordset memberRecords(database, "VEL Reponse2");
    memberRecords.setCurrentIndex("PrimaryKey");
    for (; !memberRecords.isEOF(); memberRecords.moveNext()) {
        ++members[memberRecords.value("Cle1").toInteger()];
        EXPECT_FALSE(memberRecords.value("51;1").toText().empty());
    }
    EXPECT_EQ(members.size(), static_cast<std::size_t>(DemoSurvey::kInterviews));
    for (const auto& [interview, count] : members)
        EXPECT_TRUE(count >= 1 && count <= 5) << interview;

    int completed = 0;
    std::set<long long> interviewers, languages;
    std::map<std::pair<long long, long long>, double> satisfactionByRegion, cspByAgeBand;
    db::Recordset interviews(database, "VEL Reponse1");
    interviews.setCurrentIndex("PrimaryKey");
    for (; !interviews.isEOF(); interviews.moveNext()) {
        completed += interviews.value("Completed").toBool() ? 1 : 0;
        interviewers.insert(interviews.value("CodeEnqueteur").toInteger());
        languages.insert(interviews.value("LanguageId").toInteger());
        EXPECT_LT(interviews.value("DebutInterview").toDouble(), interviews.value("FinInterview").toDouble());
        const long long satisfaction = interviews.value("10;1").toInteger();
        if (satisfaction > 0)
            satisfactionByRegion[{interviews.value("4;1").toInteger(), satisfaction}] += 1;
        cspByAgeBand[{interviews.value("3;1").toInteger(), interviews.value("5;1").toInteger()}] += 1;
    }
    // 97 % completed: 1,940 of 2,000, binomial sd 7.6; allow 4 sd.
    EXPECT_NEAR(completed, 1940, 31);
    EXPECT_EQ(interviewers, (std::set<long long>{101, 102, 103, 104, 105}));
    EXPECT_EQ(languages, (std::set<long long>{1036}));
    // Critical values at p = 0.001: chi-square with 16 df 39.25, with 28 df 56.89.
    EXPECT_GT(ChiSquare(satisfactionByRegion), 39.25);
    EXPECT_GT(ChiSquare(cspByAgeBand), 56.89);
}

TEST(SyntheticSurvey, CodesBlanksAndWeightsFollowTheSeed) {
    TempFolder folder;
    constexpr int kInterviews = 2000, kQuestions = 12;
    SyntheticSurvey::Write(folder.path() / "a.qes", kInterviews, kQuestions, 7);
    SyntheticSurvey::Write(folder.path() / "b.qes", kInterviews, kQuestions, 7);
    EXPECT_EQ(DumpResponseTables(folder.Sub("a.qes")), DumpResponseTables(folder.Sub("b.qes")));

    db::Database database(folder.Sub("a.qes"), db::Database::Access::ReadOnly);
    db::Recordset records(database, "VEL Reponse1");
    int blanks = 0;
    std::map<int, std::map<long long, int>> frequencies;
    for (; !records.isEOF(); records.moveNext()) {
        for (int j = 1; j <= kQuestions; ++j) {
            const db::Value code = records.value(std::to_string(j) + ";1");
            if (code.isNull()) {
                ++blanks;
                continue;
            }
            EXPECT_GE(code.toInteger(), 1);
            EXPECT_LE(code.toInteger(), 2 + j % 9);
            ++frequencies[j][code.toInteger()];
        }
        const double weight = records.value(std::to_string(kQuestions + 1) + ";1").toDouble();
        EXPECT_TRUE(weight >= 0.4 && weight <= 1.9) << weight;
    }
    // 2 % of 24,000 cells = 480, binomial sd 21.7; allow 4 sd.
    EXPECT_NEAR(blanks, 480, 87);
    for (const auto& [question, counts] : frequencies) // skewed: code 1 is the most frequent
        for (const auto& [code, n] : counts)
            EXPECT_LE(n, counts.at(1)) << "question " << question << " code " << code;
}
