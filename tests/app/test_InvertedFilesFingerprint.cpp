// Inverted files are believed only when their fingerprint says they are those the program wrote
// for this state of the questionnaire: a questionnaire changed since (same interview count), a
// file changed, a file copied over another, a numeric file holding a NaN or an infinity, or no
// fingerprint at all send the reads to the response tables, and no file is changed by reading.
// The fingerprint's bytes, its checksum (CRC-32C) and the one query "is this file valid".
#include <chrono>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DataAccessTestSupport.h"
#include "InversionTestSupport.h"
#include "app/CacheDonnees.h"
#include "app/ChampEtude.h"
#include "app/Crc32c.h"
#include "app/DBQuestionnaire.h"
#include "app/DataAccess.h"
#include "app/Inversion.h"
#include "app/InvertedFiles.h"
#include "app/InvertedFilesFingerprint.h"
#include "app/MatriceCodes.h"
#include "app/QuestionNiveau.h"
#include "app/VecteurDouble.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using inversion_test::FileBytes;
using inversion_test::FixtureSurvey;
using inversion_test::PutCell;
using inversion_test::PutDouble;
using inversion_test::PutInt32;
using inversion_test::WriteBytes;
using Fingerprint = InvertedFilesFingerprint;

// ---- CRC-32C --------------------------------------------------------------------------------------

Bytes Pattern(std::size_t size, std::uint32_t seed) {
    Bytes bytes(size);
    std::uint32_t state = seed;
    for (std::uint8_t& byte : bytes) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<std::uint8_t>(state >> 24);
    }
    return bytes;
}

TEST(Crc32c, GivesTheCheckValuesOfTheStandard) {
    // The check value of the catalogue of CRCs and the four vectors of RFC 3720, B.4.
    const std::string digits = "123456789";
    Bytes ascending(32);
    Bytes descending(32);
    for (std::size_t i = 0; i < 32; ++i) {
        ascending[i] = static_cast<std::uint8_t>(i);
        descending[i] = static_cast<std::uint8_t>(31 - i);
    }
    struct Case {
        const char* what;
        Bytes bytes;
        std::uint32_t crc;
    };
    const Case cases[] = {
        {"digits", Bytes(digits.begin(), digits.end()), 0xE3069283},
        {"32 zeros", Bytes(32, 0x00), 0x8A9136AA},
        {"32 ones", Bytes(32, 0xFF), 0x62A8AB43},
        {"ascending", ascending, 0x46DD794E},
        {"descending", descending, 0x113FDB5C},
        {"nothing", {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Crc32c::Of(c.bytes.data(), c.bytes.size()), c.crc);
        EXPECT_EQ(Crc32c::ExtendWithTables(0, c.bytes.data(), c.bytes.size()), c.crc);
    }
}

TEST(Crc32c, PiecesCarriedOnOrJoinedGiveTheChecksumOfTheWhole) {
    // Long enough for the processor's three runs side by side (3 x 8 KiB) and their remainder.
    const Bytes bytes = Pattern(3 * 8192 * 2 + 1237, 7);
    const std::uint32_t whole = Crc32c::ExtendWithTables(0, bytes.data(), bytes.size());
    EXPECT_EQ(Crc32c::Of(bytes.data(), bytes.size()), whole);
    for (const std::size_t cut : {std::size_t{0}, std::size_t{1}, std::size_t{8}, std::size_t{4097},
                                  std::size_t{3 * 8192}, bytes.size() - 3, bytes.size()}) {
        SCOPED_TRACE(cut);
        const std::uint32_t first = Crc32c::Of(bytes.data(), cut);
        const std::uint32_t second = Crc32c::Of(bytes.data() + cut, bytes.size() - cut);
        EXPECT_EQ(Crc32c::Extend(first, bytes.data() + cut, bytes.size() - cut), whole);
        EXPECT_EQ(Crc32c::Combine(first, second, bytes.size() - cut), whole);
    }
}

// ---- The fingerprint's bytes --------------------------------------------------------------------

TEST(FingerprintBytes, AreTheLayoutOfTheDocumentation) {
    Fingerprint::Record record;
    record.questionnaireSize = 0x0102030405060708;
    record.questionnaireModified = 1'700'000'000'123'456'789;
    record.files["Mod1.1"] = {18, 0xAABBCCDD, 0x0605040302};
    record.files["Lvl0.0"] = {0x10000, 0x01020304, 0};
    // The interviews the inversion counted, one byte after the questionnaire's time: 0 all of
    // them, 1 the completed ones only, 2 not known.
    for (const auto& [interviews, byte] : {std::pair{Fingerprint::Interviews::All, 0},
                                           std::pair{Fingerprint::Interviews::CompletedOnly, 1},
                                           std::pair{Fingerprint::Interviews::Unknown, 2}}) {
        SCOPED_TRACE(byte);
        record.interviews = interviews;
        Bytes expected = {'M', 'V', 'F', 'P', 2, 0, 0, 0, 8, 7, 6, 5, 4, 3, 2, 1};
        // 1,700,000,000,123,456,789 ns is 0x17979CFE_3D85CD15.
        for (const std::uint8_t time : {0x15, 0xCD, 0x85, 0x3D, 0xFE, 0x9C, 0x97, 0x17})
            expected.push_back(time);
        expected.push_back(static_cast<std::uint8_t>(byte));
        PutInt32(expected, 2);
        // Names in byte order: "Lvl0.0" before "Mod1.1"; each with its length, size, checksum and
        // count of answers that named no modality.
        // clang-format off
        const Bytes entries = {
            6, 0, 'L', 'v', 'l', '0', '.', '0', /* size */ 0, 0, 1, 0, 0, 0, 0, 0, /* checksum */ 4, 3, 2, 1,
            /* unknown answers */ 0, 0, 0, 0, 0, 0, 0, 0,
            6, 0, 'M', 'o', 'd', '1', '.', '1', /* size */ 18, 0, 0, 0, 0, 0, 0, 0, /* checksum */ 0xDD, 0xCC, 0xBB, 0xAA,
            /* unknown answers */ 2, 3, 4, 5, 6, 0, 0, 0};
        // clang-format on
        expected.insert(expected.end(), entries.begin(), entries.end());
        PutInt32(expected, static_cast<std::int32_t>(Crc32c::Of(expected.data(), expected.size())));
        EXPECT_EQ(Fingerprint::Encode(record), expected);
        EXPECT_EQ(Fingerprint::Decode(expected), record);
    }
}

TEST(FingerprintBytes, AnythingButAWholeIntactRecordIsRefused) {
    Fingerprint::Record record;
    record.questionnaireSize = 4096;
    record.questionnaireModified = 42;
    record.files["Lvl0.0"] = {16, 1};
    record.files["Mod1.1"] = {18, 2};
    const Bytes good = Fingerprint::Encode(record);
    ASSERT_TRUE(Fingerprint::Decode(good).has_value());
    // A record whose trailing checksum is right again after a change, so that the change itself is refused.
    const auto resealed = [](Bytes bytes) {
        bytes.resize(bytes.size() - 4);
        PutInt32(bytes, static_cast<std::int32_t>(Crc32c::Of(bytes.data(), bytes.size())));
        return bytes;
    };
    const auto withName = [&](const std::string& first, const std::string& second) {
        Bytes bytes = Fingerprint::Encode(Fingerprint::Record{4096, 42, Fingerprint::Interviews::All, {}});
        bytes.resize(bytes.size() - 8); // the count and the checksum
        PutInt32(bytes, 2);
        for (const std::string& name : {first, second}) {
            bytes.push_back(static_cast<std::uint8_t>(name.size()));
            bytes.push_back(static_cast<std::uint8_t>(name.size() >> 8));
            bytes.insert(bytes.end(), name.begin(), name.end());
            for (int i = 0; i < 8 + 4 + 8; ++i) // size, checksum, unknown answers
                bytes.push_back(0);
        }
        PutInt32(bytes, 0);
        return resealed(bytes);
    };
    struct Case {
        const char* what;
        Bytes bytes;
    };
    const Case cases[] = {
        {"empty", {}},
        {"truncated", Bytes(good.begin(), good.end() - 1)},
        {"a byte too many", resealed([&] {
             Bytes b = good;
             b.insert(b.end() - 4, 0);
             return b;
         }())},
        {"one byte changed",
         [&] {
             Bytes b = good;
             b[20] ^= 1;
             return b;
         }()},
        {"another signature", resealed([&] {
             Bytes b = good;
             b[0] = 'X';
             return b;
         }())},
        {"the previous version", resealed([&] {
             Bytes b = good;
             b[4] = 1;
             return b;
         }())},
        {"a later version", resealed([&] {
             Bytes b = good;
             b[4] = 3;
             return b;
         }())},
        {"interviews neither all, nor completed only, nor not known", resealed([&] {
             Fingerprint::Record counted = record;
             counted.interviews = Fingerprint::Interviews::CompletedOnly;
             Bytes b = Fingerprint::Encode(counted);
             b[24] = 3;
             return b;
         }())},
        {"more files than bytes", resealed([&] {
             Bytes b = good;
             b[24] = 0xFF;
             b[25] = 0xFF;
             return b;
         }())},
        {"a name twice", withName("Mod1.1", "Mod1.1")},
        {"names out of order", withName("Mod1.1", "Lvl0.0")},
        {"a name out of the folder", withName("../x", "Mod1.1")},
        {"a name with a slash", withName("Lvl0.0", "a/b")},
        {"an empty name", withName("", "Mod1.1")},
        {"a name too long", withName("Lvl0.0", std::string(300, 'M'))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(Fingerprint::Decode(c.bytes).has_value());
    }
}

// ---- Believing the inverted files --------------------------------------------------------------

// Eight interviews. SATISF and REGION have three modalities each, then the loader's -2 (index
// 3), so that one's file copied over the other's still holds only indexes of its modalities.
// SATISF: 1 x4 (interviews 1, 2, 5, 7), 2 x2, 3 x2. REGION: 1 x3, 2 x3, 3 x2. NOTE: 12, 8, 15,
// 10, none, 7, 9, 14 (sum 75 over 7). Members of the households of interviews 1, 2 and 4.
constexpr const char* kSatisfaction = R"(
questionnaire "Satisfaction" language=fr
language 1036 fr "Français"
question 1 SATISF closed
  modality 1 fr "Très satisfait"
  modality 2 fr "Satisfait"
  modality 3 fr "Pas satisfait"
question 2 REGION closed
  modality 1 fr "Nord"
  modality 2 fr "Sud"
  modality 3 fr "Est"
question 3 NOTE numeric
loop 500 MEMBRES count=3
  question 51 AGEM numeric
end
records
Cle1,1;1,2;1,3;1
1,1,2,12
2,1,1,8
3,2,3,15
4,3,1,10
5,1,2,
6,2,2,7
7,1,3,9
8,3,1,14
end
records loop=500
Cle1,Cle2,Ordre,51;1
1,1,1,40
1,2,2,12
2,1,1,33
4,1,1,71
4,2,2,68
end
)";

using Counts = std::vector<int>; // answers per modality index

const Counts kSatisfFromTables = {4, 2, 2, 0};
const Counts kRegionFromTables = {3, 3, 2, 0};
constexpr double kNoteMean = 75.0 / 7.0;

class FingerprintTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fixture.Open());
        ASSERT_EQ(CInversion(survey(), fixture.ui).InverserBase(), CInversion::Issue::Done)
            << survey().GetLastError();
        Reopen();
        ASSERT_TRUE(survey().invertedFilesValid);
    }

    survey_test::TestSurvey& survey() { return fixture.survey; }
    CQuestionEtendue& Question(const std::string& name) { return *survey().TrouverQuestionParNom(name); }
    std::string File(const std::string& name) { return fixture.InvertedFile(name); }
    void Reopen() { ASSERT_TRUE(fixture.Open()); }

    // The flat table of a closed question as a table would count it, through a data access that
    // uses the inverted files when it may.
    Counts Table(const std::string& name) {
        CQuestionEtendue& question = Question(name);
        survey().OublierDonneesQuestion(question);
        CDataAccess access(survey(), true);
        CMatriceCodes* codes = nullptr;
        EXPECT_TRUE(access.LireReponsesFermees(question, codes)) << access.GetErrorText();
        Counts counts(static_cast<std::size_t>(question.GetNbreModalite()), 0);
        for (int row = 0; codes != nullptr && row < codes->GetNbLignes(); ++row)
            if (const int cell = codes->GetAt(row, 0); cell >= 0 && cell < static_cast<int>(counts.size()))
                ++counts[static_cast<std::size_t>(cell)];
        if (codes != nullptr)
            access.MemoriserReponsesFermees(question, codes);
        survey().OublierDonneesQuestion(question);
        return counts;
    }

    // NOTE's mean over its answers, as the statistics would take it.
    double NoteMean() {
        CQuestionEtendue& note = Question("NOTE");
        survey().OublierDonneesQuestion(note);
        CDataAccess access(survey(), true);
        CVecteurDouble* values = nullptr;
        EXPECT_TRUE(access.LireValeursNumeriques(note, values)) << access.GetErrorText();
        double sum = 0.0;
        int count = 0;
        for (int i = 0; values != nullptr && i < values->GetSize(); ++i)
            if (const double value = values->GetAt(i); value != data_access_test::kNotAsked) {
                sum += value;
                ++count;
            }
        if (values != nullptr)
            access.MemoriserValeursNumeriques(note, values);
        survey().OublierDonneesQuestion(note);
        return count == 0 ? std::nan("") : sum / count;
    }

    CRecordKeys MembersAsLoaded() {
        CDataAccess access(survey(), true);
        CRecordKeys keys;
        EXPECT_TRUE(access.ChargerClesNiveau(*survey().DonnerNiveau(1), keys)) << access.GetLevelErrorText();
        return keys;
    }

    // Every file of the inversion folder with its bytes.
    std::map<std::string, Bytes> Folder() {
        std::map<std::string, Bytes> files;
        for (const auto& entry : std::filesystem::directory_iterator(survey().invertedFolder))
            files[entry.path().filename().string()] = FileBytes(entry.path().string());
        return files;
    }

    // A file written as the program writes one and recorded in the fingerprint, as the program's
    // own writes are: the readers then believe it.
    void RecordAsOwnWrite(const std::string& name) { inversion_test::RecordAsWritten(survey(), File(name)); }

    void ChangeQuestionnaireKeepingItsTime(const std::string& sql) {
        const auto size = std::filesystem::file_size(survey().basePath);
        const auto time = std::filesystem::last_write_time(survey().basePath);
        data_access_test::ExecuteSql(survey().basePath, sql);
        ASSERT_EQ(std::filesystem::file_size(survey().basePath), size); // an update in place
        std::filesystem::last_write_time(survey().basePath, time);
    }

    FixtureSurvey fixture{kSatisfaction, "satisfaction"};
};

TEST_F(FingerprintTest, AFreshInversionIsReadFromItsFiles) {
    EXPECT_EQ(Table("SATISF"), kSatisfFromTables);
    EXPECT_DOUBLE_EQ(NoteMean(), kNoteMean);
    // The answers change in the table while the questionnaire keeps its size and time, which is
    // all the fingerprint knows of it: the reads still give the files' answers.
    ChangeQuestionnaireKeepingItsTime("UPDATE \"VEL Reponse1\" SET \"1;1\" = 3, \"3;1\" = 0");
    Reopen();
    ASSERT_TRUE(survey().invertedFilesValid);
    EXPECT_EQ(Table("SATISF"), kSatisfFromTables);
    EXPECT_DOUBLE_EQ(NoteMean(), kNoteMean);
    // Without the files, the table as it now is.
    survey().invertedFilesValid = false;
    EXPECT_EQ(Table("SATISF"), (Counts{0, 0, 8, 0}));
    EXPECT_DOUBLE_EQ(NoteMean(), 0.0);
}

TEST_F(FingerprintTest, TheFingerprintRecordsTheQuestionnaireAndEveryFileWritten) {
    const std::optional<Fingerprint::Record> record =
        Fingerprint::Decode(FileBytes(File(Fingerprint::kFileName)));
    ASSERT_TRUE(record.has_value());
    std::uint64_t size = 0;
    std::int64_t modified = 0;
    ASSERT_TRUE(Fingerprint::StampOf(survey().basePath, size, modified));
    EXPECT_EQ(record->questionnaireSize, std::filesystem::file_size(survey().basePath));
    EXPECT_EQ(record->questionnaireModified, modified);
    Fingerprint::Entries expected;
    for (const auto& [name, bytes] : Folder())
        if (name != "Velto.dat" && name != Fingerprint::kFileName)
            expected[name] = {bytes.size(), Crc32c::Of(bytes.data(), bytes.size())};
    EXPECT_EQ(record->files, expected);
    EXPECT_EQ(expected.count("Lvl0.0"), 1u);
    EXPECT_EQ(expected.count("Lvl500.1"), 1u);
    EXPECT_EQ(expected.count("Mod1.1"), 1u);
    EXPECT_EQ(expected.count("Num3.1"), 1u);
}

// Saving a definition changes the questionnaire file, not its answers: the inversion stays
// believed, at this opening and the next, and the files are still the ones read.
TEST_F(FingerprintTest, TheProgramsOwnSaveOfADefinitionKeepsTheInversionBelieved) {
    std::uint64_t sizeBefore = 0;
    std::int64_t timeBefore = 0;
    ASSERT_TRUE(Fingerprint::StampOf(survey().basePath, sizeBefore, timeBefore));
    CChampEtude field;
    field.name = "Hommes";
    {
        CDBQuestionnaire file(survey(), &fixture.ui);
        ASSERT_TRUE(file.SaveSubPopulation(field)) << file.GetLastError();
    }
    std::uint64_t sizeAfter = 0;
    std::int64_t timeAfter = 0;
    ASSERT_TRUE(Fingerprint::StampOf(survey().basePath, sizeAfter, timeAfter));
    ASSERT_NE(timeAfter, timeBefore); // the file did change
    EXPECT_TRUE(survey().GetInvertedFilesFingerprint().IsInversionValid());
    // Another program's change made afterwards, keeping the size, is still caught at the next
    // opening: the record holds the file as the program left it.
    ChangeQuestionnaireKeepingItsTime("UPDATE \"VEL Reponse1\" SET \"1;1\" = 3, \"3;1\" = 0");
    Reopen();
    EXPECT_TRUE(survey().invertedFilesValid);
    EXPECT_EQ(Table("SATISF"), kSatisfFromTables);
}

TEST_F(FingerprintTest, AQuestionnaireChangedSinceIsReadFromItsTables) {
    // Interviews 1 and 2 now say "Pas satisfait": still eight interviews, so the stamp matches.
    data_access_test::ExecuteSql(survey().basePath,
                                 "UPDATE \"VEL Reponse1\" SET \"1;1\" = 3 WHERE Cle1 <= 2");
    const auto files = Folder();
    Reopen();
    EXPECT_EQ(survey().DonnerNbreInterviews(), 8);
    EXPECT_FALSE(survey().invertedFilesValid);
    EXPECT_FALSE(survey().GetInvertedFilesFingerprint().IsInversionValid());
    EXPECT_FALSE(survey().GetInvertedFilesFingerprint().IsFileValid(File("Mod1.1")));
    // Even a reader told the files are valid does not take them.
    survey().invertedFilesValid = true;
    EXPECT_EQ(Table("SATISF"), (Counts{2, 2, 4, 0}));
    EXPECT_EQ(Table("REGION"), kRegionFromTables);
    EXPECT_EQ(Folder(), files);
}

TEST_F(FingerprintTest, ChangedOrSwappedFilesAreReadFromTheTables) {
    const Bytes satisf = FileBytes(File("Mod1.1"));
    const Bytes region = FileBytes(File("Mod2.1"));
    ASSERT_EQ(satisf.size(), 8u + 8 * 2);
    struct Case {
        const char* what;
        Bytes bytes;
        Counts fileWouldGive;
    };
    const Case cases[] = {
        // Interviews 1 and 2 turned from index 0 to index 1 by one byte each.
        {"two bytes changed",
         [&] {
             Bytes b = satisf;
             b[8] = 1;
             b[10] = 1;
             return b;
         }(),
         {2, 4, 2, 0}},
        {"REGION's file copied over SATISF's", region, kRegionFromTables},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteBytes(File("Mod1.1"), c.bytes);
        const auto files = Folder();
        Reopen();
        EXPECT_TRUE(survey().invertedFilesValid); // the other files are still good
        EXPECT_FALSE(survey().GetInvertedFilesFingerprint().IsFileValid(File("Mod1.1")));
        EXPECT_TRUE(survey().GetInvertedFilesFingerprint().IsFileValid(File("Mod2.1")));
        EXPECT_EQ(Table("SATISF"), kSatisfFromTables);
        EXPECT_EQ(Table("SATISF"), kSatisfFromTables); // refused again, from what the session knows
        EXPECT_EQ(Table("REGION"), kRegionFromTables);
        EXPECT_EQ(Folder(), files);
        // The same bytes recorded as the program's own write are what the file gives: the
        // tables above answered because of the checksum alone.
        RecordAsOwnWrite("Mod1.1");
        EXPECT_EQ(Table("SATISF"), c.fileWouldGive);
        WriteBytes(File("Mod1.1"), satisf);
        RecordAsOwnWrite("Mod1.1");
    }
}

TEST_F(FingerprintTest, ANumericFileHoldingANaNOrAnInfinityIsRefused) {
    const Bytes good = FileBytes(File("Num3.1"));
    const auto withSecondValue = [&](double value) {
        Bytes bytes(good.begin(), good.begin() + 12);
        PutDouble(bytes, value);
        bytes.insert(bytes.end(), good.begin() + 20, good.end());
        return bytes;
    };
    for (const double bad :
         {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
          -std::numeric_limits<double>::infinity()}) {
        SCOPED_TRACE(bad);
        WriteBytes(File("Num3.1"), withSecondValue(bad));
        const auto files = Folder();
        Reopen();
        EXPECT_DOUBLE_EQ(NoteMean(), kNoteMean); // by its checksum
        RecordAsOwnWrite("Num3.1");
        EXPECT_DOUBLE_EQ(NoteMean(), kNoteMean); // by its value, even recorded
        CVecteurDouble* values = nullptr;
        EXPECT_FALSE(CInvertedFiles(survey()).LireFichierValeurs(Question("NOTE"), values));
        EXPECT_EQ(values, nullptr);
        EXPECT_EQ(FileBytes(File("Num3.1")), files.at("Num3.1"));
    }
    // A finite value recorded so is believed: the refusal above is the NaN's, not the recording's.
    WriteBytes(File("Num3.1"), withSecondValue(1.0));
    RecordAsOwnWrite("Num3.1");
    EXPECT_DOUBLE_EQ(NoteMean(), 68.0 / 7.0);
}

TEST_F(FingerprintTest, AChangedLevelFileIsReadFromItsTable) {
    const CRecordKeys members = {{1, 1}, {1, 2}, {2, 1}, {4, 1}, {4, 2}};
    EXPECT_EQ(MembersAsLoaded(), members);
    // The last member becomes (4, 3): still in key order, rows in order.
    Bytes level = FileBytes(File("Lvl500.1"));
    ASSERT_EQ(level.size(), 8u + 5 * 12);
    level[8 + 4 * 12 + 4] = 3;
    WriteBytes(File("Lvl500.1"), level);
    const auto files = Folder();
    Reopen();
    EXPECT_FALSE(survey().GetInvertedFilesFingerprint().IsFileValid(File("Lvl500.1")));
    EXPECT_EQ(MembersAsLoaded(), members);
    EXPECT_EQ(Folder(), files);
    RecordAsOwnWrite("Lvl500.1");
    EXPECT_EQ(MembersAsLoaded(), (CRecordKeys{{1, 1}, {1, 2}, {2, 1}, {4, 1}, {4, 3}}));
}

TEST_F(FingerprintTest, WithoutFingerprintNoInvertedFileIsBelieved) {
    // SATISF's file says something else, recorded: believed while the fingerprint is there.
    std::string error;
    CMatriceCodes other(1);
    other.SetNbLignes(8);
    other.RemplirColonne0(1);
    ASSERT_TRUE(CInvertedFiles::EcrireFermees(File("Mod1.1"), other, error)) << error;
    RecordAsOwnWrite("Mod1.1");
    Reopen();
    ASSERT_TRUE(survey().invertedFilesValid);
    EXPECT_EQ(Table("SATISF"), (Counts{0, 8, 0, 0}));

    // The same record as the first version of the fingerprint laid it out, without the counts of
    // answers that named no modality: the files could hide answers the user must be told of, so
    // none is believed, though it lists the very same files.
    const Bytes current = FileBytes(File(Fingerprint::kFileName));
    const std::optional<Fingerprint::Record> record = Fingerprint::Decode(current);
    ASSERT_TRUE(record.has_value());
    WriteBytes(File(Fingerprint::kFileName), inversion_test::FirstVersionFingerprint(*record));
    Reopen();
    EXPECT_FALSE(survey().invertedFilesValid);
    EXPECT_FALSE(survey().GetInvertedFilesFingerprint().IsInversionValid());
    survey().invertedFilesValid = true;
    EXPECT_EQ(Table("SATISF"), kSatisfFromTables);
    // The record in the current layout is believed again: the refusal above is the version's.
    WriteBytes(File(Fingerprint::kFileName), current);
    Reopen();
    ASSERT_TRUE(survey().invertedFilesValid);
    EXPECT_EQ(Table("SATISF"), (Counts{0, 8, 0, 0}));

    // Files of an inversion made before fingerprints existed: a stamp, but no fingerprint.
    ASSERT_TRUE(std::filesystem::remove(File(Fingerprint::kFileName)));
    const auto files = Folder();
    Reopen();
    EXPECT_FALSE(survey().invertedFilesValid);
    EXPECT_FALSE(survey().GetInvertedFilesFingerprint().IsInversionValid());
    survey().invertedFilesValid = true;
    EXPECT_EQ(Table("SATISF"), kSatisfFromTables);
    EXPECT_DOUBLE_EQ(NoteMean(), kNoteMean);
    EXPECT_EQ(Folder(), files);

    // A fingerprint that is not one: the same.
    WriteBytes(File(Fingerprint::kFileName), Bytes{'M', 'V', 'F', 'P', 1, 0, 0, 0});
    Reopen();
    EXPECT_FALSE(survey().invertedFilesValid);
}

TEST_F(FingerprintTest, EachFileIsCheckedOncePerSessionAndAgainWhenRewritten) {
    Fingerprint& fingerprint = survey().GetInvertedFilesFingerprint();
    const auto identity = [&](const std::string& name) {
        InvertedFileIdentity id;
        std::FILE* file = std::fopen(File(name).c_str(), "rb");
        EXPECT_NE(file, nullptr);
        EXPECT_TRUE(file != nullptr && InvertedFileIdentity::Of(fileno(file), id));
        if (file != nullptr)
            std::fclose(file);
        return id;
    };
    // Files written a moment ago are checked at every reading: their time would not move if
    // they were rewritten as soon. An hour later, the verdict is kept.
    EXPECT_EQ(Table("SATISF"), kSatisfFromTables);
    EXPECT_EQ(fingerprint.VerdictOf(File("Mod1.1"), identity("Mod1.1")), Fingerprint::Verdict::Unknown);
    const auto anHourAgo = [&](const std::string& name) {
        std::filesystem::last_write_time(File(name), std::filesystem::last_write_time(File(name)) -
                                                         std::chrono::hours(1));
    };
    anHourAgo("Mod1.1");
    EXPECT_EQ(Table("SATISF"), kSatisfFromTables);
    EXPECT_EQ(fingerprint.VerdictOf(File("Mod1.1"), identity("Mod1.1")), Fingerprint::Verdict::Valid);
    EXPECT_TRUE(fingerprint.IsFileValid(File("Mod1.1")));

    // Rewritten in place with other bytes, then with its own bytes again: judged anew each time.
    const Bytes good = FileBytes(File("Mod1.1"));
    Bytes bad = good;
    bad[8] = 2;
    WriteBytes(File("Mod1.1"), bad);
    EXPECT_EQ(fingerprint.VerdictOf(File("Mod1.1"), identity("Mod1.1")), Fingerprint::Verdict::Unknown);
    EXPECT_EQ(Table("SATISF"), kSatisfFromTables);
    anHourAgo("Mod1.1");
    EXPECT_FALSE(fingerprint.IsFileValid(File("Mod1.1")));
    EXPECT_EQ(fingerprint.VerdictOf(File("Mod1.1"), identity("Mod1.1")), Fingerprint::Verdict::Refused);
    EXPECT_EQ(Table("SATISF"), kSatisfFromTables);
    WriteBytes(File("Mod1.1"), good);
    EXPECT_TRUE(fingerprint.IsFileValid(File("Mod1.1")));

    // The query takes a name or a path of the folder, nothing else.
    EXPECT_TRUE(fingerprint.IsFileValid("Mod1.1"));
    EXPECT_FALSE(fingerprint.IsFileValid(survey().basePath));
    EXPECT_FALSE(fingerprint.IsFileValid(File("Velto.dat")));
    EXPECT_FALSE(fingerprint.IsFileValid(File(Fingerprint::kFileName)));
    EXPECT_FALSE(fingerprint.IsFileValid(File("Mod9.1")));
}

TEST_F(FingerprintTest, TheQueryAnswersBeforeTheSurveyIsLoaded) {
    Fingerprint fingerprint(survey().basePath, survey().invertedFolder);
    EXPECT_TRUE(fingerprint.IsInversionValid());
    EXPECT_TRUE(fingerprint.IsFileValid(File("Lvl0.0")));
    EXPECT_TRUE(fingerprint.IsFileValid(File("Lvl500.1")));
    Bytes level = FileBytes(File("Lvl0.0"));
    level.back() ^= 1;
    WriteBytes(File("Lvl0.0"), level);
    EXPECT_FALSE(fingerprint.IsFileValid(File("Lvl0.0")));
    EXPECT_FALSE(Fingerprint(survey().basePath, survey().invertedFolder + "x").IsInversionValid());
    EXPECT_FALSE(Fingerprint(survey().basePath + "x", survey().invertedFolder).IsInversionValid());
}

TEST_F(FingerprintTest, TheProgramsOwnWriteOfANewVariablesFileKeepsEverythingBelieved) {
    // A variable computed by the program: its fields are added to the questionnaire, then its
    // file is written.
    data_access_test::ExecuteSql(survey().basePath,
                                 "ALTER TABLE \"VEL Reponse1\" ADD COLUMN \"9;1\" INTEGER");
    std::vector<std::int16_t> block = {2, 2, 2, 2, 1, 1, 1, 0};
    ASSERT_TRUE(CInversion(survey(), fixture.ui).InverserDonneesCalculees(Question("SATISF"), block))
        << survey().GetLastError();
    EXPECT_EQ(Table("SATISF"), (Counts{1, 3, 4, 0}));
    Reopen();
    EXPECT_TRUE(survey().invertedFilesValid);
    EXPECT_EQ(Table("SATISF"), (Counts{1, 3, 4, 0}));
    Fingerprint& fingerprint = survey().GetInvertedFilesFingerprint();
    for (const char* name : {"Mod1.1", "Mod2.1", "Num3.1", "Lvl0.0", "Lvl500.1", "Num51.1"})
        EXPECT_TRUE(fingerprint.IsFileValid(File(name))) << name;
}

TEST_F(FingerprintTest, AnInterruptedInversionLeavesNoFingerprint) {
    ASSERT_TRUE(std::filesystem::exists(File(Fingerprint::kFileName)));
    fixture.ui.cancelAtStep = 3;
    EXPECT_EQ(CInversion(survey(), fixture.ui).InverserBase(), CInversion::Issue::Cancelled);
    EXPECT_FALSE(std::filesystem::exists(File(Fingerprint::kFileName)));
    EXPECT_FALSE(std::filesystem::exists(File("Velto.dat")));
    EXPECT_FALSE(survey().GetInvertedFilesFingerprint().IsFileValid(File("Lvl0.0")));
    fixture.ui.cancelAtStep = 0;
    Reopen();
    EXPECT_FALSE(survey().invertedFilesValid);
}

} // namespace
