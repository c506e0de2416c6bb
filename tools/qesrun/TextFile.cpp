#include "tools/qesrun/TextFile.h"

#include <cerrno>
#include <fstream>
#include <system_error>

namespace qesrun {

namespace {

std::string TooLarge() {
    return "it is larger than " + std::to_string(TextFile::kLargestRequest) + " bytes, more than any request";
}

// The reason the file cannot hold a request, before a byte of it is read; empty when it can.
std::string RefusalBeforeReading(const std::filesystem::path& path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (error)
        return error.message();
    if (std::filesystem::is_directory(status))
        return "it is a folder";
    if (!std::filesystem::is_regular_file(status))
        return "it is not a regular file";
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error)
        return error.message();
    if (size > TextFile::kLargestRequest)
        return TooLarge();
    return {};
}

} // namespace

std::optional<std::string> TextFile::Read(const std::filesystem::path& path, std::string& reason) {
    reason = RefusalBeforeReading(path);
    if (!reason.empty())
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        reason = std::error_code(errno, std::generic_category()).message();
        return std::nullopt;
    }
    // The file may grow after it was measured: no more than the limit and one byte is read.
    std::string bytes;
    char chunk[1 << 16];
    while (bytes.size() <= kLargestRequest && in.read(chunk, sizeof chunk).gcount() > 0)
        bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
    if (in.bad()) {
        reason = "it cannot be read";
        return std::nullopt;
    }
    if (bytes.size() > kLargestRequest) {
        reason = TooLarge();
        return std::nullopt;
    }
    return bytes;
}

} // namespace qesrun
