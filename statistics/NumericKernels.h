#pragma once

#include <cstdint>
#include <vector>

#include "app/Message.h"
#include "tabulation/FonctionsStatistiques.h"

// Dense kernels shared by the multivariate engines. Square matrices of order n are n × n doubles,
// row-major (entry (i, j) at i·n + j); tables are row-major with their active rows and columns
// first. Every output is a vector the caller owns; the functions keep no state.

// Outcome of the eigen solver. A matrix holding NaN or an infinity is refused before any
// rotation; a matrix the rotations do not bring below the threshold within the cap stops there.
enum class EigenStatus { Ok, NonFinite, NoConvergence };

// Classical Jacobi rotations on the largest off-diagonal entry, until that entry is at most
// 1e-12 times the matrix's Frobenius norm (the rotation that finds it small is still made, so a
// diagonal matrix gets one rotation, on the pair (1, 0)). D receives the rotated matrix with its
// eigenvalues on the diagonal in decreasing order (equal ones keep their order), V the
// eigenvectors, column k for diagonal entry k, so that A = V·D·Vᵀ. Order 1 is returned as it is
// with V = 1. The number of rotations is capped; reaching the cap answers NoConvergence.
EigenStatus JacobiEigen(const std::vector<double>& a, std::vector<double>& d, std::vector<double>& v, int n);

// What the user is told when the solver fails (Ok gives an empty message).
Message MessageValeursPropres(EigenStatus status);

// The rotation cap of an order: far above what a symmetric matrix needs to converge.
long long JacobiRotationCap(int n);

// Means and population standard deviations of the M columns over the first R rows of a table of
// stride M. Computed from centred values and clamped at 0, so that a constant column has exactly
// 0; with R <= 0 both stay 0.
void MoyennesEcartsTypes(std::vector<double>& moyennes, std::vector<double>& ecartsTypes, const double* tableau,
                         int r, int m);

// Margins of a 0/1 byte table of Ra + Ri rows and Ca + Ci columns: every row's sum over the
// active columns, every column's sum over the active rows, and the total of the active block.
void MargesTableauOctets(std::vector<double>& margesLignes, std::vector<double>& margesColonnes, double& total,
                         const std::uint8_t* tableau, int ra, int ri, int ca, int ci);

// The eigenvalue table of a diagonalised matrix: per axis, the eigenvalue, its share of the
// trace in percent and the running share. A zero trace gives shares of -999999.99.
std::vector<double> TableauValeursPropres(const std::vector<double>& d, int n);

// The same over a list of eigenvalues already chosen.
std::vector<double> TableauValeursPropresListe(const std::vector<double>& valeurs);

// Gauss-Jordan inversion with partial pivoting through a row permutation. A (overwritten) is
// reduced; a pivot of at most 1e-12 times the largest magnitude of its column in the original
// matrix counts as zero, and the matrix is then singular: false, and the inverse is left empty.
bool InverserMatrice(std::vector<double>& inverse, std::vector<double>& a, int n);
