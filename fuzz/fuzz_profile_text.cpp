// The text form of a profile, as the profile lists store it: read against the fuzz survey; what
// is read writes a text that reads back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz/FuzzSurvey.h"
#include "tabulation/Profil.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CContexteEtude& survey = fuzz::Survey();
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CProfil profile;
    profile.FromString(survey, text);
    const std::string written = profile.ToString(survey);
    CProfil again;
    again.FromString(survey, written);
    if (again.ToString(survey) != written)
        std::abort();
    return 0;
}
