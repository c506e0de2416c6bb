#include "app/Redressement.h"

CRedressement& CRedressement::operator=(const CRedressement& other) {
    if (this == &other)
        return *this;
    id = other.id;
    name = other.name;
    description = other.description;
    NTotal = other.NTotal;
    definition = other.definition;
    return *this;
}
