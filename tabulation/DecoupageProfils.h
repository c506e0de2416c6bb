#pragma once

#include <memory>
#include <vector>

class CProfil;

// Profiles broken by separator lines are computed one part at a time.
namespace DecoupageProfils {

// Cuts the profile at its separators: each run of questions between two separators (or an end)
// becomes a new profile appended to `parts`. True when more than one part came out; otherwise
// `parts` is emptied and false answered (a profile of one group, whatever separators stand
// before or after it, is computed as a whole).
bool DecouperProfilSeparateurs(const CProfil& profile, std::vector<std::unique_ptr<CProfil>>& parts);

} // namespace DecoupageProfils
