#include "presentation/PresentationTableau.h"

#include <cstddef>

#include "app/Registre.h"

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
