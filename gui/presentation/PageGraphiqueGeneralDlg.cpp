#include "gui/presentation/PageGraphiqueGeneralDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "presentation/PresentationGraphique.h"
#include "gui/presentation/ColorSwatch.h"

namespace {

const char* const kTypes[] = {
    "Barre verticale", "Barre horizontale", "Ligne", "Camembert", "Barre cumulée verticale",
    "Barre cumulée horizontale", "Aire",
};

// The ten border types, in their codes' order.
const char* const kBorders[] = {
    "Aucune", "Simple", "3D enfoncée", "3D élevée", "Pointillé enfoncée", "Pointillé élevé", "Cadre enfoncé",
    "Cadre élevé", "Biseau", "Ombré",
};

struct ZoneRow {
    int zone;
    const char* caption;
    int visibleId;
    int borderId;
};

constexpr ZoneRow kZoneRows[] = {
    {1, "Titre:", 1016, 1012}, {2, "Graphique:", 1017, 1013}, {3, "Légende:", 1018, 1014},
    {4, "Pied :", 1019, 1015}, {5, "Fond :", 1020, 1021},
};

} // namespace

CPageGraphiqueGeneralDlg::CPageGraphiqueGeneralDlg(CPresentationGraphique& presentation, QWidget* parent)
    : QWidget(parent), m_presentation(presentation), m_type(new QComboBox(this))
{
    m_type->setObjectName(QStringLiteral("1011"));
    for (const char* type : kTypes)
        m_type->addItem(QString::fromUtf8(type));
    m_type->setCurrentIndex(m_presentation.GetType());
    connect(m_type, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index < 0)
            return;
        m_presentation.SetType(static_cast<std::int16_t>(index));
        emit Modifie(this);
    });

    auto* typeRow = new QHBoxLayout();
    auto* typeLabel = new QLabel(QStringLiteral("Type:"), this);
    typeLabel->setBuddy(m_type);
    typeRow->addWidget(typeLabel);
    typeRow->addWidget(m_type, 1);

    auto* grid = new QGridLayout();
    const char* const headings[] = {"Visible", "Fond", "Avant", "Bordure"};
    for (int column = 0; column < 4; ++column)
        grid->addWidget(new QLabel(QString::fromUtf8(headings[column]), this), 0, column + 1, Qt::AlignCenter);
    int row = 1;
    for (const ZoneRow& zone : kZoneRows) {
        AddZoneRow(*grid, row++, zone.zone, QString::fromUtf8(zone.caption));
        m_visible[Index(zone.zone)]->setObjectName(QString::number(zone.visibleId));
        m_border[Index(zone.zone)]->setObjectName(QString::number(zone.borderId));
        m_back[Index(zone.zone)]->setObjectName(QString::number(1088 + zone.zone - 1));
        m_fore[Index(zone.zone)]->setObjectName(QString::number(1093 + zone.zone - 1));
    }

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(typeRow);
    layout->addSpacing(8);
    layout->addLayout(grid);
    layout->addStretch(1);
}

void CPageGraphiqueGeneralDlg::AddZoneRow(QGridLayout& grid, int row, int zone, const QString& caption)
{
    const std::size_t index = Index(zone);
    grid.addWidget(new QLabel(caption, this), row, 0);

    m_visible[index] = new QCheckBox(QStringLiteral("Visible"), this);
    m_visible[index]->setChecked(m_presentation.GetVisible(zone));
    connect(m_visible[index], &QCheckBox::toggled, this, [this, zone](bool checked) {
        m_presentation.SetVisible(zone, checked);
        emit Modifie(this);
    });
    grid.addWidget(m_visible[index], row, 1);

    m_back[index] = new ColorSwatch(this);
    m_back[index]->SetCouleur(m_presentation.GetBackColor(zone));
    connect(m_back[index], &ColorSwatch::CouleurChangee, this, [this, zone](std::uint32_t colour) {
        m_presentation.SetBackColor(zone, colour);
        emit Modifie(this);
    });
    grid.addWidget(m_back[index], row, 2);

    m_fore[index] = new ColorSwatch(this);
    m_fore[index]->SetCouleur(m_presentation.GetForeColor(zone));
    connect(m_fore[index], &ColorSwatch::CouleurChangee, this, [this, zone](std::uint32_t colour) {
        m_presentation.SetForeColor(zone, colour);
        emit Modifie(this);
    });
    grid.addWidget(m_fore[index], row, 3);

    m_border[index] = new QComboBox(this);
    for (const char* border : kBorders)
        m_border[index]->addItem(QString::fromUtf8(border));
    m_border[index]->setCurrentIndex(m_presentation.GetBorder(zone));
    connect(m_border[index], &QComboBox::currentIndexChanged, this, [this, zone](int choice) {
        if (choice < 0)
            return;
        m_presentation.SetBorder(zone, static_cast<std::int16_t>(choice));
        emit Modifie(this);
    });
    grid.addWidget(m_border[index], row, 4);
}
