// The archive of the merge options.
#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzSurvey.h"
#include "tabulation/TypeFusion.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzArchive<CTypeFusion>(data, size);
    return 0;
}
