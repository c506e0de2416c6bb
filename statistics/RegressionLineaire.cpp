#include "statistics/RegressionLineaire.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <iterator>

#include "app/StringTable.h"
#include "app/VecteurDouble.h"
#include "app/WorkerPool.h"
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

void CRegressionLineaire::AddCrossProducts(int first, int last, std::vector<double>& cross,
                                           std::vector<double>& xy) const {
    const int width = m_k + 1;
    std::vector<double> row(static_cast<Index>(width), 1.0);
    for (int i = first; i < last; ++i) {
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
}

double CRegressionLineaire::Fit(int first, int last, const std::vector<double>& b, double* out) const {
    const int width = m_k + 1;
    std::vector<double> row(static_cast<Index>(width), 1.0);
    double residuals = 0.0;
    for (int i = first; i < last; ++i, out += 3) {
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
        out[0] = IsMissing(observed) ? kValeurManquante : observed;
        out[1] = fitted;
        out[2] = gap;
    }
    return residuals;
}

bool CRegressionLineaire::Calculer(ResultatsRegression& r, int& codeErreur) const {
    r = ResultatsRegression{};
    const int width = m_k + 1;
    // The rows go in chunks of a fixed size, summed on the worker threads and added in chunk
    // order: the result does not depend on the number of threads.
    const int chunks = std::max(1, (m_n + kChunkRows - 1) / kChunkRows);
    std::vector<std::vector<double>> partialCross(static_cast<Index>(chunks));
    std::vector<std::vector<double>> partialXy(static_cast<Index>(chunks));
    WorkerPool::Shared().Run(chunks, [&](int c) {
        partialCross[static_cast<Index>(c)].assign(At(width, 0, width), 0.0);
        partialXy[static_cast<Index>(c)].assign(static_cast<Index>(width), 0.0);
        AddCrossProducts(c * kChunkRows, std::min(m_n, (c + 1) * kChunkRows), partialCross[static_cast<Index>(c)],
                         partialXy[static_cast<Index>(c)]);
    });
    std::vector<double> cross = std::move(partialCross[0]);
    std::vector<double> xy = std::move(partialXy[0]);
    for (int c = 1; c < chunks; ++c) {
        for (Index cell = 0; cell < cross.size(); ++cell)
            cross[cell] += partialCross[static_cast<Index>(c)][cell];
        for (Index j = 0; j < xy.size(); ++j)
            xy[j] += partialXy[static_cast<Index>(c)][j];
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
    r.parInterview.assign(static_cast<Index>(rows) * 3, 0.0);
    const int fitChunks = std::max(1, (rows + kChunkRows - 1) / kChunkRows);
    std::vector<double> partialResiduals(static_cast<Index>(fitChunks), 0.0);
    WorkerPool::Shared().Run(fitChunks, [&](int c) {
        const int first = c * kChunkRows;
        partialResiduals[static_cast<Index>(c)] =
            Fit(first, std::min(rows, first + kChunkRows), b, r.parInterview.data() + At(first, 0, 3));
    });
    double residuals = 0.0;
    for (const double part : partialResiduals)
        residuals += part;

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
                probability = ProbaStudentSuperieure(std::fabs(coefficient / deviation), df) * 200.0;
        }
        r.coefficients.push_back(coefficient);
        r.coefficients.push_back(deviation);
        r.coefficients.push_back(probability);
    }
    codeErreur = -1;
    return true;
}
