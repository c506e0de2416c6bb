// The archive of a chart presentation and its series.
#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzSurvey.h"
#include "presentation/PresentationGraphique.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzArchive<CPresentationGraphique>(data, size);
    return 0;
}
