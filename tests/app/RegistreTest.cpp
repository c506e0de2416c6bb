#include <clocale>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/MemorySettingsStore.h"
#include "app/Registre.h"
#include "support/SettingsFixture.h"

namespace {

using RegistreTest = SettingsFixture;

struct NumberCase {
    const char* name;
    std::function<double()> read;
    double expectedDefault;
};

// Every single preference read from an empty store, against the defaults of the settings table.
const std::vector<NumberCase>& DefaultCases()
{
    static const std::vector<NumberCase> cases{
        {"CaptionType", [] { return CRegistre::GetCaptionType(); }, 2},
        {"EffectifSignificativite", [] { return CRegistre::GetEffectifSignificativite(); }, 5},
        {"SignificanceType", [] { return CRegistre::GetSignificanceType(); }, 0},
        {"SignificanceThreshold3", [] { return CRegistre::GetSignificanceThreshold3(); }, 2.576},
        {"SignificanceThreshold2", [] { return CRegistre::GetSignificanceThreshold2(); }, 1.96},
        {"SignificanceThreshold1", [] { return CRegistre::GetSignificanceThreshold1(); }, 1.645},
        {"ConfidenceIntervalThreshold", [] { return CRegistre::GetConfidenceIntervalThreshold(); }, 1.96},
        {"TotalType", [] { return CRegistre::GetTotalType(); }, 0},
        {"UseCompletedOnly", [] { return CRegistre::GetUseCompletedOnly(); }, 0},
        {"CheckInversion", [] { return CRegistre::GetCheckInversion(); }, 1},
        {"GroupSemiOpens", [] { return CRegistre::GetGroupSemiOpens(); }, 0},
        {"MarqueurSurLigne", [] { return CRegistre::GetMarqueurSurLigne(); }, 0},
        {"NombreLigneApresTableau", [] { return CRegistre::GetNombreLigneApresTableau(); }, 1},
        {"NombreLigneApresTitre", [] { return CRegistre::GetNombreLigneApresTitre(); }, 1},
        {"LinesPerTableInWord", [] { return CRegistre::GetLinesPerTableInWord(false); }, 32768},
        {"LinesPerTableInWordLandscape", [] { return CRegistre::GetLinesPerTableInWord(true); }, 32768},
        {"ColumnsPerTableInWord", [] { return CRegistre::GetColumnsPerTableInWord(false); }, 32768},
        {"ColumnsPerTableInWordLandscape", [] { return CRegistre::GetColumnsPerTableInWord(true); }, 32768},
        {"IsBreakColumnsFirst", [] { return CRegistre::GetIsBreakColumnsFirst(); }, 1},
        {"IsTotalBefore", [] { return CRegistre::GetIsTotalBefore(); }, 0},
        {"Langue", [] { return CRegistre::GetLangue(); }, 1036},
        {"IterationPerQuestion", [] { return CRegistre::GetIterationPerQuestion(); }, 30},
        {"Accuracy", [] { return CRegistre::GetAccuracy(); }, 10},
        {"MinWeight", [] { return CRegistre::GetMinWeight(); }, 0.0},
        {"MaxWeight", [] { return CRegistre::GetMaxWeight(); }, 5.0},
        {"IsOneSheetPerTable", [] { return CRegistre::GetIsOneSheetPerTable(); }, 0},
        {"IsFastExport", [] { return CRegistre::GetIsFastExport(); }, 0},
    };
    return cases;
}

void ExpectEveryDefault()
{
    for (const NumberCase& c : DefaultCases())
        EXPECT_DOUBLE_EQ(c.read(), c.expectedDefault) << c.name;
    EXPECT_EQ(CRegistre::GetMarqueurRTFAvant(), "");
    EXPECT_EQ(CRegistre::GetMarqueurRTFApres(), "");
    EXPECT_EQ(CRegistre::GetMarqueurAvant(), "");
    EXPECT_EQ(CRegistre::GetMarqueurApres(), "");
    EXPECT_EQ(CRegistre::GetPostcodePath(), "");
    EXPECT_EQ(CRegistre::GetLabelPath(1), "");
}

TEST_F(RegistreTest, AnEmptyStoreGivesEveryKeyItsDefault)
{
    ExpectEveryDefault();
}

TEST(RegistreWithoutStore, ReadersGiveDefaultsAndWritersDoNothing)
{
    auto previous = CRegistre::InstallStore(nullptr);
    CRegistre::SetSignificanceType(2);
    CRegistre::SetSignificanceThreshold1(3.0);
    CRegistre::SetIsTotalBefore(true);
    ExpectEveryDefault();
    CRegistre::InstallStore(std::move(previous));
}

// A stored integer outside its key's bounds, or one that is not an integer, reads as the default;
// the bounds themselves are accepted.
struct StoredCase {
    const char* section;
    const char* key;
    const char* stored;
    std::function<double()> read;
    double expected;
};

TEST_F(RegistreTest, StoredValuesOutsideTheirBoundsReadAsTheDefault)
{
    const std::vector<StoredCase> cases{
        {"Options", "CaptionType", "3", [] { return CRegistre::GetCaptionType(); }, 2},
        {"Options", "CaptionType", "-1", [] { return CRegistre::GetCaptionType(); }, 2},
        {"Options", "CaptionType", "0", [] { return CRegistre::GetCaptionType(); }, 0},
        {"Options", "CaptionType", "abc", [] { return CRegistre::GetCaptionType(); }, 2},
        {"Options", "EffectifSignificativite", "50", [] { return CRegistre::GetEffectifSignificativite(); }, 50},
        {"Options", "EffectifSignificativite", "51", [] { return CRegistre::GetEffectifSignificativite(); }, 5},
        {"Options", "SignificanceType", "2", [] { return CRegistre::GetSignificanceType(); }, 2},
        {"Options", "SignificanceType", "3", [] { return CRegistre::GetSignificanceType(); }, 0},
        {"Options", "TotalType", "2", [] { return CRegistre::GetTotalType(); }, 0},
        {"Tableau", "NombreLigneApresTableau", "10", [] { return CRegistre::GetNombreLigneApresTableau(); }, 10},
        {"Tableau", "NombreLigneApresTitre", "11", [] { return CRegistre::GetNombreLigneApresTitre(); }, 1},
        {"Tableau", "LinesPerTableInWord", "9", [] { return CRegistre::GetLinesPerTableInWord(false); }, 32768},
        {"Tableau", "LinesPerTableInWord", "10", [] { return CRegistre::GetLinesPerTableInWord(false); }, 10},
        {"Tableau", "LinesPerTableInWordLandscape", "32769", [] { return CRegistre::GetLinesPerTableInWord(true); },
         32768},
        {"Tableau", "ColumnsPerTableInWord", "3", [] { return CRegistre::GetColumnsPerTableInWord(false); }, 32768},
        {"Tableau", "ColumnsPerTableInWordLandscape", "4", [] { return CRegistre::GetColumnsPerTableInWord(true); }, 4},
        {"Libelle", "Langue", "20001", [] { return CRegistre::GetLangue(); }, 1036},
        {"Libelle", "Langue", "2057", [] { return CRegistre::GetLangue(); }, 2057},
        {"Weighting", "IterationPerQuestion", "0", [] { return CRegistre::GetIterationPerQuestion(); }, 30},
        {"Weighting", "IterationPerQuestion", "1000", [] { return CRegistre::GetIterationPerQuestion(); }, 1000},
        {"Weighting", "Accuracy", "26", [] { return CRegistre::GetAccuracy(); }, 10},
        // Weights are stored in hundredths.
        {"Weighting", "MinWeight", "90", [] { return CRegistre::GetMinWeight(); }, 0.9},
        {"Weighting", "MinWeight", "91", [] { return CRegistre::GetMinWeight(); }, 0.0},
        {"Weighting", "MaxWeight", "100", [] { return CRegistre::GetMaxWeight(); }, 5.0},
        {"Weighting", "MaxWeight", "110", [] { return CRegistre::GetMaxWeight(); }, 1.1},
        {"Weighting", "MaxWeight", "9000000", [] { return CRegistre::GetMaxWeight(); }, 90000.0},
        {"Weighting", "MaxWeight", "9000001", [] { return CRegistre::GetMaxWeight(); }, 5.0},
        // Booleans are 0 or 1; anything else is the key's default, whichever it is.
        {"Options", "CheckInversion", "0", [] { return CRegistre::GetCheckInversion(); }, 0},
        {"Options", "CheckInversion", "2", [] { return CRegistre::GetCheckInversion(); }, 1},
        {"Options", "UseCompletedOnly", "1", [] { return CRegistre::GetUseCompletedOnly(); }, 1},
        {"Options", "UseCompletedOnly", "2", [] { return CRegistre::GetUseCompletedOnly(); }, 0},
        {"Options", "UseCompletedOnly", "-1", [] { return CRegistre::GetUseCompletedOnly(); }, 0},
        {"Tableau", "IsBreakColumnsFirst", "2", [] { return CRegistre::GetIsBreakColumnsFirst(); }, 1},
        {"Excel", "IsFastExport", "yes", [] { return CRegistre::GetIsFastExport(); }, 0},
    };
    for (const StoredCase& c : cases) {
        Store().WriteString(c.section, c.key, c.stored);
        EXPECT_DOUBLE_EQ(c.read(), c.expected) << c.section << "/" << c.key << " = \"" << c.stored << "\"";
        Store().Remove(c.section, c.key);
    }
}

TEST_F(RegistreTest, StoredThresholdTextsOutsideTheirBoundsOrUnreadableReadAsTheDefault)
{
    const std::vector<std::pair<const char*, double>> cases{
        {"abc", 1.645}, {"25", 1.645},  {"0", 0.0},     {"20", 20.0},    {"", 1.645},
        {"1.5", 1.5},   {" 2.25 ", 2.25}, {"1,5", 1.5}, {"-0.1", 1.645}, {"20.0001", 1.645},
        {"1.5x", 1.645}, {"nan", 1.645}, {"inf", 1.645}, {"1e1", 10.0},
    };
    for (const auto& [stored, expected] : cases) {
        Store().WriteString("Options", "SignificanceThreshold1", stored);
        EXPECT_DOUBLE_EQ(CRegistre::GetSignificanceThreshold1(), expected) << "\"" << stored << "\"";
    }
}

TEST_F(RegistreTest, AMissingSignificanceTypeReadsAsZero)
{
    Store().WriteInteger("Options", "CaptionType", 1);
    EXPECT_EQ(CRegistre::GetSignificanceType(), 0);
}

TEST_F(RegistreTest, WritersStoreUnderTheirKeysAndReadBack)
{
    CRegistre::SetSignificanceType(1);
    CRegistre::SetSignificanceThreshold3(3.5);
    CRegistre::SetSignificanceThreshold2(2.5);
    CRegistre::SetSignificanceThreshold1(1.5);
    CRegistre::SetConfidenceIntervalThreshold(2.0);
    CRegistre::SetTotalType(1);
    CRegistre::SetUseCompletedOnly(true);
    CRegistre::SetCheckInversion(false);
    CRegistre::SetLinesPerTableInWord(true, 40);
    CRegistre::SetColumnsPerTableInWord(false, 6);
    CRegistre::SetIsBreakColumnsFirst(false);
    CRegistre::SetIsTotalBefore(true);
    CRegistre::SetIsOneSheetPerTable(true);
    CRegistre::SetIsFastExport(true);

    EXPECT_EQ(CRegistre::GetSignificanceType(), 1);
    EXPECT_DOUBLE_EQ(CRegistre::GetSignificanceThreshold3(), 3.5);
    EXPECT_DOUBLE_EQ(CRegistre::GetSignificanceThreshold2(), 2.5);
    EXPECT_DOUBLE_EQ(CRegistre::GetSignificanceThreshold1(), 1.5);
    EXPECT_DOUBLE_EQ(CRegistre::GetConfidenceIntervalThreshold(), 2.0);
    EXPECT_EQ(CRegistre::GetTotalType(), 1);
    EXPECT_TRUE(CRegistre::GetUseCompletedOnly());
    EXPECT_FALSE(CRegistre::GetCheckInversion());
    EXPECT_EQ(CRegistre::GetLinesPerTableInWord(true), 40);
    EXPECT_EQ(CRegistre::GetLinesPerTableInWord(false), 32768);
    EXPECT_EQ(CRegistre::GetColumnsPerTableInWord(false), 6);
    EXPECT_EQ(CRegistre::GetColumnsPerTableInWord(true), 32768);
    EXPECT_FALSE(CRegistre::GetIsBreakColumnsFirst());
    EXPECT_TRUE(CRegistre::GetIsTotalBefore());
    EXPECT_TRUE(CRegistre::GetIsOneSheetPerTable());
    EXPECT_TRUE(CRegistre::GetIsFastExport());

    // Flags are stored as the integers 0 and 1, doubles as text.
    EXPECT_EQ(Store().ReadString("Options", "UseCompletedOnly"), "1");
    EXPECT_EQ(Store().ReadString("Options", "CheckInversion"), "0");
    EXPECT_EQ(Store().ReadString("Options", "SignificanceThreshold1"), "1.5");
    EXPECT_EQ(Store().ReadString("Tableau", "LinesPerTableInWordLandscape"), "40");
}

TEST_F(RegistreTest, TextsAndNumberedKeysReadWhatIsStored)
{
    Store().WriteString("Tableau", "MarqueurRTFAvant", "{\\page}");
    Store().WriteString("Tableau", "MarqueurApres", "---");
    Store().WriteString("Postcode", "PostcodePath", "/data/postcodes.txt");
    Store().WriteString("Postcode", "LabelPath2", "/data/labels2.txt");
    EXPECT_EQ(CRegistre::GetMarqueurRTFAvant(), "{\\page}");
    EXPECT_EQ(CRegistre::GetMarqueurApres(), "---");
    EXPECT_EQ(CRegistre::GetPostcodePath(), "/data/postcodes.txt");
    EXPECT_EQ(CRegistre::GetLabelPath(2), "/data/labels2.txt");
    EXPECT_EQ(CRegistre::GetLabelPath(3), "");
    EXPECT_EQ(CRegistre::GetString("FRA", "OrMore", "%g et plus"), "%g et plus");
}

// Doubles are written as "%g" would write them in the C locale: six significant digits.
TEST_F(RegistreTest, DoublesAreWrittenLikePercentGInTheCLocale)
{
    const std::vector<std::pair<double, const char*>> cases{
        {1.645, "1.645"},        {2.0, "2"},           {0.0, "0"},          {-3.25, "-3.25"},
        {1234567.0, "1.23457e+06"}, {0.0001, "0.0001"}, {0.00001, "1e-05"}, {1.0 / 3.0, "0.333333"},
        {100000.0, "100000"},    {1e6, "1e+06"},
    };
    for (const auto& [value, expected] : cases) {
        CRegistre::SetDouble("Test", "Value", value);
        EXPECT_EQ(Store().ReadString("Test", "Value"), expected);
        char reference[64];
        std::snprintf(reference, sizeof reference, "%g", value); // the test process runs in the C locale
        EXPECT_EQ(Store().ReadString("Test", "Value"), std::string(reference));
    }
}

class RegistreFrenchLocaleTest : public RegistreTest {
protected:
    void SetUp() override
    {
        RegistreTest::SetUp();
        if (std::setlocale(LC_ALL, "fr_FR.UTF-8") == nullptr)
            GTEST_SKIP() << "the fr_FR.UTF-8 locale is not installed (make deps generates it)";
    }
    void TearDown() override
    {
        std::setlocale(LC_ALL, "C");
        RegistreTest::TearDown();
    }
};

TEST_F(RegistreFrenchLocaleTest, DoublesAreWrittenAndReadTheSameWhateverTheLocale)
{
    char localised[32];
    std::snprintf(localised, sizeof localised, "%g", 1.645);
    ASSERT_STREQ(localised, "1,645") << "the French locale is not in force";

    CRegistre::SetSignificanceThreshold1(1.645);
    CRegistre::SetDouble("Test", "Big", 1234567.0);
    const auto underFrench = Store().ReadString("Options", "SignificanceThreshold1");
    const auto bigUnderFrench = Store().ReadString("Test", "Big");
    EXPECT_DOUBLE_EQ(CRegistre::GetSignificanceThreshold1(), 1.645);

    std::setlocale(LC_ALL, "C");
    CRegistre::SetSignificanceThreshold1(1.645);
    CRegistre::SetDouble("Test", "Big", 1234567.0);
    EXPECT_EQ(underFrench, Store().ReadString("Options", "SignificanceThreshold1"));
    EXPECT_EQ(bigUnderFrench, Store().ReadString("Test", "Big"));
    EXPECT_EQ(underFrench, "1.645");
}

// Entries of the classic default palette, as 0x00BBGGRR; outside it, the window-text colour.
TEST(RegistrePalette, DefaultPaletteEntries)
{
    const std::vector<std::pair<int, std::uint32_t>> cases{
        {0, 0x000000},  {1, 0x000080},  {2, 0x008000},  {3, 0x008080},  {4, 0x800000},  {7, 0xC0C0C0},
        {8, 0xC0DCC0},  {9, 0xF0CAA6},  {10, 0xF0FBFF}, {11, 0xA4A0A0}, {12, 0x808080}, {13, 0x0000FF},
        {16, 0xFF0000}, {18, 0xFFFF00}, {19, 0xFFFFFF}, {-1, 0x000000}, {20, 0x000000},
    };
    for (const auto& [index, colour] : cases)
        EXPECT_EQ(CRegistre::GetPaletteColor(index), colour) << "entry " << index;
}

} // namespace
