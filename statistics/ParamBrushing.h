#pragma once

#include <cstdint>

class CQuestionEtendue;

// How the points of one set of a map are coloured: by nothing, by their coordinates, qualities
// or contributions on an axis, or by their modality or value for a question. Low, middle and
// high values get the three colours (0x00BBGGRR), values between are mixed.
class CParamBrushing {
public:
    enum Mode : std::int32_t { kAucun = 0, kCoordonnees = 1, kQualites = 2, kContributions = 3, kQuestion = 4 };

    std::int32_t mode = kAucun;
    std::int32_t axe = 1;                     // from 1, for modes 1 to 3
    CQuestionEtendue* question = nullptr;     // mode 4; the survey's
    std::uint32_t couleurBasse = 0xFF0000;    // blue
    std::uint32_t couleurMoyenne = 0x7F7F7F;  // grey
    std::uint32_t couleurHaute = 0x0000FF;    // red

    bool operator==(const CParamBrushing&) const = default;
};
