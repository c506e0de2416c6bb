#include "presentation/PoliceAna.h"

#include "platform/questionnaire/ArchiveVersion.h"

void CPoliceAna::Serialize(CArchiveVersion& archive)
{
    if (archive.IsStoring()) {
        archive << m_nom << m_taille << m_gras << m_italique << m_souligne << m_ombre << m_couleur;
        return;
    }
    CPoliceAna loaded;
    archive >> loaded.m_nom >> loaded.m_taille >> loaded.m_gras >> loaded.m_italique >> loaded.m_souligne >>
        loaded.m_ombre >> loaded.m_couleur;
    *this = loaded;
}
