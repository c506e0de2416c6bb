#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "app/Ligne.h"
#include "tabulation/TableauBase.h"

// The ordinary result table: it holds its header labels itself, one array of labels per header
// level (level 0 the outermost), each as long as the rows (row labels) or the columns (column
// labels); a slot may be empty.
//
// Archive: the cells are never stored, a table is kept as its request and computed again when it
// is loaded. A 16-bit flag, 1 when the table holds a request, then the request's own record; 0
// and nothing more when it holds none. Loading a non-zero flag gives the table a new request
// read from the archive (the table's request is replaced only once it is whole).
class CTableau : public CTableauBase {
public:
    static constexpr RuntimeClass kRuntimeClass{"CTableau", 1, &CObjet::CreateObject<CTableau>};

    // No cells; three empty label arrays on each side.
    CTableau();
    // Sized with zero values and markers, every label slot empty, both merge maps (no span yet)
    // and the line marks (none yet) covering the displayed grid.
    CTableau(std::int32_t columnHeaderLevels, std::int32_t rowHeaderLevels, std::int32_t rows, std::int32_t columns,
             std::int32_t markerMode);
    // Deep copies, from a table of either kind: the labels are copied from the stored
    // (untransposed) labels, so that each stays with its cells whatever the orientation; a
    // CTableauFactoriel becomes a table with labels of its own. The copy is deleted with its
    // window and has no owner document.
    CTableau(const CTableau& other);
    explicit CTableau(const CTableauBase& other);
    CTableau& operator=(const CTableau& other);
    ~CTableau() override;

    const RuntimeClass* GetRuntimeClass() const override { return &kRuntimeClass; }

    // Store a copy of the label in that slot; a null label or a slot outside the table is ignored.
    void SetLibelleLigne(std::int32_t level, std::int32_t index, const CLigne* label);
    void SetLibelleColonne(std::int32_t level, std::int32_t index, const CLigne* label);
    const CLigne* GetLigneEnTete(std::int32_t level, std::int32_t index) const override;
    const CLigne* GetColonneEnTete(std::int32_t level, std::int32_t index) const override;

    // Turns a new table into the sample the presentation dialog previews: 3 rows of counts and
    // percentages by 2 columns, "Ligne 1".."Ligne 3" by "Colonne 1", "Colonne 2", base 500.
    void RemplirExemple();

    void Serialize(CArchiveVersion& archive) override;

private:
    using LabelLevels = std::vector<std::vector<std::unique_ptr<CLigne>>>;

    // Label arrays of the stored dimensions, all slots empty.
    void SizeLabels();
    void CopyLabelsOf(const CTableauBase& other);
    static const CLigne* Slot(const LabelLevels& levels, std::int32_t level, std::int32_t index);
    static void SetSlot(LabelLevels& levels, std::int32_t level, std::int32_t index, const CLigne* label);

    LabelLevels m_rowLabels;    // one array of row labels per row-header level
    LabelLevels m_columnLabels; // one array of column labels per column-header level
};
