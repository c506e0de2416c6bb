// Questionnaires damaged by hand, as a user probed them: a structure the program cannot count is
// refused at opening with a message naming the question; answers that name no modality are
// counted as absent and reported once; a value that is no whole number in a closed answer field
// stops the read. Every case also shows that the questionnaire file is never changed, and runs
// through qesrun, whose tables and messages are what a user of the command sees.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ContextTestSupport.h"
#include "DamagedQuestionnaireSupport.h"
#include "InversionTestSupport.h"
#include "app/CacheDonnees.h"
#include "app/DataAccess.h"
#include "app/Inversion.h"
#include "app/InvertedFiles.h"
#include "app/InvertedFilesFingerprint.h"
#include "app/MatriceCodes.h"
#include "app/StringTable.h"
#include "tools/qesrun/Command.h"

using namespace context_test;
using namespace damaged_test;
using survey_test::TemporaryFolder;

namespace {

// Eight interviews. SATISF (one answer, with the non-response code -1) gives by hand: "Très
// satisfait" 2, "Plutôt satisfait" 3, "Pas satisfait" 1, "Non réponse" 1, "Non interrogé" 1 (the
// interview without answer). MARQUES holds two answers; LIEN is asked per member of a loop.
constexpr const char* kSatisfaction = R"(
questionnaire "Satisfaction" language=fr
language 1036 fr "Français"
question 10 SATISF closed noanswer
  caption fr "Satisfaction globale"
  modality 1 fr "Très satisfait"
  modality 2 fr "Plutôt satisfait"
  modality 3 fr "Pas satisfait"
question 11 MARQUES closed answers=2
  caption fr "Marques connues"
  modality 1 fr "Alvéa"
  modality 2 fr "Bricor"
loop 500 MEMBRES count=2
  question 53 LIEN closed
    modality 1 fr "Conjoint"
    modality 2 fr "Enfant"
end
records
Cle1,10;1,11;1,11;2
1,1,1,2
2,1,2,
3,2,,
4,2,1,
5,3,2,1
6,-1,,
7,,1,
8,2,2,
end
records loop=500
Cle1,Cle2,Ordre,53;1
1,1,1,1
1,2,2,2
2,1,1,2
end
)";

constexpr const char* kFlatSatisfaction = "type tri-simple\nlignes SATISF total\ncalculs 0\n";

class DamagedQuestionnaireTest : public ::testing::Test {
protected:
    void SetUp() override {
        path = folder.Sub("satisfaction.qes");
        WriteQuestionnaire(kSatisfaction, path);
        request = folder.Sub("flat.req");
        std::ofstream(request) << kFlatSatisfaction;
    }

    // Changes the file; the test fails when SQLite refuses the change.
    void DamageFile(const std::string& sql) {
        const std::string error = Damage(path, sql);
        ASSERT_TRUE(error.empty()) << error;
        bytes = Bytes(path);
    }

    bool Open() {
        test.ui->shown.clear();
        test.context.questionnairePath = path;
        return test.context.OuvrirEtude();
    }

    // qesrun on the file with the request: its exit status, output and error stream.
    struct Run {
        int status = -1;
        std::string out;
        std::string err;
    };
    Run RunQesrun(const std::string& requestFile) {
        std::ostringstream out;
        std::ostringstream err;
        Run run;
        run.status = qesrun::Command::Run({path, requestFile}, out, err);
        run.out = out.str();
        run.err = err.str();
        return run;
    }

    // The refusal at opening: one message, the program's own, naming the file and the question;
    // nothing of the survey left.
    void ExpectRefused(const Message& cause) {
        EXPECT_FALSE(Open());
        ASSERT_EQ(test.ui->shown.size(), 1u);
        const Message& shown = test.ui->shown.front().message;
        EXPECT_EQ(shown.id, StringTable::kImpossibleOuvrirQuestionnaire);
        ASSERT_EQ(shown.arguments.size(), 2u);
        EXPECT_EQ(shown.arguments[0], path);
        EXPECT_EQ(shown.arguments[1], StringTable::Format(cause));
        EXPECT_EQ(test.context.GetLastErrorMessage(), cause);
        EXPECT_EQ(test.context.DonnerNbreQuestions(), 0);
        EXPECT_EQ(test.context.DonnerNbreNiveaux(), 0);
        EXPECT_EQ(test.context.GetClosedAnswerCache(), nullptr);

        const Run run = RunQesrun(request);
        EXPECT_NE(run.status, qesrun::Command::kTablesPrinted);
        EXPECT_TRUE(run.out.empty()) << run.out;
        EXPECT_NE(run.err.find(StringTable::Format(cause)), std::string::npos) << run.err;
        EXPECT_EQ(Bytes(path), bytes);
    }

    // The question's closed answers, cell by cell row by row, through a data access that takes
    // the inverted files when the survey believes them; nothing left in the cache before or after.
    std::vector<int> Cells(const std::string& name) {
        CQuestionEtendue& question = Named(name);
        test.context.OublierDonneesQuestion(question);
        CDataAccess access(test.context, true);
        CMatriceCodes* codes = nullptr;
        EXPECT_TRUE(access.LireReponsesFermees(question, codes)) << access.GetErrorText();
        std::vector<int> cells;
        for (int row = 0; codes != nullptr && row < codes->GetNbLignes(); ++row)
            for (int column = 0; column < codes->GetNbColonnes(); ++column)
                cells.push_back(codes->GetAt(row, column));
        access.MemoriserReponsesFermees(question, codes);
        test.context.OublierDonneesQuestion(question);
        return cells;
    }

    // Reads the questions twice each, in order: their cells, and what was shown meanwhile.
    struct Reading {
        std::vector<std::vector<int>> cells;
        std::vector<Message> shown;
    };
    Reading ReadTwice(const std::vector<std::string>& names) {
        Reading reading;
        const std::size_t before = test.ui->shown.size();
        for (const std::string& name : names)
            reading.cells.push_back(Cells(name));
        for (std::size_t i = 0; i < names.size(); ++i)
            EXPECT_EQ(Cells(names[i]), reading.cells[i]) << names[i];
        for (std::size_t i = before; i < test.ui->shown.size(); ++i)
            reading.shown.push_back(test.ui->shown[i].message);
        return reading;
    }

    // The record of the inversion as the program wrote it.
    std::string FingerprintFile() {
        return (std::filesystem::path(test.context.DonnerRepertoireInversion()) / InvertedFilesFingerprint::kFileName)
            .string();
    }
    std::uint64_t RecordedUnknown(const std::string& fileName) {
        const std::optional<InvertedFilesFingerprint::Record> record =
            InvertedFilesFingerprint::Decode(inversion_test::FileBytes(FingerprintFile()));
        EXPECT_TRUE(record.has_value());
        if (!record || record->files.count(fileName) == 0) {
            ADD_FAILURE() << fileName << " is not recorded";
            return 0;
        }
        return record->files.at(fileName).unknownAnswers;
    }
    std::string FileOf(const std::string& name) { return CInvertedFiles(test.context).NomFichierQuestion(Named(name)); }

    // Opens the survey again; the inverted files must be believed, each of the questions' own.
    void OpenOnInvertedFiles(const std::vector<std::string>& names) {
        ASSERT_TRUE(Open()) << test.context.GetLastError();
        ASSERT_TRUE(test.context.invertedFilesValid);
        for (const std::string& name : names)
            EXPECT_TRUE(test.context.GetInvertedFilesFingerprint().IsFileValid(FileOf(name))) << name;
    }

    // Rewrites the record of the inversion in the layout of its first version, then opens the
    // survey again: the inverted files are not believed.
    void OpenBesideAFirstVersionRecord() {
        const std::optional<InvertedFilesFingerprint::Record> record =
            InvertedFilesFingerprint::Decode(inversion_test::FileBytes(FingerprintFile()));
        ASSERT_TRUE(record.has_value());
        inversion_test::WriteBytes(FingerprintFile(), inversion_test::FirstVersionFingerprint(*record));
        ASSERT_TRUE(Open()) << test.context.GetLastError();
        EXPECT_FALSE(test.context.invertedFilesValid);
        EXPECT_FALSE(test.context.GetInvertedFilesFingerprint().IsInversionValid());
    }

    CQuestionEtendue& Named(const std::string& name) {
        CQuestionEtendue* question = test.context.TrouverQuestionParNom(name);
        EXPECT_NE(question, nullptr) << name;
        return *question;
    }

    RecodeFactoryKept factory;
    SettingsInMemory settings;
    TemporaryFolder folder;
    TestContext test;
    std::string path;
    std::string request;
    std::string bytes;
};

Message Unknown(const std::string& question, int count) {
    return Message(StringTable::kReponsesHorsModalites, {question, std::to_string(count)});
}

TEST_F(DamagedQuestionnaireTest, TheUndamagedQuestionnaireOpensAndCountsAsByHand) {
    bytes = Bytes(path);
    ASSERT_TRUE(Open()) << test.context.GetLastError();
    const std::unique_ptr<CTableau> table = FlatTable(test.context, Named("SATISF"));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(Counts(*table), (std::vector<double>{2, 3, 1, 1, 1, 8}));
    EXPECT_EQ(table->base, 8);
    EXPECT_TRUE(test.ui->shown.empty());
    EXPECT_EQ(Bytes(path), bytes);
}

TEST_F(DamagedQuestionnaireTest, AnAnswerCountBelowOneIsRefusedNamingTheQuestion) {
    for (const int count : {0, -3}) {
        SCOPED_TRACE(count);
        DamageFile("UPDATE Question SET AnswerCount = " + std::to_string(count) + " WHERE Name = 'SATISF'");
        ExpectRefused(Message(StringTable::kNombreReponsesInvalide, {"SATISF", std::to_string(count)}));
    }
}

TEST_F(DamagedQuestionnaireTest, ModalitiesSharingACodeAreRefusedNamingTheQuestion) {
    // Two of its own modalities, then one of its own with the code of the not-asked modality the
    // program adds.
    const struct {
        const char* sql;
        const char* question;
        const char* code;
    } cases[] = {
        {"UPDATE Modalite SET Code = 1 WHERE Position = 1 AND "
         "Question = (SELECT Position FROM Question WHERE Name = 'SATISF')",
         "SATISF", "1"},
        {"UPDATE Modalite SET Code = -2 WHERE Position = 1 AND "
         "Question = (SELECT Position FROM Question WHERE Name = 'MARQUES')",
         "MARQUES", "-2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sql);
        WriteQuestionnaire(kSatisfaction, folder.Sub("fresh.qes"));
        std::filesystem::rename(folder.Sub("fresh.qes"), path);
        DamageFile(c.sql);
        ExpectRefused(Message(StringTable::kCodeModaliteEnDouble, {c.question, c.code}));
    }
}

// 99 and -5 are no code of SATISF; 65537 and 4294967298 would be 1 and 2 once cut to 16 or 32
// bits, 9999999999 holds in no 32-bit code: all five name no modality. By hand: interviews 1, 2,
// 3, 4 and 8 lose their answer, so "Très satisfait" and "Plutôt satisfait" fall to 0 and "Non
// interrogé" rises to 6 of 8.
TEST_F(DamagedQuestionnaireTest, AnswersNamingNoModalityAreCountedAsAbsentAndReportedOnce) {
    DamageFile("UPDATE \"VEL Reponse1\" SET \"10;1\" = 99 WHERE Cle1 = 1;"
               "UPDATE \"VEL Reponse1\" SET \"10;1\" = 65537 WHERE Cle1 = 2;"
               "UPDATE \"VEL Reponse1\" SET \"10;1\" = -5 WHERE Cle1 = 3;"
               "UPDATE \"VEL Reponse1\" SET \"10;1\" = 4294967298 WHERE Cle1 = 4;"
               "UPDATE \"VEL Reponse1\" SET \"10;1\" = 9999999999 WHERE Cle1 = 8;"
               "UPDATE \"VEL Reponse1\" SET \"11;2\" = 7 WHERE Cle1 = 1;");
    ASSERT_TRUE(Open()) << test.context.GetLastError();
    EXPECT_TRUE(test.ui->shown.empty());

    const std::unique_ptr<CTableau> table = FlatTable(test.context, Named("SATISF"));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(Counts(*table), (std::vector<double>{0, 0, 1, 1, 6, 8}));
    EXPECT_EQ(table->base, 8);
    ASSERT_EQ(test.ui->shown.size(), 1u);
    EXPECT_EQ(test.ui->shown.front().message, Unknown("SATISF", 5));
    EXPECT_EQ(test.ui->shown.front().icon, UserInterface::Icon::Warning);

    // Read again from the cache, and again from the file once the cache has let it go: the same
    // table, no second report.
    test.context.OublierDonneesQuestion(Named("SATISF"));
    const std::unique_ptr<CTableau> again = FlatTable(test.context, Named("SATISF"));
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(Counts(*again), Counts(*table));
    EXPECT_EQ(test.ui->shown.size(), 1u);

    // Interview 1's second brand is unknown: the first stays, nothing takes the second's place.
    CDataAccess access(test.context, false);
    CMatriceCodes* codes = nullptr;
    ASSERT_TRUE(access.LireReponsesFermees(Named("MARQUES"), codes)) << access.GetErrorText();
    EXPECT_EQ(codes->GetAt(0, 0), 0);
    EXPECT_EQ(codes->GetAt(0, 1), CMatriceCodes::kEmptyCell);
    access.MemoriserReponsesFermees(Named("MARQUES"), codes);
    ASSERT_EQ(test.ui->shown.size(), 2u);
    EXPECT_EQ(test.ui->shown.back().message, Unknown("MARQUES", 1));

    // A new session reports again.
    ASSERT_TRUE(Open());
    ASSERT_NE(FlatTable(test.context, Named("SATISF")), nullptr);
    ASSERT_EQ(test.ui->shown.size(), 1u);
    EXPECT_EQ(test.ui->shown.front().message, Unknown("SATISF", 5));

    // qesrun prints the true table, the report on its error stream, and succeeds.
    const Run run = RunQesrun(request);
    EXPECT_EQ(run.status, qesrun::Command::kTablesPrinted);
    EXPECT_EQ(run.out, "Satisfaction globale\n"
                       "Base : 8\n"
                       "Base : 8\tEffectifs\n"
                       "Très satisfait\t0\n"
                       "Plutôt satisfait\t0\n"
                       "Pas satisfait\t1\n"
                       "Non réponse\t1\n"
                       "Non interrogé\t6\n"
                       "Total\t8\n");
    EXPECT_NE(run.err.find(StringTable::Format(Unknown("SATISF", 5))), std::string::npos) << run.err;
    EXPECT_EQ(Bytes(path), bytes);
}

// The inversion reads the answers as the tables give them: the unknown ones are reported while it
// reads, and the inverted files then give the same table.
TEST_F(DamagedQuestionnaireTest, InvertedFilesHoldTheAnswersAsTheTablesCountThem) {
    DamageFile("UPDATE \"VEL Reponse1\" SET \"10;1\" = 99 WHERE Cle1 = 1;");
    ASSERT_TRUE(Open());
    CInversion inversion(test.context);
    ASSERT_EQ(inversion.InverserBase(), CInversion::Issue::Done) << test.context.GetLastError();
    ASSERT_EQ(test.ui->shown.size(), 1u);
    EXPECT_EQ(test.ui->shown.front().message, Unknown("SATISF", 1));

    ASSERT_TRUE(Open());
    ASSERT_TRUE(test.context.invertedFilesValid);
    const std::unique_ptr<CTableau> table = FlatTable(test.context, Named("SATISF"));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(Counts(*table), (std::vector<double>{1, 3, 1, 1, 2, 8}));
}

// The damage of the test above, and interview 1's second member's LIEN is 9. Read from the tables,
// from inverted files made afterwards, then beside a record of the inversion of the first version
// (which kept no count): every time the same cells and the same reports, once a session per
// question, with the same counts. The record keeps the counts by hand: SATISF 5, MARQUES 1; LIEN 1
// in its own file and in the file of the second member, 0 in the first member's.
TEST_F(DamagedQuestionnaireTest, AnswersNamingNoModalityAreReportedAlikeFromTheTablesAndTheInvertedFiles) {
    DamageFile("UPDATE \"VEL Reponse1\" SET \"10;1\" = 99 WHERE Cle1 = 1;"
               "UPDATE \"VEL Reponse1\" SET \"10;1\" = 65537 WHERE Cle1 = 2;"
               "UPDATE \"VEL Reponse1\" SET \"10;1\" = -5 WHERE Cle1 = 3;"
               "UPDATE \"VEL Reponse1\" SET \"10;1\" = 4294967298 WHERE Cle1 = 4;"
               "UPDATE \"VEL Reponse1\" SET \"10;1\" = 9999999999 WHERE Cle1 = 8;"
               "UPDATE \"VEL Reponse1\" SET \"11;2\" = 7 WHERE Cle1 = 1;"
               "UPDATE \"VEL Reponse2\" SET \"53;1\" = 9 WHERE Cle1 = 1 AND Cle2 = 2;");
    const std::vector<std::string> names = {"SATISF", "MARQUES", "LIEN"};
    const std::vector<Message> reports = {Unknown("SATISF", 5), Unknown("MARQUES", 1), Unknown("LIEN", 1)};

    ASSERT_TRUE(Open()) << test.context.GetLastError();
    ASSERT_FALSE(test.context.invertedFilesValid);
    const Reading fromTables = ReadTwice(names);
    EXPECT_EQ(fromTables.shown, reports);
    // The answers left in the cache, as a table leaves them: the inversion still counts the
    // unknown ones of each question.
    for (const std::string& name : names) {
        CDataAccess access(test.context, true);
        CMatriceCodes* codes = nullptr;
        ASSERT_TRUE(access.LireReponsesFermees(Named(name), codes)) << access.GetErrorText();
        access.MemoriserReponsesFermees(Named(name), codes);
    }

    // The inversion reads the tables again: nothing new in this session.
    ASSERT_EQ(CInversion(test.context).InverserBase(), CInversion::Issue::Done) << test.context.GetLastError();
    EXPECT_EQ(test.ui->shown.size(), reports.size());
    EXPECT_EQ(RecordedUnknown("Mod10.1"), 5u);
    EXPECT_EQ(RecordedUnknown("Mod11.2"), 1u);
    EXPECT_EQ(RecordedUnknown("Mod53.1"), 1u);
    EXPECT_EQ(RecordedUnknown("Mod53;1.1"), 0u);
    EXPECT_EQ(RecordedUnknown("Mod53;2.1"), 1u);

    OpenOnInvertedFiles(names);
    const Reading fromFiles = ReadTwice(names);
    EXPECT_EQ(fromFiles.cells, fromTables.cells);
    EXPECT_EQ(fromFiles.shown, reports);

    OpenBesideAFirstVersionRecord();
    const Reading besideFirstVersion = ReadTwice(names);
    EXPECT_EQ(besideFirstVersion.cells, fromTables.cells);
    EXPECT_EQ(besideFirstVersion.shown, reports);
    EXPECT_EQ(Bytes(path), bytes);
}

// Codes far outside every modality's, up to the ends of 64 bits, in a question with the
// non-response code -1 and in the second answer of a multiple one: each names no modality, as 99
// does, however far it lies from the codes the question knows. By hand: interview 1 loses its
// SATISF answer ("Très satisfait" 1, "Non interrogé" 2 of 8) and its second brand; the same cells
// and counts from the tables and from the inverted files made from them, one report per question.
TEST_F(DamagedQuestionnaireTest, CodesNearTheEndsOf64BitsNameNoModalityFromTablesAndInvertedFiles) {
    const std::vector<std::string> names = {"SATISF", "MARQUES"};
    const std::vector<Message> reports = {Unknown("SATISF", 1), Unknown("MARQUES", 1)};
    for (const char* code : {"2147483648", "9007199254740992", "9223372036854775807", "-9223372036854775808"}) {
        SCOPED_TRACE(code);
        WriteQuestionnaire(kSatisfaction, path);
        std::filesystem::remove_all(test.context.DonnerRepertoireInversion());
        DamageFile(std::string("UPDATE \"VEL Reponse1\" SET \"10;1\" = ") + code + ", \"11;2\" = " + code +
                   " WHERE Cle1 = 1");
        ASSERT_TRUE(Open()) << test.context.GetLastError();
        ASSERT_FALSE(test.context.invertedFilesValid);
        const std::unique_ptr<CTableau> table = FlatTable(test.context, Named("SATISF"));
        ASSERT_NE(table, nullptr);
        EXPECT_EQ(Counts(*table), (std::vector<double>{1, 3, 1, 1, 2, 8}));
        const Reading fromTables = ReadTwice(names);
        EXPECT_EQ(fromTables.cells[1][0], 0);
        EXPECT_EQ(fromTables.cells[1][1], CMatriceCodes::kEmptyCell);
        EXPECT_EQ(fromTables.shown, std::vector<Message>{reports[1]});

        ASSERT_EQ(CInversion(test.context).InverserBase(), CInversion::Issue::Done) << test.context.GetLastError();
        EXPECT_EQ(RecordedUnknown("Mod10.1"), 1u);
        EXPECT_EQ(RecordedUnknown("Mod11.2"), 1u);
        OpenOnInvertedFiles(names);
        const std::unique_ptr<CTableau> inverted = FlatTable(test.context, Named("SATISF"));
        ASSERT_NE(inverted, nullptr);
        EXPECT_EQ(Counts(*inverted), Counts(*table));
        const Reading fromFiles = ReadTwice(names);
        EXPECT_EQ(fromFiles.cells, fromTables.cells);
        ASSERT_FALSE(test.ui->shown.empty());
        EXPECT_EQ(test.ui->shown.front().message, reports[0]);
        EXPECT_EQ(Bytes(path), bytes);
    }
}

// Another program changes the answers while the survey is open: the next table would mix the
// answers kept from before with those read now, so it is refused, and every one after it, until
// the questionnaire is opened again. What this process writes itself refuses nothing. By hand:
// interview 1 moves from "Très satisfait" to "Plutôt satisfait".
TEST_F(DamagedQuestionnaireTest, AChangeByAnotherProgramRefusesTheTablesUntilTheQuestionnaireIsOpenedAgain) {
    ASSERT_TRUE(Open()) << test.context.GetLastError();
    std::unique_ptr<CTableau> table = FlatTable(test.context, Named("SATISF"), true);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(Counts(*table), (std::vector<double>{2, 3, 1, 1, 1, 8}));
    CDataAccess writer(test.context, false);
    short tableNumber = 0;
    ASSERT_TRUE(writer.CreerChampsQuestion(900, 1, 1, tableNumber)) << writer.GetErrorText();
    ASSERT_NE(FlatTable(test.context, Named("SATISF"), true), nullptr);
    EXPECT_TRUE(test.ui->shown.empty());

    DamageFile("UPDATE \"VEL Reponse1\" SET \"10;1\" = 2 WHERE Cle1 = 1");
    const Message changed(StringTable::kQuestionnaireModifieAilleurs, {path});
    for (int attempt = 0; attempt < 2; ++attempt) {
        test.ui->shown.clear();
        EXPECT_EQ(FlatTable(test.context, Named("SATISF"), true), nullptr);
        ASSERT_EQ(test.ui->shown.size(), 1u);
        EXPECT_EQ(test.ui->shown.front().message, changed);
    }

    ASSERT_TRUE(Open()) << test.context.GetLastError();
    table = FlatTable(test.context, Named("SATISF"), true);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(Counts(*table), (std::vector<double>{1, 4, 1, 1, 1, 8}));
    EXPECT_TRUE(test.ui->shown.empty());
    EXPECT_EQ(Bytes(path), bytes);
}

// A loop whose iterations are questions of their own: each iteration's answers are one row per
// interview in a file of their own, whose count is that of the records of the iteration. By hand:
// NOTE's 9 (interview 1) and 7 (interview 2) are Pain's, its -4 (interview 2) Lait's.
TEST_F(DamagedQuestionnaireTest, EachIterationOfALoopReportsItsOwnAnswersNamingNoModality) {
    WriteQuestionnaire(R"(
questionnaire "Produits" language=fr
language 1036 fr "Français"
question 1 SEXE closed
  modality 1 fr "Homme"
  modality 2 fr "Femme"
loop 600 PRODUITS expand
  modality 1 fr "Pain"
  modality 2 fr "Lait"
  question 61 NOTE closed
    modality 1 fr "Bien"
    modality 2 fr "Mal"
  question 62 PRIX numeric
end
records
Cle1,1;1
1,1
2,2
3,1
4,2
end
records loop=600
Cle1,Cle2,Ordre,61;1,62;1
1,1,1,1,2.5
1,2,2,2,1.2
2,1,1,2,
2,2,2,1,
3,1,1,1,3.0
4,2,1,2,0.9
end
)",
                       path);
    DamageFile("UPDATE \"VEL Reponse2\" SET \"61;1\" = 9 WHERE Cle1 = 1 AND Cle2 = 1;"
               "UPDATE \"VEL Reponse2\" SET \"61;1\" = 7 WHERE Cle1 = 2 AND Cle2 = 1;"
               "UPDATE \"VEL Reponse2\" SET \"61;1\" = -4 WHERE Cle1 = 2 AND Cle2 = 2;");
    const std::vector<std::string> names = {"NOTE", "NOTE (Pain)", "NOTE (Lait)"};
    const std::vector<Message> reports = {Unknown("NOTE", 3), Unknown("NOTE (Pain)", 2), Unknown("NOTE (Lait)", 1)};

    ASSERT_TRUE(Open()) << test.context.GetLastError();
    const Reading fromTables = ReadTwice(names);
    EXPECT_EQ(fromTables.shown, reports);

    ASSERT_EQ(CInversion(test.context).InverserBase(), CInversion::Issue::Done) << test.context.GetLastError();
    EXPECT_EQ(RecordedUnknown("Mod61.1"), 3u);
    EXPECT_EQ(RecordedUnknown("Mod61;1.1"), 2u);
    EXPECT_EQ(RecordedUnknown("Mod61;2.1"), 1u);

    OpenOnInvertedFiles(names);
    const Reading fromFiles = ReadTwice(names);
    EXPECT_EQ(fromFiles.cells, fromTables.cells);
    EXPECT_EQ(fromFiles.shown, reports);

    OpenBesideAFirstVersionRecord();
    EXPECT_EQ(ReadTwice(names).shown, reports);
    EXPECT_EQ(Bytes(path), bytes);
}

// A fraction is no code: rather than round 1.6 to "Plutôt satisfait", the read stops with a
// message naming the question, the value and the interview (and the iteration of a loop record),
// and no table is made. A text that is no number is refused the same way.
TEST_F(DamagedQuestionnaireTest, AValueThatIsNoWholeNumberStopsTheRead) {
    const struct {
        const char* sql;
        const char* question;
        const char* value;
        const char* interview;
    } cases[] = {
        {"UPDATE \"VEL Reponse1\" SET \"10;1\" = 1.6 WHERE Cle1 = 1", "SATISF", "1.6", "1"},
        {"UPDATE \"VEL Reponse1\" SET \"11;2\" = 'deux' WHERE Cle1 = 5", "MARQUES", "deux", "5"},
        {"UPDATE \"VEL Reponse2\" SET \"53;1\" = 2.5 WHERE Cle1 = 1 AND Cle2 = 2", "LIEN", "2.5",
         "1 (itération 2)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sql);
        WriteQuestionnaire(kSatisfaction, folder.Sub("fresh.qes"));
        std::filesystem::rename(folder.Sub("fresh.qes"), path);
        DamageFile(c.sql);
        ASSERT_TRUE(Open()) << test.context.GetLastError();
        const std::string expected = StringTable::Format(
            Message(StringTable::kReponseNonEntiere, {c.question, c.value, c.interview}));

        CDataAccess access(test.context, false);
        CMatriceCodes* codes = nullptr;
        EXPECT_FALSE(access.LireReponsesFermees(Named(c.question), codes));
        EXPECT_EQ(codes, nullptr);
        EXPECT_NE(access.GetErrorText().find(expected), std::string::npos) << access.GetErrorText();

        EXPECT_EQ(FlatTable(test.context, Named(c.question)), nullptr);
        ASSERT_FALSE(test.ui->shown.empty());
        EXPECT_NE(test.ui->ShownTexts().back().find(expected), std::string::npos) << test.ui->ShownTexts().back();
        EXPECT_EQ(Bytes(path), bytes);
    }

    // qesrun on the first case: no table, the reason on the error stream.
    WriteQuestionnaire(kSatisfaction, folder.Sub("fresh.qes"));
    std::filesystem::rename(folder.Sub("fresh.qes"), path);
    DamageFile(cases[0].sql);
    const Run run = RunQesrun(request);
    EXPECT_NE(run.status, qesrun::Command::kTablesPrinted);
    EXPECT_TRUE(run.out.empty()) << run.out;
    EXPECT_NE(run.err.find("'SATISF'"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("(1.6)"), std::string::npos) << run.err;
    EXPECT_EQ(Bytes(path), bytes);
}


// A record key that is not a whole number of 32 bits, or that another record already has, would
// be rounded or merged into another interview and its answers counted as that one's: the survey
// is refused at opening when the interviews' table holds it, the table of a loop question when
// the loop's table does, each time with a message saying which record.
TEST_F(DamagedQuestionnaireTest, RecordKeysThatAreNoWholeNumberOrRepeatedAreRefused) {
    const struct {
        const char* sql;
        bool refusedAtOpening;
        const char* said;
    } cases[] = {
        {"UPDATE \"VEL Reponse1\" SET Cle1 = 1.5 WHERE Cle1 = 1", true,
         "la clé 'Cle1' de l'enregistrement 1 de la table 'VEL Reponse1' n'est pas un entier de 32 bits : '1.5'"},
        {"UPDATE \"VEL Reponse1\" SET Cle1 = 4294967297 WHERE Cle1 = 1", true,
         "n'est pas un entier de 32 bits : '4294967297'"},
        // Keys spread wide enough for the interviews' table to be read by several threads first.
        {"UPDATE \"VEL Reponse1\" SET Cle1 = 5000000 WHERE Cle1 = (SELECT max(Cle1) FROM \"VEL Reponse1\");"
         "UPDATE \"VEL Reponse1\" SET Cle1 = 2.5 WHERE Cle1 = 2",
         true, "la clé 'Cle1' de l'enregistrement 2 de la table 'VEL Reponse1' n'est pas un entier de 32 bits : '2.5'"},
        {"DROP INDEX \"VEL Reponse1.PrimaryKey\"; UPDATE \"VEL Reponse1\" SET Cle1 = 2 WHERE Cle1 = 1;"
         "CREATE INDEX \"VEL Reponse1.PrimaryKey\" ON \"VEL Reponse1\" (Cle1)",
         true, "l'enregistrement 2 de la table 'VEL Reponse1' répète la clé d'un autre enregistrement"},
        {"UPDATE \"VEL Reponse2\" SET Cle2 = 1.25 WHERE Cle1 = 1 AND Cle2 = 2", false,
         "la clé 'Cle2' de l'enregistrement 2 de la table 'VEL Reponse2' n'est pas un entier de 32 bits : '1.25'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sql);
        WriteQuestionnaire(kSatisfaction, folder.Sub("fresh.qes"));
        std::filesystem::rename(folder.Sub("fresh.qes"), path);
        DamageFile(c.sql);
        if (c.refusedAtOpening) {
            EXPECT_FALSE(Open());
            EXPECT_EQ(test.context.DonnerNbreQuestions(), 0);
            const Run run = RunQesrun(request);
            EXPECT_NE(run.status, qesrun::Command::kTablesPrinted);
            EXPECT_TRUE(run.out.empty()) << run.out;
            EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;
        } else {
            ASSERT_TRUE(Open()) << test.context.GetLastError();
            EXPECT_EQ(FlatTable(test.context, Named("LIEN")), nullptr);
        }
        ASSERT_EQ(test.ui->shown.size(), 1u);
        EXPECT_NE(test.ui->ShownTexts().back().find(c.said), std::string::npos) << test.ui->ShownTexts().back();
        EXPECT_EQ(Bytes(path), bytes);
    }
}

} // namespace
