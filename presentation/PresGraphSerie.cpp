#include "presentation/PresGraphSerie.h"

void CPresGraphSerie::DonnerStyle(Style& style) const
{
    style = {m_linePattern,
             m_fillPattern,
             static_cast<std::int32_t>(m_color),
             m_styleWord4,
             m_pointStyle,
             static_cast<std::int32_t>(m_symbolColor),
             m_styleWord7,
             m_styleWord8,
             m_styleWord9};
}
