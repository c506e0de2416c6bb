#include "gui/statistics/OptionsClassificationDlg.h"

#include "gui/requests/SelectionButtons.h"
#include "gui/statistics/OptionsCalculDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

namespace {

QSpinBox* Spin(QWidget* parent, int id, int minimum, int value) {
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(QString::number(id));
    spin->setRange(minimum, COptionsClassificationDlg::kMaximum);
    spin->setValue(std::clamp(value, minimum, COptionsClassificationDlg::kMaximum));
    return spin;
}

} // namespace

COptionsClassificationDlg::COptionsClassificationDlg(bool styleLibelles, int radio, bool typologie, int groupes,
                                                     int graine, QWidget* parent)
    : QDialog(parent), m_radio(radio), m_typologieValue(typologie), m_groupesValue(groupes), m_graineValue(graine),
      m_typologie(new QCheckBox(QStringLiteral("Tirer les groupes de départ avec une typologie"), this)),
      m_groupes(Spin(this, kGroupes, kGroupesMinimum, groupes)), m_graine(Spin(this, kGraine, 0, graine)) {
    setObjectName(QString::number(IDD));
    setWindowTitle(QStringLiteral("Options sur la classification"));
    auto* grid = new QGridLayout;
    auto* group = new QButtonGroup(this);
    const auto& texts = COptionsCalculDlg::TextesRadios(styleLibelles);
    for (std::size_t i = 0; i < m_radios.size(); ++i) {
        auto* button = new QRadioButton(QString::fromUtf8(texts[i]), this);
        button->setObjectName(QString::number(COptionsCalculDlg::kRadios[i]));
        button->setVisible(texts[i][0] != '\0');
        group->addButton(button, static_cast<int>(i));
        grid->addWidget(button, static_cast<int>(i), 0, 1, 2);
        m_radios[i] = button;
    }
    const bool shown = radio >= 0 && radio < static_cast<int>(m_radios.size()) &&
                       texts[static_cast<std::size_t>(radio)][0] != '\0';
    m_radios[shown ? static_cast<std::size_t>(radio) : 0]->setChecked(true);
    m_typologie->setObjectName(QString::number(kTypologie));
    m_typologie->setChecked(typologie);
    connect(m_typologie, &QCheckBox::clicked, this, [this] { ActiverNombres(); });
    grid->addWidget(m_typologie, 3, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Nombre de groupes :"), this), 4, 0);
    grid->addWidget(m_groupes, 4, 1);
    grid->addWidget(new QLabel(QStringLiteral("Origine(s) pour tirage aléatoire:"), this), 5, 0);
    grid->addWidget(m_graine, 5, 1);
    ActiverNombres();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    AddOkCancelButtons(*this, *layout);
}

void COptionsClassificationDlg::ActiverNombres() {
    m_groupes->setEnabled(m_typologie->isChecked());
    m_graine->setEnabled(m_typologie->isChecked());
}

void COptionsClassificationDlg::accept() {
    for (std::size_t i = 0; i < m_radios.size(); ++i)
        if (m_radios[i]->isChecked())
            m_radio = static_cast<int>(i);
    m_typologieValue = m_typologie->isChecked();
    m_groupesValue = m_groupes->value();
    m_graineValue = m_graine->value();
    QDialog::accept();
}

void COptionsClassificationDlg::DonnerOptions(int& radio, bool& typologie, int& groupes, int& graine) const {
    radio = m_radio;
    typologie = m_typologieValue;
    groupes = m_groupesValue;
    graine = m_graineValue;
}
