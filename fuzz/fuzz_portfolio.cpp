// The portfolio's two streams: a ".dos" file (first byte even) and the clipboard stream (first
// byte odd), the rest being the stream. A stream that is accepted must store, load again and store
// the same bytes.
#include "app/Message.h"
#include "fuzz/FuzzSurvey.h"
#include "portfolio/ElementDossier.h"
#include "portfolio/EnregistrerClassesDossier.h"
#include "portfolio/PortfolioArchive.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Elements = std::vector<std::unique_ptr<CElementDossier>>;

std::vector<const CElementDossier*> Pointers(const Elements& elements) {
    std::vector<const CElementDossier*> pointers;
    for (const auto& element : elements)
        pointers.push_back(element.get());
    return pointers;
}

const std::string& FilePath() {
    static const std::string path =
        (std::filesystem::temp_directory_path() / ("fuzz_portfolio_" + std::to_string(getpid()) + ".dos"))
            .string();
    return path;
}

bool ReadFile(const Bytes& bytes, Elements& elements) {
    std::ofstream(FilePath(), std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    int version = 0;
    Message error;
    const bool read = PortfolioArchive::Charger(FilePath(), elements, version, error);
    // A refusal always says why and reads nothing.
    if (!read && (error.id == 0 || !elements.empty()))
        std::abort();
    return read;
}

void CheckStable(const Elements& elements) {
    const Bytes first = PortfolioArchive::EcrirePressePapiers(Pointers(elements));
    Elements again;
    if (!PortfolioArchive::LirePressePapiers(first, again) ||
        PortfolioArchive::EcrirePressePapiers(Pointers(again)) != first)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    fuzz::Survey();
    EnregistrerClassesDossier();
    const Bytes stream(data + 1, data + size);
    Elements elements;
    const bool read =
        data[0] % 2 == 0 ? ReadFile(stream, elements) : PortfolioArchive::LirePressePapiers(stream, elements);
    if (read)
        CheckStable(elements);
    return 0;
}
