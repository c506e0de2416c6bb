#pragma once

#include "variables/ValeurScript.h"

// What the operators of the script language make of two values (left, right). The codes are
// those of the operator tokens.
namespace ScriptOperations {

// "+", "-", "*", "/": a missing value on either side gives the non-response; an error on either
// side an error. Two numbers give the number; a list on either side gives, for "+", the left
// sequence followed by each right number not already there and, for "-", the left sequence less
// the first equal number for each right one; "*" and "/" on a list, and a division by 0, give
// an error.
CValeurScript Calculer(const CValeurScript& left, int op, const CValeurScript& right);

// "=", "<>", "<=", "<", ">", ">=": 1 or 0. Missing values compare as the numbers they are
// stored as. Equality of lists is mutual inclusion; a list is "less" than another when each of
// its numbers is in the other (for "<" and "<=" alike), so "3 <= list" asks whether the list
// holds 3.
CValeurScript Comparer(const CValeurScript& left, int comparator, const CValeurScript& right);

// ET, OU on two numbers (any number but 0 is true); a list or an error gives an error.
CValeurScript Combiner(const CValeurScript& left, int op, const CValeurScript& right);

} // namespace ScriptOperations
