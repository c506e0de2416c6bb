// The same reads through both paths: every question of the demo and of a loop fixture read from
// the response tables, then, after the database is inverted and opened again, from the inverted
// files: codes, values, texts and the answers carried to every level below the question's.
#include <charconv>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "InversionTestSupport.h"
#include "app/CacheDonnees.h"
#include "app/DataAccess.h"
#include "app/Inversion.h"
#include "app/InvertedFiles.h"
#include "app/MatriceCodes.h"
#include "app/QuestionNiveau.h"
#include "app/VecteurDouble.h"
#include "tools/qesbuild/DemoSurvey.h"

using namespace inversion_test;

namespace {

std::string Number(double value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return std::string(text, end);
}

std::string Describe(const CMatriceCodes& codes) {
    std::string text = std::to_string(codes.GetNbLignes()) + "x" + std::to_string(codes.GetNbColonnes()) + ":";
    for (int r = 0; r < codes.GetNbLignes(); ++r) {
        text += " ";
        for (int c = 0; c < codes.GetNbColonnes(); ++c)
            text += std::to_string(codes.GetAt(r, c)) + (c + 1 < codes.GetNbColonnes() ? "," : "");
    }
    return text;
}

std::string Describe(const CVecteurDouble& values) {
    std::string text = std::to_string(values.GetSize()) + ":";
    for (int i = 0; i < values.GetSize(); ++i)
        text += " " + Number(values.GetAt(i));
    return text;
}

std::string Describe(const std::vector<std::string>& texts) {
    std::string text = std::to_string(texts.size()) + ":";
    for (const std::string& t : texts)
        text += " [" + t + "]";
    return text;
}

// What one data access reads of one question: its own answers, then the same carried to each
// level below its own. Failures are described too, so that both paths must fail alike.
std::vector<std::string> ReadQuestion(CEnquete& survey, CQuestionEtendue& question, bool inverted) {
    std::vector<std::string> reads;
    CDataAccess access(survey, inverted);
    const std::string name = question.name + " ";
    if (question.EstFermee()) {
        CMatriceCodes* codes = nullptr;
        const bool read = access.LireReponsesFermees(question, codes);
        reads.push_back(name + "codes " + (read ? Describe(*codes) : "failed"));
        if (read)
            access.MemoriserReponsesFermees(question, codes);
    }
    if (question.EstFermee() || question.EstNumerique() || question.EstDate()) {
        CVecteurDouble* values = nullptr;
        const bool read = access.LireValeursNumeriques(question, values);
        reads.push_back(name + "values " + (read ? Describe(*values) : "failed"));
        if (read)
            access.MemoriserValeursNumeriques(question, values);
    }
    if (question.EstOuverte()) {
        std::vector<std::string> texts;
        const bool read = access.LireReponsesOuvertes(question, texts);
        reads.push_back(name + "texts " + (read ? Describe(texts) : "failed"));
    }
    for (int level = 0; level < survey.DonnerNbreNiveaux(); ++level) {
        if (level == question.level || !EstDansNiveau(question, level, survey))
            continue;
        const std::string at = name + "at level " + std::to_string(level) + " ";
        if (question.EstFermee()) {
            CMatriceCodes codes;
            reads.push_back(at + (access.LireReponsesFermeesNiveau(question, level, codes) ? Describe(codes) : "failed"));
        } else if (question.EstNumerique() || question.EstDate()) {
            CVecteurDouble values;
            reads.push_back(at + (access.LireValeursNumeriquesNiveau(question, level, values) ? Describe(values) : "failed"));
        } else if (question.EstOuverte()) {
            std::vector<std::string> texts;
            reads.push_back(at + (access.LireReponsesOuvertesNiveau(question, level, texts) ? Describe(texts) : "failed"));
        }
    }
    survey.OublierDonneesQuestion(question);
    return reads;
}

std::vector<std::vector<std::string>> ReadEveryQuestion(CEnquete& survey, bool inverted) {
    std::vector<std::vector<std::string>> reads;
    for (int i = 0; i < survey.DonnerNbreQuestions(); ++i)
        if (survey.DonnerQuestion(i)->kind != 0)
            reads.push_back(ReadQuestion(survey, *survey.DonnerQuestion(i), inverted));
    return reads;
}

// Reads everything from the tables, inverts, opens again and reads everything through the
// inverted files; both must be equal. Answers how many questions had a file of their own.
int ExpectBothPathsEqual(FixtureSurvey& fixture) {
    CEnquete& survey = fixture.survey;
    if (!fixture.Open())
        return 0;
    const auto fromTables = ReadEveryQuestion(survey, false);
    EXPECT_EQ(CInversion(survey, fixture.ui).InverserBase(), CInversion::Issue::Done) << survey.GetLastError();
    if (!fixture.Open())
        return 0;
    EXPECT_TRUE(survey.invertedFilesValid);
    const auto fromFiles = ReadEveryQuestion(survey, true);
    EXPECT_EQ(fromTables.size(), fromFiles.size());
    for (std::size_t i = 0; i < fromTables.size() && i < fromFiles.size(); ++i)
        EXPECT_EQ(fromTables[i], fromFiles[i]);
    // The files were read, not refused in favour of the tables: every file written is accepted.
    int withOwnFile = 0;
    CInvertedFiles files(survey);
    for (int i = 0; i < survey.DonnerNbreQuestions(); ++i) {
        CQuestionEtendue& question = *survey.DonnerQuestion(i);
        if (!std::filesystem::exists(files.NomFichierQuestion(question)))
            continue;
        ++withOwnFile;
        survey.OublierDonneesQuestion(question);
        CMatriceCodes* codes = nullptr;
        CVecteurDouble* values = nullptr;
        if (question.EstFermee()) {
            EXPECT_TRUE(files.LireFichierFermees(question, codes)) << question.name;
            survey.GetClosedAnswerCache()->Liberer(&question, codes);
        } else {
            EXPECT_TRUE(files.LireFichierValeurs(question, values)) << question.name;
            survey.GetNumericCache()->Liberer(&question, values);
        }
    }
    for (int level = 0; level < survey.DonnerNbreNiveaux(); ++level) {
        CRecordKeys keys;
        EXPECT_TRUE(files.LireFichierNiveau(*survey.DonnerNiveau(level), keys)) << level;
        EXPECT_EQ(keys, survey.DonnerNiveau(level)->GetEnregistrements()) << level;
    }
    return withOwnFile;
}

TEST(BothPaths, EveryQuestionOfTheLoopFixtureReadsTheSameFromTablesAndInvertedFiles) {
    FixtureSurvey fixture(kLoops, "boucles");
    // Every closed and free numeric question has its file but the loop questions of MOMENTS
    // expanded per product, which are read from the tables on both paths.
    EXPECT_EQ(ExpectBothPathsEqual(fixture), 18);
}

TEST(BothPaths, EveryQuestionOfTheDemoReadsTheSameFromTablesAndInvertedFiles) {
    survey_test::TemporaryFolder folder;
    qesbuild::DemoSurvey::Write(folder.Path(), qesbuild::DemoSurvey::kSeed, 300);
    FixtureSurvey fixture((std::filesystem::path(folder.Path()) / "demo.qes").string());
    EXPECT_GT(ExpectBothPathsEqual(fixture), 10);
}

} // namespace

namespace {

// The codes of a closed question read through one path, its matrix kept in the answer cache.
std::string ReadKept(CEnquete& survey, CQuestionEtendue& question, bool inverted) {
    CDataAccess access(survey, inverted);
    CMatriceCodes* codes = nullptr;
    if (!access.LireReponsesFermees(question, codes))
        return question.name + " failed";
    const std::string text = question.name + " " + Describe(*codes);
    access.MemoriserReponsesFermees(question, codes);
    return text;
}

TEST(BothPaths, AnswersReadIntoTheMemoryOfEvictedMatricesAreTheFilesAnswers) {
    // More closed questions than the answer cache has places, read twice around: from the second
    // question beyond its size on, every read refills the memory of a matrix the cache gives up.
    survey_test::TemporaryFolder folder;
    qesbuild::DemoSurvey::Write(folder.Path(), qesbuild::DemoSurvey::kSeed, 300);
    FixtureSurvey fixture((std::filesystem::path(folder.Path()) / "demo.qes").string());
    CEnquete& survey = fixture.survey;
    ASSERT_TRUE(fixture.Open());
    std::vector<CQuestionEtendue*> closed;
    for (int i = 0; i < survey.DonnerNbreQuestions(); ++i)
        if (survey.DonnerQuestion(i)->EstFermee() && survey.DonnerQuestion(i)->level == 0)
            closed.push_back(survey.DonnerQuestion(i));
    ASSERT_GT(closed.size(), 6u);
    std::vector<std::string> fromTables;
    for (CQuestionEtendue* question : closed) {
        fromTables.push_back(ReadKept(survey, *question, false));
        survey.OublierDonneesQuestion(*question);
    }
    ASSERT_EQ(CInversion(survey, fixture.ui).InverserBase(), CInversion::Issue::Done) << survey.GetLastError();
    ASSERT_TRUE(fixture.Open());
    ASSERT_TRUE(survey.invertedFilesValid);
    closed.clear();
    for (int i = 0; i < survey.DonnerNbreQuestions(); ++i)
        if (survey.DonnerQuestion(i)->EstFermee() && survey.DonnerQuestion(i)->level == 0)
            closed.push_back(survey.DonnerQuestion(i));

    // A matrix still borrowed is never refilled under its borrower.
    CDataAccess borrower(survey, true);
    CMatriceCodes* held = nullptr;
    ASSERT_TRUE(borrower.LireReponsesFermees(*closed[0], held));
    const std::string heldBefore = closed[0]->name + " " + Describe(*held);
    for (int round = 0; round < 2; ++round)
        for (std::size_t i = 1; i < closed.size(); ++i)
            EXPECT_EQ(ReadKept(survey, *closed[i], true), fromTables[i]) << "round " << round;
    EXPECT_EQ(closed[0]->name + " " + Describe(*held), heldBefore);
    EXPECT_EQ(heldBefore, fromTables[0]);
    borrower.MemoriserReponsesFermees(*closed[0], held);
}

} // namespace
