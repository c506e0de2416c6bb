#pragma once

#include <string>
#include <vector>

#include "variables/DefinitionTexts.h"

class CEnquete;
class CQuestionEtendue;
class UserInterface;

// What the superposition panel edits: the modalities of the new variable (each the number, from
// 1, of the source modality it takes) and the source questions, in order, with the stored texts
// they come from and go to.
struct SuperpositionSources {
    std::vector<DefinitionTexts::Item> modalities;
    std::vector<CQuestionEtendue*> questions;

    // From the stored captions and definition, as far as they read (what does not read is left
    // out; the opening of the questionnaire has said so).
    static SuperpositionSources Lire(const std::string& themes, const std::string& definition, const CEnquete& survey);
    std::string Libelles() const { return DefinitionTexts::EcrireModalitesSuperposees(modalities); }
    std::string Definition() const { return DefinitionTexts::EcrireQuestionsSuperposees(questions); }

    // Adds the chosen questions in order. A question already there stops the addition with
    // "La question est déjà présente..."; one whose number of modalities differs from the
    // modalities there are is added only when the user says so; each added question brings the
    // modalities of the numbers not yet listed, under its short captions.
    void Ajouter(const std::vector<CQuestionEtendue*>& chosen, UserInterface& ui);
};
