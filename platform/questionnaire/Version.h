#pragma once

#include <cstdint>
#include <string>

// A version of the questionnaire (a variant of the paper form); copied into the survey.
class CVersion {
public:
    std::int32_t code = 0;
    std::string name;
};
