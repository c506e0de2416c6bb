#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace qesrun {

// A text file read whole, or the reason it cannot be: it does not exist, it is a folder (which
// opens as a file on some systems and fails only at the first read), it cannot be opened or read.
class TextFile {
public:
    static std::optional<std::string> Read(const std::filesystem::path& path, std::string& reason);
};

} // namespace qesrun
