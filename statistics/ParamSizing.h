#pragma once

#include <cstdint>

class CQuestionEtendue;

// How the symbols of one set of a map are sized, with the modes of the colouring: low values
// get the smallest size, high values the largest, values between a size in proportion.
class CParamSizing {
public:
    std::int32_t mode = 0;                 // as CParamBrushing::Mode
    std::int32_t axe = 1;                  // from 1
    CQuestionEtendue* question = nullptr;  // the survey's
    std::int32_t tailleMin = 2;            // pixels
    std::int32_t tailleMax = 15;

    bool operator==(const CParamSizing&) const = default;
};
