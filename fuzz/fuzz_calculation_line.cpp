// The archive of a calculation line.
#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzSurvey.h"
#include "app/Calcul.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzArchive<CCalcul>(data, size);
    return 0;
}
