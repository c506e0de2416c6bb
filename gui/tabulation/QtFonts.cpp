#include "gui/tabulation/QtFonts.h"

#include "presentation/PoliceAna.h"

#include <QFontDatabase>
#include <QPaintDevice>
#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr double kPointsPerInch = 72.0;
// Pixels per point assumed when there is no device to ask.
constexpr double kPixelsPerPointWithoutDevice = 1.25;

// Faces the records are often saved with, and families of the same kind and width that a system
// without them tends to have, best first.
struct StandIn {
    const char* face;
    QFont::StyleHint hint;
    std::array<const char*, 6> families;
};

const std::array<StandIn, 3> kStandIns{{
    {"Times New Roman",
     QFont::Serif,
     {"Liberation Serif", "Tinos", "Nimbus Roman", "FreeSerif", "DejaVu Serif", "Noto Serif"}},
    {"Arial",
     QFont::SansSerif,
     {"Liberation Sans", "Arimo", "Nimbus Sans", "FreeSans", "DejaVu Sans", "Noto Sans"}},
    {"Courier New",
     QFont::Monospace,
     {"Liberation Mono", "Cousine", "Nimbus Mono PS", "FreeMono", "DejaVu Sans Mono", "Noto Sans Mono"}},
}};

const StandIn* StandInFor(const QString& face) {
    for (const StandIn& standIn : kStandIns)
        if (face.compare(QLatin1String(standIn.face), Qt::CaseInsensitive) == 0)
            return &standIn;
    return nullptr;
}

} // namespace

namespace QtFonts {

QString FamilyFor(const std::string& face) {
    const QString requested = QString::fromStdString(face);
    if (QFontDatabase::hasFamily(requested))
        return requested;
    if (const StandIn* standIn = StandInFor(requested))
        for (const char* family : standIn->families)
            if (QFontDatabase::hasFamily(QLatin1String(family)))
                return QLatin1String(family);
    return requested;
}

QFont CreerFont(const CPoliceAna& font, const QPaintDevice* device) {
    const double pixelsPerPoint =
        device ? device->logicalDpiY() / kPointsPerInch : kPixelsPerPointWithoutDevice;
    QFont drawing;
    drawing.setFamily(FamilyFor(font.GetNom()));
    if (const StandIn* standIn = StandInFor(QString::fromStdString(font.GetNom())))
        drawing.setStyleHint(standIn->hint);
    drawing.setPixelSize(std::max(1, static_cast<int>(std::trunc(pixelsPerPoint * font.GetTaille()))));
    drawing.setWeight(font.GetGras() ? QFont::Bold : QFont::Normal);
    drawing.setItalic(font.GetItalique());
    drawing.setUnderline(font.GetSouligne());
    return drawing;
}

QColor TextColour(const CPoliceAna& font) {
    const std::uint32_t colour = font.GetCouleur();
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

QString ToDisplayText(const std::string& text) {
    QString display = QString::fromStdString(text);
    display.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return display;
}

} // namespace QtFonts
