#include "gui/presentation/PagePointsMappingDlg.h"

#include "gui/presentation/DessinSymbole.h"
#include "gui/presentation/PanneauPolice.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <functional>

namespace {

// In list order: the list index is the symbol's type.
constexpr const char* kSymboles[] = {"Aucun", "Point",  "Triangle", "Triangle inversé", "Boite", "Diamant",
                                     "Croix", "Cercle", "Carré"};

class Apercu : public QWidget {
public:
    Apercu(std::function<CPresentationMappingLigne()> ligne, QWidget* parent)
        : QWidget(parent), m_ligne(std::move(ligne)) {
        setMinimumSize(120, 80);
    }

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        DessinSymbole::DessinerApercu(painter, rect(), m_ligne());
    }

private:
    std::function<CPresentationMappingLigne()> m_ligne;
};

} // namespace

CPagePointsMappingDlg::CPagePointsMappingDlg(CPresentationMapping& working,
                                             CPresentationMapping::PointSet set, QWidget* parent)
    : QWidget(parent), m_working(working), m_set(set) {
    const CPresentationMappingLigne ligne = Ligne();
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout();
    m_symbole = new QComboBox(this);
    for (const char* name : kSymboles)
        m_symbole->addItem(QString::fromUtf8(name));
    m_symbole->setCurrentIndex(ligne.GetTypeSymbole());
    m_taille = new QSpinBox(this);
    m_taille->setRange(kTailleMin, kTailleMax);
    m_taille->setValue(ligne.GetTailleSymbole());
    m_couleur = new QPushButton(QStringLiteral("Cou&leur :"), this);
    m_swatch = new QWidget(this);
    m_swatch->setFixedSize(40, 20);
    m_swatch->setAutoFillBackground(true);
    QPalette palette = m_swatch->palette();
    palette.setColor(QPalette::Window, DessinSymbole::Couleur(ligne.GetCouleur()));
    m_swatch->setPalette(palette);
    auto* symbolLabel = new QLabel(QStringLiteral("Sy&mbole :"), this);
    symbolLabel->setBuddy(m_symbole);
    auto* sizeLabel = new QLabel(QStringLiteral("Taill&e :"), this);
    sizeLabel->setBuddy(m_taille);
    grid->addWidget(symbolLabel, 0, 0);
    grid->addWidget(m_symbole, 0, 1);
    grid->addWidget(sizeLabel, 1, 0);
    grid->addWidget(m_taille, 1, 1);
    grid->addWidget(m_couleur, 2, 0);
    grid->addWidget(m_swatch, 2, 1, Qt::AlignLeft);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);

    auto* labels = new QGroupBox(QStringLiteral("Libellés"), this);
    auto* labelsLayout = new QVBoxLayout(labels);
    m_police = new PanneauPolice(QStringLiteral("&Police :"), ligne.GetLabelFont(), labels);
    m_visible = new QCheckBox(QStringLiteral("&Visible"), labels);
    m_visible->setChecked(ligne.GetEstLibelleVisible());
    labelsLayout->addWidget(m_police);
    labelsLayout->addWidget(m_visible);
    layout->addWidget(labels);

    m_apercu = new Apercu([this] { return Ligne(); }, this);
    layout->addWidget(m_apercu, 1);

    connect(m_symbole, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index < 0)
            return;
        CPresentationMappingLigne changed = Ligne();
        changed.SetTypeSymbole(static_cast<std::int16_t>(index));
        Ecrire(changed);
    });
    connect(m_taille, &QSpinBox::valueChanged, this, [this](int size) {
        CPresentationMappingLigne changed = Ligne();
        changed.SetTailleSymbole(size);
        Ecrire(changed);
    });
    connect(m_visible, &QCheckBox::toggled, this, [this](bool on) {
        CPresentationMappingLigne changed = Ligne();
        changed.SetEstLibelleVisible(on);
        Ecrire(changed);
    });
    connect(m_police, &PanneauPolice::changed, this, [this] {
        CPresentationMappingLigne changed = Ligne();
        changed.SetLabelFont(m_police->GetPolice());
        Ecrire(changed);
    });
    connect(m_couleur, &QPushButton::clicked, this, &CPagePointsMappingDlg::ChoisirCouleur);
}

CPresentationMappingLigne CPagePointsMappingDlg::Ligne() const {
    return m_working.GetPointSet(m_set);
}

void CPagePointsMappingDlg::Ecrire(const CPresentationMappingLigne& ligne) {
    m_working.SetPointSet(m_set, ligne);
    m_apercu->update();
    emit changed();
}

void CPagePointsMappingDlg::ChoisirCouleur() {
    CPresentationMappingLigne changed = Ligne();
    const QColor chosen = QColorDialog::getColor(DessinSymbole::Couleur(changed.GetCouleur()), this);
    if (!chosen.isValid())
        return;
    changed.SetCouleur(static_cast<std::uint32_t>(chosen.red()) |
                       (static_cast<std::uint32_t>(chosen.green()) << 8) |
                       (static_cast<std::uint32_t>(chosen.blue()) << 16));
    QPalette palette = m_swatch->palette();
    palette.setColor(QPalette::Window, chosen);
    m_swatch->setPalette(palette);
    Ecrire(changed);
}
