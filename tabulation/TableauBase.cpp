#include "tabulation/TableauBase.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "app/Ligne.h"
#include "tabulation/CellFormatter.h"
#include "tabulation/FonctionsStatistiques.h"
#include "tabulation/Traitement.h"

namespace {

const std::string kEmptyText;

constexpr const char* kBaseFormatStart = "Base : ";
constexpr const char* kTitleLineBreak = "\r\n";

// The base rounded to the nearest whole number; a base that rounds to zero from below reads "0",
// not "-0".
double RoundedBase(double base) {
    const double rounded = std::trunc(base + 0.5);
    return rounded == 0.0 ? 0.0 : rounded;
}

// The span of a cell record or counter, never negative.
std::int32_t NotBelowZero(std::int32_t value) { return value < 0 ? 0 : value; }

} // namespace

CTableauBase::CTableauBase() = default;

CTableauBase::~CTableauBase() = default;

CTableauBase::CTableauBase(const CTableauBase& other)
    : CObjet(other), title(other.title), studyFieldCaption(other.studyFieldCaption),
      weightingCaption(other.weightingCaption), levelCaption(other.levelCaption), base(other.base),
      deleteWithWindow(1), openAsChart(other.openAsChart), ownerDocument(nullptr), m_rows(other.m_rows),
      m_columns(other.m_columns), m_columnHeaderLevels(other.m_columnHeaderLevels),
      m_rowHeaderLevels(other.m_rowHeaderLevels), m_markerMode(other.m_markerMode), m_values(other.m_values),
      m_markers(other.m_markers), m_texts(other.m_texts), m_presentation(other.m_presentation),
      m_chartPresentation(other.m_chartPresentation),
      m_request(other.m_request ? std::make_unique<CTraitement>(*other.m_request) : nullptr),
      m_rowMerges(other.m_rowMerges ? std::make_unique<CFusion>(*other.m_rowMerges) : nullptr),
      m_columnMerges(other.m_columnMerges ? std::make_unique<CFusion>(*other.m_columnMerges) : nullptr),
      m_lineMarks(other.m_lineMarks ? std::make_unique<CMatriceCreuse>(*other.m_lineMarks) : nullptr) {}

void CTableauBase::SwapBase(CTableauBase& other) noexcept {
    using std::swap;
    swap(title, other.title);
    swap(studyFieldCaption, other.studyFieldCaption);
    swap(weightingCaption, other.weightingCaption);
    swap(levelCaption, other.levelCaption);
    swap(base, other.base);
    swap(deleteWithWindow, other.deleteWithWindow);
    swap(openAsChart, other.openAsChart);
    swap(ownerDocument, other.ownerDocument);
    swap(m_rows, other.m_rows);
    swap(m_columns, other.m_columns);
    swap(m_columnHeaderLevels, other.m_columnHeaderLevels);
    swap(m_rowHeaderLevels, other.m_rowHeaderLevels);
    swap(m_markerMode, other.m_markerMode);
    swap(m_values, other.m_values);
    swap(m_markers, other.m_markers);
    swap(m_texts, other.m_texts);
    swap(m_presentation, other.m_presentation);
    swap(m_chartPresentation, other.m_chartPresentation);
    swap(m_request, other.m_request);
    swap(m_rowMerges, other.m_rowMerges);
    swap(m_columnMerges, other.m_columnMerges);
    swap(m_lineMarks, other.m_lineMarks);
}

// ---- Sizing, values, markers, texts ----------------------------------------------------------

void CTableauBase::Dimensionner(std::int32_t columnHeaderLevels, std::int32_t rowHeaderLevels, std::int32_t rows,
                                std::int32_t columns, std::int32_t markerMode) {
    m_columnHeaderLevels = NotBelowZero(columnHeaderLevels);
    m_rowHeaderLevels = NotBelowZero(rowHeaderLevels);
    m_rows = NotBelowZero(rows);
    m_columns = NotBelowZero(columns);
    m_markerMode = markerMode == kMarqueParLigne || markerMode == kMarqueParCellule ? markerMode : kMarqueParColonne;
    const auto cellCount = static_cast<std::size_t>(std::int64_t{m_rows} * m_columns);
    m_values.assign(cellCount, 0.0);
    switch (m_markerMode) {
    case kMarqueParLigne:
        m_markers.assign(static_cast<std::size_t>(m_rows), 0);
        break;
    case kMarqueParCellule:
        m_markers.assign(cellCount, 0);
        break;
    default:
        m_markers.assign(static_cast<std::size_t>(m_columns), 0);
        break;
    }
}

std::int64_t CTableauBase::CellIndex(std::int32_t row, std::int32_t column) const {
    if (row < 0 || column < 0 || row >= m_rows || column >= m_columns)
        return -1;
    return std::int64_t{row} * m_columns + column;
}

void CTableauBase::SetValeur(std::int32_t row, std::int32_t column, double value) {
    const std::int64_t index = CellIndex(row, column);
    if (index >= 0)
        m_values[static_cast<std::size_t>(index)] = ValeurOuManquante(value);
}

double CTableauBase::GetValeur(std::int32_t row, std::int32_t column) const {
    const std::int64_t index = CellIndex(row, column);
    return index >= 0 ? m_values[static_cast<std::size_t>(index)] : kValeurManquante;
}

void CTableauBase::SetMarque(std::int32_t index, std::uint16_t marker) {
    if (m_markerMode == kMarqueParCellule || index < 0 || static_cast<std::size_t>(index) >= m_markers.size())
        return;
    m_markers[static_cast<std::size_t>(index)] = marker;
}

void CTableauBase::SetMarqueCellule(std::int32_t row, std::int32_t column, std::uint16_t marker) {
    const std::int64_t index = CellIndex(row, column);
    if (m_markerMode == kMarqueParCellule && index >= 0)
        m_markers[static_cast<std::size_t>(index)] = marker;
}

std::uint16_t CTableauBase::GetMarque(std::int32_t row, std::int32_t column) const {
    const std::int64_t cell = CellIndex(row, column);
    if (cell < 0)
        return 0;
    switch (m_markerMode) {
    case kMarqueParLigne:
        return m_markers[static_cast<std::size_t>(row)];
    case kMarqueParCellule:
        return m_markers[static_cast<std::size_t>(cell)];
    default:
        return m_markers[static_cast<std::size_t>(column)];
    }
}

std::int32_t CTableauBase::AjouterTexte(const std::string& text) {
    m_texts.push_back(text);
    return TextCount() - 1;
}

const std::string& CTableauBase::GetTexte(std::int32_t index) const {
    if (index < 0 || index >= TextCount())
        return kEmptyText;
    return m_texts[static_cast<std::size_t>(index)];
}

// ---- Owned parts -----------------------------------------------------------------------------

void CTableauBase::SetFusionLignes(std::unique_ptr<CFusion> merges) {
    if (merges)
        m_rowMerges = std::move(merges);
}

void CTableauBase::SetFusionColonnes(std::unique_ptr<CFusion> merges) {
    if (merges)
        m_columnMerges = std::move(merges);
}

void CTableauBase::SetBordures(std::unique_ptr<CMatriceCreuse> marks) {
    if (marks)
        m_lineMarks = std::move(marks);
}

void CTableauBase::SetTraitement(std::unique_ptr<CTraitement> request) { m_request = std::move(request); }

std::unique_ptr<CTraitement> CTableauBase::TakeTraitement() { return std::move(m_request); }

void CTableauBase::SetPresentation(const CPresentationTableau& presentation) {
    m_presentation = presentation;
    if (m_request)
        m_request->presentation = presentation;
}

void CTableauBase::SetPresentationGraphique(const CPresentationGraphique& presentation) {
    m_chartPresentation = presentation;
    if (m_request)
        m_request->chartPresentation = presentation;
}

// ---- Labels ----------------------------------------------------------------------------------

const CLigne* CTableauBase::DisplayedRowLabel(std::int32_t level, std::int32_t index) const {
    return EstTransposee() ? GetColonneEnTete(level, index) : GetLigneEnTete(level, index);
}

const CLigne* CTableauBase::DisplayedColumnLabel(std::int32_t level, std::int32_t index) const {
    return EstTransposee() ? GetLigneEnTete(level, index) : GetColonneEnTete(level, index);
}

namespace {
const std::string& TextOf(const CLigne* label) { return label ? label->label : kEmptyText; }
} // namespace

const std::string& CTableauBase::GetLibelleLigneAffiche(std::int32_t level, std::int32_t index) const {
    return TextOf(DisplayedRowLabel(level, index));
}

const std::string& CTableauBase::GetLibelleColonneAffiche(std::int32_t level, std::int32_t index) const {
    return TextOf(DisplayedColumnLabel(level, index));
}

const std::string& CTableauBase::GetLibelleLigne(std::int32_t level, std::int32_t index) const {
    return TextOf(GetLigneEnTete(level, index));
}

const std::string& CTableauBase::GetLibelleColonne(std::int32_t level, std::int32_t index) const {
    return TextOf(GetColonneEnTete(level, index));
}

const std::string& CTableauBase::DeepestText(bool rows, std::int32_t index) const {
    const std::int32_t levels = rows ? m_rowHeaderLevels : m_columnHeaderLevels;
    for (std::int32_t level = levels - 1; level >= 1; --level) {
        const std::string& text = rows ? GetLibelleLigne(level, index) : GetLibelleColonne(level, index);
        if (!text.empty())
            return text;
    }
    return rows ? GetLibelleLigne(0, index) : GetLibelleColonne(0, index);
}

const std::string& CTableauBase::DonnerLibelleLigne(std::int32_t index) const { return DeepestText(true, index); }

const std::string& CTableauBase::DonnerLibelleColonne(std::int32_t index) const {
    return DeepestText(false, index);
}

// ---- The displayed grid ----------------------------------------------------------------------

std::int32_t CTableauBase::DonnerNbLignesEnTete() const {
    return EstTransposee() ? m_rowHeaderLevels : m_columnHeaderLevels;
}

std::int32_t CTableauBase::DonnerNbColonnesEnTete() const {
    return EstTransposee() ? m_columnHeaderLevels : m_rowHeaderLevels;
}

std::int32_t CTableauBase::DonnerNbLignes() const { return EstTransposee() ? m_columns : m_rows; }

std::int32_t CTableauBase::DonnerNbColonnes() const { return EstTransposee() ? m_rows : m_columns; }

double CTableauBase::DonnerValeurAffichee(std::int32_t row, std::int32_t column) const {
    return EstTransposee() ? GetValeur(column, row) : GetValeur(row, column);
}

std::uint16_t CTableauBase::DonnerMarqueAffichee(std::int32_t row, std::int32_t column) const {
    return EstTransposee() ? GetMarque(column, row) : GetMarque(row, column);
}

std::uint16_t CTableauBase::DonnerFusionLigneAffichee(std::int32_t row, std::int32_t column) const {
    if (EstTransposee())
        return m_columnMerges ? m_columnMerges->GetFusion(column, row) : 0;
    return m_rowMerges ? m_rowMerges->GetFusion(row, column) : 0;
}

std::uint16_t CTableauBase::DonnerFusionColonneAffichee(std::int32_t row, std::int32_t column) const {
    if (EstTransposee())
        return m_rowMerges ? m_rowMerges->GetFusion(column, row) : 0;
    return m_columnMerges ? m_columnMerges->GetFusion(row, column) : 0;
}

std::uint16_t CTableauBase::DonnerBordureLigne(std::int32_t row, std::int32_t column) const {
    if (!m_lineMarks)
        return CMatriceCreuse::kNormal;
    return EstTransposee() ? m_lineMarks->GetMarqueColonne(column, row) : m_lineMarks->GetMarqueLigne(row, column);
}

std::uint16_t CTableauBase::DonnerBordureColonne(std::int32_t row, std::int32_t column) const {
    if (!m_lineMarks)
        return CMatriceCreuse::kNormal;
    return EstTransposee() ? m_lineMarks->GetMarqueLigne(column, row) : m_lineMarks->GetMarqueColonne(row, column);
}

CTableauBase::Zone CTableauBase::DonnerZoneCellule(std::int32_t row, std::int32_t column) const {
    if (column < DonnerNbColonnesEnTete())
        return kZoneEnTeteLigne;
    if (row < DonnerNbLignesEnTete())
        return kZoneEnTeteColonne;
    return kZoneDonnees;
}

// ---- Cell texts ------------------------------------------------------------------------------

std::string CTableauBase::DonnerTexteCellule(std::int32_t row, std::int32_t column) const {
    const std::int32_t headerRows = DonnerNbLignesEnTete();
    const std::int32_t headerColumns = DonnerNbColonnesEnTete();
    if (row < headerRows && column < headerColumns) {
        const bool titleInCorner = row == 0 && column == 0 && !m_presentation.GetEstTitreAuDessus();
        return titleInCorner ? DonnerTexteBase() : std::string();
    }
    if (column < headerColumns)
        return GetLibelleLigneAffiche(column, row - headerRows);
    if (row < headerRows)
        return GetLibelleColonneAffiche(row, column - headerColumns);
    // The exports' texts: the sign right after the number, nothing for a cell with nothing to show.
    return CellFormatter::DataText(*this, row - headerRows, column - headerColumns, CellFormatter::kExport);
}

// ---- Title block -----------------------------------------------------------------------------

void CTableauBase::DonnerLignesTitre(std::vector<std::string>& lines) const {
    if (m_presentation.GetEstTitreBase())
        lines.push_back(kBaseFormatStart + BaseText());
    if (m_presentation.GetEstTitreChamp())
        lines.push_back(studyFieldCaption);
    if (m_presentation.GetEstTitreRedressement())
        lines.push_back(weightingCaption);
    if (m_presentation.GetEstTitreLevel())
        lines.push_back(levelCaption);
}

std::string CTableauBase::BaseText() const {
    // A weighted base is a sum of weights: its decimals are those of the table's real values.
    if (m_request && m_request->weightingId != -1)
        return CellFormatter::NumberText(base, m_presentation.GetReel());
    return CellFormatter::NumberText(RoundedBase(base), 0);
}

std::string CTableauBase::DonnerTexteBase() const {
    std::vector<std::string> lines;
    DonnerLignesTitre(lines);
    std::string text;
    for (const std::string& line : lines) {
        if (!text.empty())
            text += kTitleLineBreak;
        text += line;
    }
    return text;
}

// ---- Cell fonts ------------------------------------------------------------------------------

void CTableauBase::ApplyRowLabelStyles(CPoliceAna& font, std::int32_t displayedRow) const {
    for (std::int32_t level = 0; level < DonnerNbColonnesEnTete(); ++level)
        if (const CLigne* label = DisplayedRowLabel(level, displayedRow))
            label->AppliquerStyle(font, m_presentation.GetQuestion());
}

void CTableauBase::ApplyColumnLabelStyles(CPoliceAna& font, std::int32_t displayedColumn) const {
    for (std::int32_t level = 0; level < DonnerNbLignesEnTete(); ++level)
        if (const CLigne* label = DisplayedColumnLabel(level, displayedColumn))
            label->AppliquerStyle(font, m_presentation.GetQuestion());
}

CPoliceAna CTableauBase::DonnerPoliceCellule(std::int32_t row, std::int32_t column) const {
    const std::int32_t headerRows = DonnerNbLignesEnTete();
    const std::int32_t headerColumns = DonnerNbColonnesEnTete();
    if (column < headerColumns) {
        CPoliceAna font = m_presentation.GetLigne();
        if (row >= headerRows)
            ApplyRowLabelStyles(font, row - headerRows);
        return font;
    }
    if (row < headerRows) {
        CPoliceAna font = m_presentation.GetColonne();
        if (const CLigne* label = DisplayedColumnLabel(row, column - headerColumns))
            label->AppliquerStyle(font, m_presentation.GetQuestion());
        return font;
    }
    CPoliceAna font = m_presentation.GetCellule();
    ApplyRowLabelStyles(font, row - headerRows);
    ApplyColumnLabelStyles(font, column - headerColumns);
    return font;
}

std::int32_t CTableauBase::TrouverPolice(std::vector<CPoliceAna>& fonts, const CPoliceAna& font) {
    for (std::size_t i = 0; i < fonts.size(); ++i)
        if (fonts[i] == font)
            return static_cast<std::int32_t>(i);
    fonts.push_back(font);
    return static_cast<std::int32_t>(fonts.size()) - 1;
}

// ---- Cell records ----------------------------------------------------------------------------

// The walk of the displayed grid: rows from the top, and in each row the header columns then the
// data columns. A counter per column holds the rows still covered by a vertical merge from above;
// a counter along the row holds the columns still covered by a horizontal merge (carried from the
// header columns into the data columns).
void CTableauBase::DonnerTablePolices(std::vector<CPoliceAna>& fonts, std::vector<CCellule>& cells) const {
    fonts.clear();
    cells.clear();
    const std::int32_t headerRows = DonnerNbLignesEnTete();
    const std::int32_t headerColumns = DonnerNbColonnesEnTete();
    const std::int32_t lastRow = headerRows + DonnerNbLignes() - 1;
    const std::int32_t lastColumn = headerColumns + DonnerNbColonnes() - 1;
    std::vector<std::int32_t> pendingRows(static_cast<std::size_t>(lastColumn + 1), 0);

    for (std::int32_t row = 0; row <= lastRow; ++row) {
        std::int32_t pendingColumns = 0;
        for (std::int32_t column = 0; column <= lastColumn; ++column) {
            const std::int32_t below = DonnerFusionLigneAffichee(row, column);
            const std::int32_t across = DonnerFusionColonneAffichee(row, column);
            std::int32_t& coveredRows = pendingRows[static_cast<std::size_t>(column)];
            const bool startsBlock = coveredRows == 0;
            bool makesRecord = false;
            if (startsBlock) {
                coveredRows = below;
                if (pendingColumns > 0) {
                    --pendingColumns;
                } else {
                    pendingColumns = across;
                    makesRecord = true;
                }
            } else {
                --coveredRows;
                if (pendingColumns == 0) {
                    pendingColumns = across;
                    makesRecord = true;
                } else {
                    pendingColumns = pendingColumns - 1 + below;
                }
            }
            // A merge never reaches past the row's last column.
            pendingColumns = std::min(pendingColumns, lastColumn - column);
            if (!makesRecord)
                continue;
            const bool blockEnds = coveredRows == 0;

            CCellule cell;
            cell.column = column;
            cell.row = row;
            cell.span = pendingColumns + 1;
            cell.alignment = DonnerZoneCellule(row, column);
            // Texts (open answers, test lines) read from the left, as labels do; numbers stay
            // right-aligned.
            if (cell.alignment == kZoneDonnees &&
                DonnerMarqueAffichee(row - headerRows, column - headerColumns) == kMarqueTexte)
                cell.alignment = kZoneEnTeteLigne;
            cell.fontIndex = TrouverPolice(fonts, DonnerPoliceCellule(row, column));
            cell.firstOfBlock = startsBlock ? 1 : 0;
            const std::int32_t lastCovered = column + cell.span - 1;
            const bool outerLeft = column == 0 || column == headerColumns;
            const bool outerRight = lastCovered == headerColumns - 1 || lastCovered == lastColumn;
            const bool outerBottom = row == headerRows - 1 || row == lastRow;
            cell.left = outerLeft ? std::int32_t{kTraitEpais} : DonnerBordureLigne(row, column);
            cell.right = outerRight ? std::int32_t{kTraitEpais} : DonnerBordureLigne(row, column + cell.span);
            if (!startsBlock)
                cell.top = kTraitAucun;
            else
                cell.top = row == 0 ? std::int32_t{kTraitEpais} : DonnerBordureColonne(row, column);
            if (!blockEnds)
                cell.bottom = kTraitAucun;
            else
                cell.bottom = outerBottom ? std::int32_t{kTraitEpais} : DonnerBordureColonne(row + 1, column);
            cells.push_back(std::move(cell));
        }
    }
}

std::int32_t CTableauBase::CompterSuiteIdentique(const std::vector<CCellule>& cells, std::int32_t index) {
    if (index < 0 || static_cast<std::size_t>(index) >= cells.size())
        return 0;
    const std::int32_t row = cells[static_cast<std::size_t>(index)].row;
    std::int32_t count = 0;
    for (std::size_t i = static_cast<std::size_t>(index); i < cells.size() && cells[i].row == row; ++i)
        ++count;
    return count;
}
