#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tabulation/CalculEvolue.h"
#include "TabulationTestSupport.h"

namespace {

using namespace tabulation_test;

// A study of two levels (interviews of code 0, persons of code 7), two study fields and two
// weightings besides the fixed entries.
class CalculEvolueTest : public TabulationFixture {
protected:
    void SetUp() override {
        TabulationFixture::SetUp();
        AddLevel(0, "Interviews");
        AddLevel(7, "Personnes");
        AddStudyField(-1, "Toutes les interviews");
        AddStudyField(3, "Femmes");
        AddStudyField(4, "femmes");
        AddWeighting(-1, "Aucun redressement");
        AddWeighting(5, "Par région");
    }

    static std::unique_ptr<CCalculEvolue> Calculation(std::int16_t type, std::int32_t kind, const std::string& label) {
        auto calculation = std::make_unique<CCalculEvolue>();
        calculation->type = type;
        calculation->code = kind;
        calculation->label = label;
        return calculation;
    }
};

TEST_F(CalculEvolueTest, ANewCalculationIsACrossingOnAllInterviews) {
    const CCalculEvolue calculation;
    EXPECT_EQ(calculation.studyFieldId, -1);
    EXPECT_EQ(calculation.weightingId, -1);
    EXPECT_EQ(calculation.levelIndex, 0);
    EXPECT_EQ(calculation.studyFieldName, "Toutes les interviews");
    EXPECT_EQ(calculation.weightingName, "Aucun redressement");
    EXPECT_EQ(calculation.levelName, "Interviews");
    EXPECT_EQ(calculation.type, CCalculEvolue::kCrossing);
    EXPECT_EQ(calculation.position, CCalculEvolue::kRowsAndColumns);
    EXPECT_EQ(calculation.code, 0);
    EXPECT_EQ(calculation.testLineText, "");
}

TEST_F(CalculEvolueTest, DefinitionTextOfADefaultPercentage) {
    EXPECT_EQ(Calculation(CCalculEvolue::kCrossing, 1, "Pct")->DonnerDefinition(), "-1;-1;0;0;2;1;Pct;");
}

TEST_F(CalculEvolueTest, TheDefinitionNamesTheLevelByItsCodeNotItsIndex) {
    auto calculation = Calculation(CCalculEvolue::kTotal, 9, "Total");
    calculation->levelIndex = 1;
    calculation->studyFieldId = 3;
    calculation->weightingId = 5;
    calculation->position = CCalculEvolue::kColumnsOnly;
    EXPECT_EQ(calculation->DonnerDefinition(), "3;5;7;1;1;9;Total;");
}

TEST_F(CalculEvolueTest, DefinitionTextsReadBackAsTheyWereWritten) {
    for (const char* text : {"-1;-1;0;0;2;1;Pct;", "3;5;7;1;1;9;Total;", "-1;5;0;2;0;10;Moyenne pondérée;",
                             "4;-1;7;3;2;0;Khi2;Test sur la région", "-1;-1;0;0;2;0;;"}) {
        SCOPED_TRACE(text);
        const auto calculation = CCalculEvolue::LireDefinition(text);
        ASSERT_NE(calculation, nullptr);
        EXPECT_EQ(calculation->DonnerDefinition(), text);
    }
}

TEST_F(CalculEvolueTest, ReadingADefinitionResolvesNamesAndLevel) {
    const auto calculation = CCalculEvolue::LireDefinition("3;5;7;3;1;4;Mon test;Khi deux");
    ASSERT_NE(calculation, nullptr);
    EXPECT_EQ(calculation->studyFieldId, 3);
    EXPECT_EQ(calculation->studyFieldName, "Femmes");
    EXPECT_EQ(calculation->weightingId, 5);
    EXPECT_EQ(calculation->weightingName, "Par région");
    EXPECT_EQ(calculation->levelIndex, 1);
    EXPECT_EQ(calculation->levelName, "Personnes");
    EXPECT_EQ(calculation->type, CCalculEvolue::kTestLine);
    EXPECT_EQ(calculation->position, CCalculEvolue::kColumnsOnly);
    EXPECT_EQ(calculation->code, 4);
    EXPECT_EQ(calculation->label, "Mon test");
    EXPECT_EQ(calculation->testLineText, "Khi deux");
}

TEST_F(CalculEvolueTest, MalformedDefinitionsGiveNoCalculation) {
    for (const char* text : {"", "1;2;3", "-1;-1;0;1;2", "A;-1;0;1;2;9", "-1;-1;0;1;2;x", "-1;-1;0;1;2;1.5;Pct",
                             "-1;;0;1;2;9;Pct", "-1;-1;0;1;2;99999999999;Pct", "|", ";;;;;;"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(CCalculEvolue::LireDefinition(text), nullptr);
    }
}

TEST_F(CalculEvolueTest, SixPartsGiveEmptyLabelAndTestText) {
    const auto total = CCalculEvolue::LireDefinition("-1;-1;0;1;2;9");
    ASSERT_NE(total, nullptr);
    EXPECT_EQ(total->type, CCalculEvolue::kTotal);
    EXPECT_EQ(total->code, 9);
    EXPECT_EQ(total->DonnerLibelleOperation(), "Total");
    EXPECT_EQ(total->label, "");
    EXPECT_EQ(total->testLineText, "");
}

TEST_F(CalculEvolueTest, UnknownIdsKeepTheirValueAndTheDefaultNames) {
    const auto calculation = CCalculEvolue::LireDefinition("42;43;99;0;2;0;Effectifs;");
    ASSERT_NE(calculation, nullptr);
    EXPECT_EQ(calculation->studyFieldId, 42);
    EXPECT_EQ(calculation->studyFieldName, "Toutes les interviews");
    EXPECT_EQ(calculation->weightingId, 43);
    EXPECT_EQ(calculation->weightingName, "Aucun redressement");
    EXPECT_EQ(calculation->levelIndex, 0);
    EXPECT_EQ(calculation->levelName, "Interviews");
}

TEST_F(CalculEvolueTest, OperationLabels) {
    struct Case {
        std::int16_t type;
        std::int32_t kind;
        const char* label;
    };
    const std::vector<Case> cases{
        {0, 0, "Effectifs"},          {0, 3, "Fréquence totale"},  {0, 5, ""},
        {0, 7, "Indice d'affinité"},  {0, 8, ""},                  {1, 1, "Pourcentage"},
        {1, 2, ""},                   {1, 8, "Coefficient de pondération"}, {1, 11, "Ecart-type"},
        {2, 3, "Nbre de 'Non-réponses'"}, {2, 7, "IC sur moyenne(-)"}, {2, 8, "IC sur moyenne (+)"},
        {2, 10, "Significativité"},   {2, 11, ""},                 {3, 0, "Test khi2"},
        {3, 77, "Test khi2"},         {3, -5, "Test khi2"},        {4, 0, ""},
        {-1, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << " kind " << c.kind);
        EXPECT_EQ(CCalculEvolue::DonnerLibelleOperation(c.type, c.kind), c.label);
    }
}

TEST_F(CalculEvolueTest, TextsHoldingASeparatorAreRefused) {
    CCalculEvolue calculation;
    Message refusal;
    ASSERT_TRUE(calculation.SetLibelle("Moyenne (écart)", refusal));
    for (const char* text : {"a;b", "a|b", ";", "|", "fin;"}) {
        SCOPED_TRACE(text);
        refusal = Message();
        EXPECT_FALSE(calculation.SetLibelle(text, refusal));
        EXPECT_EQ(refusal, Message::Text("Vous ne pouvez utiliser les caractères suivants ; et |"));
        refusal = Message();
        EXPECT_FALSE(calculation.SetTexteTest(text, refusal));
        EXPECT_EQ(refusal, Message::Text("Vous ne pouvez utiliser les caractères suivants ; et |"));
    }
    EXPECT_EQ(calculation.label, "Moyenne (écart)");
    EXPECT_EQ(calculation.testLineText, "");
    EXPECT_TRUE(calculation.SontTextesAutorises());
    calculation.testLineText = "x|y"; // as an old archive may bring it
    EXPECT_FALSE(calculation.SontTextesAutorises());
}

// ---- Archive ----

Bytes ExpectedRecord(std::uint32_t kind, const std::string& label, std::uint16_t type, std::uint16_t position,
                     std::uint32_t levelId, const std::string& field, const std::string& weighting) {
    Bytes bytes;
    Put32(bytes, kind);
    PutString(bytes, label);
    Put16(bytes, type);
    Put16(bytes, position);
    Put32(bytes, levelId);
    PutString(bytes, field);
    PutString(bytes, weighting);
    return bytes;
}

TEST_F(CalculEvolueTest, ArchiveLayoutAtVersions403And404) {
    auto calculation = Calculation(CCalculEvolue::kTestLine, 2, "Khi2");
    calculation->levelIndex = 1;
    calculation->studyFieldId = 3;
    calculation->studyFieldName = "Femmes";
    calculation->testLineText = "Test";
    const Bytes record403 = ExpectedRecord(2, "Khi2", 3, 2, 7, "Femmes", "Aucun redressement");
    EXPECT_EQ(Stored(*calculation, 403), record403);
    Bytes record404 = record403;
    PutString(record404, "Test");
    EXPECT_EQ(Stored(*calculation, 404), record404);
}

TEST_F(CalculEvolueTest, ArchiveRoundTripsByteForByte) {
    auto calculation = Calculation(CCalculEvolue::kStatisticsSubTotal, 8, "IC+");
    calculation->levelIndex = 1;
    calculation->studyFieldId = 3;
    calculation->studyFieldName = "Femmes";
    calculation->weightingId = 5;
    calculation->weightingName = "Par région";
    calculation->position = CCalculEvolue::kRowsOnly;
    calculation->testLineText = "écart à la moyenne";
    for (int version : {403, 404, 405}) {
        SCOPED_TRACE(version);
        const Bytes stored = Stored(*calculation, version);
        CCalculEvolue loaded;
        Load(loaded, stored, version);
        EXPECT_EQ(Stored(loaded, version), stored);
        EXPECT_EQ(loaded.studyFieldId, 3);
        EXPECT_EQ(loaded.weightingId, 5);
        EXPECT_EQ(loaded.levelIndex, 1);
        EXPECT_EQ(loaded.levelName, "Personnes");
        EXPECT_EQ(loaded.testLineText, version >= 404 ? "écart à la moyenne" : "");
        EXPECT_EQ(loaded.DonnerDefinition(), version >= 404 ? calculation->DonnerDefinition() : "3;5;7;2;0;8;IC+;");
    }
}

TEST_F(CalculEvolueTest, AVersion403ArchiveHasNoTestText) {
    CCalculEvolue loaded;
    loaded.testLineText = "before";
    Load(loaded, ExpectedRecord(0, "Khi2", 3, 2, 0, "Toutes les interviews", "Aucun redressement"), 403);
    EXPECT_EQ(loaded.testLineText, "");
    EXPECT_EQ(loaded.label, "Khi2");
}

TEST_F(CalculEvolueTest, LoadingLooksIdsUpByExactName) {
    struct Case {
        const char* field;
        const char* weighting;
        std::uint32_t levelId;
        std::int32_t fieldId;
        std::int32_t weightingId;
        std::int32_t levelIndex;
    };
    const std::vector<Case> cases{
        {"Femmes", "Par région", 7, 3, 5, 1},
        {"femmes", "Aucun redressement", 0, 4, -1, 0}, // case counts
        {"Hommes", "par région", 8, -1, -1, 0},        // no such names, no such level
        {"Toutes les interviews", "", 7, -1, -1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        CCalculEvolue loaded;
        Load(loaded, ExpectedRecord(1, "Pct", 0, 2, c.levelId, c.field, c.weighting), 403);
        EXPECT_EQ(loaded.studyFieldId, c.fieldId);
        EXPECT_EQ(loaded.weightingId, c.weightingId);
        EXPECT_EQ(loaded.levelIndex, c.levelIndex);
        EXPECT_EQ(loaded.studyFieldName, c.field); // kept as read
        EXPECT_EQ(loaded.weightingName, c.weighting);
    }
}

TEST_F(CalculEvolueTest, EveryTruncationFailsAndLeavesTheCalculation) {
    auto calculation = Calculation(CCalculEvolue::kTotal, 10, "Moyenne");
    calculation->testLineText = "t";
    for (int version : {403, 404}) {
        SCOPED_TRACE(version);
        ExpectEveryCutFails<CCalculEvolue>(Stored(*calculation, version), version,
                                           [] { return CCalculEvolue(); });
    }
}

TEST_F(CalculEvolueTest, WithoutAStudyContextNamesStayAndLevelsAreLevelZero) {
    CContexteEtude::RegisterContext(nullptr);
    const auto calculation = CCalculEvolue::LireDefinition("3;5;7;0;2;1;Pct;");
    ASSERT_NE(calculation, nullptr);
    EXPECT_EQ(calculation->studyFieldName, "Toutes les interviews");
    EXPECT_EQ(calculation->levelIndex, 0);
    EXPECT_EQ(calculation->levelName, "");
    EXPECT_EQ(calculation->DonnerDefinition(), "3;5;0;0;2;1;Pct;");
    CCalculEvolue loaded;
    Load(loaded, Stored(*calculation, 404), 404);
    EXPECT_EQ(loaded.studyFieldId, -1);
}

} // namespace
