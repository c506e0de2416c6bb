// The archive of a style: its calculations, or the name of a style of the questionnaire.
#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzSurvey.h"
#include "tabulation/Style.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzArchive<CStyle>(data, size);
    return 0;
}
