// The archive of a table presentation and its four fonts.
#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzSurvey.h"
#include "presentation/PresentationTableau.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzArchive<CPresentationTableau>(data, size);
    return 0;
}
