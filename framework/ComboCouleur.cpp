#include "framework/ComboCouleur.h"

#include "app/Registre.h"
#include "framework/ColorRef.h"

#include <QPainter>
#include <array>

namespace {

struct NamedColour {
    const char* nom;
    int paletteEntry;
};

// The names as the user reads them, each with the default-palette entry it stands for.
constexpr std::array<NamedColour, CComboCouleur::kColourCount> kColours{{
    {"Noir", 0},
    {"Brun", 1},
    {"Vert", 2},
    {"Olive", 3},
    {"Marine", 4},
    {"Pourpre", 5},
    {"Bleu-Vert", 6},
    {"Gris", 12},
    {"Gris foncé", 7},
    {"Rouge", 13},
    {"Gris-Jaune", 14},
    {"Jaune", 15},
    {"Bleu", 16},
    {"Magenta", 17},
    {"Bleu clair", 18},
}};

constexpr int kNameLeft = 50;
constexpr int kSwatchLeft = 5;
constexpr int kSwatchRight = 45;
constexpr int kSwatchInset = 2;

} // namespace

CComboCouleur::CComboCouleur(QWidget* parent) : OwnerDrawnCombo(parent)
{
    for (const NamedColour& entry : kColours)
        addItem(QString::fromUtf8(entry.nom), QVariant::fromValue<quint32>(CRegistre::GetPaletteColor(entry.paletteEntry)));
    setMinimumContentsLength(12);
}

void CComboCouleur::Initialiser(std::uint32_t couleur)
{
    const int found = findData(QVariant::fromValue<quint32>(couleur));
    setCurrentIndex(found >= 0 ? found : 0);
}

std::uint32_t CComboCouleur::GetCouleur() const
{
    return currentIndex() < 0 ? 0 : currentData().value<quint32>();
}

void CComboCouleur::DrawItem(QPainter& painter, const QRect& rect, int index, const QColor& textColour) const
{
    const QRect swatch(rect.left() + kSwatchLeft, rect.top() + kSwatchInset, kSwatchRight - kSwatchLeft,
                       rect.height() - 2 * kSwatchInset);
    painter.fillRect(swatch, FromColorRef(itemData(index).value<quint32>()));
    painter.setPen(textColour);
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));
    const QRect name = rect.adjusted(kNameLeft, 0, 0, 0);
    painter.drawText(name, Qt::AlignLeft | Qt::AlignVCenter, itemText(index));
}
