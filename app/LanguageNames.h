#pragma once

#include <cstdint>
#include <string>

// The names the program gives the languages of a questionnaire, by their Windows language id
// (1036 French...): a French name ("Français") and a three-letter abbreviation ("FRA"). A
// questionnaire stores only the ids; the names it carries are those its author typed, in any
// language, so every list the analyst reads takes them from here. An id the table lacks shows as
// its number.
namespace LanguageNames {

std::string Nom(std::int32_t id);
std::string Abreviation(std::int32_t id);

} // namespace LanguageNames
