// The inverted files: their names, their bytes at plain offsets, the readers refusing truncated,
// foreign and stale files (the answers then come from the response tables), a closed file read in
// several pieces, and the inversion of the whole database with its progress, its cancellation
// and its stamp.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <memory>
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
#include "app/QuestionCalculee.h"
#include "app/QuestionNiveau.h"
#include "app/StringTable.h"
#include "app/VecteurDouble.h"

using namespace inversion_test;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ClosedLayout(std::int32_t rows, std::int32_t columns, const std::vector<std::int16_t>& cells) {
    Bytes bytes;
    PutInt32(bytes, rows);
    PutInt32(bytes, columns);
    for (const std::int16_t cell : cells)
        PutCell(bytes, cell);
    return bytes;
}

std::vector<int> Column0(const CMatriceCodes& codes) {
    std::vector<int> cells;
    for (int r = 0; r < codes.GetNbLignes(); ++r)
        cells.push_back(codes.GetAt(r, 0));
    return cells;
}

// ---- Names -------------------------------------------------------------------------------------

TEST(InvertedFileNames, FollowTheQuestionsKindCodeLoopKeysAndAnswerCount) {
    survey_test::TestSurvey survey;
    survey.invertedFolder = "/data/enquete.dat";
    CInvertedFiles files(survey);
    CQuestionEtendue& closed = survey_test::AddQuestion(survey, 12, "Q12");
    struct Case {
        std::int16_t type;
        std::int16_t answerCount;
        std::vector<std::int32_t> keys;
        const char* name;
    };
    const Case cases[] = {
        {1, 1, {}, "Mod12.1"},        {1, 2, {3, 1}, "Mod12;3;1.2"}, {6, 1, {}, "Mod12.1"},
        {5, 1, {-1}, "Num12;-1.1"},   {8, 1, {}, "Pro12.1"},         {3, 1, {}, "12.1"},
        {4, 1, {}, "12.1"},
    };
    for (const Case& c : cases) {
        closed.type = c.type;
        closed.answerCount = c.answerCount;
        EXPECT_EQ(files.NomFichierInverse(closed, c.keys), std::string("/data/enquete.dat/") + c.name) << c.name;
    }
    closed.type = 1;
    closed.answerCount = 2;
    closed.values = {3, 1};
    EXPECT_EQ(files.NomFichierQuestion(closed), "/data/enquete.dat/Mod12;3;1.2");

    CQuestionNiveau& interviews = survey_test::AddLevel(survey, 0, 0, "Interviews");
    CQuestionNiveau& loop = survey_test::AddLevel(survey, 500, 1, "MEMBRES");
    CQuestionNiveau& unnamed = survey_test::AddLevel(survey, -1, 2, "X");
    EXPECT_EQ(files.NomFichierNiveau(interviews), "/data/enquete.dat/Lvl0.0");
    EXPECT_EQ(files.NomFichierNiveau(loop), "/data/enquete.dat/Lvl500.1");
    EXPECT_EQ(files.NomFichierNiveau(unnamed), "/data/enquete.dat/Lvl0.2");
    EXPECT_EQ(files.NomFichierTemoin(), "/data/enquete.dat/Velto.dat");

    survey.invertedFolder.clear();
    EXPECT_EQ(files.NomFichierQuestion(closed), "");
}

// ---- Bytes -------------------------------------------------------------------------------------

class InvertedFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fixture.Open());
        ASSERT_TRUE(survey().CreerRepertoireInversion());
    }

    survey_test::TestSurvey& survey() { return fixture.survey; }
    CQuestionEtendue& Question(const std::string& name) {
        CQuestionEtendue* question = survey().TrouverQuestionParNom(name);
        EXPECT_NE(question, nullptr) << name;
        return *question;
    }
    CInversion Inversion() { return CInversion(survey(), fixture.ui); }

    // Inverts the whole database, then opens the survey again as a new session would.
    void InvertAndReopen() {
        ASSERT_EQ(Inversion().InverserBase(), CInversion::Issue::Done) << survey().GetLastError();
        ASSERT_TRUE(fixture.Open());
        ASSERT_TRUE(survey().invertedFilesValid);
    }

    // SEXE read through the facade by a data access that may use the inverted files.
    std::vector<int> SexeAsRead() {
        CQuestionEtendue& sexe = Question("SEXE");
        survey().OublierDonneesQuestion(sexe);
        CDataAccess access(survey(), true);
        CMatriceCodes* codes = nullptr;
        EXPECT_TRUE(access.LireReponsesFermees(sexe, codes)) << access.GetErrorText();
        if (codes == nullptr)
            return {};
        const std::vector<int> cells = Column0(*codes);
        access.MemoriserReponsesFermees(sexe, codes);
        survey().OublierDonneesQuestion(sexe);
        return cells;
    }

    FixtureSurvey fixture{kLoops, "boucles"};
};

TEST_F(InvertedFilesTest, AClosedFileIsRowsColumnsThenTheCellsRowByRow) {
    ASSERT_TRUE(Inversion().InverserReponsesFermees(Question("MARQUES"))) << survey().GetLastError();
    // MARQUES: A, B, C, then -2 at index 3. Interview 3 answered nothing: the -2 index.
    const Bytes expected = {4, 0, 0, 0,  3, 0, 0, 0,                            // rows, columns
                            0, 0, 2, 0, 0xFB, 0xFF,                             // A, C, empty
                            1, 0, 0xFB, 0xFF, 0xFB, 0xFF,                       // B
                            3, 0, 0xFB, 0xFF, 0xFB, 0xFF,                       // -2
                            2, 0, 0, 0, 1, 0};                                  // C, A, B
    EXPECT_EQ(FileBytes(fixture.InvertedFile("Mod4.3")), expected);
}

TEST_F(InvertedFilesTest, ANumericFileIsTheCountThenTheValues) {
    ASSERT_TRUE(Inversion().InverserValeursNumeriques(Question("AGE"))) << survey().GetLastError();
    const Bytes bytes = FileBytes(fixture.InvertedFile("Num2.1"));
    ASSERT_EQ(bytes.size(), 4u + 4 * 8);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 4), (Bytes{4, 0, 0, 0}));
    // 34.0 is 0x4041000000000000.
    EXPECT_EQ(Bytes(bytes.begin() + 4, bytes.begin() + 12), (Bytes{0, 0, 0, 0, 0, 0, 0x41, 0x40}));
    Bytes rest;
    PutDouble(rest, 51.0);
    PutDouble(rest, kNotAsked);
    PutDouble(rest, 27.0);
    EXPECT_EQ(Bytes(bytes.begin() + 12, bytes.end()), rest);
}

TEST_F(InvertedFilesTest, ALevelFileIsCountKeyLengthThenEachKeyAndItsRow) {
    ASSERT_TRUE(Inversion().InverserNiveau(*survey().DonnerNiveau(1))) << survey().GetLastError();
    Bytes expected;
    for (const std::int32_t value : {5, 2, /**/ 1, 1, 0, /**/ 1, 2, 1, /**/ 2, 2, 2, /**/ 4, 1, 3, /**/ 4, 2, 4})
        PutInt32(expected, value);
    EXPECT_EQ(FileBytes(fixture.InvertedFile("Lvl600.1")), expected);
}

TEST_F(InvertedFilesTest, AGeneratedQuestionsBlockIsWrittenWithMinus2AsEmpty) {
    CQuestionEtendue& marques = Question("MARQUES");
    std::vector<std::int16_t> block = {0, -2, -5, 1, 2, -2, -2, -5, -5, 2, 0, 1};
    ASSERT_TRUE(Inversion().InverserDonneesCalculees(marques, block)) << survey().GetLastError();
    const std::vector<std::int16_t> emptied = {0, -5, -5, 1, 2, -5, -5, -5, -5, 2, 0, 1};
    EXPECT_EQ(block, emptied);
    EXPECT_EQ(FileBytes(fixture.InvertedFile("Mod4.3")), ClosedLayout(4, 3, emptied));

    std::vector<std::int16_t> tooShort(11, 0);
    EXPECT_FALSE(Inversion().InverserDonneesCalculees(marques, tooShort));
    EXPECT_EQ(survey().GetLastError(), "Impossible d'écrire le fichier inversé '" + fixture.InvertedFile("Mod4.3") + "'");
    EXPECT_EQ(tooShort, std::vector<std::int16_t>(11, 0));
}

TEST_F(InvertedFilesTest, CombinationFilesHoldOneRowPerInterviewForTheFixedIterations) {
    ASSERT_TRUE(Inversion().InverserQuestion(5)) << survey().GetLastError(); // NOTE, in PRODUITS
    // NOTE: Bien, Mal, -1, -2. Pain: interviews 1 and 4 said Bien, 2 and 3 had no Pain: -2.
    EXPECT_EQ(FileBytes(fixture.InvertedFile("Mod61;1.1")), ClosedLayout(4, 1, {0, 3, 3, 0}));
    // Lait: interview 2's Lait holds -2, read as the -2 modality too.
    EXPECT_EQ(FileBytes(fixture.InvertedFile("Mod61;2.1")), ClosedLayout(4, 1, {1, 3, 3, 1}));
    EXPECT_EQ(FileBytes(fixture.InvertedFile("Mod61.1")), ClosedLayout(5, 1, {0, 1, 3, 0, 1}));

    ASSERT_TRUE(Inversion().InverserQuestion(8)) << survey().GetLastError(); // ENVIE, in MOMENTS in PRODUITS
    // ENVIE: Oui, Non, -2. Pain x Soir: only interview 1 (Non); moment (5, 1, 1) has no interview.
    EXPECT_EQ(FileBytes(fixture.InvertedFile("Mod71;1;2.1")), ClosedLayout(4, 1, {1, 2, 2, 2}));
    EXPECT_EQ(FileBytes(fixture.InvertedFile("Mod71;1;1.1")), ClosedLayout(4, 1, {0, 2, 2, 2}));

    ASSERT_TRUE(Inversion().InverserQuestion(21)) << survey().GetLastError(); // AGEM, in MEMBRES
    Bytes second;
    PutInt32(second, 4);
    for (const double age : {6.0, kNotAsked, kNotAsked, kNotAsked})
        PutDouble(second, age);
    EXPECT_EQ(FileBytes(fixture.InvertedFile("Num52;2.1")), second);
}

// ---- The whole database ------------------------------------------------------------------------

TEST_F(InvertedFilesTest, InvertingTheDatabaseWritesEveryFileThenTheStamp) {
    survey().CheckInversion = true;
    EXPECT_EQ(Inversion().InverserBase(), CInversion::Issue::Done) << survey().GetLastError();
    EXPECT_TRUE(survey().invertedFilesValid);
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(survey().invertedFolder))
        names.insert(entry.path().filename().string());
    const std::set<std::string> expected = {
        "Lvl0.0",      "Lvl600.1",     "Lvl700.2",     "Lvl500.1",     "Mod1.1",       "Num2.1",
        "Mod4.3",      "Mod600.1",     "Mod600;1.1",   "Mod600;2.1",   "Mod61.1",      "Mod61;1.1",
        "Mod61;2.1",   "Num62.1",      "Num62;1.1",    "Num62;2.1",    "Mod700.1",     "Mod700;1;1.1",
        "Mod700;1;2.1", "Mod700;2;1.1", "Mod700;2;2.1", "Mod71.1",     "Mod71;1;1.1",  "Mod71;1;2.1",
        "Mod71;2;1.1", "Mod71;2;2.1",  "Num500.1",     "Num500;1.1",   "Num500;2.1",   "Num500;3.1",
        "Num52.1",     "Num52;1.1",    "Num52;2.1",    "Num52;3.1",    "Velto.dat",    "Empreintes.dat"};
    EXPECT_EQ(names, expected);
    EXPECT_EQ(FileBytes(fixture.InvertedFile("Velto.dat")), (Bytes{4, 0, 0, 0}));
    // Levels first, then every question, in one progress the user could stop.
    ASSERT_EQ(fixture.ui.progressTitles.size(), 1u);
    EXPECT_EQ(fixture.ui.progressTitles[0], Message(StringTable::kInversionDeLaBase));
    EXPECT_EQ(fixture.ui.progressSteps, 4 + survey().DonnerNbreQuestions());
    EXPECT_EQ(fixture.ui.lastProgress, 4 + survey().DonnerNbreQuestions() - 1);
    EXPECT_TRUE(fixture.ui.shown.empty());

    // A new session finds the stamp matching its interviews.
    ASSERT_TRUE(fixture.Open());
    EXPECT_TRUE(survey().invertedFilesValid);
}

TEST_F(InvertedFilesTest, ACancelledInversionLeavesNoStampNotEvenTheOldOne) {
    for (const int cancelAt : {2, 9}) { // among the levels, among the questions
        SCOPED_TRACE(cancelAt);
        ASSERT_EQ(Inversion().InverserBase(), CInversion::Issue::Done);
        ASSERT_TRUE(std::filesystem::exists(fixture.InvertedFile("Velto.dat")));
        fixture.ui.cancelAtStep = cancelAt;
        EXPECT_EQ(Inversion().InverserBase(), CInversion::Issue::Cancelled);
        EXPECT_EQ(fixture.ui.lastProgress, cancelAt);
        EXPECT_FALSE(std::filesystem::exists(fixture.InvertedFile("Velto.dat")));
        EXPECT_FALSE(survey().invertedFilesValid);
        fixture.ui.cancelAtStep = 0;
        ASSERT_TRUE(fixture.Open());
        EXPECT_FALSE(survey().invertedFilesValid);
    }
}

TEST_F(InvertedFilesTest, AFolderThatCannotBeMadeFailsTheInversion) {
    std::filesystem::remove_all(survey().invertedFolder);
    WriteBytes(survey().invertedFolder, {1}); // a file where the folder should be
    EXPECT_EQ(Inversion().InverserBase(), CInversion::Issue::Failed);
    EXPECT_EQ(survey().GetLastError(), "Impossible de créer le dossier '" + survey().invertedFolder + "'");
    EXPECT_FALSE(survey().invertedFilesValid);
}

// A question whose answers cannot be read (its response table does not exist) at the top level.
CQuestionEtendue& AddUnreadableQuestion(CEnquete& survey, std::int32_t code, bool computed) {
    CQuestionEtendue& question = survey_test::AddQuestion(survey, code, "Q" + std::to_string(code));
    question.responseTable = 9;
    survey_test::AddModality(question, 1);
    if (computed)
        question.SetQuestionCalculee(std::make_unique<CQuestionCalculee>());
    return question;
}

TEST_F(InvertedFilesTest, AComputedQuestionThatCannotBeReadIsOnlyNotedAndTheUserToldToRecompute) {
    AddUnreadableQuestion(survey(), 90, true);
    EXPECT_EQ(Inversion().InverserBase(), CInversion::Issue::Done) << survey().GetLastError();
    ASSERT_EQ(fixture.ui.shown.size(), 1u);
    EXPECT_EQ(fixture.ui.shown[0].message, Message(StringTable::kVeuillezRecalculerVariables));
    EXPECT_EQ(fixture.ui.ShownTexts()[0], "Veuillez recalculer les variables");
    EXPECT_FALSE(std::filesystem::exists(fixture.InvertedFile("Mod90.1")));
    EXPECT_TRUE(std::filesystem::exists(fixture.InvertedFile("Velto.dat")));
}

TEST_F(InvertedFilesTest, AnyOtherQuestionThatCannotBeReadStopsTheInversionWithoutStamp) {
    AddUnreadableQuestion(survey(), 91, false);
    EXPECT_EQ(Inversion().InverserBase(), CInversion::Issue::Failed);
    EXPECT_NE(survey().GetLastError().find("VEL Reponse9"), std::string::npos) << survey().GetLastError();
    EXPECT_TRUE(fixture.ui.shown.empty());
    EXPECT_FALSE(std::filesystem::exists(fixture.InvertedFile("Velto.dat")));
    EXPECT_FALSE(survey().invertedFilesValid);
}

// ---- Readers -----------------------------------------------------------------------------------

TEST_F(InvertedFilesTest, AValidFileIsWhatTheReadersAnswer) {
    InvertAndReopen();
    const std::vector<int> fromTables = {0, 1, 3, 0};
    EXPECT_EQ(SexeAsRead(), fromTables);
    // A file of the right shape, recorded in the fingerprint as the program's own write, is
    // believed: the answers come from it, not from the tables.
    WriteBytes(fixture.InvertedFile("Mod1.1"), ClosedLayout(4, 1, {1, 1, 2, -5}));
    RecordAsWritten(survey(), fixture.InvertedFile("Mod1.1"));
    EXPECT_EQ(SexeAsRead(), (std::vector<int>{1, 1, 2, -5}));
    // Without the wish, the tables.
    CDataAccess tables(survey(), false);
    CMatriceCodes* codes = nullptr;
    ASSERT_TRUE(tables.LireReponsesFermees(Question("SEXE"), codes));
    EXPECT_EQ(Column0(*codes), fromTables);
    tables.MemoriserReponsesFermees(Question("SEXE"), codes);
}

TEST_F(InvertedFilesTest, TruncatedForeignOrStaleClosedFilesAreIgnored) {
    InvertAndReopen();
    const Bytes good = FileBytes(fixture.InvertedFile("Mod1.1"));
    ASSERT_EQ(good, ClosedLayout(4, 1, {0, 1, 3, 0}));
    struct Case {
        const char* what;
        Bytes bytes;
    };
    const Case cases[] = {
        {"truncated", Bytes(good.begin(), good.end() - 1)},
        {"a byte too many", [&] { Bytes b = good; b.push_back(0); return b; }()},
        {"header only", Bytes(good.begin(), good.begin() + 8)},
        {"shorter than its header", Bytes(good.begin(), good.begin() + 6)},
        {"empty", {}},
        {"another interview count", ClosedLayout(3, 1, {0, 1, 0})},
        {"more columns than the cells", ClosedLayout(4, 2, {0, 1, 3, 0})},
        {"negative columns", ClosedLayout(4, -1, {})},
        {"no such modality", ClosedLayout(4, 1, {0, 4, 3, 0})},
        {"negative index", ClosedLayout(4, 1, {0, -2, 3, 0})},
        {"huge counts", ClosedLayout(0x7FFFFFFF, 0x7FFF, {0})},
    };
    CInvertedFiles files(survey());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // Recorded in the fingerprint: refused for its content, not for its checksum.
        WriteBytes(fixture.InvertedFile("Mod1.1"), c.bytes);
        RecordAsWritten(survey(), fixture.InvertedFile("Mod1.1"));
        CMatriceCodes* codes = nullptr;
        EXPECT_FALSE(files.LireFichierFermees(Question("SEXE"), codes));
        EXPECT_EQ(codes, nullptr);
        EXPECT_EQ(survey().GetClosedAnswerCache()->GetOutsideLoanCount(), 0);
        EXPECT_EQ(SexeAsRead(), (std::vector<int>{0, 1, 3, 0}));
    }
    std::filesystem::remove(fixture.InvertedFile("Mod1.1"));
    EXPECT_EQ(SexeAsRead(), (std::vector<int>{0, 1, 3, 0}));
}

TEST_F(InvertedFilesTest, TruncatedOrStaleNumericFilesAreIgnored) {
    InvertAndReopen();
    const Bytes good = FileBytes(fixture.InvertedFile("Num2.1"));
    Bytes threeValues;
    PutInt32(threeValues, 3);
    for (int i = 0; i < 3; ++i)
        PutDouble(threeValues, 1.0);
    const Bytes cases[] = {Bytes(good.begin(), good.end() - 1), threeValues, Bytes(good.begin(), good.begin() + 3)};
    CInvertedFiles files(survey());
    CQuestionEtendue& age = Question("AGE");
    for (const Bytes& bytes : cases) {
        WriteBytes(fixture.InvertedFile("Num2.1"), bytes);
        RecordAsWritten(survey(), fixture.InvertedFile("Num2.1"));
        CVecteurDouble* values = nullptr;
        EXPECT_FALSE(files.LireFichierValeurs(age, values));
        CDataAccess access(survey(), true);
        ASSERT_TRUE(access.LireValeursNumeriques(age, values)) << access.GetErrorText();
        ASSERT_EQ(values->GetSize(), 4);
        EXPECT_EQ(values->GetAt(1), 51.0);
        EXPECT_EQ(values->GetAt(2), kNotAsked);
        access.MemoriserValeursNumeriques(age, values);
        survey().OublierDonneesQuestion(age);
    }
}

TEST_F(InvertedFilesTest, ForeignLevelFilesAreIgnoredAndTheLevelComesFromItsTable) {
    InvertAndReopen();
    const Bytes good = FileBytes(fixture.InvertedFile("Lvl600.1"));
    const auto level = [](std::int32_t count, std::int32_t keyLength, const std::vector<std::int32_t>& words) {
        Bytes bytes;
        PutInt32(bytes, count);
        PutInt32(bytes, keyLength);
        for (const std::int32_t word : words)
            PutInt32(bytes, word);
        return bytes;
    };
    struct Case {
        const char* what;
        Bytes bytes;
    };
    const Case cases[] = {
        {"truncated", Bytes(good.begin(), good.end() - 2)},
        {"another key length", level(5, 1, {1, 0, 1, 1, 2, 2, 4, 3, 4, 4})},
        {"keys out of order", level(2, 2, {1, 2, 0, 1, 1, 1})},
        {"a key twice", level(2, 2, {1, 1, 0, 1, 1, 1})},
        {"rows out of order", level(2, 2, {1, 1, 1, 1, 2, 0})},
        {"a count beyond the file", level(6, 2, {1, 1, 0})},
        {"negative count", level(-1, 2, {})},
    };
    CInvertedFiles files(survey());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteBytes(fixture.InvertedFile("Lvl600.1"), c.bytes);
        RecordAsWritten(survey(), fixture.InvertedFile("Lvl600.1"));
        CRecordKeys keys = {{9, 9}};
        EXPECT_FALSE(files.LireFichierNiveau(*survey().DonnerNiveau(1), keys));
        EXPECT_TRUE(keys.empty());
        ASSERT_TRUE(fixture.Open());
        std::string error;
        ASSERT_TRUE(survey().DonnerNiveau(1)->ChargerEffectifs(survey(), 1, error)) << error;
        EXPECT_EQ(survey().DonnerNiveau(1)->GetEnregistrements(),
                  (CRecordKeys{{1, 1}, {1, 2}, {2, 2}, {4, 1}, {4, 2}}));
    }
    WriteBytes(fixture.InvertedFile("Lvl600.1"), good);
    RecordAsWritten(survey(), fixture.InvertedFile("Lvl600.1"));
    CRecordKeys keys;
    EXPECT_TRUE(files.LireFichierNiveau(*survey().DonnerNiveau(1), keys));
    EXPECT_EQ(keys.size(), 5u);
}

// ---- A closed file of several pieces -----------------------------------------------------------

// 2,500 interviews who left GRANDE's 120 answers empty: its file of 600,000 bytes of cells is
// read in three pieces (two full ones of 256 KiB), each checked on its own.
std::string LargeClosedDescription() {
    std::string text = "questionnaire \"Grande\" language=fr\nlanguage 1036 fr \"Français\"\n"
                       "question 1 GRANDE closed answers=120\n"
                       "  modality 1 fr \"A\"\n  modality 2 fr \"B\"\n  modality 3 fr \"C\"\n"
                       "records\nCle1\n";
    for (int interview = 1; interview <= 2500; ++interview)
        text += std::to_string(interview) + "\n";
    return text + "end\n";
}

class LargeClosedFileTest : public ::testing::Test {
protected:
    static constexpr int kRows = 2500;
    static constexpr int kColumns = 120;
    static constexpr std::size_t kCellsPerPiece = (1 << 18) / 2;

    void SetUp() override {
        ASSERT_TRUE(fixture.Open());
        ASSERT_EQ(CInversion(survey(), fixture.ui).InverserBase(), CInversion::Issue::Done)
            << survey().GetLastError();
        ASSERT_TRUE(fixture.Open());
        ASSERT_TRUE(survey().invertedFilesValid);
        ASSERT_EQ(Grande().GetNbreModalite(), 4); // A, B, C and the loader's -2
        // Every cell a modality or empty, in a pattern no row of the tables follows.
        cells.resize(static_cast<std::size_t>(kRows) * kColumns);
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const auto v = static_cast<std::int16_t>((i / kColumns * 7 + i % kColumns * 3) % 5);
            cells[i] = v == 4 ? CMatriceCodes::kEmptyCell : v;
        }
        ASSERT_GT(cells.size(), 2 * kCellsPerPiece);
    }

    survey_test::TestSurvey& survey() { return fixture.survey; }
    CQuestionEtendue& Grande() { return *survey().TrouverQuestionParNom("GRANDE"); }
    std::string File() { return CInvertedFiles(survey()).NomFichierQuestion(Grande()); }

    static std::vector<std::int16_t> Cells(const CMatriceCodes& codes) {
        std::vector<std::int16_t> read;
        for (int r = 0; r < codes.GetNbLignes(); ++r)
            for (int c = 0; c < codes.GetNbColonnes(); ++c)
                read.push_back(codes.GetAt(r, c));
        return read;
    }

    // GRANDE read afresh through a data access, as a table would read it.
    std::vector<std::int16_t> AsRead(bool wishInverted) {
        survey().OublierDonneesQuestion(Grande());
        CDataAccess access(survey(), wishInverted);
        CMatriceCodes* codes = nullptr;
        EXPECT_TRUE(access.LireReponsesFermees(Grande(), codes)) << access.GetErrorText();
        if (codes == nullptr)
            return {};
        std::vector<std::int16_t> read = Cells(*codes);
        access.MemoriserReponsesFermees(Grande(), codes);
        survey().OublierDonneesQuestion(Grande());
        return read;
    }

    // Every matrix of the closed-answer cache still borrowed, kept or not.
    int Loans() {
        const CCacheDonnees& cache = *survey().GetClosedAnswerCache();
        int loans = cache.GetOutsideLoanCount();
        for (int slot = 0; slot < cache.GetSlotCount(); ++slot)
            loans += cache.GetUseCountAt(slot);
        return loans;
    }

    // The first cell where two reads differ, or -1: a failure names one cell, not 300,000.
    static long FirstDifference(const std::vector<std::int16_t>& a, const std::vector<std::int16_t>& b) {
        if (a.size() != b.size())
            return static_cast<long>(std::min(a.size(), b.size()));
        const auto found = std::mismatch(a.begin(), a.end(), b.begin());
        return found.first == a.end() ? -1 : static_cast<long>(found.first - a.begin());
    }

    FixtureSurvey fixture{LargeClosedDescription().c_str(), "grande"};
    std::vector<std::int16_t> cells;
};

TEST_F(LargeClosedFileTest, EveryPieceIsReadInPlace) {
    WriteBytes(File(), ClosedLayout(kRows, kColumns, cells));
    RecordAsWritten(survey(), File());
    CMatriceCodes* codes = nullptr;
    ASSERT_TRUE(CInvertedFiles(survey()).LireFichierFermees(Grande(), codes));
    ASSERT_NE(codes, nullptr);
    EXPECT_EQ(codes->GetNbLignes(), kRows);
    EXPECT_EQ(codes->GetNbColonnes(), kColumns);
    EXPECT_EQ(FirstDifference(Cells(*codes), cells), -1);
    survey().GetClosedAnswerCache()->Liberer(&Grande(), codes);
    EXPECT_EQ(Loans(), 0);
    EXPECT_EQ(FirstDifference(AsRead(true), cells), -1);
}

TEST_F(LargeClosedFileTest, OneBadPieceOrAShortFileSendsTheReadToTheTables) {
    const std::vector<std::int16_t> fromTables = AsRead(false);
    ASSERT_EQ(fromTables.size(), cells.size());
    ASSERT_NE(FirstDifference(fromTables, cells), -1);
    const auto withCell = [&](std::size_t cell, std::int16_t value) {
        std::vector<std::int16_t> bad = cells;
        bad[cell] = value;
        return ClosedLayout(kRows, kColumns, bad);
    };
    struct Case {
        const char* what;
        Bytes bytes;
    };
    const Case cases[] = {
        {"the first cell of the first piece past the modalities", withCell(0, 4)},
        {"the last cell of the first piece negative", withCell(kCellsPerPiece - 1, -1)},
        {"the first cell of the second piece past the modalities", withCell(kCellsPerPiece, 4)},
        {"the last cell of the last piece negative", withCell(cells.size() - 1, -2)},
        {"a byte short", [&] { Bytes b = ClosedLayout(kRows, kColumns, cells); b.pop_back(); return b; }()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteBytes(File(), c.bytes);
        RecordAsWritten(survey(), File());
        CMatriceCodes* codes = nullptr;
        EXPECT_FALSE(CInvertedFiles(survey()).LireFichierFermees(Grande(), codes));
        EXPECT_EQ(codes, nullptr);
        EXPECT_EQ(Loans(), 0);
        EXPECT_EQ(FirstDifference(AsRead(true), fromTables), -1);
    }
}

} // namespace
