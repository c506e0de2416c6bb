#pragma once

#include <string_view>
#include <vector>

#include "variables/ScriptError.h"

class CEnquete;

// The values of a "Par script" variable, one per interview in interview order: the script is cut
// and checked, the answers of each question it names are read once, and every interview is
// evaluated; a value that is no single finite number is stored as the non-response. False, with
// nothing in `values`, when the script is refused (the fault in `error`) or when the answers of
// a question it names cannot be read (the reader's text in error.message).
bool CalculerScript(std::string_view text, CEnquete& survey, std::vector<double>& values, ScriptError& error);
