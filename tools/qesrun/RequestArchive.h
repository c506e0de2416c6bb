#pragma once

#include "tabulation/Traitement.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class CContexteEtude;

namespace qesrun {

// A request read from a file that holds one stored request (CTraitement's archive, at version
// 405), its names found again in the survey of the registered study context. A file that cannot
// be read, that holds anything after the request, or whose request names something the survey no
// longer has is refused with every reason: a request is never computed on another population
// than the one it names.
class RequestArchive {
public:
    static constexpr int kVersion = 405;

    struct Result {
        std::unique_ptr<CTraitement> request; // null when refused
        std::vector<std::string> errors;
    };

    static Result Load(const std::filesystem::path& path);
};

} // namespace qesrun
