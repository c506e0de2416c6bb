// The check of a written workbook: any bytes are a complete container or not, read within them;
// an incomplete one names a part it holds, or none.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "export/XlsxPackageCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::string part = "unset";
    const bool complete = XlsxPackageCheck::CompleteBytes(bytes, part);
    if (part == "unset" || (complete && !part.empty()) || part.size() > size)
        std::abort();
    return 0;
}
