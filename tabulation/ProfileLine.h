#pragma once

#include "app/ModaliteEtendue.h"

#include <cstdint>
#include <memory>
#include <vector>

class CMoteurTableau;
class CProfil;
class CQuestionEtendue;

// One line of a profile as the kernels see it: the question, where each of its modalities
// stands among the modalities chosen on the line, and where the chosen Total and non-response
// stand. A modality chosen twice is counted on its first place and copied onto the other
// (`sources`), so that both show the same numbers.
struct ProfileLine {
    CQuestionEtendue* question = nullptr; // null for a separator
    int modalityCount = 0;                // the question's modalities
    std::vector<std::int32_t> codes;
    std::vector<std::uint16_t> map;      // per modality of the question: its place, or 0xFFFF
    std::vector<std::int16_t> signedMap; // the same, -1 for a modality not chosen
    int totalPosition = -1;              // the chosen Total, -1 when none
    int nonResponsePosition = -1;        // the chosen non-response, -1 when none
    std::vector<std::unique_ptr<CModaliteEtendue>> selected; // copies of the chosen modalities
    std::vector<int> sources;                                // per place: the place whose numbers it shows

    int SelectedCount() const { return static_cast<int>(selected.size()); }

    // Line `index` of the profile.
    static ProfileLine Donner(const CMoteurTableau& engine, const CProfil& profile, int index);
};
