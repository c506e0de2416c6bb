#pragma once

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
};
