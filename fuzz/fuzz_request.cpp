// The archive of a treatment request: every axis kind, profile form and style, names resolved against the fuzz survey.
#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzSurvey.h"
#include "tabulation/Traitement.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzArchive<CTraitement>(data, size);
    return 0;
}
