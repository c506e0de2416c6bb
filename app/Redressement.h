#pragma once

#include <cstdint>
#include <string>

class CQuestionEtendue;

// A weighting scheme. The survey keeps the list of them; its targets, their reading from the
// definition text and the raking come with the recodes and weightings.
class CRedressement {
public:
    CRedressement() = default;
    CRedressement(const CRedressement& other) { *this = other; }
    // Copies the id, name, description, total and definition text, not the bound question: the
    // weighting's reader rebuilds it from the text.
    CRedressement& operator=(const CRedressement& other);

    std::int32_t id = 0; // -1 is "Aucun redressement"; 0 while not stored
    std::string name;
    std::string description;
    double NTotal = 0.0;
    std::string definition;                       // "Valeurs"
    CQuestionEtendue* initialWeightQuestion = nullptr; // not owned
};
