#pragma once

#include "formula/ValeurFormule.h"

#include <cmath>
#include <cstdint>

// What the operators and the functions share when they compute numbers: a result that is not
// finite is no value, and a number is truncated to a whole number only within 32 bits.
namespace FormulaNumbers {

// The value truncated toward 0, when that is a 32-bit integer (not for NaN).
inline bool Truncate32(double value, std::int64_t& out) {
    if (!(value > -2147483649.0 && value < 2147483648.0))
        return false;
    out = static_cast<std::int64_t>(std::trunc(value));
    return true;
}

inline void SetFinite(CValeurFormule& node, double value) {
    if (std::isfinite(value))
        node.DefinirNombre(value);
    else
        node.DefinirErreur();
}

// A number, or a list (of numbers): what the set operations take.
inline bool IsNumberTyped(const CValeurFormule& value) {
    return value.valueType == CValeurFormule::kTypeNombre &&
           value.dimension <= CValeurFormule::kDimensionListe;
}

} // namespace FormulaNumbers
