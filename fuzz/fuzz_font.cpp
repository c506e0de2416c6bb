// The archive of a font.
#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzSurvey.h"
#include "presentation/PoliceAna.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzArchive<CPoliceAna>(data, size);
    return 0;
}
