#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "tabulation/Profil.h"
#include "tabulation/Traitement.h"

class CQuestionEtendue;

// The profile requests the benchmark drivers time: lists of closed questions crossed with each
// other, as the profile dialogs build them.
namespace bench {

// The questions first to first + count - 1, each with its real answers (codes above 0).
CProfil ProfileOf(const std::vector<CQuestionEtendue*>& closed, std::size_t first, std::size_t count);
// A request of `type` crossing the row profile with the column profile into one table, kept out
// of the portfolio, reals shown with six decimals.
std::unique_ptr<CTraitement> ProfileRequest(std::int16_t type, const CProfil& rows, const CProfil& columns);
// The crossed profile of the two: counts, row and column percentages as calculation lines.
std::unique_ptr<CTraitement> CrossedProfileRequest(const CProfil& rows, const CProfil& columns);

} // namespace bench
