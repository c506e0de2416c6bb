#include "ReferenceJacobi.h"

#include <cmath>
#include <cstddef>
#include <utility>

namespace reference {

namespace {

double& At(std::vector<double>& m, int i, int j, int n) { return m[static_cast<std::size_t>(i) * n + j]; }

} // namespace

long long JacobiEigen(const std::vector<double>& a, std::vector<double>& d, std::vector<double>& v, int n) {
    d = a;
    v.assign(static_cast<std::size_t>(n) * n, 0.0);
    for (int k = 0; k < n; ++k)
        At(v, k, k, n) = 1.0;
    if (n < 2)
        return 0;
    double norm = 0.0;
    for (double x : d)
        norm += x * x;
    const double threshold = 1e-12 * std::sqrt(norm);
    const long long cap = 100LL * n * n + 1000;
    long long rotations = 0;
    for (;; ++rotations) {
        if (rotations == cap)
            return -1;
        int p = 0, q = 1;
        double largest = -0.1;
        for (int i = 1; i < n; ++i)
            for (int j = 0; j < i; ++j)
                if (std::fabs(At(d, i, j, n)) > largest) {
                    largest = std::fabs(At(d, i, j, n));
                    p = j;
                    q = i;
                }
        const double dpp = At(d, p, p, n), dqq = At(d, q, q, n);
        const double theta = dpp != dqq ? 0.5 * std::atan(-2.0 * At(d, q, p, n) / (dpp - dqq)) : 0.78539382;
        const double c = std::cos(theta), s = std::sin(theta);
        for (int k = 0; k < n; ++k) {
            const double dp = At(d, p, k, n), dq = At(d, q, k, n);
            At(d, p, k, n) = c * dp - s * dq;
            At(d, q, k, n) = c * dq + s * dp;
        }
        for (int k = 0; k < n; ++k) {
            const double dp = At(d, k, p, n), dq = At(d, k, q, n);
            At(d, k, p, n) = c * dp - s * dq;
            At(d, k, q, n) = s * dp + c * dq;
        }
        for (int k = 0; k < n; ++k) {
            const double vp = At(v, k, p, n), vq = At(v, k, q, n);
            At(v, k, p, n) = c * vp - s * vq;
            At(v, k, q, n) = s * vp + c * vq;
        }
        if (!(largest > threshold))
            break;
    }
    for (int i = 0; i + 1 < n; ++i) {
        int m = i;
        for (int k = i + 1; k < n; ++k)
            if (At(d, k, k, n) > At(d, m, m, n))
                m = k;
        if (m == i)
            continue;
        std::swap(At(d, i, i, n), At(d, m, m, n));
        for (int k = 0; k < n; ++k)
            std::swap(At(v, k, i, n), At(v, k, m, n));
    }
    return rotations + 1;
}

} // namespace reference
