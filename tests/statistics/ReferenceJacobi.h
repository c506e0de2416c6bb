#pragma once

#include <vector>

// The classical Jacobi solver written the plain way, for the tests only: the whole lower triangle
// scanned for the largest entry before every rotation, the matrix rotated rows then columns, the
// eigenvectors in columns. The program's solver must make the same rotations and give the same
// numbers to the last bit; this copy keeps it honest.
namespace reference {

// Same contract as JacobiEigen for finite input; returns the number of rotations made, -1 at the
// cap.
long long JacobiEigen(const std::vector<double>& a, std::vector<double>& d, std::vector<double>& v, int n);

} // namespace reference
