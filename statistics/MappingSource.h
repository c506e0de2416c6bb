#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/Ligne.h"
#include "tabulation/TableLabelSource.h"

class CQuestionEtendue;

// What an analysis window exposes of its results to its result tables and perceptual maps:
// labels of table rows and columns by label kind, labels of map points, and per point set
// (0 rows, 1 columns) and axis the coordinates, qualities and contributions; for maps whose row
// points are interviews, the modality or value of each interview for a question.
//
// Every operation has a default: an empty label, no question, no values (an empty vector, which
// callers take as "nothing to show"). Label kinds are the implementation's own numbers.
class CMappingSource : public TableLabelSource {
public:
    enum Ensemble { kLignes = 0, kColonnes = 1 };

    // The label of an index under a label kind; the second index is not used by the analyses.
    virtual CLigne DonnerLigne(std::int32_t genre, std::int32_t second, std::int32_t index) const;
    virtual std::string DonnerLibelleLigne(std::int32_t index) const;
    virtual std::string DonnerLibelleColonne(std::int32_t index) const;
    // True when the row points are interviews, so that a question can give a value per point.
    virtual bool DonnerQuestion() const;
    virtual std::vector<double> DonnerCoordonnees(int ensemble, int axe) const;
    virtual std::vector<double> DonnerQualites(int ensemble, int axe) const;
    virtual std::vector<double> DonnerContributions(int ensemble, int axe) const;
    // Per row point: the index (from 0) of its modality of the closed question.
    virtual std::vector<double> DonnerModalite(CQuestionEtendue& question) const;
    // Per row point: its value for the numeric question.
    virtual std::vector<double> DonnerValeur(CQuestionEtendue& question) const;

    // A result table's label: the record of DonnerLigne, kept until the next label asked.
    const CLigne* Label(std::int32_t selector, std::int32_t level, std::int32_t index) const override;

    // One axis of a result table (points × axes, row-major), one value per point.
    static std::vector<double> ColonneResultats(const std::vector<double>& table, int points, int axes, int axe);
    // The same for a contribution table that covers the first `actifs` points only: the other
    // points carry the missing value.
    static std::vector<double> ColonneContributions(const std::vector<double>& table, int actifs, int points, int axes,
                                                    int axe);

protected:
    CMappingSource() = default;
    CMappingSource(const CMappingSource&) = default;
    CMappingSource& operator=(const CMappingSource&) = default;

private:
    mutable CLigne m_ligne;
};
