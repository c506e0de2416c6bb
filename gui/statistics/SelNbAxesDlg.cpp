#include "gui/statistics/SelNbAxesDlg.h"

#include "gui/presentation/Chart2D.h"
#include "gui/requests/SelectionButtons.h"

#include <QFormLayout>
#include <QFrame>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

namespace {
constexpr int kProposedAxes = 2;
constexpr int kChartWidth = 360;
constexpr int kChartHeight = 220;
} // namespace

CSelNbAxesDlg::CSelNbAxesDlg(const std::vector<double>& valeursPropres, QWidget* parent) : QDialog(parent) {
    setObjectName(QString::number(IDD));
    setWindowTitle(QStringLiteral("Sélection du nombre d'axes"));
    m_maximum = AxesPortantInertie(valeursPropres);
    m_minimum = std::min(kProposedAxes, m_maximum);
    m_nombre = m_minimum;

    m_spin = new QSpinBox(this);
    m_spin->setObjectName(QStringLiteral("1005"));
    m_spin->setRange(m_minimum, m_maximum);
    m_spin->setValue(m_nombre);
    auto* form = new QFormLayout;
    form->addRow(new QLabel(QStringLiteral("Nombre d'axes:"), this), m_spin);

    m_chartFrame = new QFrame(this);
    m_chartFrame->setObjectName(QStringLiteral("1028"));
    m_chartFrame->setFrameShape(QFrame::StyledPanel);
    m_chartFrame->setMinimumSize(kChartWidth, kChartHeight);
    BuildChart(valeursPropres);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_chartFrame, 1);
    AddOkCancelButtons(*this, *layout);
}

int CSelNbAxesDlg::AxesPortantInertie(const std::vector<double>& valeursPropres) {
    return static_cast<int>(std::count_if(valeursPropres.begin(), valeursPropres.end(),
                                          [](double value) { return value > kInertieNulle; }));
}

std::vector<double> CSelNbAxesDlg::PartsInertie(const std::vector<double>& valeursPropres) {
    double sum = 0.0;
    for (double value : valeursPropres)
        sum += value;
    std::vector<double> shares(valeursPropres.size(), 0.0);
    if (sum <= 0.0)
        return shares;
    for (std::size_t k = 0; k < valeursPropres.size(); ++k)
        shares[k] = 100.0 * valeursPropres[k] / sum;
    return shares;
}

void CSelNbAxesDlg::accept() {
    m_nombre = m_spin->value();
    QDialog::accept();
}

// One series of bars, point k at x = k + 1 standing for axis k + 1, its height the axis's share.
void CSelNbAxesDlg::BuildChart(const std::vector<double>& valeursPropres) {
    auto* layout = new QVBoxLayout(m_chartFrame);
    layout->setContentsMargins(1, 1, 1, 1);
    m_chart = new CChart2D(m_chartFrame);
    layout->addWidget(m_chart);
    const std::vector<double> shares = PartsInertie(valeursPropres);
    m_chart->Modifier([&shares](ChartModel& model) {
        model.kind = ChartKind::Bars;
        model.inverted = false;
        model.legendShown = false;
        model.CreerDonnees(1, shares.size());
        for (std::size_t k = 0; k < shares.size(); ++k) {
            model.series[0].x[k] = static_cast<double>(k + 1);
            model.series[0].y[k] = shares[k];
        }
    });
}
