#pragma once

#include <cstdint>
#include <memory>
#include <string>

class CEnquete;
class CObjectifRedressement;
class CQuestionEtendue;

// A weighting scheme. The survey keeps the list of them. Its targets live with the recodes and
// weightings, a layer above this one: LireValeurs and the targets' deletion are provided there
// (recodes/RedressementValeurs.cpp), so only the code that reads or runs a scheme needs them.
class CRedressement {
public:
    CRedressement() = default;
    CRedressement(const CRedressement& other) { *this = other; }
    // Copies the id, name, description, total and definition text, not the bound question nor
    // the targets: LireValeurs rebuilds them from the text.
    CRedressement& operator=(const CRedressement& other);

    // Splits the definition text at '~': the initial-weight question from its reference, then a
    // new root target reading the rest. A text that does not split in exactly two parts leaves
    // the scheme without root target (it cannot be run).
    void LireValeurs(CEnquete& survey);
    CObjectifRedressement* GetRacine() const { return root.get(); }

    std::int32_t id = 0; // -1 is "Aucun redressement"; 0 while not stored
    std::string name;
    std::string description;
    double NTotal = 0.0;
    std::string definition;                       // "Valeurs"
    CQuestionEtendue* initialWeightQuestion = nullptr; // not owned

    // The root target with the function that deletes it (set by whoever builds it).
    using RootDeleter = void (*)(CObjectifRedressement*);
    std::unique_ptr<CObjectifRedressement, RootDeleter> root{nullptr, nullptr};
};
