#include "presentation/PresentationMapping.h"

#include "app/Registre.h"

CPresentationMapping::CPresentationMapping()
{
    CRegistre::ReadPresentationMapping(*this);
}
