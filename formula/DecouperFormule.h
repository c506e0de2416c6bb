#pragma once

#include "formula/FormulaError.h"
#include "formula/ValeurFormule.h"

#include <string_view>
#include <vector>

class CEnquete;

// Cuts the text of a formula into tokens (only their token fields set: kind, code, text,
// position and length), appended to `tokens`: operators, French and English keywords, number,
// string, date, time and list constants, and references to the survey's questions ("??NAME??")
// and to one of their modalities ("??NAME:N??"). True when the whole text was read; otherwise the
// first error is in `error` (code, position, length) and the tokens read so far stay in the
// vector. A word that is no keyword does not stop the scan, so a later error is never reported
// in place of it.
bool DecouperFormule(std::string_view formula, std::vector<CValeurFormule>& tokens, FormulaError& error,
                     const CEnquete& survey);
