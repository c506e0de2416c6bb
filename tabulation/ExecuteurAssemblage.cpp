#include "tabulation/ExecuteurTraitement.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <span>
#include <utility>
#include <vector>

#include "tabulation/Fusion.h"
#include "tabulation/MatriceCreuse.h"

// Turning the numbers of a compute function into result tables: one table from ready arrays
// (ConstruireTableau), or the blocks of a request's calculation lines laid out as its merge
// options say (AssemblerTableaux).
//
// Merge spans and line marks are addressed on the grid of a table of H column-header levels,
// V row-header levels, R rows and C columns: (H + R) lines by (V + C) columns, headers first.

namespace {

using NiveauxLibelles = CExecuteurTraitement::NiveauxLibelles;

// The line drawn between the columns (or rows) of one group, thinner than the normal line that
// stays between groups.
constexpr std::uint16_t kThinLine = 1;
// A header of this many levels gets no further level naming the calculations.
constexpr int kFullHeaderLevels = 3;

struct Shape {
    int H; // column-header levels
    int V; // row-header levels
    int R; // rows
    int C; // columns
};

// ---- Reading the caller's arrays, which may be shorter than the table ----

const CLigne* LabelAt(const NiveauxLibelles& levels, int level, int index) {
    if (level < 0 || index < 0 || static_cast<std::size_t>(level) >= levels.size())
        return nullptr;
    const std::vector<const CLigne*>& labels = levels[static_cast<std::size_t>(level)];
    return static_cast<std::size_t>(index) < labels.size() ? labels[static_cast<std::size_t>(index)]
                                                           : nullptr;
}

template <class T> T ValueAt(std::span<const T> values, std::size_t index) {
    return index < values.size() ? values[index] : T{};
}

// A count of further cells as a merge span, kept within what a map holds.
std::uint16_t SpanOf(long long further) {
    return static_cast<std::uint16_t>(
        std::clamp<long long>(further, 0, std::numeric_limits<std::uint16_t>::max()));
}

// ---- One table from ready arrays ----

void SetLabels(CTableau& table, const Shape& shape, const NiveauxLibelles& rowLabels,
               const NiveauxLibelles& columnLabels) {
    // Every slot gets a label, an empty one where the caller has none.
    const CLigne empty;
    for (int level = 0; level < shape.H; ++level)
        for (int column = 0; column < shape.C; ++column) {
            const CLigne* label = LabelAt(columnLabels, level, column);
            table.SetLibelleColonne(level, column, label != nullptr ? label : &empty);
        }
    for (int level = 0; level < shape.V; ++level)
        for (int row = 0; row < shape.R; ++row) {
            const CLigne* label = LabelAt(rowLabels, level, row);
            table.SetLibelleLigne(level, row, label != nullptr ? label : &empty);
        }
}

// Cells the caller did not give keep the table's 0.
void SetCells(CTableau& table, const Shape& shape, std::span<const double> cells) {
    for (int row = 0; row < shape.R; ++row)
        for (int column = 0; column < shape.C; ++column) {
            const std::size_t index = static_cast<std::size_t>(row) * static_cast<std::size_t>(shape.C) +
                                      static_cast<std::size_t>(column);
            if (index < cells.size())
                table.SetValeur(row, column, cells[index]);
        }
}

// By the table's own mode, which takes an unknown mode as one marker per column.
void SetMarkers(CTableau& table, const Shape& shape, std::span<const std::uint16_t> markers) {
    switch (table.MarkerMode()) {
    case CTableauBase::kMarqueParLigne:
        for (int row = 0; row < shape.R; ++row)
            table.SetMarque(row, ValueAt(markers, static_cast<std::size_t>(row)));
        break;
    case CTableauBase::kMarqueParCellule:
        for (int row = 0; row < shape.R; ++row)
            for (int column = 0; column < shape.C; ++column)
                table.SetMarqueCellule(
                    row, column,
                    ValueAt(markers, static_cast<std::size_t>(row) * static_cast<std::size_t>(shape.C) +
                                         static_cast<std::size_t>(column)));
        break;
    default:
        for (int column = 0; column < shape.C; ++column)
            table.SetMarque(column, ValueAt(markers, static_cast<std::size_t>(column)));
        break;
    }
}

// ---- What the assembly reads: the caller's blocks and headers ----

struct Blocks {
    const std::vector<std::vector<double>>& cells; // one R x C block per calculation line
    Shape shape;
    const NiveauxLibelles& rowLabels;
    const NiveauxLibelles& columnLabels;
    const CTraitement::Calculs& calculations; // calculations[i] names block i
    const CFusion& rowMerges;
    const CFusion& columnMerges;
    std::span<const std::uint16_t> markers; // one per block

    int Count() const { return static_cast<int>(cells.size()); }
    double Cell(int block, int row, int column) const {
        const std::vector<double>& values = cells[static_cast<std::size_t>(block)];
        return ValueAt(std::span<const double>(values),
                       static_cast<std::size_t>(row) * static_cast<std::size_t>(shape.C) +
                           static_cast<std::size_t>(column));
    }
    std::uint16_t Marker(int block) const { return ValueAt(markers, static_cast<std::size_t>(block)); }
    // Null when the caller gave fewer calculation lines than blocks.
    const CCalcul* Calculation(int block) const {
        const auto index = static_cast<std::size_t>(block);
        return index < calculations.size() ? calculations[index].get() : nullptr;
    }
};

// ---- A. One table per block ----

// The request of block i's table: only that block's calculation line, and the calculation's label
// in the title when the request gave several blocks.
std::unique_ptr<CTraitement> RequestOfBlock(const CTraitement& request, const Blocks& blocks, int block) {
    auto copy = std::make_unique<CTraitement>(request);
    const CCalcul* calculation = blocks.Calculation(block);
    if (calculation == nullptr)
        return copy;
    copy->GarderCalculLigne(calculation->code);
    if (blocks.Count() > 1)
        copy->title = request.title + " (" + calculation->label + ")";
    return copy;
}

void BuildSeparateTables(CExecuteurTraitement& runner, const Blocks& blocks, const CTraitement& request,
                         double base) {
    const Shape& s = blocks.shape;
    for (int block = 0; block < blocks.Count(); ++block) {
        const std::vector<std::uint16_t> markers(static_cast<std::size_t>(std::max(s.C, 0)),
                                                 blocks.Marker(block));
        auto rowMerges = std::make_unique<CFusion>(blocks.rowMerges);
        auto columnMerges = std::make_unique<CFusion>(blocks.columnMerges);
        CFusion::FusionnerCoinEnTete(*rowMerges, *columnMerges, s.H, s.V);
        runner.ConstruireTableau(s.H, s.V, s.R, s.C, blocks.cells[static_cast<std::size_t>(block)], markers,
                                 blocks.rowLabels, blocks.columnLabels, std::move(rowMerges),
                                 std::move(columnMerges), nullptr, base, CTableauBase::kMarqueParColonne,
                                 RequestOfBlock(request, blocks, block));
    }
}

// ---- B and C. Every block in one table ----

// The arrays of the merged table before it is built. Labels point at the caller's labels and
// calculation lines: the table copies them.
struct MergedTable {
    Shape shape;
    int markerMode;
    std::vector<double> cells;
    std::vector<std::uint16_t> markers;
    NiveauxLibelles rowLabels;
    NiveauxLibelles columnLabels;
    std::unique_ptr<CFusion> rowMerges;
    std::unique_ptr<CFusion> columnMerges;
    std::unique_ptr<CMatriceCreuse> lineMarks;

    MergedTable(const Shape& s, int mode)
        : shape(s), markerMode(mode), cells(static_cast<std::size_t>(s.R) * static_cast<std::size_t>(s.C)),
          markers(static_cast<std::size_t>(mode == CTableauBase::kMarqueParLigne ? s.R : s.C)),
          rowLabels(static_cast<std::size_t>(s.V), std::vector<const CLigne*>(static_cast<std::size_t>(s.R))),
          columnLabels(static_cast<std::size_t>(s.H),
                       std::vector<const CLigne*>(static_cast<std::size_t>(s.C))),
          rowMerges(std::make_unique<CFusion>(s.H, s.V, s.R, s.C)),
          columnMerges(std::make_unique<CFusion>(s.H, s.V, s.R, s.C)),
          lineMarks(std::make_unique<CMatriceCreuse>(s.H + s.R, s.V + s.C)) {}

    double& Cell(int row, int column) {
        return cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(shape.C) +
                     static_cast<std::size_t>(column)];
    }
    std::uint16_t& Marker(int index) { return markers[static_cast<std::size_t>(index)]; }
    const CLigne*& RowLabel(int level, int row) {
        return rowLabels[static_cast<std::size_t>(level)][static_cast<std::size_t>(row)];
    }
    const CLigne*& ColumnLabel(int level, int column) {
        return columnLabels[static_cast<std::size_t>(level)][static_cast<std::size_t>(column)];
    }
};

bool AddsCalculationLevel(const CTraitement& request, int headerLevels) {
    return request.mergeOptions.EstLibelleTraitement != 0 && headerLevels != kFullHeaderLevels;
}

// -- B. Each input column becomes a group of N columns, one per calculation --

void FillColumnGroups(const Blocks& in, MergedTable& out) {
    const int n = in.Count();
    for (int block = 0; block < n; ++block) {
        for (int row = 0; row < in.shape.R; ++row)
            for (int column = 0; column < in.shape.C; ++column)
                out.Cell(row, column * n + block) = in.Cell(block, row, column);
        for (int column = 0; column < in.shape.C; ++column)
            out.Marker(column * n + block) = in.Marker(block);
    }
}

// Thin lines between the columns of each group, down the data and the calculation level.
void ThinLinesInColumnGroups(const Blocks& in, MergedTable& out, bool calculationLevel) {
    const int n = in.Count();
    const int firstLine = calculationLevel ? out.shape.H - 1 : out.shape.H;
    for (int line = firstLine; line < out.shape.H + out.shape.R; ++line)
        for (int group = 0; group < in.shape.C; ++group)
            for (int k = 1; k < n; ++k)
                out.lineMarks->SetMarqueLigne(line, out.shape.V + group * n + k, kThinLine);
}

// Each input column header heads its whole group; its vertical span stays with every column of
// the group.
void ColumnHeadersOverGroups(const Blocks& in, MergedTable& out) {
    const int n = in.Count();
    const int v = in.shape.V;
    for (int level = 0; level < in.shape.H; ++level)
        for (int column = 0; column < in.shape.C; ++column) {
            const int first = column * n;
            out.ColumnLabel(level, first) = LabelAt(in.columnLabels, level, column);
            const long long span = in.columnMerges.GetFusion(level, v + column);
            out.columnMerges->SetFusion(level, v + first, SpanOf((span + 1) * n - 1));
            for (int k = 0; k < n; ++k)
                out.rowMerges->SetFusion(level, v + first + k, in.rowMerges.GetFusion(level, v + column));
        }
}

void CalculationLabelsInColumns(const Blocks& in, MergedTable& out) {
    const int n = in.Count();
    for (int column = 0; column < in.shape.C; ++column)
        for (int block = 0; block < n; ++block)
            out.ColumnLabel(out.shape.H - 1, column * n + block) = in.Calculation(block);
}

// Row headers keep their labels and spans, below the (possibly deeper) column headers.
void RowHeadersBelowColumnHeaders(const Blocks& in, MergedTable& out) {
    for (int level = 0; level < in.shape.V; ++level)
        for (int row = 0; row < in.shape.R; ++row) {
            out.RowLabel(level, row) = LabelAt(in.rowLabels, level, row);
            out.rowMerges->SetFusion(out.shape.H + row, level,
                                     in.rowMerges.GetFusion(in.shape.H + row, level));
            out.columnMerges->SetFusion(out.shape.H + row, level,
                                        in.columnMerges.GetFusion(in.shape.H + row, level));
        }
}

// A question's caption line has its first data cell merged over the whole width of the block;
// in a merged table it spans the table's whole width on each line it became, so that no empty
// cell of it stands apart under the calculations.
bool IsCaptionLine(const Blocks& in, int row) {
    return in.shape.C > 1 && in.columnMerges.GetFusion(in.shape.H + row, in.shape.V) >= in.shape.C - 1;
}

void CaptionLinesAcrossGroups(const Blocks& in, MergedTable& out) {
    for (int row = 0; row < in.shape.R; ++row)
        if (IsCaptionLine(in, row))
            out.columnMerges->SetFusion(out.shape.H + row, out.shape.V, SpanOf(out.shape.C - 1));
}

void CaptionLinesOnEveryRowOfTheirGroup(const Blocks& in, MergedTable& out) {
    const int n = in.Count();
    for (int row = 0; row < in.shape.R; ++row)
        if (IsCaptionLine(in, row))
            for (int k = 0; k < n; ++k)
                out.columnMerges->SetFusion(out.shape.H + row * n + k, out.shape.V, SpanOf(out.shape.C - 1));
}

MergedTable MergeInColumns(const Blocks& in, bool calculationLevel) {
    const Shape& s = in.shape;
    MergedTable out(Shape{s.H + (calculationLevel ? 1 : 0), s.V, s.R, s.C * in.Count()},
                    CTableauBase::kMarqueParColonne);
    FillColumnGroups(in, out);
    ThinLinesInColumnGroups(in, out, calculationLevel);
    ColumnHeadersOverGroups(in, out);
    if (calculationLevel)
        CalculationLabelsInColumns(in, out);
    RowHeadersBelowColumnHeaders(in, out);
    CaptionLinesAcrossGroups(in, out);
    CFusion::FusionnerCoinEnTete(*out.rowMerges, *out.columnMerges, out.shape.H, out.shape.V);
    return out;
}

// -- C. Each input row becomes a group of N rows, one per calculation --

void FillRowGroups(const Blocks& in, MergedTable& out) {
    const int n = in.Count();
    for (int block = 0; block < n; ++block)
        for (int row = 0; row < in.shape.R; ++row) {
            for (int column = 0; column < in.shape.C; ++column)
                out.Cell(row * n + block, column) = in.Cell(block, row, column);
            out.Marker(row * n + block) = in.Marker(block);
        }
}

// Thin lines between the rows of each group, across the data and the calculation level.
void ThinLinesInRowGroups(const Blocks& in, MergedTable& out, bool calculationLevel) {
    const int n = in.Count();
    const int firstColumn = calculationLevel ? out.shape.V - 1 : out.shape.V;
    for (int group = 0; group < in.shape.R; ++group)
        for (int k = 1; k < n; ++k)
            for (int column = firstColumn; column < out.shape.V + out.shape.C; ++column)
                out.lineMarks->SetMarqueColonne(out.shape.H + group * n + k, column, kThinLine);
}

// Each input row header heads its whole group; its horizontal span stays with every row of the
// group.
void RowHeadersOverGroups(const Blocks& in, MergedTable& out) {
    const int n = in.Count();
    const int h = in.shape.H;
    for (int level = 0; level < in.shape.V; ++level)
        for (int row = 0; row < in.shape.R; ++row) {
            const int first = row * n;
            out.RowLabel(level, first) = LabelAt(in.rowLabels, level, row);
            const long long span = in.rowMerges.GetFusion(h + row, level);
            out.rowMerges->SetFusion(h + first, level, SpanOf((span + 1) * n - 1));
            for (int k = 0; k < n; ++k)
                out.columnMerges->SetFusion(h + first + k, level, in.columnMerges.GetFusion(h + row, level));
        }
}

void CalculationLabelsInRows(const Blocks& in, MergedTable& out) {
    const int n = in.Count();
    for (int row = 0; row < in.shape.R; ++row)
        for (int block = 0; block < n; ++block)
            out.RowLabel(out.shape.V - 1, row * n + block) = in.Calculation(block);
}

// Column headers keep their labels and spans, right of the (possibly wider) row headers.
void ColumnHeadersRightOfRowHeaders(const Blocks& in, MergedTable& out) {
    for (int level = 0; level < in.shape.H; ++level)
        for (int column = 0; column < in.shape.C; ++column) {
            out.ColumnLabel(level, column) = LabelAt(in.columnLabels, level, column);
            out.rowMerges->SetFusion(level, out.shape.V + column,
                                     in.rowMerges.GetFusion(level, in.shape.V + column));
            out.columnMerges->SetFusion(level, out.shape.V + column,
                                        in.columnMerges.GetFusion(level, in.shape.V + column));
        }
}

MergedTable MergeInRows(const Blocks& in, bool calculationLevel) {
    const Shape& s = in.shape;
    MergedTable out(Shape{s.H, s.V + (calculationLevel ? 1 : 0), s.R * in.Count(), s.C},
                    CTableauBase::kMarqueParLigne);
    FillRowGroups(in, out);
    ThinLinesInRowGroups(in, out, calculationLevel);
    RowHeadersOverGroups(in, out);
    if (calculationLevel)
        CalculationLabelsInRows(in, out);
    ColumnHeadersRightOfRowHeaders(in, out);
    CaptionLinesOnEveryRowOfTheirGroup(in, out);
    CFusion::FusionnerCoinEnTete(*out.rowMerges, *out.columnMerges, out.shape.H, out.shape.V);
    return out;
}

void BuildMergedTable(CExecuteurTraitement& runner, MergedTable table, double base,
                      std::unique_ptr<CTraitement> request) {
    const Shape& s = table.shape;
    runner.ConstruireTableau(s.H, s.V, s.R, s.C, table.cells, table.markers, table.rowLabels,
                             table.columnLabels, std::move(table.rowMerges), std::move(table.columnMerges),
                             std::move(table.lineMarks), base, table.markerMode, std::move(request));
}

} // namespace

void CExecuteurTraitement::ConstruireTableau(
    int H, int V, int R, int C, std::span<const double> cells, std::span<const std::uint16_t> markers,
    const NiveauxLibelles& rowLabels, const NiveauxLibelles& columnLabels, std::unique_ptr<CFusion> rowMerges,
    std::unique_ptr<CFusion> columnMerges, std::unique_ptr<CMatriceCreuse> lineMarks, double base,
    int markerMode, std::unique_ptr<CTraitement> request) {
    const Shape shape{H, V, R, C};
    auto table = std::make_unique<CTableau>(H, V, R, C, markerMode);
    SetLabels(*table, shape, rowLabels, columnLabels);
    SetCells(*table, shape, cells);
    SetMarkers(*table, shape, markers);
    // A null map or null marks leave the table's own, empty ones.
    table->SetFusionLignes(std::move(rowMerges));
    table->SetFusionColonnes(std::move(columnMerges));
    table->SetBordures(std::move(lineMarks));
    const double shownBase = std::floor(base + 0.5);
    if (request)
        FinirTableau(*table, std::move(request), shownBase);
    else
        table->base = shownBase;
    AjouterTableau(std::move(table));
}

// The request goes to the merged table; after separate tables (each with a copy), or when no
// table is made, it is freed on return.
void CExecuteurTraitement::AssemblerTableaux(std::unique_ptr<CTraitement> request,
                                             const std::vector<std::vector<double>>& blocks, int H, int R,
                                             int V, int C, const NiveauxLibelles& rowLabels,
                                             const NiveauxLibelles& columnLabels,
                                             const CTraitement::Calculs& calculations,
                                             const CFusion& rowMerges, const CFusion& columnMerges,
                                             std::span<const std::uint16_t> markers, double base) {
    // Without a request there are no merge options to follow; without blocks nothing to show.
    if (!request || blocks.empty())
        return;
    const Shape shape{std::max(H, 0), std::max(V, 0), std::max(R, 0), std::max(C, 0)};
    const Blocks in{blocks, shape, rowLabels, columnLabels, calculations, rowMerges, columnMerges, markers};
    const std::int16_t type = request->mergeOptions.Type;
    if (in.Count() == 1 || type == CTypeFusion::kSeparateTables) {
        BuildSeparateTables(*this, in, *request, base);
    } else if (type == CTypeFusion::kBlocksInColumns) {
        // Laid out before the request is handed over: the layout reads its merge options.
        MergedTable merged = MergeInColumns(in, AddsCalculationLevel(*request, shape.H));
        BuildMergedTable(*this, std::move(merged), base, std::move(request));
    } else if (type == CTypeFusion::kBlocksInRows) {
        MergedTable merged = MergeInRows(in, AddsCalculationLevel(*request, shape.V));
        BuildMergedTable(*this, std::move(merged), base, std::move(request));
    }
    // Any other Type names no layout: several blocks make no table, and the request is freed.
}
