// How the runner turns the blocks of a request's calculation lines into result tables: one table
// per calculation, or every calculation in one table grouped under each column or each row, with
// the header spans, thin lines, captions, presentations and request each table must carry.
//
// Every expected grid below is written by hand from three blocks of 2 x 2 cells:
//   block 0 = 1 2 / 3 4,  block 1 = 10 20 / 30 40,  block 2 = 100 200 / 300 400,
// markers 1, 2 and 3, calculation lines "Effectifs" (1), "% ligne" (2) and "% colonne" (3).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "RequestTestSupport.h"
#include "tabulation/ExecuteurTraitement.h"
#include "tabulation/Fusion.h"
#include "tabulation/MatriceCreuse.h"
#include "tabulation/Tableau.h"

namespace {

using namespace tabulation_test;

using Grid = std::vector<std::vector<int>>;
using Niveaux = CExecuteurTraitement::NiveauxLibelles;

constexpr int kRows = 2;
constexpr int kColumns = 2;

// Line marks are read over every edge position: lines 0 to H + R, columns 0 to V + C.
//
// The headers and merge maps a compute function hands over with its blocks.
struct Headers {
    int H = 0;
    int V = 0;
    Niveaux rowLabels;
    Niveaux columnLabels;
    CFusion rowMerges;
    CFusion columnMerges;

    Headers(int h, int v)
        : H(h), V(v), rowLabels(static_cast<std::size_t>(v), std::vector<const CLigne*>(kRows)),
          columnLabels(static_cast<std::size_t>(h), std::vector<const CLigne*>(kColumns)),
          rowMerges(h, v, kRows, kColumns), columnMerges(h, v, kRows, kColumns) {}
};

Grid SpansOf(const CFusion& merges) {
    Grid grid(static_cast<std::size_t>(merges.GetNbLignesGrille()));
    for (int line = 0; line < merges.GetNbLignesGrille(); ++line)
        for (int column = 0; column < merges.GetNbColonnesGrille(); ++column)
            grid[static_cast<std::size_t>(line)].push_back(merges.GetFusion(line, column));
    return grid;
}

enum class Layer { TopEdges, LeftEdges };

Grid MarksOf(const CMatriceCreuse& marks, Layer layer) {
    Grid grid(static_cast<std::size_t>(marks.GetNbLignes() + 1));
    for (int line = 0; line <= marks.GetNbLignes(); ++line)
        for (int column = 0; column <= marks.GetNbColonnes(); ++column)
            grid[static_cast<std::size_t>(line)].push_back(layer == Layer::TopEdges
                                                               ? marks.GetMarqueColonne(line, column)
                                                               : marks.GetMarqueLigne(line, column));
    return grid;
}

std::vector<std::vector<double>> ValuesOf(const CTableau& table) {
    std::vector<std::vector<double>> values(static_cast<std::size_t>(table.RowCount()));
    for (int row = 0; row < table.RowCount(); ++row)
        for (int column = 0; column < table.ColumnCount(); ++column)
            values[static_cast<std::size_t>(row)].push_back(table.GetValeur(row, column));
    return values;
}

std::vector<std::string> ColumnLabelsOf(const CTableau& table, int level) {
    std::vector<std::string> labels;
    for (int column = 0; column < table.ColumnCount(); ++column)
        labels.push_back(table.GetLibelleColonne(level, column));
    return labels;
}

std::vector<std::string> RowLabelsOf(const CTableau& table, int level) {
    std::vector<std::string> labels;
    for (int row = 0; row < table.RowCount(); ++row)
        labels.push_back(table.GetLibelleLigne(level, row));
    return labels;
}

// The header corner of the table is one cell: each corner line spans the corner's width, each
// corner column its height.
void ExpectCornerMerged(const CTableau& table) {
    const int h = table.ColumnHeaderLevels();
    const int v = table.RowHeaderLevels();
    for (int line = 0; line < h; ++line)
        EXPECT_EQ(table.GetFusionColonnes()->GetFusion(line, 0), v - 1) << "corner line " << line;
    for (int column = 0; column < v; ++column)
        EXPECT_EQ(table.GetFusionLignes()->GetFusion(0, column), h - 1) << "corner column " << column;
}

class AssemblageTableauxTest : public RequestFixture {
protected:
    void SetUp() override {
        RequestFixture::SetUp();
        calculations.push_back(std::make_unique<CCalcul>(1, "Effectifs", true));
        calculations.push_back(std::make_unique<CCalcul>(2, "% ligne", true));
        calculations.push_back(std::make_unique<CCalcul>(3, "% colonne", true));
        runner = std::make_unique<CExecuteurTraitement>(survey);
    }

    const CLigne* Label(const std::string& text) {
        labels.push_back(std::make_unique<CLigne>(text));
        return labels.back().get();
    }

    // The deepest levels hold "A", "B" over the columns and "X", "Y" beside the rows; each upper
    // column level holds one label over both columns ("Q0", "Q1"), each upper row level one label
    // over both rows ("P0", "P1").
    Headers Plain(int h, int v) {
        Headers headers(h, v);
        for (int level = 0; level + 1 < h; ++level) {
            headers.columnLabels[static_cast<std::size_t>(level)][0] = Label("Q" + std::to_string(level));
            headers.columnMerges.SetFusion(level, v, 1);
        }
        if (h > 0)
            headers.columnLabels[static_cast<std::size_t>(h - 1)] = {Label("A"), Label("B")};
        for (int level = 0; level + 1 < v; ++level) {
            headers.rowLabels[static_cast<std::size_t>(level)][0] = Label("P" + std::to_string(level));
            headers.rowMerges.SetFusion(h, level, 1);
        }
        if (v > 0)
            headers.rowLabels[static_cast<std::size_t>(v - 1)] = {Label("X"), Label("Y")};
        return headers;
    }

    // Two levels each side, the second column and the second row being totals whose label fills
    // both levels: "Q" over "A", then "Total" spanning down; "P" beside "X", then "Total" spanning
    // right.
    Headers WithTotals() {
        Headers headers(2, 2);
        headers.columnLabels = {{Label("Q"), Label("Total")}, {Label("A"), nullptr}};
        headers.rowMerges.SetFusion(0, 3, 1);
        headers.rowLabels = {{Label("P"), Label("Total")}, {Label("X"), nullptr}};
        headers.columnMerges.SetFusion(3, 0, 1);
        return headers;
    }

    std::unique_ptr<CTraitement> Request(std::int16_t type, bool calculationLevel = true) {
        auto request = std::make_unique<CTraitement>();
        request->title = "T";
        request->studyFieldName = "Hommes";
        request->weightingName = "Redressement A";
        request->level = 1;
        request->openAsChart = 1;
        request->presentation.SetEffectif(3);
        request->presentation.SetEstTitreAuDessus(true);
        request->chartPresentation.SetType(5);
        request->mergeOptions.Type = type;
        request->mergeOptions.EstLibelleTraitement = calculationLevel ? 1 : 0;
        request->SetCalculsLignes(calculations);
        return request;
    }

    void Assemble(std::unique_ptr<CTraitement> request, const Headers& headers, double base = 250,
                  std::vector<std::vector<double>> blocks = {{1, 2, 3, 4}, {10, 20, 30, 40}, {100, 200, 300, 400}}) {
        runner->AssemblerTableaux(std::move(request), blocks, headers.H, kRows, headers.V, kColumns, headers.rowLabels,
                                  headers.columnLabels, calculations, headers.rowMerges, headers.columnMerges, markers,
                                  base);
    }

    const CTableau& OnlyTable() {
        EXPECT_EQ(runner->GetNbTableaux(), 1);
        static const CTableau none;
        return runner->GetNbTableaux() > 0 ? *runner->GetTableau(0) : none;
    }

    CTraitement::Calculs calculations;
    std::vector<std::unique_ptr<CLigne>> labels;
    const std::vector<std::uint16_t> markers{1, 2, 3};
    std::unique_ptr<CExecuteurTraitement> runner;
};

TEST_F(AssemblageTableauxTest, OneCalculationGivesOneTableUnderTheRequestTitleWhateverTheType) {
    for (std::int16_t type : {0, 1, 2, 7}) {
        SCOPED_TRACE(testing::Message() << "Type " << type);
        runner = std::make_unique<CExecuteurTraitement>(survey);
        Assemble(Request(type), Plain(1, 1), 250, {{10, 20, 30, 40}});
        const CTableau& table = OnlyTable();
        EXPECT_EQ(table.title, "T");
        EXPECT_EQ(table.ColumnHeaderLevels(), 1);
        EXPECT_EQ(table.RowHeaderLevels(), 1);
        EXPECT_EQ(ValuesOf(table), (std::vector<std::vector<double>>{{10, 20}, {30, 40}}));
        EXPECT_EQ(table.MarkerMode(), CTableauBase::kMarqueParColonne);
        EXPECT_EQ(table.GetMarque(1, 0), 1);
        EXPECT_EQ(table.GetMarque(1, 1), 1);
        ASSERT_NE(table.GetTraitement(), nullptr);
        ASSERT_EQ(table.GetTraitement()->GetCalculsLignes().size(), 1u);
        EXPECT_EQ(table.GetTraitement()->GetCalculsLignes()[0]->code, 1);
    }
}

TEST_F(AssemblageTableauxTest, BlocksInColumnsGroupTheCalculationsUnderEachColumn) {
    auto request = Request(CTypeFusion::kBlocksInColumns);
    const CTraitement* given = request.get();
    Assemble(std::move(request), Plain(1, 1));
    const CTableau& table = OnlyTable();

    EXPECT_EQ(table.ColumnHeaderLevels(), 2);
    EXPECT_EQ(table.RowHeaderLevels(), 1);
    EXPECT_EQ(table.RowCount(), 2);
    EXPECT_EQ(table.ColumnCount(), 6);
    EXPECT_EQ(ValuesOf(table),
              (std::vector<std::vector<double>>{{1, 10, 100, 2, 20, 200}, {3, 30, 300, 4, 40, 400}}));
    EXPECT_EQ(table.MarkerMode(), CTableauBase::kMarqueParColonne);
    for (int column = 0; column < 6; ++column)
        EXPECT_EQ(table.GetMarque(0, column), column % 3 + 1) << "column " << column;

    EXPECT_EQ(ColumnLabelsOf(table, 0), (std::vector<std::string>{"A", "", "", "B", "", ""}));
    EXPECT_EQ(ColumnLabelsOf(table, 1), (std::vector<std::string>{"Effectifs", "% ligne", "% colonne", "Effectifs",
                                                                  "% ligne", "% colonne"}));
    EXPECT_EQ(RowLabelsOf(table, 0), (std::vector<std::string>{"X", "Y"}));

    // Each input column heads three columns; the corner covers the two header lines.
    EXPECT_EQ(SpansOf(*table.GetFusionColonnes()), (Grid{{0, 2, 0, 0, 2, 0, 0},
                                                         {0, 0, 0, 0, 0, 0, 0},
                                                         {0, 0, 0, 0, 0, 0, 0},
                                                         {0, 0, 0, 0, 0, 0, 0}}));
    EXPECT_EQ(SpansOf(*table.GetFusionLignes()), (Grid{{1, 0, 0, 0, 0, 0, 0},
                                                       {0, 0, 0, 0, 0, 0, 0},
                                                       {0, 0, 0, 0, 0, 0, 0},
                                                       {0, 0, 0, 0, 0, 0, 0}}));
    // Thin lines between the columns of a group, from the calculation labels down.
    ASSERT_NE(table.GetBordures(), nullptr);
    EXPECT_EQ(MarksOf(*table.GetBordures(), Layer::LeftEdges), (Grid{{2, 2, 2, 2, 2, 2, 2, 2},
                                                                     {2, 2, 1, 1, 2, 1, 1, 2},
                                                                     {2, 2, 1, 1, 2, 1, 1, 2},
                                                                     {2, 2, 1, 1, 2, 1, 1, 2},
                                                                     {2, 2, 2, 2, 2, 2, 2, 2}}));
    EXPECT_EQ(MarksOf(*table.GetBordures(), Layer::TopEdges), Grid(5, std::vector<int>(8, 2)));

    // The merged table keeps the request itself, with all its calculations.
    EXPECT_EQ(table.GetTraitement(), given);
    EXPECT_EQ(table.title, "T");
    EXPECT_EQ(given->GetCalculsLignes().size(), 3u);
}

TEST_F(AssemblageTableauxTest, BlocksInRowsGroupTheCalculationsBesideEachRow) {
    auto request = Request(CTypeFusion::kBlocksInRows);
    const CTraitement* given = request.get();
    Assemble(std::move(request), Plain(1, 1));
    const CTableau& table = OnlyTable();

    EXPECT_EQ(table.ColumnHeaderLevels(), 1);
    EXPECT_EQ(table.RowHeaderLevels(), 2);
    EXPECT_EQ(table.RowCount(), 6);
    EXPECT_EQ(table.ColumnCount(), 2);
    EXPECT_EQ(ValuesOf(table), (std::vector<std::vector<double>>{
                                   {1, 2}, {10, 20}, {100, 200}, {3, 4}, {30, 40}, {300, 400}}));
    EXPECT_EQ(table.MarkerMode(), CTableauBase::kMarqueParLigne);
    for (int row = 0; row < 6; ++row)
        EXPECT_EQ(table.GetMarque(row, 1), row % 3 + 1) << "row " << row;

    EXPECT_EQ(RowLabelsOf(table, 0), (std::vector<std::string>{"X", "", "", "Y", "", ""}));
    EXPECT_EQ(RowLabelsOf(table, 1), (std::vector<std::string>{"Effectifs", "% ligne", "% colonne", "Effectifs",
                                                               "% ligne", "% colonne"}));
    EXPECT_EQ(ColumnLabelsOf(table, 0), (std::vector<std::string>{"A", "B"}));

    EXPECT_EQ(SpansOf(*table.GetFusionLignes()),
              (Grid{{0, 0, 0, 0}, {2, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {2, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}));
    EXPECT_EQ(SpansOf(*table.GetFusionColonnes()),
              (Grid{{1, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}));
    ASSERT_NE(table.GetBordures(), nullptr);
    EXPECT_EQ(MarksOf(*table.GetBordures(), Layer::TopEdges), (Grid{{2, 2, 2, 2, 2},
                                                                    {2, 2, 2, 2, 2},
                                                                    {2, 1, 1, 1, 2},
                                                                    {2, 1, 1, 1, 2},
                                                                    {2, 2, 2, 2, 2},
                                                                    {2, 1, 1, 1, 2},
                                                                    {2, 1, 1, 1, 2},
                                                                    {2, 2, 2, 2, 2}}));
    EXPECT_EQ(MarksOf(*table.GetBordures(), Layer::LeftEdges), Grid(8, std::vector<int>(5, 2)));
    EXPECT_EQ(table.GetTraitement(), given);
}

TEST_F(AssemblageTableauxTest, CalculationLevelOnlyWhenAskedAndTheHeaderHasRoom) {
    struct Case {
        std::int16_t type;
        int h;
        int v;
        bool calculationLevel;
        int expectedH;
        int expectedV;
        int expectedRows;
        int expectedColumns;
    };
    const std::vector<Case> cases{
        {CTypeFusion::kBlocksInColumns, 1, 1, true, 2, 1, 2, 6},
        {CTypeFusion::kBlocksInColumns, 1, 1, false, 1, 1, 2, 6},
        {CTypeFusion::kBlocksInColumns, 0, 1, true, 1, 1, 2, 6},
        {CTypeFusion::kBlocksInColumns, 2, 2, true, 3, 2, 2, 6},
        {CTypeFusion::kBlocksInColumns, 3, 1, true, 3, 1, 2, 6},
        {CTypeFusion::kBlocksInColumns, 1, 3, true, 2, 3, 2, 6},
        {CTypeFusion::kBlocksInRows, 1, 1, true, 1, 2, 6, 2},
        {CTypeFusion::kBlocksInRows, 1, 1, false, 1, 1, 6, 2},
        {CTypeFusion::kBlocksInRows, 1, 0, true, 1, 1, 6, 2},
        {CTypeFusion::kBlocksInRows, 2, 2, true, 2, 3, 6, 2},
        {CTypeFusion::kBlocksInRows, 1, 3, true, 1, 3, 6, 2},
        {CTypeFusion::kBlocksInRows, 3, 1, true, 3, 2, 6, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "Type " << c.type << ", H " << c.h << ", V " << c.v << ", level "
                                        << c.calculationLevel);
        runner = std::make_unique<CExecuteurTraitement>(survey);
        Assemble(Request(c.type, c.calculationLevel), Plain(c.h, c.v));
        const CTableau& table = OnlyTable();
        EXPECT_EQ(table.ColumnHeaderLevels(), c.expectedH);
        EXPECT_EQ(table.RowHeaderLevels(), c.expectedV);
        EXPECT_EQ(table.RowCount(), c.expectedRows);
        EXPECT_EQ(table.ColumnCount(), c.expectedColumns);
        // The deepest header level names the calculations exactly when one was added.
        const bool added = c.expectedH > c.h || c.expectedV > c.v;
        const std::string deepest = c.type == CTypeFusion::kBlocksInColumns
                                        ? table.GetLibelleColonne(c.expectedH - 1, 1)
                                        : table.GetLibelleLigne(c.expectedV - 1, 1);
        EXPECT_EQ(deepest, added ? "% ligne" : "");
        ExpectCornerMerged(table);
    }
}

TEST_F(AssemblageTableauxTest, InputSpansFollowTheirHeadersInColumns) {
    Assemble(Request(CTypeFusion::kBlocksInColumns), Plain(2, 2));
    const CTableau& table = OnlyTable();
    ASSERT_EQ(table.ColumnHeaderLevels(), 3);
    // "Q0" spanned both input columns: now both groups of three; "A" and "B" each head their
    // group. (The cell under "Q0" right of its first group is covered and not checked.)
    const Grid columnSpans = SpansOf(*table.GetFusionColonnes());
    EXPECT_EQ(columnSpans[0][2], 5);
    EXPECT_EQ(columnSpans[1], (std::vector<int>{1, 0, 2, 0, 0, 2, 0, 0}));
    EXPECT_EQ(columnSpans[2], (std::vector<int>{1, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(columnSpans[0][0], 1);
    EXPECT_EQ(columnSpans[3], std::vector<int>(8, 0));
    EXPECT_EQ(columnSpans[4], std::vector<int>(8, 0));
    // "P0" still spans both rows, below the three header lines.
    EXPECT_EQ(SpansOf(*table.GetFusionLignes()), (Grid{{2, 2, 0, 0, 0, 0, 0, 0},
                                                       {0, 0, 0, 0, 0, 0, 0, 0},
                                                       {0, 0, 0, 0, 0, 0, 0, 0},
                                                       {1, 0, 0, 0, 0, 0, 0, 0},
                                                       {0, 0, 0, 0, 0, 0, 0, 0}}));
    EXPECT_EQ(ColumnLabelsOf(table, 0), (std::vector<std::string>{"Q0", "", "", "", "", ""}));
    EXPECT_EQ(RowLabelsOf(table, 0), (std::vector<std::string>{"P0", ""}));

    runner = std::make_unique<CExecuteurTraitement>(survey);
    Assemble(Request(CTypeFusion::kBlocksInColumns), WithTotals());
    const CTableau& totals = OnlyTable();
    // The "Total" column spans down over each column of its group; the "Total" row still spans
    // across both row-header levels.
    EXPECT_EQ(SpansOf(*totals.GetFusionLignes()), (Grid{{2, 2, 0, 0, 0, 1, 1, 1},
                                                        {0, 0, 0, 0, 0, 0, 0, 0},
                                                        {0, 0, 0, 0, 0, 0, 0, 0},
                                                        {0, 0, 0, 0, 0, 0, 0, 0},
                                                        {0, 0, 0, 0, 0, 0, 0, 0}}));
    EXPECT_EQ(SpansOf(*totals.GetFusionColonnes())[4][0], 1);
    EXPECT_EQ(ColumnLabelsOf(totals, 0), (std::vector<std::string>{"Q", "", "", "Total", "", ""}));
    EXPECT_EQ(RowLabelsOf(totals, 0), (std::vector<std::string>{"P", "Total"}));
}

TEST_F(AssemblageTableauxTest, InputSpansFollowTheirHeadersInRows) {
    Assemble(Request(CTypeFusion::kBlocksInRows), Plain(2, 2));
    const CTableau& table = OnlyTable();
    ASSERT_EQ(table.RowHeaderLevels(), 3);
    // "P0" spanned both input rows: now both groups of three; "X" and "Y" each head their group.
    // (The cell beside "P0" below its first group is covered and not checked.)
    const Grid rowSpans = SpansOf(*table.GetFusionLignes());
    EXPECT_EQ(rowSpans[0], (std::vector<int>{1, 1, 1, 0, 0}));
    EXPECT_EQ(rowSpans[2], (std::vector<int>{5, 2, 0, 0, 0}));
    EXPECT_EQ(rowSpans[5][1], 2);
    for (int line : {1, 3, 4, 6, 7})
        EXPECT_EQ(rowSpans[static_cast<std::size_t>(line)], std::vector<int>(5, 0)) << "line " << line;
    // "Q0" still spans both columns, right of the three header columns.
    EXPECT_EQ(SpansOf(*table.GetFusionColonnes()), (Grid{{2, 0, 0, 1, 0},
                                                         {2, 0, 0, 0, 0},
                                                         {0, 0, 0, 0, 0},
                                                         {0, 0, 0, 0, 0},
                                                         {0, 0, 0, 0, 0},
                                                         {0, 0, 0, 0, 0},
                                                         {0, 0, 0, 0, 0},
                                                         {0, 0, 0, 0, 0}}));
    EXPECT_EQ(RowLabelsOf(table, 0), (std::vector<std::string>{"P0", "", "", "", "", ""}));
    EXPECT_EQ(ColumnLabelsOf(table, 0), (std::vector<std::string>{"Q0", ""}));

    runner = std::make_unique<CExecuteurTraitement>(survey);
    Assemble(Request(CTypeFusion::kBlocksInRows), WithTotals());
    const CTableau& totals = OnlyTable();
    // The "Total" row spans across both row-header levels on each row of its group; the "Total"
    // column still spans down both header lines.
    const Grid columnSpans = SpansOf(*totals.GetFusionColonnes());
    EXPECT_EQ(columnSpans[2][0], 0);
    EXPECT_EQ(columnSpans[5][0], 1);
    EXPECT_EQ(columnSpans[6][0], 1);
    EXPECT_EQ(columnSpans[7][0], 1);
    EXPECT_EQ(SpansOf(*totals.GetFusionLignes())[0][4], 1);
    EXPECT_EQ(RowLabelsOf(totals, 0), (std::vector<std::string>{"P", "", "", "Total", "", ""}));
    EXPECT_EQ(ColumnLabelsOf(totals, 0), (std::vector<std::string>{"Q", "Total"}));
}

// A question's caption line (its first data cell merged over the block's width) spans the whole
// width of the merged table, on each line it becomes; other lines keep their cells apart.
TEST_F(AssemblageTableauxTest, CaptionLinesSpanTheWholeWidthOfMergedTables) {
    Headers headers = Plain(2, 1);
    headers.columnMerges.SetFusion(2, 1, 1);
    Assemble(Request(CTypeFusion::kBlocksInColumns), headers);
    const Grid inColumns = SpansOf(*OnlyTable().GetFusionColonnes());
    EXPECT_EQ(inColumns[3], (std::vector<int>{0, 5, 0, 0, 0, 0, 0}));
    EXPECT_EQ(inColumns[4], std::vector<int>(7, 0));

    runner = std::make_unique<CExecuteurTraitement>(survey);
    Assemble(Request(CTypeFusion::kBlocksInRows), headers);
    const Grid inRows = SpansOf(*OnlyTable().GetFusionColonnes());
    for (int line : {2, 3, 4})
        EXPECT_EQ(inRows[static_cast<std::size_t>(line)], (std::vector<int>{0, 0, 1, 0})) << "line " << line;
    for (int line : {5, 6, 7})
        EXPECT_EQ(inRows[static_cast<std::size_t>(line)], std::vector<int>(4, 0)) << "line " << line;
}

TEST_F(AssemblageTableauxTest, SeparateTablesOnePerCalculationEachWithItsOwnLine) {
    auto request = Request(CTypeFusion::kSeparateTables);
    const CTraitement* given = request.get();
    const Headers headers = Plain(2, 2);
    Assemble(std::move(request), headers);
    ASSERT_EQ(runner->GetNbTableaux(), 3);

    const std::vector<std::string> titles{"T (Effectifs)", "T (% ligne)", "T (% colonne)"};
    const std::vector<std::vector<std::vector<double>>> values{
        {{1, 2}, {3, 4}}, {{10, 20}, {30, 40}}, {{100, 200}, {300, 400}}};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(testing::Message() << "table " << i);
        const CTableau& table = *runner->GetTableau(i);
        EXPECT_EQ(table.title, titles[static_cast<std::size_t>(i)]);
        EXPECT_EQ(ValuesOf(table), values[static_cast<std::size_t>(i)]);
        EXPECT_EQ(table.ColumnHeaderLevels(), 2);
        EXPECT_EQ(table.RowHeaderLevels(), 2);
        EXPECT_EQ(table.MarkerMode(), CTableauBase::kMarqueParColonne);
        EXPECT_EQ(table.GetMarque(0, 0), i + 1);
        EXPECT_EQ(table.GetMarque(1, 1), i + 1);
        EXPECT_EQ(ColumnLabelsOf(table, 1), (std::vector<std::string>{"A", "B"}));
        EXPECT_EQ(RowLabelsOf(table, 1), (std::vector<std::string>{"X", "Y"}));
        // The input spans, with the corner merged; no thin line anywhere.
        EXPECT_EQ(SpansOf(*table.GetFusionColonnes()),
                  (Grid{{1, 0, 1, 0}, {1, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}));
        EXPECT_EQ(SpansOf(*table.GetFusionLignes()), (Grid{{1, 1, 0, 0}, {0, 0, 0, 0}, {1, 0, 0, 0}, {0, 0, 0, 0}}));
        EXPECT_EQ(MarksOf(*table.GetBordures(), Layer::LeftEdges), Grid(5, std::vector<int>(5, 2)));
        EXPECT_EQ(MarksOf(*table.GetBordures(), Layer::TopEdges), Grid(5, std::vector<int>(5, 2)));
        // A request copy of its own, keeping only its calculation line.
        const CTraitement* copy = table.GetTraitement();
        ASSERT_NE(copy, nullptr);
        EXPECT_NE(copy, given);
        ASSERT_EQ(copy->GetCalculsLignes().size(), 1u);
        EXPECT_EQ(copy->GetCalculsLignes()[0]->code, i + 1);
        EXPECT_EQ(copy->title, titles[static_cast<std::size_t>(i)]);
    }
    EXPECT_NE(runner->GetTableau(0)->GetTraitement(), runner->GetTableau(1)->GetTraitement());
    // The caller's maps are left as they were given.
    EXPECT_EQ(headers.columnMerges.GetFusion(0, 0), 0);
    EXPECT_EQ(headers.rowMerges.GetFusion(0, 0), 0);
}

TEST_F(AssemblageTableauxTest, UnknownLayoutWithSeveralCalculationsMakesNoTable) {
    for (std::int16_t type : {-1, 3, 9}) {
        SCOPED_TRACE(testing::Message() << "Type " << type);
        runner = std::make_unique<CExecuteurTraitement>(survey);
        Assemble(Request(type), Plain(1, 1));
        EXPECT_EQ(runner->GetNbTableaux(), 0);
    }
    runner = std::make_unique<CExecuteurTraitement>(survey);
    Assemble(Request(CTypeFusion::kBlocksInColumns), Plain(1, 1), 250, {});
    EXPECT_EQ(runner->GetNbTableaux(), 0);
}

TEST_F(AssemblageTableauxTest, BaseShownAsAWholeNumberInEveryLayout) {
    struct Case {
        double base;
        double shown;
    };
    const std::vector<Case> cases{{12.5, 13}, {12.49, 12}, {0.4, 0}, {99.5, 100}, {1234.7, 1235}, {0, 0}};
    for (std::int16_t type : {0, 1, 2}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << "Type " << type << ", base " << c.base);
            runner = std::make_unique<CExecuteurTraitement>(survey);
            Assemble(Request(type), Plain(1, 1), c.base);
            ASSERT_GE(runner->GetNbTableaux(), 1);
            for (int i = 0; i < runner->GetNbTableaux(); ++i)
                EXPECT_EQ(runner->GetTableau(i)->base, c.shown);
        }
    }
}

TEST_F(AssemblageTableauxTest, CaptionsAndPresentationsReachEveryTable) {
    for (std::int16_t type : {0, 1, 2}) {
        SCOPED_TRACE(testing::Message() << "Type " << type);
        runner = std::make_unique<CExecuteurTraitement>(survey);
        const auto request = Request(type);
        Assemble(std::make_unique<CTraitement>(*request), Plain(1, 1));
        ASSERT_GE(runner->GetNbTableaux(), 1);
        for (int i = 0; i < runner->GetNbTableaux(); ++i) {
            const CTableau& table = *runner->GetTableau(i);
            EXPECT_EQ(table.studyFieldCaption, "Hommes");
            EXPECT_EQ(table.weightingCaption, "Redressement A");
            EXPECT_EQ(table.levelCaption, "Membres");
            EXPECT_EQ(table.openAsChart, 1);
            EXPECT_EQ(table.GetPresentation(), request->presentation);
            EXPECT_EQ(table.GetPresentationGraphique(), request->chartPresentation);
            EXPECT_EQ(table.GetTraitement()->presentation, request->presentation);
        }
    }
}

TEST_F(AssemblageTableauxTest, OneTableFromReadyArrays) {
    struct Case {
        int markerMode;
        std::vector<std::uint16_t> markers;
        Grid expected; // the marker of each cell of the 2 x 2 table
    };
    const std::vector<Case> cases{
        {CTableauBase::kMarqueParLigne, {3, 4}, {{3, 3}, {4, 4}}},
        {CTableauBase::kMarqueParColonne, {3, 4}, {{3, 4}, {3, 4}}},
        {CTableauBase::kMarqueParCellule, {0, 1, 2, 3}, {{0, 1}, {2, 3}}},
    };
    const std::vector<double> cells{5, 6, 7, 8};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "marker mode " << c.markerMode);
        runner = std::make_unique<CExecuteurTraitement>(survey);
        // One label missing on each side; no row map, no marks.
        const Niveaux rowLabels{{Label("X"), nullptr}};
        const Niveaux columnLabels{{nullptr, Label("B")}};
        auto columnMerges = std::make_unique<CFusion>(1, 1, 2, 2);
        columnMerges->SetFusion(0, 1, 1);
        const CFusion* givenMerges = columnMerges.get();
        runner->ConstruireTableau(1, 1, 2, 2, cells, c.markers, rowLabels, columnLabels, nullptr,
                                  std::move(columnMerges), nullptr, 7.6, c.markerMode, Request(0));
        const CTableau& table = OnlyTable();
        EXPECT_EQ(ValuesOf(table), (std::vector<std::vector<double>>{{5, 6}, {7, 8}}));
        Grid markersShown(2);
        for (int row = 0; row < 2; ++row)
            for (int column = 0; column < 2; ++column)
                markersShown[static_cast<std::size_t>(row)].push_back(table.GetMarque(row, column));
        EXPECT_EQ(markersShown, c.expected);
        // A missing label becomes an empty one.
        ASSERT_NE(table.GetLigneEnTete(0, 1), nullptr);
        EXPECT_EQ(table.GetLigneEnTete(0, 1)->label, "");
        ASSERT_NE(table.GetColonneEnTete(0, 0), nullptr);
        EXPECT_EQ(table.GetColonneEnTete(0, 1)->label, "B");
        EXPECT_EQ(table.GetLigneEnTete(0, 0)->label, "X");
        // The given map is the table's; what was not given stays the table's own, empty.
        EXPECT_EQ(table.GetFusionColonnes(), givenMerges);
        ASSERT_NE(table.GetFusionLignes(), nullptr);
        EXPECT_FALSE(table.GetFusionLignes()->ASpans());
        ASSERT_NE(table.GetBordures(), nullptr);
        EXPECT_EQ(table.base, 8);
        EXPECT_EQ(table.title, "T");
        // No corner merge here: that is the assembly's business.
        EXPECT_EQ(table.GetFusionColonnes()->GetFusion(0, 0), 0);
    }
}

} // namespace
