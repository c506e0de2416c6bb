#pragma once

#include <cstdint>
#include <map>
#include <string>

// A semi-open answer of a closed question: a typed-in "other" answer that the loader either
// attaches to one modality (kind 1) or turns into a modality of its own.
class CSemiOpen {
public:
    std::int32_t id = 0;
    std::int16_t kind = 0;
    std::int32_t modalityCode = 0;                    // for kind 1: the modality it belongs to
    std::map<std::int32_t, std::string> shortCaptions; // by language id
};
