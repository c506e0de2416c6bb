#include "gui/presentation/ExemplePolice.h"

#include "framework/ColorRef.h"
#include "presentation/PoliceAna.h"
#include "gui/tabulation/QtFonts.h"

#include <QPainter>

CExemplePolice::CExemplePolice(const CPoliceAna& police, QWidget* parent) : QWidget(parent), m_police(police)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void CExemplePolice::DessinerExemple(QPainter& painter, const QRect& rect, const CPoliceAna& police)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.fillRect(rect, police.GetOmbre() ? FromColorRef(CPoliceAna::kShadowBackground) : QColor(Qt::white));
    painter.setFont(QtFonts::CreerFont(police, painter.device()));
    painter.setPen(QtFonts::TextColour(police));
    painter.setClipRect(rect);
    painter.drawText(rect.adjusted(kMargeGauche, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     QString::fromLatin1(kTexte));
    painter.restore();
}

QSize CExemplePolice::sizeHint() const
{
    return {260, 60};
}

void CExemplePolice::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    DessinerExemple(painter, rect(), m_police);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
