#pragma once

#include <cstdint>
#include <span>

#include "variables/ElementCompile.h"
#include "variables/ScriptError.h"

// The static types of the checker: dimension × 100 + base. Base 6 is a number; dimension 0 a
// single value, 1 a list.
namespace ScriptTypes {
constexpr int kNombre = 6;
constexpr int kListe = 106;
// A SI block: its type is not known, and what follows it is not checked against it.
constexpr int kInconnu = 0;
} // namespace ScriptTypes

// Blocks (parentheses, SI) nested deeper than this are refused: each level costs a frame of the
// checker and of the evaluator, and a script must never exhaust the stack.
constexpr int kProfondeurScriptMax = 200;

// Checks the tokens [first, end) of the list: true with the static type of the range, or false
// with the message and the index of the token to show in error.tokenIndex (which may be `end` for
// an empty range). The language has no precedence: within one level the checker allows one kind
// of arithmetic operator, one comparator between logical operators and one kind of logical
// operator, and asks for parentheses otherwise. A SI is allowed only as the first token of a
// range where `siAllowed` holds (the script, a parenthesised group of such a range, a branch
// body), never inside a condition.
bool VerifierScript(std::span<const CElementCompile> tokens, int first, int end, bool siAllowed, ScriptError& error,
                    int& type);
