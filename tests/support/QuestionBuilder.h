#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/questionnaire/Question.h"

// One item of a questionnaire outline, for questionnaires built in code.
inline std::unique_ptr<CQuestion> Item(std::int32_t code, const std::string& name, std::int16_t depth,
                                       std::int16_t kind, std::int16_t type) {
    auto question = std::make_unique<CQuestion>();
    question->code = code;
    question->name = name;
    question->depth = depth;
    question->kind = kind;
    question->type = type;
    return question;
}
