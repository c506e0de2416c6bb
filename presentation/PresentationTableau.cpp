#include "presentation/PresentationTableau.h"

#include <cstddef>
#include <initializer_list>

#include "app/Registre.h"
#include "platform/questionnaire/ArchiveVersion.h"

CPresentationTableau::CPresentationTableau()
{
    CRegistre::ReadPresentationTableau(*this);
}

std::int32_t CPresentationTableau::GetReservedValue(int index) const
{
    if (index < 0 || index >= kReservedValueCount)
        return 0;
    return m_reservedValues[static_cast<std::size_t>(index)];
}

void CPresentationTableau::SetReservedValue(int index, std::int32_t valeur)
{
    if (index < 0 || index >= kReservedValueCount)
        return;
    m_reservedValues[static_cast<std::size_t>(index)] = valeur;
}

// Storing and loading go through the same list of fields, so that their order cannot differ.
void CPresentationTableau::Transfer(CArchiveVersion& archive)
{
    const auto transfer = [&archive](auto& field) {
        if (archive.IsStoring())
            archive << field;
        else
            archive >> field;
    };
    for (CPoliceAna* font : {&m_question, &m_ligne, &m_colonne, &m_cellule})
        font->Serialize(archive);
    for (std::uint16_t* word : {&m_orientation, &m_typePage, &m_effectif, &m_pourcentage, &m_reel})
        transfer(*word);
    for (std::int32_t& reserved : m_reservedValues)
        transfer(reserved);
    for (bool* flag : {&m_estPourcent, &m_estTitreAuDessus, &m_estTitreBase, &m_estTitreChamp, &m_estTitreRedressement})
        transfer(*flag);
    if (archive.GetVersion() >= kVersionTitreLevel)
        transfer(m_estTitreLevel);
    for (std::uint16_t* word : {&m_thinBorderSize, &m_thinBorderType, &m_normalBorderSize, &m_normalBorderType,
                                &m_thickBorderSize, &m_thickBorderType})
        transfer(*word);
}

void CPresentationTableau::Serialize(CArchiveVersion& archive)
{
    if (archive.IsStoring()) {
        Transfer(archive);
        return;
    }
    CPresentationTableau loaded(*this);
    loaded.Transfer(archive);
    *this = loaded;
}
