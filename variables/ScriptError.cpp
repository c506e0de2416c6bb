#include "variables/ScriptError.h"

#include "app/StringTable.h"

#include <string>

Message ScriptError::WithPosition() const {
    if (position <= 0)
        return message;
    return Message(StringTable::kScriptErreurPosition, {StringTable::Format(message), std::to_string(position)});
}
