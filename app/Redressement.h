#pragma once

#include <cstdint>
#include <memory>
#include <string>

class CEnquete;
class CObjectifRedressement;
class CQuestionEtendue;

// What the layer of the targets does to a scheme's root: delete it and write its definition.
struct WeightingRootOperations {
    void (*destroy)(CObjectifRedressement*) = nullptr;
    std::string (*write)(const CObjectifRedressement&, const CEnquete&, bool byName) = nullptr;
    void operator()(CObjectifRedressement* target) const {
        if (target != nullptr && destroy != nullptr)
            destroy(target);
    }
};

// A weighting scheme. The survey keeps the list of them. Its targets live with the recodes and
// weightings, a layer above this one: LireValeurs, the root's deletion and the writing of its
// definition are provided there (recodes/RedressementValeurs.cpp), so only the code that reads,
// edits or runs a scheme needs them.
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
    // Makes `target` the root (null: none).
    void AttacherRacine(std::unique_ptr<CObjectifRedressement> target);

    // The definition text of the scheme as it stands: "%d@%s@%d~%s", the reference of the
    // initial-weight question (0, no keys and 0 when there is none), then the root's targets by
    // reference, or by name for the library, which other surveys read. A scheme without root
    // target keeps the text it was read with.
    std::string EcrireValeurs(const CEnquete& survey, bool byName) const;

    // Rebuilds the targets of a copy given by the survey; installed by the layer of the targets
    // (EnregistrerRecodages). Until then the copy keeps only its text.
    using Lecteur = void (*)(CRedressement& weighting, CEnquete& survey);
    static void InstallerLecteur(Lecteur reader);
    void Lier(CEnquete& survey);

    std::int32_t id = 0; // -1 is "Aucun redressement"; 0 while not stored
    std::string name;
    std::string description;
    double NTotal = 0.0;
    std::string definition;                       // "Valeurs"
    CQuestionEtendue* initialWeightQuestion = nullptr; // not owned

    using RootOperations = WeightingRootOperations;
    std::unique_ptr<CObjectifRedressement, RootOperations> root;
};
