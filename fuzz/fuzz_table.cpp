// The archive of a result table: a flag and its request.
#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzSurvey.h"
#include "tabulation/Tableau.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzArchive<CTableau>(data, size);
    return 0;
}
