#pragma once

#include <cstdint>
#include <string>

// The names of the interview languages, by their language id (1036 French): one table of ours, in
// French. An id the table lacks reads as its number.
namespace NomsLangues {

std::string Nom(std::int32_t languageId);
std::string Abreviation(std::int32_t languageId);

} // namespace NomsLangues
