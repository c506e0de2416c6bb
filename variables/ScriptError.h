#pragma once

#include <cstdint>

#include "app/Message.h"

// Why a script was refused: the message of the string table, with where the fault lies. The
// cutting gives the faulty text as a 1-based position and a length, in characters; the checker
// gives the index of the token at fault.
struct ScriptError {
    Message message;
    std::int32_t position = 0;
    std::int32_t length = 0;
    std::int32_t tokenIndex = -1;

    // The message as the analyst reads it: its text, then where the fault lies when it lies
    // somewhere in the script.
    Message WithPosition() const;
};
