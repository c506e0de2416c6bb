#include "tools/qesrun/TextFile.h"

#include <cerrno>
#include <fstream>
#include <iterator>
#include <system_error>

namespace qesrun {

std::optional<std::string> TextFile::Read(const std::filesystem::path& path, std::string& reason) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (error) {
        reason = error.message();
        return std::nullopt;
    }
    if (std::filesystem::is_directory(status)) {
        reason = "it is a folder";
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        reason = std::error_code(errno, std::generic_category()).message();
        return std::nullopt;
    }
    try {
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    } catch (const std::ios_base::failure& failure) {
        reason = failure.code().message();
        return std::nullopt;
    }
}

} // namespace qesrun
