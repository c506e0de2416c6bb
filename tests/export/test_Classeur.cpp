// The spreadsheet export read back cell by cell with a reader of the test's own (zip through zlib,
// the sheet's XML): texts always as text, numbers as numbers showing the same text, fonts, grey
// fill, lines by the presentation's mapping, runs merged across columns, sheets and their names.
#include "ExportTestSupport.h"
#include "XlsxReader.h"

#include "app/StringTable.h"
#include "export/ExporterTableauExcel.h"
#include "export/SheetNames.h"
#include "export/TableExports.h"
#include "export/TableListExports.h"

#include <cmath>
#include <cstdio>

namespace {

using namespace export_test;
using xlsx_test::Cell;
using xlsx_test::Workbook;

TEST(NomCelluleExcel, ColumnLettersThenTheRowCountedFromOne) {
    EXPECT_EQ(NomCelluleExcel(0, 0), "A1");
    EXPECT_EQ(NomCelluleExcel(9, 25), "Z10");
    EXPECT_EQ(NomCelluleExcel(0, 26), "AA1");
    EXPECT_EQ(NomCelluleExcel(4, 51), "AZ5");
    EXPECT_EQ(NomCelluleExcel(0, 676), "ZA1");
    EXPECT_EQ(NomCelluleExcel(0, 677), "1");
}

TEST(SheetNames, LettersAndDigitsFromTheFirstLetterUniqueWithoutRegardToCase) {
    SheetNames names;
    EXPECT_EQ(names.Choose("Ventes 2024"), "Ventes2024");
    EXPECT_EQ(names.Choose("ventes-2024"), "ventes2025");
    EXPECT_EQ(names.Choose("VENTES 2024"), "VENTES2026");
    EXPECT_EQ(names.Choose("2024 : bilan d'été"), "bilandt");
    EXPECT_EQ(names.Choose("«»"), "S");
    EXPECT_EQ(names.Choose(""), "S2");
    EXPECT_EQ(names.Choose("x9"), "x9");
    EXPECT_EQ(names.Choose("X9"), "X10");
    EXPECT_EQ(names.Choose("Q099"), "Q099");
    EXPECT_EQ(names.Choose("q099"), "q100");
    // 31 characters at most; a raised number that no longer fits shortens the part before it.
    const std::string longName = std::string(29, 'a') + "99";
    EXPECT_EQ(names.Choose(longName + "xyz"), longName);
    EXPECT_EQ(names.Choose(longName), std::string(28, 'a') + "100");
    EXPECT_EQ(names.Choose(longName), std::string(28, 'a') + "101");
    // Digits beyond any integer type are still raised; a number that would leave no room for a
    // letter starts again from 2.
    const std::string digits = "N" + std::string(30, '9');
    EXPECT_EQ(names.Choose(digits), digits);
    EXPECT_EQ(names.Choose(digits), "N2");
    EXPECT_EQ(SheetNames::Increment("999999999999999999999999"), "1000000000000000000000000");
}

class ClasseurTest : public ExportFixture {
protected:
    Workbook Exported(const CTableauBase& table) {
        Message error;
        EXPECT_TRUE(ExporterTableauClasseur(table, Path("table.xlsx"), "", error)) << StringTable::Format(error);
        return Workbook(Path("table.xlsx"));
    }
    Workbook ExportedList(const std::vector<const CTableauBase*>& tables) {
        Message error;
        EXPECT_TRUE(ExporterTableauxClasseur(tables, Path("tables.xlsx"), "", error)) << StringTable::Format(error);
        return Workbook(Path("tables.xlsx"));
    }
};

Cell At(const Workbook& workbook, const std::string& reference, const std::string& sheet = "Feuil1") {
    const std::optional<Cell> cell = workbook.At(sheet, reference);
    EXPECT_TRUE(cell.has_value()) << sheet << "!" << reference;
    return cell.value_or(Cell{});
}

void ExpectText(const Workbook& workbook, const std::string& reference, const std::string& text,
                const std::string& sheet = "Feuil1") {
    const Cell cell = At(workbook, reference, sheet);
    EXPECT_EQ(cell.kind, Cell::Kind::Text) << reference;
    EXPECT_EQ(cell.text, text) << reference;
}

void ExpectNumber(const Workbook& workbook, const std::string& reference, double number, const std::string& format,
                  const std::string& sheet = "Feuil1") {
    const Cell cell = At(workbook, reference, sheet);
    EXPECT_EQ(cell.kind, Cell::Kind::Number) << reference;
    EXPECT_EQ(cell.number, number) << reference;
    EXPECT_EQ(cell.numberFormat, format) << reference;
}

using Edges = std::array<std::string, 4>; // top, bottom, left, right

TEST_F(ClasseurTest, TextsNumbersFontsAndLinesOfTheSmallTable) {
    const Workbook workbook = Exported(*SmallTable());
    EXPECT_EQ(workbook.SheetNames(), std::vector<std::string>{"Feuil1"});
    EXPECT_EQ(workbook.CellCount("Feuil1"), 9u);
    ExpectText(workbook, "A1", "Base : 500");
    ExpectText(workbook, "B1", "Effectifs");
    ExpectText(workbook, "C1", "Pourcentage");
    ExpectText(workbook, "A2", "Très satisfait");
    ExpectText(workbook, "A3", "Peu \\ {pas} satisfait");
    // Counts with no decimal, percentages with one and the sign after the number, as in the
    // table's own texts "125" and "25.0%".
    ExpectNumber(workbook, "B2", 125, "0");
    ExpectNumber(workbook, "C2", 25, "0.0\"%\"");
    ExpectNumber(workbook, "B3", 375, "0");
    ExpectNumber(workbook, "C3", 75, "0.0\"%\"");
    const Cell b2 = At(workbook, "B2");
    EXPECT_EQ(b2.face, "Times New Roman");
    EXPECT_EQ(b2.size, 10.0);
    EXPECT_FALSE(b2.bold);
    EXPECT_EQ(b2.fill, "");
    // The default lines: normal solid size 1 (thin), thick solid size 2 (medium). The thick lines
    // run round the grid and between headers and data.
    EXPECT_EQ(At(workbook, "A1").edges, (Edges{"medium", "medium", "medium", "medium"}));
    EXPECT_EQ(At(workbook, "B1").edges, (Edges{"medium", "medium", "medium", "thin"}));
    EXPECT_EQ(b2.edges, (Edges{"medium", "thin", "medium", "thin"}));
    EXPECT_EQ(At(workbook, "C3").edges, (Edges{"thin", "medium", "thin", "medium"}));
    // Columns as wide as their longest text: the labels' column is the widest.
    const std::map<int, double> widths = workbook.Widths("Feuil1");
    ASSERT_EQ(widths.size(), 3u);
    EXPECT_GT(widths.at(0), widths.at(2));
    EXPECT_GT(widths.at(2), widths.at(1));
    EXPECT_GE(widths.at(0), 21 * 10.0 / 11.0);
}

TEST_F(ClasseurTest, EveryTextStaysTextWithEveryCharacterAndNumbersShowTheirDecimals) {
    auto table = std::make_unique<CTableau>(1, 1, 3, 4, CTableauBase::kMarqueParColonne);
    const std::string labels[] = {"=1+1", "l’été «chaud» œuvre", "中文 😀 a\x01z \xE9", "_x0041_ et\r\ndeux lignes"};
    for (int c = 0; c < 4; ++c) {
        const CLigne label(labels[c]);
        table->SetLibelleColonne(0, c, &label);
    }
    const CLigne formula("@SUM(A1)");
    table->SetLibelleLigne(0, 0, &formula);
    table->SetMarque(0, CTableauBase::kMarqueReel);
    table->SetMarque(1, CTableauBase::kMarquePourcentage);
    table->SetMarque(2, CTableauBase::kMarqueSignificativite);
    table->SetMarque(3, CTableauBase::kMarqueTexte);
    table->AjouterTexte("=A1");
    CPresentationTableau presentation = table->GetPresentation();
    presentation.SetReel(3);
    presentation.SetPourcentage(0);
    presentation.SetEstPourcent(false);
    table->SetPresentation(presentation);
    table->SetValeur(0, 0, 2.0 / 3.0);
    table->SetValeur(0, 1, 12.5);
    table->SetValeur(0, 2, 2);
    table->SetValeur(0, 3, 0);
    table->SetValeur(1, 0, -0.0001);
    table->SetValeur(1, 1, CTableauBase::kValeurManquante);
    table->SetValeur(2, 0, 2e15);

    const Workbook workbook = Exported(*table);
    ExpectText(workbook, "B1", "=1+1");
    EXPECT_TRUE(At(workbook, "B1").formula.empty());
    ExpectText(workbook, "C1", "l’été «chaud» œuvre");
    ExpectText(workbook, "D1", "中文 😀 az \xEF\xBF\xBD");
    ExpectText(workbook, "E1", "_x0041_ et\ndeux lignes");
    ExpectText(workbook, "A2", "@SUM(A1)");
    // The number shown: 0.667 with three decimals; 12.5 shown "12" (printf rounds a tie to even)
    // is written 12, so the sheet shows what the table shows.
    ExpectNumber(workbook, "B2", 0.667, "0.000");
    ExpectNumber(workbook, "C2", 12, "0");
    ExpectText(workbook, "D2", "++");
    ExpectText(workbook, "E2", "=A1");
    // A small negative value shown "0.000" is 0, not -0; a missing value is an empty cell.
    ExpectNumber(workbook, "B3", 0, "0.000");
    EXPECT_EQ(At(workbook, "C3").kind, Cell::Kind::Blank);
    // A number shown in scientific form stays the text the table shows.
    ExpectText(workbook, "B4", "2.000e+15");
}

TEST_F(ClasseurTest, LabelStylesGiveBoldAndGreyAndMergedRunsHaveNoInsideLines) {
    const std::unique_ptr<CTableau> table = CrossTable();
    CLigne bold("Outre-mer");
    bold.bold = 1;
    bold.shadow = 1;
    table->SetLibelleColonne(1, 3, &bold);
    const Workbook workbook = Exported(*table);
    // The corner (A1:B2) and the heading (C1:F1) are runs: text in the first cell, no line
    // between their cells, the outer lines thick (medium).
    ExpectText(workbook, "A1", "Base : 2000");
    ExpectText(workbook, "C1", "Région");
    for (const char* covered : {"B1", "D1", "E1", "F1"})
        EXPECT_EQ(At(workbook, covered).kind, Cell::Kind::Blank) << covered;
    EXPECT_EQ(At(workbook, "A1").edges, (Edges{"medium", "", "medium", ""}));
    EXPECT_EQ(At(workbook, "C1").edges[3], "");
    EXPECT_EQ(At(workbook, "D1").edges, (Edges{"medium", "thin", "", ""}));
    EXPECT_EQ(At(workbook, "F1").edges, (Edges{"medium", "thin", "", "medium"}));
    // The age group over its three rows: no line inside the block.
    ExpectText(workbook, "A3", "18-24 ans");
    EXPECT_EQ(At(workbook, "A3").edges[1], "");
    EXPECT_EQ(At(workbook, "A4").edges[0], "");
    EXPECT_EQ(At(workbook, "A5").edges[1], "thin");
    // Thin lines of the table's marks (dotted, size 1) between the calculation rows.
    EXPECT_EQ(At(workbook, "C4").edges[0], "dotted");
    EXPECT_EQ(At(workbook, "C3").edges[1], "dotted");
    // The bold, shaded column label makes its column bold and grey, header and data.
    const Cell label = At(workbook, "F2");
    EXPECT_TRUE(label.bold);
    EXPECT_EQ(label.fill, "FFC0C0C0");
    EXPECT_TRUE(At(workbook, "F10").bold);
    EXPECT_EQ(At(workbook, "F10").fill, "FFC0C0C0");
    EXPECT_FALSE(At(workbook, "E10").bold);
    EXPECT_EQ(At(workbook, "E10").fill, "");
    ExpectNumber(workbook, "F3", 19, "0");
    ExpectNumber(workbook, "F4", 4.8, "0.0\"%\"");
}

TEST_F(ClasseurTest, BorderSizesAndTypesMapToTheSheetsLines) {
    struct Case {
        std::uint16_t size;
        std::uint16_t type;
        const char* line;
    };
    const Case cases[] = {
        {1, 1, "thin"}, {2, 1, "medium"}, {3, 1, "thick"}, {4, 1, "thick"}, {1, 2, "dashed"},
        {2, 2, "mediumDashed"}, {1, 3, "dotted"}, {0, 1, ""}, {1, 0, ""},
    };
    for (const Case& c : cases) {
        CPresentationTableau presentation;
        presentation.SetNormalBorderSize(c.size);
        presentation.SetNormalBorderType(c.type);
        XlsxFormat::Line line = XlsxFormat::Line::None;
        AppliquerBordureExcel(line, CTableauBase::kTraitNormal, presentation);
        const std::unique_ptr<CTableau> table = SmallTable();
        table->SetPresentation(presentation);
        // The inside cell B2 keeps the normal line on its bottom and right edges.
        const Workbook workbook = Exported(*table);
        EXPECT_EQ(At(workbook, "B2").edges[1], c.line) << c.size << " " << c.type;
        EXPECT_EQ(At(workbook, "B2").edges[3], c.line) << c.size << " " << c.type;
    }
}

TEST_F(ClasseurTest, TheFastExportKeepsOnlyTheWholeTablesFontAndNormalLines) {
    CRegistre::SetIsFastExport(true);
    const std::unique_ptr<CTableau> table = CrossTable();
    CLigne bold("Outre-mer");
    bold.bold = 1;
    table->SetLibelleColonne(1, 3, &bold);
    const Workbook workbook = Exported(*table);
    ExpectText(workbook, "C1", "Région");
    for (const char* reference : {"A1", "C1", "D1", "F2", "A3", "C4"}) {
        EXPECT_EQ(At(workbook, reference).edges, (Edges{"thin", "thin", "thin", "thin"})) << reference;
        EXPECT_FALSE(At(workbook, reference).bold) << reference;
    }
}

TEST_F(ClasseurTest, SeveralTablesGoOneBelowTheOtherUnderTheirTitlesOrEachOnANamedSheet) {
    const std::unique_ptr<CTableau> first = SmallTable();
    const std::unique_ptr<CTableau> second = SmallTable();
    second->title = "Satisfaction  globale";
    const Workbook below = ExportedList({first.get(), second.get()});
    EXPECT_EQ(below.SheetNames(), std::vector<std::string>{"Feuil1"});
    ExpectText(below, "A1", "Satisfaction – « globale »");
    ExpectText(below, "A2", "Base : 500");
    ExpectNumber(below, "C4", 75, "0.0\"%\"");
    EXPECT_FALSE(below.At("Feuil1", "A5").has_value()) << "an empty row between the tables";
    ExpectText(below, "A6", "Satisfaction  globale");
    ExpectText(below, "A7", "Base : 500");
    ExpectNumber(below, "C9", 75, "0.0\"%\"");

    CRegistre::SetIsOneSheetPerTable(true);
    const Workbook sheets = ExportedList({first.get(), second.get()});
    EXPECT_EQ(sheets.SheetNames(), (std::vector<std::string>{"Satisfactionglobale", "Satisfactionglobale2"}));
    ExpectText(sheets, "A1", "Satisfaction  globale", "Satisfactionglobale2");
    ExpectNumber(sheets, "C4", 75, "0.0\"%\"", "Satisfactionglobale2");
}

TEST_F(ClasseurTest, ATableLargerThanASheetIsRefusedAndTwoThousandColumnsAreWritten) {
    auto wide = std::make_unique<CTableau>(1, 1, 1, 2000, CTableauBase::kMarqueParColonne);
    const CLigne last("Dernière");
    wide->SetLibelleColonne(0, 1999, &last);
    wide->SetValeur(0, 1999, 7);
    const Workbook workbook = Exported(*wide);
    ExpectText(workbook, "BXY1", "Dernière"); // column 2001: 2 x 676 + 24 x 26 + 25
    ExpectNumber(workbook, "BXY2", 7, "0");

    auto tooWide = std::make_unique<CTableau>(1, 1, 1, 16384, CTableauBase::kMarqueParColonne);
    tooWide->title = "Trop large";
    Message error;
    EXPECT_FALSE(ExporterTableauClasseur(*tooWide, Path("too-wide.xlsx"), "", error));
    EXPECT_EQ(error, Message(StringTable::kTableauTropGrandClasseur, {"Trop large", "1048576", "16384"}));
    EXPECT_FALSE(std::filesystem::exists(Path("too-wide.xlsx")));
}

} // namespace
