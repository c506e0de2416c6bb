#include "presentation/PresentationGraphique.h"

#include <cstddef>

#include "app/Registre.h"
#include "platform/questionnaire/ArchiveVersion.h"
#include "platform/questionnaire/ArchiveException.h"

namespace {

std::size_t ZoneIndex(int zone)
{
    return static_cast<std::size_t>(zone - 1);
}

} // namespace

CPresentationGraphique::CPresentationGraphique()
{
    CRegistre::ReadPresentationGraphique(*this);
}

bool CPresentationGraphique::IsZone(int zone)
{
    return zone >= 1 && zone <= kZoneCount;
}

bool CPresentationGraphique::IsSerie(int numero)
{
    return numero >= 0 && numero < kSeriesCount;
}

bool CPresentationGraphique::GetVisible(int zone) const
{
    return IsZone(zone) && m_visible[ZoneIndex(zone)];
}

void CPresentationGraphique::SetVisible(int zone, bool visible)
{
    if (IsZone(zone))
        m_visible[ZoneIndex(zone)] = visible;
}

std::uint32_t CPresentationGraphique::GetBackColor(int zone) const
{
    return IsZone(zone) ? m_backColor[ZoneIndex(zone)] : 0;
}

void CPresentationGraphique::SetBackColor(int zone, std::uint32_t couleur)
{
    if (IsZone(zone))
        m_backColor[ZoneIndex(zone)] = couleur;
}

std::uint32_t CPresentationGraphique::GetForeColor(int zone) const
{
    return IsZone(zone) ? m_foreColor[ZoneIndex(zone)] : 0;
}

void CPresentationGraphique::SetForeColor(int zone, std::uint32_t couleur)
{
    if (IsZone(zone))
        m_foreColor[ZoneIndex(zone)] = couleur;
}

std::int16_t CPresentationGraphique::GetBorder(int zone) const
{
    return IsZone(zone) ? m_border[ZoneIndex(zone)] : std::int16_t{0};
}

void CPresentationGraphique::SetBorder(int zone, std::int16_t border)
{
    if (IsZone(zone))
        m_border[ZoneIndex(zone)] = border;
}

const CPresGraphSerie& CPresentationGraphique::GetSerie(int numero) const
{
    return m_series[IsSerie(numero) ? static_cast<std::size_t>(numero) : 0];
}

void CPresentationGraphique::SetSerie(int numero, const CPresGraphSerie& serie)
{
    if (IsSerie(numero))
        m_series[static_cast<std::size_t>(numero)] = serie;
}

void CPresentationGraphique::Serialize(CArchiveVersion& archive)
{
    if (archive.IsStoring()) {
        Store(archive);
        return;
    }
    CPresentationGraphique loaded(*this);
    loaded.Load(archive);
    *this = loaded;
}

void CPresentationGraphique::Store(CArchiveVersion& archive) const
{
    archive << m_type;
    for (std::size_t zone = 0; zone < kZoneCount; ++zone)
        archive << m_visible[zone] << m_backColor[zone] << m_foreColor[zone] << m_border[zone];
    archive << static_cast<std::uint32_t>(kSeriesCount);
    for (CPresGraphSerie serie : m_series)
        serie.Serialize(archive);
}

void CPresentationGraphique::Load(CArchiveVersion& archive)
{
    archive >> m_type;
    for (std::size_t zone = 0; zone < kZoneCount; ++zone)
        archive >> m_visible[zone] >> m_backColor[zone] >> m_foreColor[zone] >> m_border[zone];
    std::uint32_t count = 0;
    archive >> count;
    if (count > archive.Remaining() / CPresGraphSerie::kArchiveSize)
        throw ArchiveException(ArchiveException::Reason::BadCount, "CPresentationGraphique");
    for (std::uint32_t i = 0; i < count; ++i) {
        if (i < kSeriesCount) {
            m_series[i].Serialize(archive);
        } else {
            CPresGraphSerie dropped;
            dropped.Serialize(archive);
        }
    }
}
