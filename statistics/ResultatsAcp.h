#pragma once

#include <vector>

// What a principal component analysis hands its caller, every table row-major with one column
// per retained axis unless said otherwise. Rows are the active then the illustrative individuals;
// variables the active then the illustrative columns.
struct ResultatsAcp {
    int axes = 0;
    int lignes = 0;          // active + illustrative rows
    int lignesActives = 0;
    int variables = 0;       // active + illustrative columns
    int variablesActives = 0;

    std::vector<double> valeursPropres;        // variablesActives rows × 3 (value, share %, cumulative %)
    std::vector<double> coordonneesLignes;     // lignes × axes
    std::vector<double> qualitesLignes;        // lignes × axes, percent
    std::vector<double> contributionsLignes;   // lignesActives × axes, percent
    std::vector<double> correlations;          // variables × axes: correlation of each variable with each axis
    std::vector<double> matriceCorrelation;    // variablesActives × variablesActives
};
