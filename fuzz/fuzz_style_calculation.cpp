// The archive of a style's calculation, with or without its test-line text by version.
#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzSurvey.h"
#include "tabulation/CalculEvolue.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzArchive<CCalculEvolue>(data, size);
    return 0;
}
