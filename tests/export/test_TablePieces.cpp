// Cutting a table into pieces for the word processor: pieces of at most the lines and columns
// allowed, cut before a group, always advancing however large the headers, and each piece a
// table of its own with the headers repeated.
#include "ExportTestSupport.h"

#include "export/TablePieces.h"
#include "tabulation/Cellule.h"

namespace {

using namespace export_test;
using Piece = TablePieces::Piece;

// A table of `headerRows` header rows, one header column and `rows` rows, the header column
// labelled on every `groupEvery`-th row only (each label starts a group), two data columns.
std::unique_ptr<CTableau> Grouped(int headerRows, int rows, int groupEvery) {
    auto table = std::make_unique<CTableau>(headerRows, 1, rows, 2, CTableauBase::kMarqueParColonne);
    for (int r = 0; r < rows; r += groupEvery) {
        const CLigne label("Groupe " + std::to_string(r / groupEvery + 1));
        table->SetLibelleLigne(0, r, &label);
    }
    return table;
}

std::vector<std::pair<int, int>> Bands(const std::vector<Piece>& pieces) {
    std::vector<std::pair<int, int>> bands;
    for (const Piece& piece : pieces)
        if (piece.firstColumn == 0)
            bands.emplace_back(piece.firstRow, piece.rowCount);
    return bands;
}

TEST(TablePieces, TwoHeaderRowsAHundredRowsAndThirtyLinesGiveBandsOfAtMost28RowsCutBeforeAGroup) {
    // Groups of 5 rows: a band of 28 would end inside a group; it ends before the group at 25.
    EXPECT_EQ(Bands(TablePieces::Plan(*Grouped(2, 100, 5), 30, 32768)),
              (std::vector<std::pair<int, int>>{{0, 25}, {25, 25}, {50, 25}, {75, 25}}));
    // Every row a group: each band ends before its own last row, the last band takes what is left.
    EXPECT_EQ(Bands(TablePieces::Plan(*Grouped(2, 100, 1), 30, 32768)),
              (std::vector<std::pair<int, int>>{{0, 27}, {27, 27}, {54, 27}, {81, 19}}));
    // No group inside a band (groups of 40): bands are as long as allowed.
    EXPECT_EQ(Bands(TablePieces::Plan(*Grouped(2, 100, 40), 30, 32768)),
              (std::vector<std::pair<int, int>>{{0, 28}, {28, 12}, {40, 28}, {68, 12}, {80, 20}}));
    // A table that fits is one piece.
    EXPECT_EQ(TablePieces::Plan(*Grouped(2, 28, 5), 30, 32768), (std::vector<Piece>{{0, 28, 0, 2}}));
}

TEST(TablePieces, HeadersLargerThanAPieceStillAdvanceOneDataRowOrColumnAtATime) {
    // 40 header rows for 30 lines per piece: one data row per piece, every row once.
    const std::vector<Piece> tall = TablePieces::Plan(*Grouped(40, 12, 1), 30, 32768);
    ASSERT_EQ(tall.size(), 12u);
    for (int r = 0; r < 12; ++r)
        EXPECT_EQ(tall[static_cast<std::size_t>(r)], (Piece{r, 1, 0, 2}));
    // 6 header columns for 4 columns per piece: one data column per piece.
    auto wide = std::make_unique<CTableau>(1, 6, 2, 3, CTableauBase::kMarqueParColonne);
    EXPECT_EQ(TablePieces::Plan(*wide, 32768, 4),
              (std::vector<Piece>{{0, 2, 0, 1}, {0, 2, 1, 1}, {0, 2, 2, 1}}));
}

TEST(TablePieces, ColumnBlocksAreCutInsideEveryBandBandsOutermost) {
    CutCrossTableIntoSixPieces();
    EXPECT_EQ(TablePieces::Plan(*CrossTable(), 10, 5),
              (std::vector<Piece>{{0, 6, 0, 2}, {0, 6, 2, 2}, {6, 6, 0, 2}, {6, 6, 2, 2}, {12, 6, 0, 2}, {12, 6, 2, 2}}));
}

TEST(TablePieces, APieceIsATableOfItsOwnWithTheHeadersTheCutHeadingAndItsOwnTexts) {
    const std::unique_ptr<CTableau> table = CrossTable();
    // A text cell, so that the piece carries its text.
    table->SetMarque(8, CTableauBase::kMarqueTexte);
    const std::int32_t text = table->AjouterTexte("texte {libre}");
    table->SetValeur(8, 3, text);
    table->SetValeur(8, 2, 99); // no such text

    const std::unique_ptr<CTableau> piece = TablePieces::Build(*table, Piece{6, 6, 2, 2});
    EXPECT_EQ(piece->DonnerNbLignesEnTete(), 2);
    EXPECT_EQ(piece->DonnerNbColonnesEnTete(), 2);
    EXPECT_EQ(piece->DonnerNbLignes(), 6);
    EXPECT_EQ(piece->DonnerNbColonnes(), 2);
    // Headers: the corner, the heading carried over the piece's regions, the age groups.
    EXPECT_EQ(piece->DonnerTexteCellule(0, 0), "Base : 2000");
    EXPECT_EQ(piece->DonnerTexteCellule(0, 2), "Région");
    EXPECT_EQ(piece->DonnerFusionColonneAffichee(0, 2), 1);
    EXPECT_EQ(piece->DonnerTexteCellule(1, 2), "Sud-Ouest");
    EXPECT_EQ(piece->DonnerTexteCellule(1, 3), "Outre-mer");
    EXPECT_EQ(piece->DonnerTexteCellule(2, 0), "35-49 ans");
    EXPECT_EQ(piece->DonnerFusionLigneAffichee(2, 0), 2);
    EXPECT_EQ(piece->DonnerTexteCellule(2, 1), "Effectifs");
    // Values with their markers: row 6 of the table is the count of 35-49 ans (30 + 3 x column).
    EXPECT_EQ(piece->DonnerTexteCellule(2, 2), "36");
    EXPECT_EQ(piece->DonnerTexteCellule(3, 2), "9.0%");
    EXPECT_EQ(piece->DonnerTexteCellule(4, 3), "texte {libre}");
    EXPECT_EQ(piece->DonnerTexteCellule(4, 2), "");
    EXPECT_EQ(piece->TextCount(), 1);
    // The thin line between calculation rows stays.
    EXPECT_EQ(piece->DonnerBordureColonne(3, 2), CTableauBase::kTraitFin);
    EXPECT_EQ(piece->DonnerBordureColonne(2, 2), CTableauBase::kTraitNormal);
}

TEST(TablePieces, ATransposedTableIsCutAsItIsShown) {
    const std::unique_ptr<CTableau> table = SmallTable();
    CPresentationTableau presentation = table->GetPresentation();
    presentation.SetOrientation(1);
    table->SetPresentation(presentation);
    const std::unique_ptr<CTableau> piece = TablePieces::Build(*table, Piece{1, 1, 0, 2});
    EXPECT_FALSE(piece->EstTransposee());
    EXPECT_EQ(piece->DonnerTexteCellule(0, 1), "Très satisfait");
    EXPECT_EQ(piece->DonnerTexteCellule(1, 0), "Pourcentage");
    EXPECT_EQ(piece->DonnerTexteCellule(1, 1), "25.0%");
    EXPECT_EQ(piece->DonnerTexteCellule(1, 2), "75.0%");
}

} // namespace
