#include "gui/presentation/PageSeriesDlg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <utility>

#include "presentation/PresentationGraphique.h"
#include "gui/presentation/ColorSwatch.h"

namespace {

struct Named {
    int code;
    const char* name;
};

constexpr Named kFillPatterns[] = {
    {1, "Aucun"},           {2, "Solide"},           {3, "25 %"},          {4, "50 %"},
    {5, "75 %"},            {6, "Rayures horizontales"}, {7, "Rayures verticales"}, {8, "Rayures à 45%"},
    {9, "Rayures à 135%"},  {10, "Hachures diagonales"}, {11, "Hachures croisées"},
};

constexpr Named kPointStyles[] = {
    {1, "Aucun"},   {2, "Point"},  {3, "Boite"},           {4, "Triangle"},          {5, "Diamant"}, {6, "Etoile"},
    {7, "Ligne verticale"}, {8, "Ligne horizontale"}, {9, "Croix"}, {10, "Cercle"}, {11, "Carré"},
};

constexpr Named kLinePatterns[] = {
    {1, "Aucun"}, {2, "Solide"}, {3, "Long traits"}, {4, "Pointillé"}, {5, "Traits courts"},
    {6, "Traits Long court long"}, {7, "Trait point"},
};

template <std::size_t N>
QComboBox* NamedCombo(QWidget* parent, const Named (&names)[N], const char* id)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(id));
    for (const Named& entry : names)
        combo->addItem(QString::fromUtf8(entry.name), entry.code);
    return combo;
}

void SelectCode(QComboBox& combo, int code)
{
    combo.setCurrentIndex(combo.findData(code));
}

QLabel* Caption(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

CPageSeriesDlg::CPageSeriesDlg(CPresentationGraphique& presentation, QWidget* parent)
    : QWidget(parent), m_presentation(presentation), m_list(new QListWidget(this)), m_colour(new ColorSwatch(this)),
      m_colourButton(new QPushButton(QStringLiteral("Choisir..."), this)),
      m_fill(NamedCombo(this, kFillPatterns, "1011")), m_point(NamedCombo(this, kPointStyles, "1012")),
      m_symbolColour(new ColorSwatch(this)), m_symbolColourButton(new QPushButton(QStringLiteral("Choisir..."), this)),
      m_line(NamedCombo(this, kLinePatterns, "1013"))
{
    m_list->setObjectName(QStringLiteral("1131"));
    m_colour->setObjectName(QStringLiteral("1135"));
    m_colourButton->setObjectName(QStringLiteral("1006"));
    m_symbolColour->setObjectName(QStringLiteral("1134"));
    m_symbolColourButton->setObjectName(QStringLiteral("1007"));
    for (int k = 1; k <= CPresentationGraphique::kSeriesCount; ++k)
        m_list->addItem(QStringLiteral("Série %1").arg(k));
    m_list->setMaximumWidth(m_list->fontMetrics().horizontalAdvance(QStringLiteral("Série 10")) + 40);

    auto* grid = new QGridLayout();
    grid->addWidget(Caption(QStringLiteral("&Couleur:"), m_colourButton, this), 0, 0);
    grid->addWidget(m_colour, 0, 1);
    grid->addWidget(m_colourButton, 0, 2);
    grid->addWidget(Caption(QStringLiteral("&Motif:"), m_fill, this), 1, 0);
    grid->addWidget(m_fill, 1, 1, 1, 2);
    grid->addWidget(Caption(QStringLiteral("&Symboles:"), m_point, this), 2, 0);
    grid->addWidget(m_point, 2, 1, 1, 2);
    grid->addWidget(Caption(QStringLiteral("Cou&leur symbole:"), m_symbolColourButton, this), 3, 0);
    grid->addWidget(m_symbolColour, 3, 1);
    grid->addWidget(m_symbolColourButton, 3, 2);
    grid->addWidget(Caption(QStringLiteral("Mot&if des lignes:"), m_line, this), 4, 0);
    grid->addWidget(m_line, 4, 1, 1, 2);
    grid->setRowStretch(5, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_list);
    layout->addLayout(grid, 1);

    connect(m_list, &QListWidget::currentRowChanged, this, [this] { AfficherSerie(); });
    connect(m_fill, &QComboBox::currentIndexChanged, this, [this] {
        ModifierSerie([this](CPresGraphSerie& serie) { serie.SetFillPattern(m_fill->currentData().toInt()); });
    });
    connect(m_point, &QComboBox::currentIndexChanged, this, [this] {
        ModifierSerie([this](CPresGraphSerie& serie) { serie.SetPointStyle(m_point->currentData().toInt()); });
    });
    connect(m_line, &QComboBox::currentIndexChanged, this, [this] {
        ModifierSerie([this](CPresGraphSerie& serie) { serie.SetLinePattern(m_line->currentData().toInt()); });
    });
    connect(m_colourButton, &QPushButton::clicked, this, [this] { ChoisirCouleur(false); });
    connect(m_symbolColourButton, &QPushButton::clicked, this, [this] { ChoisirCouleur(true); });
    connect(m_colour, &ColorSwatch::CouleurChangee, this, [this](std::uint32_t colour) {
        ModifierSerie([colour](CPresGraphSerie& serie) { serie.SetColor(colour); });
    });
    connect(m_symbolColour, &ColorSwatch::CouleurChangee, this, [this](std::uint32_t colour) {
        ModifierSerie([colour](CPresGraphSerie& serie) { serie.SetSymbolColor(colour); });
    });
    m_list->setCurrentRow(0);
}

void CPageSeriesDlg::AfficherSerie()
{
    const int row = m_list->currentRow();
    if (row < 0)
        return;
    const CPresGraphSerie& serie = m_presentation.GetSerie(row);
    const bool showing = std::exchange(m_showing, true);
    SelectCode(*m_fill, serie.GetFillPattern());
    SelectCode(*m_point, serie.GetPointStyle());
    SelectCode(*m_line, serie.GetLinePattern());
    m_colour->SetCouleur(serie.GetColor());
    m_symbolColour->SetCouleur(serie.GetSymbolColor());
    m_showing = showing;
}

template <typename Change>
void CPageSeriesDlg::ModifierSerie(Change&& change)
{
    const int row = m_list->currentRow();
    if (m_showing || row < 0)
        return;
    CPresGraphSerie serie = m_presentation.GetSerie(row);
    change(serie);
    m_presentation.SetSerie(row, serie);
    emit Modifie(this);
}

void CPageSeriesDlg::ChoisirCouleur(bool symbol)
{
    ColorSwatch& swatch = symbol ? *m_symbolColour : *m_colour;
    swatch.Choisir();
}
