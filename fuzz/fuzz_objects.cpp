// Objects read by their class record, as a portfolio reads them: any registered class, class and
// object references, nesting.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "fuzz/FuzzSurvey.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    fuzz::Survey();
    const int version = fuzz::VersionOf(data[0]);
    std::vector<std::unique_ptr<CObjet>> objects;
    try {
        CArchiveVersion in(std::vector<std::uint8_t>(data + 1, data + size), version);
        in.SerializeArray(objects);
    } catch (const ArchiveException&) {
        return 0;
    }
    CArchiveVersion out(version);
    out.SerializeArray(objects);
    std::vector<std::unique_ptr<CObjet>> again;
    try {
        CArchiveVersion in(out.GetBytes(), version);
        in.SerializeArray(again);
    } catch (const ArchiveException&) {
        std::abort();
    }
    CArchiveVersion second(version);
    second.SerializeArray(again);
    if (second.GetBytes() != out.GetBytes())
        std::abort();
    return 0;
}
