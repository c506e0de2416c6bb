#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/questionnaire/Objet.h"
#include "presentation/PoliceAna.h"
#include "presentation/PresentationGraphique.h"
#include "presentation/PresentationTableau.h"
#include "tabulation/Cellule.h"
#include "tabulation/Fusion.h"
#include "tabulation/MatriceCreuse.h"

class CLigne;
class CTraitement;

// What every result table shares: a grid of rows x columns of doubles with header labels on
// top (column-header levels) and on the left (row-header levels), a 16-bit marker per row, per
// column or per cell that says how each value is shown, the texts shown by text markers, the
// title block (base, study field, weighting, level), the presentations, optional merge maps and
// line marks for the exports, and the request the table was computed from.
//
// Where the labels come from is left to the two kinds of table: CTableau stores them, and
// CTableauFactoriel asks a label source.
//
// Two grids are spoken of. The stored grid is the data as computed: values by (row, column)
// without the headers. The displayed grid adds the header lines and columns and is transposed
// when the presentation's Orientation is non-zero: every "displayed" operation (and the cell
// texts, fonts and records) works on it; the stored data never moves. Merge maps and line marks
// cover the untransposed displayed grid, headers included.
//
// Indexes outside the grid are harmless: values read as the missing value, markers as 0, labels
// as none, and writes are ignored.
class CTableauBase : public CObjet {
public:
    // A cell with this value has none and is shown empty.
    static constexpr double kValeurManquante = -999999.99;

    // How markers are kept.
    enum ModeMarque : std::int32_t { kMarqueParLigne = 0, kMarqueParColonne = 1, kMarqueParCellule = 2 };
    // How a value is shown.
    enum Marque : std::uint16_t {
        kMarqueEffectif = 0,         // a count, with the presentation's Effectif decimals
        kMarquePourcentage = 1,      // with Pourcentage decimals and "%" when EstPourcent
        kMarqueReel = 2,             // with Reel decimals
        kMarqueSignificativite = 3,  // "---" to "+++"
        kMarqueTexte = 4,            // the text of that index
    };
    // Zones of the displayed grid; also the alignment of their cells (left, centred, right).
    enum Zone : std::int16_t { kZoneEnTeteLigne = 0, kZoneEnTeteColonne = 1, kZoneDonnees = 2 };
    // Line kinds of the cell records.
    enum Trait : std::int32_t { kTraitAucun = 0, kTraitFin = 1, kTraitNormal = 2, kTraitEpais = 3 };

    ~CTableauBase() override;

    // Stores the dimensions and the marker mode (an unknown mode is taken as one marker per
    // column) and allocates zeroed values and markers. Negative dimensions count as 0.
    void Dimensionner(std::int32_t columnHeaderLevels, std::int32_t rowHeaderLevels, std::int32_t rows,
                      std::int32_t columns, std::int32_t markerMode);

    std::int32_t RowCount() const { return m_rows; }
    std::int32_t ColumnCount() const { return m_columns; }
    std::int32_t ColumnHeaderLevels() const { return m_columnHeaderLevels; }
    std::int32_t RowHeaderLevels() const { return m_rowHeaderLevels; }
    std::int32_t MarkerMode() const { return m_markerMode; }

    // ---- Values, markers and texts (stored grid) ----
    // A value that is not a finite number (an overflow) is kept as the missing value.
    void SetValeur(std::int32_t row, std::int32_t column, double value);
    double GetValeur(std::int32_t row, std::int32_t column) const;
    // The marker of a row (one per row) or a column (one per column).
    void SetMarque(std::int32_t index, std::uint16_t marker);
    // The marker of a cell (one per cell).
    void SetMarqueCellule(std::int32_t row, std::int32_t column, std::uint16_t marker);
    // The marker that applies to the cell, whatever the mode.
    std::uint16_t GetMarque(std::int32_t row, std::int32_t column) const;
    // Appends a text and answers its index: a value v with the text marker shows text v.
    std::int32_t AjouterTexte(const std::string& text);
    const std::string& GetTexte(std::int32_t index) const; // the empty text out of range
    std::int32_t TextCount() const { return static_cast<std::int32_t>(m_texts.size()); }

    // ---- Owned parts ----
    // Each takes the object, deleting the one held; null is ignored.
    void SetFusionLignes(std::unique_ptr<CFusion> merges);
    void SetFusionColonnes(std::unique_ptr<CFusion> merges);
    void SetBordures(std::unique_ptr<CMatriceCreuse> marks);
    const CFusion* GetFusionLignes() const { return m_rowMerges.get(); }
    const CFusion* GetFusionColonnes() const { return m_columnMerges.get(); }
    const CMatriceCreuse* GetBordures() const { return m_lineMarks.get(); }

    // The request the table was computed from; the table owns it. SetTraitement replaces (and
    // deletes) the one held; TakeTraitement gives it up to the caller.
    void SetTraitement(std::unique_ptr<CTraitement> request);
    CTraitement* GetTraitement() const { return m_request.get(); }
    std::unique_ptr<CTraitement> TakeTraitement();

    // Each copies the presentation into the table and into its request when it has one.
    void SetPresentation(const CPresentationTableau& presentation);
    void SetPresentationGraphique(const CPresentationGraphique& presentation);
    const CPresentationTableau& GetPresentation() const { return m_presentation; }
    const CPresentationGraphique& GetPresentationGraphique() const { return m_chartPresentation; }

    // ---- Labels ----
    // The stored (untransposed) labels of row `index` or column `index` at a header level; null
    // when there is none.
    virtual const CLigne* GetLigneEnTete(std::int32_t level, std::int32_t index) const = 0;
    virtual const CLigne* GetColonneEnTete(std::int32_t level, std::int32_t index) const = 0;
    // The labels of the displayed rows and columns: the column labels stand for the rows when
    // the table is transposed, and the reverse.
    virtual const CLigne* DisplayedRowLabel(std::int32_t level, std::int32_t index) const;
    virtual const CLigne* DisplayedColumnLabel(std::int32_t level, std::int32_t index) const;
    // Their texts; the empty text when there is no label.
    const std::string& GetLibelleLigneAffiche(std::int32_t level, std::int32_t index) const;
    const std::string& GetLibelleColonneAffiche(std::int32_t level, std::int32_t index) const;
    const std::string& GetLibelleLigne(std::int32_t level, std::int32_t index) const;
    const std::string& GetLibelleColonne(std::int32_t level, std::int32_t index) const;
    // Among the stored labels of a row (column), the text of the deepest level with a non-empty
    // text, searched from the last level down to level 1, else level 0's.
    const std::string& DonnerLibelleLigne(std::int32_t index) const;
    const std::string& DonnerLibelleColonne(std::int32_t index) const;

    // ---- The displayed grid ----
    bool EstTransposee() const { return m_presentation.GetOrientation() != 0; }
    std::int32_t DonnerNbLignesEnTete() const;   // header rows on top
    std::int32_t DonnerNbColonnesEnTete() const; // header columns on the left
    std::int32_t DonnerNbLignes() const;         // data rows
    std::int32_t DonnerNbColonnes() const;       // data columns
    // At a displayed data position (headers not counted).
    double DonnerValeurAffichee(std::int32_t row, std::int32_t column) const;
    std::uint16_t DonnerMarqueAffichee(std::int32_t row, std::int32_t column) const;
    // At a displayed grid position (headers counted): the spans of the merge maps (0 without
    // map) and the line marks (2 without marks): the left edge of the cell (DonnerBordureLigne)
    // and its top edge (DonnerBordureColonne).
    std::uint16_t DonnerFusionLigneAffichee(std::int32_t row, std::int32_t column) const;
    std::uint16_t DonnerFusionColonneAffichee(std::int32_t row, std::int32_t column) const;
    std::uint16_t DonnerBordureLigne(std::int32_t row, std::int32_t column) const;
    std::uint16_t DonnerBordureColonne(std::int32_t row, std::int32_t column) const;
    // Row headers and the corner, column headers, or data.
    Zone DonnerZoneCellule(std::int32_t row, std::int32_t column) const;
    // The text of any displayed cell: the title block in the corner (unless it stands above the
    // table), labels in the headers, and data as the exports show them (CellFormatter::kExport).
    std::string DonnerTexteCellule(std::int32_t row, std::int32_t column) const;
    // The font of any displayed cell: the zone's font with the styles of the labels of its row
    // and column applied.
    CPoliceAna DonnerPoliceCellule(std::int32_t row, std::int32_t column) const;

    // The title block: "Base : " and the base when EstTitreBase (rounded to the whole number it
    // is, every digit printed; a weighted table's base with the decimals of its real values), then
    // the study-field, weighting and level captions that the presentation asks for, separated by
    // "\r\n". DonnerLignesTitre appends the same parts to the list, one per line.
    std::string DonnerTexteBase() const;
    void DonnerLignesTitre(std::vector<std::string>& lines) const;

    // The cell records of the displayed grid in row-major order and the distinct fonts they use
    // (both lists emptied first): one record per cell that starts a block or continues a
    // vertically merged block, a horizontally merged block being one record whose span covers its
    // columns. The records carry no text (DonnerTexteCellule gives it).
    void DonnerTablePolices(std::vector<CPoliceAna>& fonts, std::vector<CCellule>& cells) const;
    // The number of records from `index` on the same row as record `index` (at least 1; 0 when
    // the index is outside the list).
    static std::int32_t CompterSuiteIdentique(const std::vector<CCellule>& cells, std::int32_t index);
    // The index of an equal font in the list, the font appended when there is none.
    static std::int32_t TrouverPolice(std::vector<CPoliceAna>& fonts, const CPoliceAna& font);

    // ---- Title block and state ----
    std::string title;
    std::string studyFieldCaption;
    std::string weightingCaption;
    std::string levelCaption;
    double base = 0.0;
    // 1: the document of the window that shows the table deletes it with the window.
    std::int32_t deleteWithWindow = 1;
    // 1: the table opens in a chart window rather than a table window.
    std::int32_t openAsChart = 0;
    // The analysis document that produced the table when it was opened from one; never owned
    // nor used by the core.
    const void* ownerDocument = nullptr;

protected:
    CTableauBase();
    // Everything but the labels, deep: presentations, a copy of the request, of the merge maps
    // and of the line marks. The copy is deleted with its window and has no owner document.
    CTableauBase(const CTableauBase& other);
    CTableauBase& operator=(const CTableauBase&) = delete;
    // Exchanges everything but the labels.
    void SwapBase(CTableauBase& other) noexcept;

private:
    // The index of a stored cell in the row-major values; -1 outside.
    std::int64_t CellIndex(std::int32_t row, std::int32_t column) const;
    void ApplyRowLabelStyles(CPoliceAna& font, std::int32_t displayedRow) const;
    void ApplyColumnLabelStyles(CPoliceAna& font, std::int32_t displayedColumn) const;
    const std::string& DeepestText(bool rows, std::int32_t index) const;
    std::string BaseText() const;

    std::int32_t m_rows = 0;
    std::int32_t m_columns = 0;
    std::int32_t m_columnHeaderLevels = 0;
    std::int32_t m_rowHeaderLevels = 0;
    std::int32_t m_markerMode = kMarqueParColonne;
    std::vector<double> m_values;
    std::vector<std::uint16_t> m_markers;
    std::vector<std::string> m_texts;
    CPresentationTableau m_presentation;
    CPresentationGraphique m_chartPresentation;
    std::unique_ptr<CTraitement> m_request;
    std::unique_ptr<CFusion> m_rowMerges;
    std::unique_ptr<CFusion> m_columnMerges;
    std::unique_ptr<CMatriceCreuse> m_lineMarks;
};
