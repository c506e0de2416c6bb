#include "presentation/PresGraphSerie.h"

#include "platform/questionnaire/ArchiveVersion.h"

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

void CPresGraphSerie::Serialize(CArchiveVersion& archive)
{
    if (archive.IsStoring()) {
        archive << m_linePattern << m_fillPattern << m_pointStyle << m_color << m_symbolColor;
        return;
    }
    CPresGraphSerie loaded(*this);
    archive >> loaded.m_linePattern >> loaded.m_fillPattern >> loaded.m_pointStyle >> loaded.m_color >>
        loaded.m_symbolColor;
    *this = loaded;
}
