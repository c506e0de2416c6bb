#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace qesrun {

// A request file read whole, or the reason it cannot be: it does not exist, it is a folder (which
// opens as a file on some systems and fails only at the first read), it is no regular file (a
// device or a pipe may never end), it is larger than any request can be, or it cannot be opened
// or read. The bytes come back as they are: a request text or a stored request.
class TextFile {
public:
    // docs/request-format.md gives this limit: the largest requests, profiles of every question of
    // a large questionnaire, take a few hundred kilobytes.
    static constexpr std::uintmax_t kLargestRequest = 4 * 1024 * 1024;

    static std::optional<std::string> Read(const std::filesystem::path& path, std::string& reason);
};

} // namespace qesrun
