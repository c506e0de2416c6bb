#pragma once

#include <cstdint>
#include <string>

// A class (theme) of questions defined in the questionnaire; copied into the survey.
class CQuestionClass {
public:
    std::int32_t code = 0;
    std::string name;
};
