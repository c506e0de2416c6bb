#pragma once

#include "gui/statistics/AnalysisFormView.h"
#include "statistics/FactorResults.h"

#include <vector>

// An analysis window whose results are a factor analysis's (principal components, correspondence
// or multiple correspondence): its maps read their points from those results.
class FactorFormView : public AnalysisFormView {
    Q_OBJECT

public:
    const FactorResults& GetResultats() const { return m_results; }

    std::vector<double> DonnerCoordonnees(int ensemble, int axe) const override;
    std::vector<double> DonnerQualites(int ensemble, int axe) const override;
    std::vector<double> DonnerContributions(int ensemble, int axe) const override;

protected:
    using AnalysisFormView::AnalysisFormView;

    FactorResults m_results;
};
