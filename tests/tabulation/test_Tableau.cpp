#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/Ligne.h"
#include "tabulation/TableLabelSource.h"
#include "tabulation/Tableau.h"
#include "tabulation/TableauFactoriel.h"
#include "tabulation/Traitement.h"
#include "TabulationTestSupport.h"

namespace {

using namespace tabulation_test;

constexpr int kVersion = 405;
constexpr double kMissing = CTableauBase::kValeurManquante;

class TableauTest : public TabulationFixture {};

// A table of one data cell without headers: its only displayed cell is the data cell.
CTableau OneCell(double value, std::uint16_t marker) {
    CTableau table(0, 0, 1, 1, CTableauBase::kMarqueParCellule);
    table.SetValeur(0, 0, value);
    table.SetMarqueCellule(0, 0, marker);
    return table;
}

TEST_F(TableauTest, CellTextsByMarkerAndDecimals) {
    struct Case {
        double value;
        std::uint16_t marker;
        int decimals; // of the marker's kind
        bool percentSign;
        const char* text;
    };
    // References: printf("%.Nf") in the C locale, which rounds the exact binary value half to even.
    const std::vector<Case> cases{
        {100, CTableauBase::kMarqueEffectif, 0, true, "100"},
        {12.5, CTableauBase::kMarqueEffectif, 0, true, "12"},
        {13.5, CTableauBase::kMarqueEffectif, 0, true, "14"},
        {0.125, CTableauBase::kMarqueEffectif, 2, true, "0.12"},
        {-1.25, CTableauBase::kMarqueEffectif, 1, true, "-1.2"},
        {20, CTableauBase::kMarquePourcentage, 1, true, "20.0%"},
        {12.5, CTableauBase::kMarquePourcentage, 1, false, "12.5"},
        {100.0 / 3, CTableauBase::kMarquePourcentage, 0, true, "33%"},
        {100.0 / 3, CTableauBase::kMarquePourcentage, 1, true, "33.3%"},
        {100.0 / 3, CTableauBase::kMarquePourcentage, 2, true, "33.33%"},
        {100.0 / 3, CTableauBase::kMarquePourcentage, 3, true, "33.333%"},
        {100.0 / 3, CTableauBase::kMarquePourcentage, 4, true, "33.3333%"},
        {100.0 / 3, CTableauBase::kMarquePourcentage, 9, true, "33.3333%"}, // above 4: four decimals
        {2.5, CTableauBase::kMarqueReel, 2, true, "2.50"},
        {1e7, CTableauBase::kMarqueReel, 1, true, "10000000.0"},
        {2.0, CTableauBase::kMarqueSignificativite, 0, true, "++"},
        {0.0, CTableauBase::kMarqueSignificativite, 0, true, " "},
        {-3.0, CTableauBase::kMarqueSignificativite, 0, true, "---"},
        {-2.9, CTableauBase::kMarqueSignificativite, 0, true, "--"},
        {-1.0, CTableauBase::kMarqueSignificativite, 0, true, "-"},
        {1.0, CTableauBase::kMarqueSignificativite, 0, true, "+"},
        {3.7, CTableauBase::kMarqueSignificativite, 0, true, "+++"},
        {4.0, CTableauBase::kMarqueSignificativite, 0, true, " "},
        {-0.5, CTableauBase::kMarqueSignificativite, 0, true, " "},
        {1e300, CTableauBase::kMarqueSignificativite, 0, true, " "},
        {1.0, CTableauBase::kMarqueTexte, 0, true, "second"},
        {1.9, CTableauBase::kMarqueTexte, 0, true, "second"},
        {2.0, CTableauBase::kMarqueTexte, 0, true, ""},
        {-1.0, CTableauBase::kMarqueTexte, 0, true, ""},
        {5.0, 7, 0, true, ""}, // no such marker
        {kMissing, CTableauBase::kMarqueEffectif, 0, true, ""},
        {kMissing, CTableauBase::kMarquePourcentage, 1, true, ""},
        {kMissing, CTableauBase::kMarqueReel, 1, true, ""},
        {kMissing, CTableauBase::kMarqueSignificativite, 0, true, ""},
        {kMissing, CTableauBase::kMarqueTexte, 0, true, ""},
        // printf writes "-0.0" for a value that rounds to zero from below; no sign is shown then.
        {-0.04, CTableauBase::kMarqueReel, 1, true, "0.0"},
        {-0.049, CTableauBase::kMarqueReel, 1, true, "0.0"},
        {-0.0, CTableauBase::kMarqueEffectif, 0, true, "0"},
        {-0.5, CTableauBase::kMarqueEffectif, 0, true, "0"},   // printf: "-0" (half to even)
        {-0.00004, CTableauBase::kMarquePourcentage, 4, true, "0.0000%"},
        // Values that do not round to zero keep printf's rounding and sign: -0.05 is stored a
        // little beyond -0.05, -0.25 exactly, -0.00005 a little beyond.
        {-0.05, CTableauBase::kMarqueReel, 1, true, "-0.1"},
        {-0.25, CTableauBase::kMarqueReel, 1, true, "-0.2"},
        {-0.00005, CTableauBase::kMarquePourcentage, 4, true, "-0.0001%"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "value " << c.value << " marker " << c.marker << " decimals " << c.decimals);
        CTableau table = OneCell(c.value, c.marker);
        table.AjouterTexte("first");
        table.AjouterTexte("second");
        CPresentationTableau presentation = table.GetPresentation();
        const auto decimals = static_cast<std::uint16_t>(c.decimals);
        presentation.SetEffectif(decimals);
        presentation.SetPourcentage(decimals);
        presentation.SetReel(decimals);
        presentation.SetEstPourcent(c.percentSign);
        table.SetPresentation(presentation);
        EXPECT_EQ(table.DonnerTexteCellule(0, 0), c.text);
    }
}

TEST_F(TableauTest, SampleShowsCountsAndPercentages) {
    CTableau table;
    table.RemplirExemple();
    CPresentationTableau presentation = table.GetPresentation();
    presentation.SetEffectif(0);
    presentation.SetPourcentage(1);
    presentation.SetEstPourcent(true);
    presentation.SetEstTitreAuDessus(true);
    table.SetPresentation(presentation);
    const std::vector<std::vector<std::string>> expected{
        {"", "Colonne 1", "Colonne 2"},
        {"Ligne 1", "100", "20.0%"},
        {"Ligne 2", "200", "40.0%"},
        {"Ligne 3", "200", "40.0%"},
    };
    ASSERT_EQ(table.DonnerNbLignesEnTete() + table.DonnerNbLignes(), 4);
    ASSERT_EQ(table.DonnerNbColonnesEnTete() + table.DonnerNbColonnes(), 3);
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 3; ++column)
            EXPECT_EQ(table.DonnerTexteCellule(row, column), expected[row][column]) << row << "," << column;
}

TEST_F(TableauTest, TransposedThreeByTwo) {
    CTableau table;
    table.RemplirExemple();
    CPresentationTableau presentation = table.GetPresentation();
    presentation.SetOrientation(1);
    presentation.SetEstTitreAuDessus(true);
    presentation.SetPourcentage(1);
    presentation.SetEstPourcent(true);
    table.SetPresentation(presentation);

    EXPECT_EQ(table.DonnerNbLignes(), 2);
    EXPECT_EQ(table.DonnerNbColonnes(), 3);
    EXPECT_EQ(table.DonnerValeurAffichee(0, 2), table.GetValeur(2, 0));
    EXPECT_EQ(table.DonnerValeurAffichee(1, 0), 20);
    // Markers follow their stored columns, which are now displayed rows.
    EXPECT_EQ(table.DonnerMarqueAffichee(1, 2), CTableauBase::kMarquePourcentage);
    const std::vector<std::vector<std::string>> expected{
        {"", "Ligne 1", "Ligne 2", "Ligne 3"},
        {"Colonne 1", "100", "200", "200"},
        {"Colonne 2", "20.0%", "40.0%", "40.0%"},
    };
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 4; ++column)
            EXPECT_EQ(table.DonnerTexteCellule(row, column), expected[row][column]) << row << "," << column;
    // The stored labels do not move.
    EXPECT_EQ(table.GetLibelleLigne(0, 2), "Ligne 3");
    EXPECT_EQ(table.GetLibelleLigneAffiche(0, 1), "Colonne 2");
}

TEST_F(TableauTest, TitleBlockInTheCorner) {
    CTableau table;
    table.RemplirExemple();
    table.base = 499.6;
    CPresentationTableau presentation = table.GetPresentation();
    presentation.SetEstTitreAuDessus(false);
    presentation.SetEstTitreBase(true);
    presentation.SetEstTitreChamp(true);
    presentation.SetEstTitreRedressement(false);
    presentation.SetEstTitreLevel(false);
    table.SetPresentation(presentation);
    EXPECT_EQ(table.DonnerTexteBase(), "Base : 500\r\nToutes les interviews");
    EXPECT_EQ(table.DonnerTexteCellule(0, 0), "Base : 500\r\nToutes les interviews");

    presentation.SetEstTitreBase(false);
    presentation.SetEstTitreRedressement(true);
    presentation.SetEstTitreLevel(true);
    table.SetPresentation(presentation);
    EXPECT_EQ(table.DonnerTexteBase(), "Toutes les interviews\r\nAucun redressement\r\nInterviews");
    std::vector<std::string> lines;
    table.DonnerLignesTitre(lines);
    EXPECT_EQ(lines, (std::vector<std::string>{"Toutes les interviews", "Aucun redressement", "Interviews"}));

    presentation.SetEstTitreAuDessus(true);
    table.SetPresentation(presentation);
    EXPECT_EQ(table.DonnerTexteCellule(0, 0), "");
}

// The base is rounded to the nearest whole number; one that rounds to zero from below reads 0.
TEST_F(TableauTest, BaseRoundingToZeroHasNoSign) {
    CTableau table;
    table.RemplirExemple();
    CPresentationTableau presentation = table.GetPresentation();
    presentation.SetEstTitreBase(true);
    presentation.SetEstTitreChamp(false);
    presentation.SetEstTitreRedressement(false);
    presentation.SetEstTitreLevel(false);
    table.SetPresentation(presentation);
    table.base = -0.7;
    EXPECT_EQ(table.DonnerTexteBase(), "Base : 0");
    table.base = -1.7;
    EXPECT_EQ(table.DonnerTexteBase(), "Base : -1");
}

TEST_F(TableauTest, DeepestLabelText) {
    CTableau table(1, 3, 2, 1, CTableauBase::kMarqueParColonne);
    const CLigne outer("Région"), middle("Nord"), empty("");
    table.SetLibelleLigne(0, 0, &outer);
    table.SetLibelleLigne(1, 0, &middle);
    table.SetLibelleLigne(2, 0, &empty);
    table.SetLibelleLigne(0, 1, &outer);
    EXPECT_EQ(table.DonnerLibelleLigne(0), "Nord");
    EXPECT_EQ(table.DonnerLibelleLigne(1), "Région");
    EXPECT_EQ(table.DonnerLibelleColonne(0), "");
    EXPECT_EQ(table.GetLibelleLigne(5, 0), "");
}

// Merges and line marks drive the cell records: a corner merged over two header rows, a column
// header spanning both data columns, and a thin vertical line before the second data column of
// the first data row.
CTableau MergedTable() {
    CTableau table(2, 1, 2, 2, CTableauBase::kMarqueParColonne);
    auto rowMerges = std::make_unique<CFusion>(2, 1, 2, 2);
    auto columnMerges = std::make_unique<CFusion>(2, 1, 2, 2);
    rowMerges->SetFusion(0, 0, 1);
    columnMerges->SetFusion(0, 1, 1);
    auto marks = std::make_unique<CMatriceCreuse>(4, 3);
    marks->SetMarqueLigne(2, 2, CTableauBase::kTraitFin);
    table.SetFusionLignes(std::move(rowMerges));
    table.SetFusionColonnes(std::move(columnMerges));
    table.SetBordures(std::move(marks));
    CLigne heading("Q1");
    heading.heading = 1;
    table.SetLibelleColonne(0, 0, &heading);
    // Four distinct fonts.
    CPresentationTableau presentation = table.GetPresentation();
    CPoliceAna font;
    font.SetTaille(12);
    presentation.SetQuestion(font);
    font = CPoliceAna();
    font.SetGras(true);
    presentation.SetLigne(font);
    font = CPoliceAna();
    font.SetItalique(true);
    presentation.SetColonne(font);
    presentation.SetCellule(CPoliceAna());
    table.SetPresentation(presentation);
    return table;
}

// Texts in the data (open answers, test lines) read from the left like labels; numbers stay on
// the right.
TEST_F(TableauTest, TextCellsAreLeftAlignedAndNumbersRightAligned) {
    CTableau table(1, 1, 1, 2, CTableauBase::kMarqueParColonne);
    table.SetMarque(0, CTableauBase::kMarqueTexte);
    table.SetMarque(1, CTableauBase::kMarqueEffectif);
    table.SetValeur(0, 0, table.AjouterTexte("Très bon service"));
    table.SetValeur(0, 1, 12.0);
    std::vector<CPoliceAna> fonts;
    std::vector<CCellule> cells;
    table.DonnerTablePolices(fonts, cells);
    ASSERT_EQ(cells.size(), 6u);
    EXPECT_EQ(cells[4].alignment, CTableauBase::kZoneEnTeteLigne);
    EXPECT_EQ(cells[5].alignment, CTableauBase::kZoneDonnees);
}

TEST_F(TableauTest, CellRecordsFollowTheMergedCellWalk) {
    const CTableau table = MergedTable();
    std::vector<CPoliceAna> fonts;
    std::vector<CCellule> cells{CCellule{}};
    table.DonnerTablePolices(fonts, cells);

    struct Expected {
        int column, row, span, first, left, right, top, bottom, alignment;
    };
    // Worked by hand from the walk: the corner is one record and one continuation record; the
    // spanning header is one record of span 2; the last header row and the last row end in
    // thick lines; the thin mark separates the first data row's two data cells.
    const std::vector<Expected> expected{
        {0, 0, 1, 1, 3, 3, 3, 0, 0}, {1, 0, 2, 1, 3, 3, 3, 2, 1},
        {0, 1, 1, 0, 3, 3, 0, 3, 0}, {1, 1, 1, 1, 3, 2, 2, 3, 1}, {2, 1, 1, 1, 2, 3, 2, 3, 1},
        {0, 2, 1, 1, 3, 3, 2, 2, 0}, {1, 2, 1, 1, 3, 1, 2, 2, 2}, {2, 2, 1, 1, 1, 3, 2, 2, 2},
        {0, 3, 1, 1, 3, 3, 2, 3, 0}, {1, 3, 1, 1, 3, 2, 2, 3, 2}, {2, 3, 1, 1, 2, 3, 2, 3, 2},
    };
    ASSERT_EQ(cells.size(), expected.size());
    for (std::size_t i = 0; i < cells.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "record " << i);
        const CCellule& cell = cells[i];
        const Expected& e = expected[i];
        EXPECT_EQ(cell.column, e.column);
        EXPECT_EQ(cell.row, e.row);
        EXPECT_EQ(cell.span, e.span);
        EXPECT_EQ(cell.firstOfBlock, e.first);
        EXPECT_EQ(cell.left, e.left);
        EXPECT_EQ(cell.right, e.right);
        EXPECT_EQ(cell.top, e.top);
        EXPECT_EQ(cell.bottom, e.bottom);
        EXPECT_EQ(cell.alignment, e.alignment);
        EXPECT_TRUE(cell.text.empty());
    }
    // Fonts in order of first use: row headers and corner, the heading's question font keeping
    // the column font's italic, the column font, the question font again on the data under the
    // heading (with the cell font's attributes), the cell font.
    const CPresentationTableau& p = table.GetPresentation();
    CPoliceAna questionItalic = p.GetQuestion();
    questionItalic.SetItalique(true);
    const std::vector<CPoliceAna> expectedFonts{p.GetLigne(), questionItalic, p.GetColonne(), p.GetQuestion(),
                                                p.GetCellule()};
    EXPECT_EQ(fonts, expectedFonts);
    const std::vector<int> fontOfRecord{0, 1, 0, 2, 2, 0, 3, 4, 0, 3, 4};
    for (std::size_t i = 0; i < cells.size(); ++i)
        EXPECT_EQ(cells[i].fontIndex, fontOfRecord[i]) << "record " << i;

    EXPECT_EQ(CTableauBase::CompterSuiteIdentique(cells, 0), 2);
    EXPECT_EQ(CTableauBase::CompterSuiteIdentique(cells, 2), 3);
    EXPECT_EQ(CTableauBase::CompterSuiteIdentique(cells, 10), 1);
    EXPECT_EQ(CTableauBase::CompterSuiteIdentique(cells, 11), 0);
}

TEST_F(TableauTest, CornerMergeIsOneRecordPerHeaderRowOfFullSpan) {
    CTableau table(2, 3, 1, 1, CTableauBase::kMarqueParColonne);
    auto rowMerges = std::make_unique<CFusion>(2, 3, 1, 1);
    auto columnMerges = std::make_unique<CFusion>(2, 3, 1, 1);
    CFusion::FusionnerCoinEnTete(*rowMerges, *columnMerges, 2, 3);
    table.SetFusionLignes(std::move(rowMerges));
    table.SetFusionColonnes(std::move(columnMerges));
    std::vector<CPoliceAna> fonts;
    std::vector<CCellule> cells;
    table.DonnerTablePolices(fonts, cells);
    std::vector<CCellule> corner;
    for (const CCellule& cell : cells)
        if (cell.column == 0 && cell.row < 2)
            corner.push_back(cell);
    ASSERT_EQ(corner.size(), 2u);
    EXPECT_EQ(corner[0].span, 3);
    EXPECT_EQ(corner[1].span, 3);
    EXPECT_EQ(corner[0].firstOfBlock, 1);
    EXPECT_EQ(corner[1].firstOfBlock, 0);
    // Each corner row has the corner and the data column's header; the data row its three row
    // headers and its cell.
    EXPECT_EQ(cells.size(), 2u + 2u + 4u);
}

TEST_F(TableauTest, TransposedMergesAndMarksSwap) {
    CTableau table = MergedTable();
    CPresentationTableau presentation = table.GetPresentation();
    presentation.SetOrientation(1);
    table.SetPresentation(presentation);
    EXPECT_EQ(table.DonnerFusionLigneAffichee(1, 0), 1); // the spanning header now spans rows
    EXPECT_EQ(table.DonnerFusionColonneAffichee(0, 0), 1);
    EXPECT_EQ(table.DonnerBordureColonne(2, 2), CTableauBase::kTraitFin);
    EXPECT_EQ(table.DonnerBordureLigne(2, 2), CTableauBase::kTraitNormal);
    EXPECT_EQ(table.DonnerZoneCellule(0, 1), CTableauBase::kZoneEnTeteLigne);
    EXPECT_EQ(table.DonnerZoneCellule(0, 2), CTableauBase::kZoneEnTeteColonne);
}

TEST_F(TableauTest, MergeMapsIgnoreOutsidePositions) {
    CFusion merges(1, 1, 2, 2);
    EXPECT_FALSE(merges.ASpans());
    merges.SetFusion(0, 0, 0);
    EXPECT_FALSE(merges.ASpans());
    merges.SetFusion(3, 0, 1);
    merges.SetFusion(0, 3, 1);
    merges.SetFusion(-1, 0, 1);
    EXPECT_FALSE(merges.ASpans());
    merges.SetFusion(2, 2, 4);
    EXPECT_EQ(merges.GetFusion(2, 2), 4);
    EXPECT_EQ(merges.GetFusion(3, 3), 0);
    merges.SetFusion(2, 2, 0);
    EXPECT_EQ(merges.GetFusion(2, 2), 0);
}

TEST_F(TableauTest, OutsideIndexesAreHarmless) {
    CTableau table(1, 1, 2, 2, CTableauBase::kMarqueParLigne);
    table.SetValeur(2, 0, 5);
    table.SetMarque(7, 3);
    EXPECT_EQ(table.GetValeur(2, 0), kMissing);
    EXPECT_EQ(table.GetMarque(-1, 0), 0);
    EXPECT_EQ(table.GetTexte(0), "");
    EXPECT_EQ(table.GetLigneEnTete(1, 0), nullptr);
    const CLigne label("x");
    table.SetLibelleLigne(0, 9, &label);
    table.SetLibelleLigne(0, 1, nullptr);
    EXPECT_EQ(table.GetLigneEnTete(0, 1), nullptr);
}

TEST_F(TableauTest, CopyOfATransposedTableKeepsLabelsWithTheirCells) {
    CTableau table;
    table.RemplirExemple();
    CPresentationTableau presentation = table.GetPresentation();
    presentation.SetOrientation(1);
    table.SetPresentation(presentation);
    table.deleteWithWindow = 0;

    const CTableau copy(static_cast<const CTableauBase&>(table));
    EXPECT_EQ(copy.GetLibelleLigne(0, 0), "Ligne 1");
    EXPECT_EQ(copy.GetLibelleColonne(0, 1), "Colonne 2");
    EXPECT_EQ(copy.GetLibelleLigneAffiche(0, 1), "Colonne 2");
    EXPECT_EQ(copy.DonnerTexteCellule(2, 1), table.DonnerTexteCellule(2, 1));
    EXPECT_EQ(copy.deleteWithWindow, 1);

    CTableau assigned;
    assigned = table;
    EXPECT_EQ(assigned.GetLibelleLigne(0, 2), "Ligne 3");
    EXPECT_EQ(assigned.GetValeur(2, 1), 40);
}

class RowAndColumnLabels : public TableLabelSource {
public:
    const CLigne* Label(std::int32_t selector, std::int32_t, std::int32_t index) const override {
        const auto& labels = selector == 0 ? rows : columns;
        return index < static_cast<std::int32_t>(labels.size()) ? &labels[static_cast<std::size_t>(index)] : nullptr;
    }
    std::vector<CLigne> rows{CLigne("Axe 1"), CLigne("Axe 2")};
    std::vector<CLigne> columns{CLigne("Coord."), CLigne("Contrib.")};
};

TEST_F(TableauTest, FactorTableCopiedKeepsItsLabelsWithoutTheSource) {
    auto source = std::make_unique<RowAndColumnLabels>();
    CTableauFactoriel factor(1, 1, 2, 2, CTableauBase::kMarqueParColonne);
    factor.SetSourceLibelles(source.get());
    factor.rowSelector = 0;
    factor.columnSelector = 1;
    factor.SetValeur(1, 1, 0.5);
    CPresentationTableau presentation = factor.GetPresentation();
    presentation.SetOrientation(1);
    factor.SetPresentation(presentation);
    EXPECT_EQ(factor.deleteWithWindow, 0);
    EXPECT_EQ(factor.GetLibelleLigneAffiche(0, 1), "Contrib.");

    const CTableau copy(static_cast<const CTableauBase&>(factor));
    source.reset();
    EXPECT_EQ(copy.GetLibelleLigne(0, 1), "Axe 2");
    EXPECT_EQ(copy.GetLibelleColonne(0, 0), "Coord.");
    EXPECT_EQ(copy.GetLibelleLigneAffiche(0, 1), "Contrib.");
    EXPECT_EQ(copy.GetValeur(1, 1), 0.5);
    EXPECT_EQ(copy.deleteWithWindow, 1);
}

// ---- Archive

TEST_F(TableauTest, TableWithoutRequestStoresItsFlagAlone) {
    CTableau table;
    table.RemplirExemple();
    const Bytes bytes = Stored(table, kVersion);
    EXPECT_EQ(bytes, (Bytes{0, 0}));
    CTableau loaded;
    loaded.SetTraitement(std::make_unique<CTraitement>());
    Load(loaded, bytes, kVersion);
    EXPECT_EQ(loaded.GetTraitement(), nullptr);
}

// A table with merges, line marks and presentations of its own: only its request is stored.
CTableau TableWithRequest() {
    CTableau table = MergedTable();
    auto request = std::make_unique<CTraitement>();
    request->type = CTraitement::kTriSimple;
    request->SetTypeAxe(CTraitement::kLignes, CTraitement::kAxeAucun);
    request->SetTypeAxe(CTraitement::kColonnes, CTraitement::kAxeAucun);
    request->title = "Tableau";
    table.SetTraitement(std::move(request));
    CPresentationTableau presentation = table.GetPresentation();
    presentation.SetOrientation(1);
    presentation.SetReel(3);
    CPoliceAna cell = presentation.GetCellule();
    cell.SetNom("DejaVu Sans");
    presentation.SetCellule(cell);
    table.SetPresentation(presentation);
    CPresentationGraphique chart = table.GetPresentationGraphique();
    chart.SetType(3);
    table.SetPresentationGraphique(chart);
    return table;
}

TEST_F(TableauTest, TableArchiveRoundTripsByteForByte) {
    AddLevel(0, "Interviews");
    CTableau table = TableWithRequest();
    const Bytes first = Stored(table, kVersion);
    ASSERT_GT(first.size(), 2u);
    EXPECT_EQ(first[0], 1);
    EXPECT_EQ(first[1], 0);

    CTableau loaded;
    Load(loaded, first, kVersion);
    ASSERT_NE(loaded.GetTraitement(), nullptr);
    EXPECT_FALSE(loaded.GetTraitement()->EstInvalide());
    EXPECT_EQ(loaded.GetTraitement()->title, "Tableau");
    EXPECT_EQ(loaded.GetTraitement()->presentation, table.GetPresentation());
    EXPECT_EQ(loaded.GetTraitement()->chartPresentation.GetType(), 3);
    EXPECT_EQ(Stored(loaded, kVersion), first);
}

TEST_F(TableauTest, TruncatedTableArchivesFailAtEveryCut) {
    AddLevel(0, "Interviews");
    CTableau table = TableWithRequest();
    const Bytes whole = Stored(table, kVersion);
    ExpectEveryCutFails<CTableau>(whole, kVersion, [] { return TableWithRequest(); });
}

TEST_F(TableauTest, CopiesOwnTheirRequestAndParts) {
    AddLevel(0, "Interviews");
    auto table = std::make_unique<CTableau>(TableWithRequest());
    const CTableau copy(*table);
    ASSERT_NE(copy.GetTraitement(), nullptr);
    EXPECT_NE(copy.GetTraitement(), table->GetTraitement());
    EXPECT_NE(copy.GetFusionLignes(), table->GetFusionLignes());
    // A table gives up its request to a new owner, which keeps it after the table is gone.
    std::unique_ptr<CTraitement> request = table->TakeTraitement();
    EXPECT_EQ(table->GetTraitement(), nullptr);
    table.reset();
    ASSERT_NE(request, nullptr);
    EXPECT_EQ(request->title, "Tableau");
    EXPECT_EQ(copy.GetTraitement()->title, "Tableau");
    EXPECT_EQ(copy.GetFusionColonnes()->GetFusion(0, 1), 1);
    EXPECT_EQ(copy.GetBordures()->GetMarqueLigne(2, 2), CTableauBase::kTraitFin);
}

} // namespace
