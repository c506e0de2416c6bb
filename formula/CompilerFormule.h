#pragma once

#include "formula/FormulaError.h"
#include "formula/ValeurFormule.h"

#include <cstdint>
#include <vector>

class CEnquete;

// Groups of parentheses and brackets nest at most this deep; a deeper one is error 128.
constexpr int kProfondeurMaximaleFormule = 100;

// Compiles the tokens of a formula into the compiled list, in postfix order, checking the type of
// every operand: each node of the list knows its index and the indexes of the nodes it reads, and
// carries its static value type and dimension in its value fields. The type stack receives the
// indexes of the nodes whose values are left (one, for a formula that compiles to one value).
// Operators bind, from the tightest: function application, indexing, multiplicative ("*", "/",
// MOD), additive ("+", "-", "|"), comparison, logical (ET, OU); operators of one level associate
// to the left. False with the first error (code, position, length of the token at fault).
bool CompilerFormule(const std::vector<CValeurFormule>& tokens, std::vector<CValeurFormule>& compiled,
                     std::vector<std::int32_t>& stack, FormulaError& error, const CEnquete& survey);
