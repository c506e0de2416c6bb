#pragma once

#include <string>
#include <vector>

#include "statistics/ResultatsAcp.h"
#include "statistics/ResultatsCorrespondances.h"

// The results an analysis window keeps from its last run of a principal component analysis or
// of a (multiple) correspondence analysis, and what its maps and tables read of them per point
// set (0 rows, 1 columns) and axis: coordinates, qualities and contributions. The column points
// of a principal component analysis are its variables, placed by their correlations with the
// axes; they have neither quality nor contribution.
class FactorResults {
public:
    enum Ensemble { kLignes = 0, kColonnes = 1 };

    void Vider();
    void SetAcp(ResultatsAcp results);
    void SetCorrespondances(ResultatsCorrespondances results);

    bool Existe() const { return m_kind != Kind::kNone; }
    bool EstAcp() const { return m_kind == Kind::kAcp; }
    const ResultatsAcp& Acp() const { return m_acp; }
    const ResultatsCorrespondances& Correspondances() const { return m_ca; }

    int Axes() const;
    int Lignes() const;
    int LignesActives() const;
    int Colonnes() const;
    int ColonnesActives() const;
    // The eigenvalue table (3 values per axis) and its number of rows.
    const std::vector<double>& ValeursPropres() const;
    int NombreValeursPropres() const;
    const std::vector<double>& CoordonneesLignes() const;
    // The column points' coordinates: the correlations of a principal component analysis.
    const std::vector<double>& CoordonneesColonnes() const;

    // One value per point of the set on the axis; empty for what the analysis does not have. The
    // illustrative points of a contribution carry the missing value.
    std::vector<double> Coordonnees(int ensemble, int axe) const;
    std::vector<double> Qualites(int ensemble, int axe) const;
    std::vector<double> Contributions(int ensemble, int axe) const;

    // The headings of the eigenvalue table's three columns.
    static std::string EnTeteValeursPropres(int index);

private:
    enum class Kind { kNone, kAcp, kCorrespondances };

    Kind m_kind = Kind::kNone;
    ResultatsAcp m_acp;
    ResultatsCorrespondances m_ca;
};
