#include "support/SettingsFixture.h"
#include "tabulation/Tableau.h"
#include "gui/tabulation/TableCellTexts.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

struct DataCase {
    const char* name;
    std::uint16_t marker;
    double value;
    std::uint16_t decimals; // of the marker's kind
    bool percentSign;
    const char* shown;
};

const std::vector<DataCase> kDataCases{
    {"CountWithoutDecimals", CTableauBase::kMarqueEffectif, 100, 0, true, "100"},
    {"CountWithTwoDecimals", CTableauBase::kMarqueEffectif, 12.346, 2, true, "12.35"},
    // The window puts a blank before the sign; the exports' cell texts do not.
    {"PercentageWithSign", CTableauBase::kMarquePourcentage, 12.5, 1, true, "12.5 %"},
    {"PercentageWithoutSign", CTableauBase::kMarquePourcentage, 12.5, 1, false, "12.5"},
    {"RealWithThreeDecimals", CTableauBase::kMarqueReel, 3.14159, 3, true, "3.142"},
    {"StrongPositiveSignificance", CTableauBase::kMarqueSignificativite, 2.0, 0, true, "++"},
    {"StrongestNegativeSignificance", CTableauBase::kMarqueSignificativite, -3.7, 0, true, "---"},
    {"NoSignificance", CTableauBase::kMarqueSignificativite, 0.0, 0, true, " "},
    {"SignificanceOutOfScale", CTableauBase::kMarqueSignificativite, 7.0, 0, true, " "},
    {"TextOfIndex", CTableauBase::kMarqueTexte, 1.0, 0, true, "second"},
    {"TextIndexOutOfList", CTableauBase::kMarqueTexte, 5.0, 0, true, " "},
    {"NegativeTextIndex", CTableauBase::kMarqueTexte, -1.0, 0, true, " "},
    {"UnknownMarker", 9, 42.0, 0, true, " "},
    // A value rounding to zero has no sign ("-0.0" from printf); printf's rounding otherwise:
    // -0.05 is stored a little beyond -0.05.
    {"SmallNegativeRoundsToUnsignedZero", CTableauBase::kMarqueReel, -0.04, 1, true, "0.0"},
    {"NegativeZeroPercentage", CTableauBase::kMarquePourcentage, -0.0, 1, true, "0.0 %"},
    {"NegativeHalfRoundsAsPrintf", CTableauBase::kMarqueReel, -0.05, 1, true, "-0.1"},
    // A missing value shows a single blank whatever its marker.
    {"MissingCount", CTableauBase::kMarqueEffectif, CTableauBase::kValeurManquante, 0, true, " "},
    {"MissingPercentage", CTableauBase::kMarquePourcentage, CTableauBase::kValeurManquante, 1, true, " "},
};

class TableCellTextsCase : public SettingsFixture, public ::testing::WithParamInterface<DataCase> {};

TEST_P(TableCellTextsCase, DataCellShowsItsValueByItsMarker) {
    const DataCase& c = GetParam();
    CTableau table(1, 1, 1, 1, CTableauBase::kMarqueParCellule);
    table.AjouterTexte("first");
    table.AjouterTexte("second");
    table.SetValeur(0, 0, c.value);
    table.SetMarqueCellule(0, 0, c.marker);
    CPresentationTableau presentation = table.GetPresentation();
    presentation.SetEffectif(c.decimals);
    presentation.SetPourcentage(c.decimals);
    presentation.SetReel(c.decimals);
    presentation.SetEstPourcent(c.percentSign);
    table.SetPresentation(presentation);

    EXPECT_EQ(TableCellTexts::DataText(table, 0, 0), c.shown);
    // On the displayed grid the data cell stands below and right of the headers.
    EXPECT_EQ(TableCellTexts::CellText(table, 1, 1), c.shown);
}

INSTANTIATE_TEST_SUITE_P(Cases, TableCellTextsCase, ::testing::ValuesIn(kDataCases),
                         [](const ::testing::TestParamInfo<DataCase>& param) { return param.param.name; });

class TableCellTextsTest : public SettingsFixture {};

// Headers and the corner read as the table gives them; a transposed table shows its stored
// (2, 0) at displayed (0, 2).
TEST_F(TableCellTextsTest, HeadersFromTheTableAndValuesOnTheDisplayedGrid) {
    CTableau table;
    table.RemplirExemple();
    table.SetValeur(2, 0, 321);
    EXPECT_EQ(TableCellTexts::CellText(table, 0, 1), "Colonne 1");
    EXPECT_EQ(TableCellTexts::CellText(table, 2, 0), "Ligne 2");
    EXPECT_EQ(TableCellTexts::CellText(table, 0, 0), table.DonnerTexteBase());

    CPresentationTableau presentation = table.GetPresentation();
    presentation.SetOrientation(1);
    table.SetPresentation(presentation);
    EXPECT_EQ(TableCellTexts::DataText(table, 0, 2), "321");
    EXPECT_EQ(TableCellTexts::CellText(table, 0, 3), "Ligne 3");
}

} // namespace
