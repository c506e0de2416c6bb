#include "tabulation/DecoupageProfils.h"

#include "tabulation/Profil.h"

namespace DecoupageProfils {

bool DecouperProfilSeparateurs(const CProfil& profile, std::vector<std::unique_ptr<CProfil>>& parts) {
    std::vector<std::unique_ptr<CProfil>> found;
    int first = 0;
    for (int i = 0; i <= profile.GetCount(); ++i) {
        if (i < profile.GetCount() && !profile.IsSeparator(i))
            continue;
        if (i > first)
            found.push_back(profile.Extract(first, i - 1));
        first = i + 1;
    }
    if (found.size() < 2) {
        parts.clear();
        return false;
    }
    for (auto& part : found)
        parts.push_back(std::move(part));
    return true;
}

} // namespace DecoupageProfils
