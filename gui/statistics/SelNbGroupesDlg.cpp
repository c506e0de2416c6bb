#include "gui/statistics/SelNbGroupesDlg.h"

#include "gui/presentation/Chart2D.h"
#include "gui/requests/SelectionButtons.h"

#include <QFormLayout>
#include <QFrame>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

namespace {
constexpr int kChartWidth = 420;
constexpr int kChartHeight = 220;
} // namespace

CSelNbGroupesDlg::CSelNbGroupesDlg(const std::vector<double>& niveaux, int n, double dernierNiveau, QWidget* parent)
    : QDialog(parent), m_levels(niveaux), m_n(n), m_lastLevel(dernierNiveau),
      m_groupes(std::min(kGroupesProposes, n - 1)), m_groupesDendogramme(std::min(kDendogrammePropose, n)),
      m_groups(new QSpinBox(this)), m_dendrogram(new QSpinBox(this)) {
    setObjectName(QString::number(IDD));
    setWindowTitle(QStringLiteral("Sélection du nombre de groupes"));
    m_groups->setObjectName(QString::number(kGroupes));
    m_groups->setRange(2, std::max(n - 1, 2));
    m_groups->setValue(m_groupes);
    m_dendrogram->setObjectName(QString::number(kGroupesDendogramme));
    m_dendrogram->setRange(2, std::max(n, 2));
    m_dendrogram->setValue(m_groupesDendogramme);
    auto* form = new QFormLayout;
    form->addRow(new QLabel(QStringLiteral("Nombre de groupes:"), this), m_groups);
    form->addRow(new QLabel(QStringLiteral("Nombre de groupes dans le dendrogramme:"), this), m_dendrogram);

    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("1028"));
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setMinimumSize(kChartWidth, kChartHeight);
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->setContentsMargins(1, 1, 1, 1);
    m_chart = new CChart2D(frame);
    frameLayout->addWidget(m_chart);
    BuildChartData();

    m_timer.setSingleShot(false);
    m_timer.setInterval(kDelaiGraphique);
    connect(&m_timer, &QTimer::timeout, this, [this] { OnMinuterie(); });
    connect(m_dendrogram, &QSpinBox::valueChanged, this, [this] { OnDendogrammeChange(); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(frame, 1);
    AddOkCancelButtons(*this, *layout);
}

// Each change restarts the wait; a value outside the range starts nothing.
void CSelNbGroupesDlg::OnDendogrammeChange() {
    m_timer.stop();
    const int value = m_dendrogram->value();
    if (value < 2 || value > m_n)
        return;
    m_groupesDendogramme = value;
    m_timer.start();
}

void CSelNbGroupesDlg::OnMinuterie() {
    m_timer.stop();
    BuildChartData();
}

// Point i stands for g = i + 2 groups: the level at which they merge, the last level for n.
void CSelNbGroupesDlg::BuildChartData() {
    const int count = std::max(m_groupesDendogramme - 1, 0);
    m_chart->Modifier([this, count](ChartModel& model) {
        model.kind = ChartKind::Bars;
        model.inverted = false;
        model.legendShown = false;
        model.CreerDonnees(1, static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) {
            const int groups = i + 2;
            const int index = m_n - groups - 1;
            double level = m_lastLevel;
            if (groups != m_n)
                level = index >= 0 && index < static_cast<int>(m_levels.size()) ? m_levels[static_cast<std::size_t>(index)]
                                                                                  : 0.0;
            model.series[0].x[static_cast<std::size_t>(i)] = groups;
            model.series[0].y[static_cast<std::size_t>(i)] = level;
        }
    });
}

void CSelNbGroupesDlg::accept() {
    m_timer.stop();
    m_groupes = m_groups->value();
    m_groupesDendogramme = m_dendrogram->value();
    // The dendrogram shows at least one group more than the partition.
    if (m_groupes >= m_groupesDendogramme) {
        m_groupesDendogramme = m_groupes + 1;
        m_dendrogram->blockSignals(true);
        m_dendrogram->setValue(m_groupesDendogramme);
        m_dendrogram->blockSignals(false);
    }
    QDialog::accept();
}

void CSelNbGroupesDlg::GetNbGroupes(int& groupes, int& groupesDendogramme) const {
    groupes = m_groupes;
    groupesDendogramme = m_groupesDendogramme;
}
