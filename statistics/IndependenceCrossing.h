#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CModaliteEtendue;
class CMoteurTableau;
class CProfil;
class CQuestionEtendue;

// The chi-square test of independence of two closed questions, each with the modalities a line of
// a profile selects: their weighted cross table as the tabulation engine crosses it (study field,
// weighting and level given), its planes, and the engine's own chi-square over the cells outside
// the Total line and column. The independence window and the search for significant cross tables
// both test through it, so that one pair gives one risk wherever it is tested.
struct IndependenceCrossing {
    int lignes = 0;           // the row modalities in use (the Total among them)
    int colonnes = 0;
    int ligneTotal = -1;      // position of the Total among them, -1 when absent
    int colonneTotal = -1;
    std::vector<double> plans; // the engine's cross-table planes, lignes x colonnes each
    double khiDeux = 0.0;      // the missing value for a table without any expected count
    int degresLibertes = 0;    // 0: no test
    double probabilite = 0.0;  // the chi-square distribution function at khiDeux; missing without test

    // Whether there is a test: two non-empty modalities at least on each side.
    bool EstTestable() const { return degresLibertes > 0; }
    // The risk of error, in per cent, of rejecting independence; the missing value without test.
    double Risque() const;
    // One plane (a CrossPlanes::Plane) as lignes x colonnes doubles (zeros before any crossing).
    std::vector<double> Plan(int plane) const;

    // Crosses line i of `rows` by line j of `columns`. False, with the engine's text, when the
    // cross cannot be computed or a line is a separator; the result is then left unchanged.
    static bool Croiser(CMoteurTableau& engine, const CProfil& rows, int i, const CProfil& columns, int j, int level,
                        std::int32_t studyField, std::int32_t weighting, IndependenceCrossing& out,
                        std::string& error);
    // The same test of a table of counts given as it is (r x c, row-major, no margins): its rows
    // and columns then a Total line and column, planes with the default significance settings.
    static IndependenceCrossing DeTableau(const std::vector<double>& counts, int r, int c);

    // The signed contributions to the chi-square in per cent (the sign of O - E), outside the
    // Total line and column; each Total cell sums the absolute contributions of its column or
    // line, Total x Total is 100. A cell without expected count, or a chi-square of 0, gives 0.
    std::vector<double> Contributions() const;
};
