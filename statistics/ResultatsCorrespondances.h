#pragma once

#include <cstddef>
#include <utility>
#include <vector>

// What a correspondence analysis, simple or multiple, hands its caller: every table row-major
// with one column per retained axis. Rows and columns are the active ones then the
// illustrative ones; contributions exist for the active ones only.
struct ResultatsCorrespondances {
    int axes = 0;
    int lignes = 0;
    int lignesActives = 0;
    int colonnes = 0;
    int colonnesActives = 0;

    std::vector<double> valeursPropres;          // one row of 3 per eigenvalue kept
    std::vector<double> coordonneesLignes;       // lignes × axes
    std::vector<double> coordonneesColonnes;     // colonnes × axes
    std::vector<double> qualitesLignes;          // lignes × axes, percent
    std::vector<double> qualitesColonnes;        // colonnes × axes, percent
    std::vector<double> contributionsLignes;     // lignesActives × axes, percent
    std::vector<double> contributionsColonnes;   // colonnesActives × axes, percent

    // Every table at its size and filled with 0, before an engine writes what it computed.
    static ResultatsCorrespondances Dimensionnes(int axes, int lignesActives, int lignesIllustratives,
                                                 int colonnesActives, int colonnesIllustratives,
                                                 std::vector<double> tableauValeursPropres) {
        ResultatsCorrespondances r;
        r.axes = axes;
        r.lignes = lignesActives + lignesIllustratives;
        r.lignesActives = lignesActives;
        r.colonnes = colonnesActives + colonnesIllustratives;
        r.colonnesActives = colonnesActives;
        r.valeursPropres = std::move(tableauValeursPropres);
        const auto cells = [axes](int count) { return static_cast<std::size_t>(count) * static_cast<std::size_t>(axes); };
        r.coordonneesLignes.assign(cells(r.lignes), 0.0);
        r.qualitesLignes.assign(cells(r.lignes), 0.0);
        r.contributionsLignes.assign(cells(lignesActives), 0.0);
        r.coordonneesColonnes.assign(cells(r.colonnes), 0.0);
        r.qualitesColonnes.assign(cells(r.colonnes), 0.0);
        r.contributionsColonnes.assign(cells(colonnesActives), 0.0);
        return r;
    }
};
