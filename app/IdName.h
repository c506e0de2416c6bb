#pragma once

#include <cstdint>
#include <string>
#include <utility>

// An id and a name: the element of every selection list (study fields, weightings, profiles,
// styles).
class CIdName {
public:
    CIdName() = default;
    CIdName(std::int32_t anId, std::string aName) : id(anId), name(std::move(aName)) {}

    std::int32_t id = 0;
    std::string name;
};
