#include "gui/presentation/ColorSwatch.h"

#include <QColorDialog>
#include <QMouseEvent>
#include <QPainter>

#include "gui/presentation/ChartPainter.h"

namespace {

std::uint32_t ColorRef(const QColor& colour)
{
    return static_cast<std::uint32_t>(colour.red()) | (static_cast<std::uint32_t>(colour.green()) << 8) |
           (static_cast<std::uint32_t>(colour.blue()) << 16);
}

} // namespace

ColorSwatch::ColorSwatch(QWidget* parent) : QFrame(parent)
{
    setFrameShape(QFrame::Box);
    setMinimumSize(32, 18);
}

void ColorSwatch::SetCouleur(std::uint32_t colour)
{
    m_colour = colour & 0xFFFFFF;
    update();
}

bool ColorSwatch::ChoisirCouleur(QWidget* parent, std::uint32_t& colour)
{
    QColorDialog dialog(ChartPainter::ColorOf(colour), parent);
    dialog.setOption(QColorDialog::DontUseNativeDialog, true);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    colour = ColorRef(dialog.selectedColor());
    return true;
}

bool ColorSwatch::Choisir()
{
    std::uint32_t colour = m_colour;
    if (!ChoisirCouleur(this, colour))
        return false;
    SetCouleur(colour);
    emit CouleurChangee(m_colour);
    return true;
}

void ColorSwatch::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
    Choisir();
}

void ColorSwatch::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.fillRect(contentsRect(), ChartPainter::ColorOf(m_colour));
}
