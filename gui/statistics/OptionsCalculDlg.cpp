#include "gui/statistics/OptionsCalculDlg.h"
#include "gui/requests/SelectionButtons.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// The radio texts of each kind of analysis; an empty text hides its radio.
constexpr std::array<const char*, 3> kCaptionStyles{"Afficher les modalités telles quelles",
                                                    "Préfixer les modalités par la question", ""};
constexpr std::array<const char*, 3> kMissingValues{"Remplacer les valeurs manquantes par la moyenne",
                                                    "Remplacer les valeurs manquantes par 0",
                                                    "Enlever les interviews avec des valeurs manquantes"};

} // namespace

COptionsCalculDlg::COptionsCalculDlg(bool styleLibelles, bool stabilite, int nombre, int radio, QWidget* parent)
    : COptionsCalculDlg(styleLibelles, true, stabilite, nombre, radio, parent) {}

COptionsCalculDlg::COptionsCalculDlg(bool styleLibelles, int radio, QWidget* parent)
    : COptionsCalculDlg(styleLibelles, false, false, 0, radio, parent) {}

COptionsCalculDlg::COptionsCalculDlg(bool styleLibelles, bool typologie, bool stabilite, int nombre, int radio,
                                     QWidget* parent)
    : QDialog(parent), m_typologie(typologie), m_stabiliteValue(stabilite), m_nombreValue(nombre), m_radio(radio) {
    setObjectName(QString::number(IDD));
    setWindowTitle(QStringLiteral("Options"));
    m_label = new QLabel(this);
    m_label->setObjectName(QString::number(kLibelle));
    m_number = new QSpinBox(this);
    m_number->setObjectName(QString::number(kNombre));
    m_number->setRange(0, kNombreMaximum);
    m_number->setValue(std::clamp(nombre, 0, kNombreMaximum));
    m_stability = new QCheckBox(QStringLiteral("Vérifier la stabilité"), this);
    m_stability->setObjectName(QString::number(kStabilite));
    m_stability->setChecked(stabilite);
    connect(m_stability, &QCheckBox::clicked, this, [this] { ShowLabel(); });

    auto* grid = new QGridLayout;
    grid->addWidget(m_label, 0, 0);
    grid->addWidget(m_number, 0, 1);
    grid->addWidget(m_stability, 1, 0, 1, 2);
    auto* group = new QButtonGroup(this);
    const auto& texts = TextesRadios(styleLibelles);
    for (std::size_t i = 0; i < m_radios.size(); ++i) {
        auto* button = new QRadioButton(QString::fromUtf8(texts[i]), this);
        button->setObjectName(QString::number(kRadios[i]));
        button->setVisible(texts[i][0] != '\0');
        group->addButton(button, static_cast<int>(i));
        grid->addWidget(button, 2 + static_cast<int>(i), 0, 1, 2);
        m_radios[i] = button;
    }
    if (radio >= 0 && radio < static_cast<int>(m_radios.size()) && m_radios[static_cast<std::size_t>(radio)]->isVisibleTo(this))
        m_radios[static_cast<std::size_t>(radio)]->setChecked(true);
    else
        m_radios[0]->setChecked(true);
    // The number and the label belong to the typologies only.
    m_label->setVisible(typologie);
    m_number->setVisible(typologie);
    m_stability->setVisible(typologie);
    ShowLabel();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    AddOkCancelButtons(*this, *layout);
}

const std::array<const char*, 3>& COptionsCalculDlg::TextesRadios(bool styleLibelles) {
    return styleLibelles ? kCaptionStyles : kMissingValues;
}

void COptionsCalculDlg::ShowLabel() {
    m_label->setText(m_stability->isChecked() ? QStringLiteral("Nombre d'itérations:")
                                              : QStringLiteral("Origine pour tirage aléatoire:"));
}

void COptionsCalculDlg::accept() {
    for (std::size_t i = 0; i < m_radios.size(); ++i)
        if (m_radios[i]->isChecked())
            m_radio = static_cast<int>(i);
    if (m_typologie) {
        m_stabiliteValue = m_stability->isChecked();
        m_nombreValue = m_number->value();
    }
    QDialog::accept();
}

void COptionsCalculDlg::DonnerOptions(bool& stabilite, int& nombre, int& radio) const {
    stabilite = m_stabiliteValue;
    nombre = m_nombreValue;
    radio = m_radio;
}
