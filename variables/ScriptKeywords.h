#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "variables/ValeurScript.h"

// A word of the script language, French or English: the token it gives.
struct ScriptKeyword {
    std::string_view text;
    std::uint16_t kind;
    double value;
};

// A built-in function: what it makes of the number of its argument, and what it gives for a
// missing argument (non-response or not asked). TAILLE, which counts elements, has no `compute`.
struct ScriptFunction {
    int code;
    double (*compute)(double x);
    double whenMissing;
};

namespace ScriptKeywords {

// Function codes, the value of a function token.
constexpr int kCos = 1;
constexpr int kExp = 2;
constexpr int kLog = 3;
constexpr int kLn = 4;
constexpr int kRacine = 5;
constexpr int kSin = 6;
constexpr int kTaille = 7;
constexpr int kCvnrni = 8;
constexpr int kEntier = 9;

// The words in the order the cutting tries them: reverse alphabetical, so that a word is tried
// before any shorter word that begins it (SINONSI before SINON before SIN before SI).
std::span<const ScriptKeyword> Table();

// The built-in functions by code.
std::span<const ScriptFunction> Functions();

// The first word of the table that the text begins with, compared without regard to case;
// null when none. Nothing is asked of the character after the word.
const ScriptKeyword* TrouverEnDebut(std::string_view text);

// The value of function `code` applied to the argument: an error for an argument in error; for
// TAILLE the number of elements (0 for a single value); for a missing argument the function's
// value for it; else the function of the argument's number (0 for a list), the logarithms and
// the square root giving the non-response outside their domain. An unknown code gives an error.
CValeurScript EvaluerFonction(int code, const CValeurScript& argument);

} // namespace ScriptKeywords
