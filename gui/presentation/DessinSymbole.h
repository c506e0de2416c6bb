#pragma once

#include <QColor>
#include <QPolygon>
#include <QString>
#include <cstdint>

class CPresentationMappingLigne;
class QPainter;
class QRect;

// How one point of a map is drawn: the symbol of its point set in the point's own colour and size,
// and its label below it when the set shows labels. The map window draws every point this way,
// and the presentation dialog shows the point set's look the same way.
namespace DessinSymbole {

// The symbol of the set's type centred on (x, y), `size` pixels across, in `colour` (0x00BBGGRR).
// Filled symbols keep the painter's pen as their outline; outline symbols get a pen of the colour
// and no fill. With the set's labels visible, `label` is written centred below the symbol (on the
// point itself for the type without symbol) with the painter's font and pen, unclipped.
void DessinerSymbole(QPainter& painter, const CPresentationMappingLigne& set, int x, int y,
                     const QString& label, std::uint32_t colour, std::int32_t size);

// The preview of a point set in a rectangle: white ground, the symbol at the centre with the label
// "Libellé" in the set's font and colour, at the set's own colour and size.
void DessinerApercu(QPainter& painter, const QRect& rectangle, const CPresentationMappingLigne& set);

// A colour of the records (0x00BBGGRR) for the painter.
QColor Couleur(std::uint32_t colour);

// The shape of a symbol of that size at (x, y), corners truncated toward zero: the corners of the
// triangles (types 2 and 3) and of the diamond (5); for the round and square symbols (1, 4, 7,
// 8) the four corners of their box (x ± size/2, its right and bottom edges excluded). Empty for
// the other types.
QPolygon Contour(std::int16_t type, int x, int y, std::int32_t size);
// The top of a point's label: size/2 (integer division) below the point, on the point itself for
// the type without symbol.
int HautLibelle(std::int16_t type, int y, std::int32_t size);

} // namespace DessinSymbole
