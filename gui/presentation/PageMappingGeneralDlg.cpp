#include "gui/presentation/PageMappingGeneralDlg.h"

#include "presentation/PresentationMapping.h"
#include "gui/presentation/DessinSymbole.h"
#include "gui/presentation/PanneauPolice.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

struct Case {
    const char* texte;
    bool (CPresentationMapping::*get)() const;
    void (CPresentationMapping::*set)(bool);
};

constexpr Case kCases[] = {
    {"Cad&re", &CPresentationMapping::GetEstCadre, &CPresentationMapping::SetEstCadre},
    {"A&xes", &CPresentationMapping::GetEstAxe, &CPresentationMapping::SetEstAxe},
    {"Gri&lle", &CPresentationMapping::GetEstGrille, &CPresentationMapping::SetEstGrille},
    {"Coordo&nnées", &CPresentationMapping::GetEstCoordonnee, &CPresentationMapping::SetEstCoordonnee},
};

QWidget* Echantillon(QWidget* parent) {
    auto* swatch = new QWidget(parent);
    swatch->setFixedSize(40, 20);
    swatch->setAutoFillBackground(true);
    return swatch;
}

void Peindre(QWidget& swatch, std::uint32_t colour) {
    QPalette palette = swatch.palette();
    palette.setColor(QPalette::Window, DessinSymbole::Couleur(colour));
    swatch.setPalette(palette);
}

std::uint32_t VersCouleur(const QColor& colour) {
    return static_cast<std::uint32_t>(colour.red()) | (static_cast<std::uint32_t>(colour.green()) << 8) |
           (static_cast<std::uint32_t>(colour.blue()) << 16);
}

} // namespace

CPageMappingGeneralDlg::CPageMappingGeneralDlg(CPresentationMapping& working, QWidget* parent)
    : QWidget(parent), m_working(working) {
    auto* layout = new QVBoxLayout(this);
    auto* checks = new QGridLayout();
    QCheckBox** boxes[] = {&m_cadre, &m_axes, &m_grille, &m_coordonnees};
    int index = 0;
    for (const Case& entry : kCases) {
        auto* box = new QCheckBox(QString::fromUtf8(entry.texte), this);
        box->setChecked((m_working.*entry.get)());
        connect(box, &QCheckBox::toggled, this, [this, set = entry.set](bool on) {
            (m_working.*set)(on);
            emit changed();
        });
        *boxes[index] = box;
        checks->addWidget(box, index / 2, index % 2);
        ++index;
    }
    layout->addLayout(checks);

    auto* colours = new QGridLayout();
    m_fond = new QPushButton(QStringLiteral("&Fond :"), this);
    m_avant = new QPushButton(QStringLiteral("A&vant-plan:"), this);
    m_swatchFond = Echantillon(this);
    m_swatchAvant = Echantillon(this);
    Peindre(*m_swatchFond, m_working.GetCouleurFond());
    Peindre(*m_swatchAvant, m_working.GetCouleurAvant());
    colours->addWidget(m_fond, 0, 0);
    colours->addWidget(m_swatchFond, 0, 1);
    colours->addWidget(m_avant, 1, 0);
    colours->addWidget(m_swatchAvant, 1, 1);
    colours->setColumnStretch(2, 1);
    layout->addLayout(colours);
    connect(m_fond, &QPushButton::clicked, this, [this] { ChoisirCouleur(true); });
    connect(m_avant, &QPushButton::clicked, this, [this] { ChoisirCouleur(false); });

    m_police = new PanneauPolice(QStringLiteral("&Police coordonnées :"), m_working.GetLegendFont(), this);
    connect(m_police, &PanneauPolice::changed, this, [this] {
        m_working.SetLegendFont(m_police->GetPolice());
        emit changed();
    });
    layout->addWidget(m_police);
    layout->addStretch();
}

void CPageMappingGeneralDlg::ChoisirCouleur(bool fond) {
    const std::uint32_t current = fond ? m_working.GetCouleurFond() : m_working.GetCouleurAvant();
    const QColor chosen = QColorDialog::getColor(DessinSymbole::Couleur(current), this);
    if (!chosen.isValid())
        return;
    if (fond) {
        m_working.SetCouleurFond(VersCouleur(chosen));
        Peindre(*m_swatchFond, m_working.GetCouleurFond());
    } else {
        m_working.SetCouleurAvant(VersCouleur(chosen));
        Peindre(*m_swatchAvant, m_working.GetCouleurAvant());
    }
    emit changed();
}
