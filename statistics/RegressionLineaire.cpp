#include "statistics/RegressionLineaire.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <iterator>

#include "app/StringTable.h"
#include "app/VecteurDouble.h"
#include "statistics/NumericKernels.h"
#include "tabulation/FonctionsStatistiques.h"

namespace {
using Index = std::size_t;
Index At(int i, int j, int stride) { return static_cast<Index>(i) * static_cast<Index>(stride) + static_cast<Index>(j); }

struct ErrorMessage {
    int code;
    int message;
};
constexpr ErrorMessage kErrorMessages[] = {
    {CRegressionLineaire::kMemoire, StringTable::kPasAssezDeMemoire},
    {CRegressionLineaire::kMatriceNonInversible, StringTable::kMatriceNonInversible},
};

bool IsMissing(double value) { return value == CVecteurDouble::kNoAnswer || value == CVecteurDouble::kNotAsked; }
} // namespace

void CRegressionLineaire::Initialiser(int n, int m, int k, const double* y, const double* x0) {
    m_n = n;
    m_m = m;
    m_k = k;
    m_y = y;
    m_x0 = x0;
}

Message CRegressionLineaire::MessageErreur(int codeErreur) {
    for (const ErrorMessage& entry : kErrorMessages)
        if (entry.code == codeErreur)
            return Message(entry.message);
    return Message(StringTable::kErreurInconnueRegression);
}

void CRegressionLineaire::DesignRow(int i, std::vector<double>& row) const {
    const double* values = m_x0 + At(i, 0, m_k);
    std::copy(values, values + m_k, row.begin() + 1);
}

bool CRegressionLineaire::Calculer(ResultatsRegression& r, int& codeErreur) const {
    r = ResultatsRegression{};
    const int width = m_k + 1;
    std::vector<double> cross(At(width, 0, width), 0.0);
    std::vector<double> xy(static_cast<Index>(width), 0.0);
    // One design row at a time, so that the inner sums run over contiguous values; the sums are
    // taken in the same order as cell by cell.
    std::vector<double> row(static_cast<Index>(width), 1.0);
    for (int i = 0; i < m_n; ++i) {
        DesignRow(i, row);
        const double yi = m_y[i];
        for (int j = 0; j < width; ++j) {
            const double xij = row[static_cast<Index>(j)];
            xy[static_cast<Index>(j)] += xij * yi;
            double* sums = &cross[At(j, 0, width)];
            for (int l = j; l < width; ++l)
                sums[l] += xij * row[static_cast<Index>(l)];
        }
    }
    for (int j = 0; j < width; ++j)
        for (int l = j + 1; l < width; ++l)
            cross[At(l, j, width)] = cross[At(j, l, width)];
    std::vector<double> inverse;
    if (!InverserMatrice(inverse, cross, width)) {
        codeErreur = kMatriceNonInversible;
        return false;
    }
    std::vector<double> b(static_cast<Index>(width), 0.0);
    for (int j = 0; j < width; ++j)
        for (int l = 0; l < width; ++l)
            b[static_cast<Index>(j)] += inverse[At(j, l, width)] * xy[static_cast<Index>(l)];

    const int rows = m_n + m_m;
    r.parInterview.reserve(static_cast<Index>(rows) * 3);
    double residuals = 0.0;
    for (int i = 0; i < rows; ++i) {
        DesignRow(i, row);
        double fitted = 0.0;
        for (int j = 0; j < width; ++j)
            fitted += row[static_cast<Index>(j)] * b[static_cast<Index>(j)];
        const double observed = m_y[i];
        if (i < m_n)
            residuals += (observed - fitted) * (observed - fitted);
        double gap = kValeurManquante;
        if (!IsMissing(observed) && observed != 0.0)
            gap = (fitted - observed) / observed * 100.0;
        r.parInterview.push_back(IsMissing(observed) ? kValeurManquante : observed);
        r.parInterview.push_back(fitted);
        r.parInterview.push_back(gap);
    }

    const int df = m_n - width;
    const double s = df > 0 ? std::sqrt(residuals / df) : kValeurManquante;
    r.coefficients.reserve(static_cast<Index>(width) * 3);
    for (int j = 0; j < width; ++j) {
        const double coefficient = b[static_cast<Index>(j)];
        double deviation = kValeurManquante;
        double probability = kValeurManquante;
        if (df > 0) {
            deviation = std::sqrt(std::max(0.0, inverse[At(j, j, width)])) * s;
            if (deviation > 0.0)
                probability = (1.0 - ProbaStudent(std::fabs(coefficient / deviation), df)) * 200.0;
        }
        r.coefficients.push_back(coefficient);
        r.coefficients.push_back(deviation);
        r.coefficients.push_back(probability);
    }
    codeErreur = -1;
    return true;
}
