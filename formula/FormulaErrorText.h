#pragma once

#include <cstdint>
#include <string>

// The cause of a formula error in French words, by its code (FormulaError), for the messages
// that tell the analyst why a formula was refused; an unknown code gives "erreur N".
std::string FormulaErrorText(std::int32_t code);
