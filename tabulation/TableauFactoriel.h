#pragma once

#include <cstdint>

#include "tabulation/TableLabelSource.h"
#include "tabulation/TableauBase.h"

// A result table whose header labels are not stored but asked of a label source (the factor,
// cluster and text analyses, which keep their labels themselves). Its creator sets the source
// and the two selectors that the source is given for row and column labels. The table does not
// own the source and is not deleted with its window by default (the analysis keeps it).
//
// It stores nothing of its own in an archive: a table to keep is copied into a CTableau first,
// which takes the labels as they are.
class CTableauFactoriel : public CTableauBase {
public:
    static constexpr RuntimeClass kRuntimeClass{"CTableauFactoriel", 1, &CObjet::CreateObject<CTableauFactoriel>};

    CTableauFactoriel();
    CTableauFactoriel(std::int32_t columnHeaderLevels, std::int32_t rowHeaderLevels, std::int32_t rows,
                      std::int32_t columns, std::int32_t markerMode);
    CTableauFactoriel(const CTableauFactoriel&) = delete;
    CTableauFactoriel& operator=(const CTableauFactoriel&) = delete;
    ~CTableauFactoriel() override = default;

    const RuntimeClass* GetRuntimeClass() const override { return &kRuntimeClass; }

    // The source's labels for the row selector or the column selector; null without a source.
    const CLigne* GetLigneEnTete(std::int32_t level, std::int32_t index) const override;
    const CLigne* GetColonneEnTete(std::int32_t level, std::int32_t index) const override;

    void SetSourceLibelles(const TableLabelSource* source) { m_source = source; }
    const TableLabelSource* GetSourceLibelles() const { return m_source; }

    std::int32_t rowSelector = -1;
    std::int32_t columnSelector = -1;

private:
    const TableLabelSource* m_source = nullptr; // not owned
};
