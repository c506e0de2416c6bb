#include "export/XlsxPackageCheck.h"

#include <cstdint>
#include <fstream>
#include <limits>
#include <optional>
#include <sstream>
#include <string_view>
#include <zlib.h>

namespace {

constexpr std::uint32_t kEndOfDirectory = 0x06054b50;
constexpr std::uint32_t kDirectoryEntry = 0x02014b50;
constexpr std::uint32_t kLocalHeader = 0x04034b50;
constexpr std::size_t kEndOfDirectorySize = 22;
constexpr std::size_t kDirectoryEntrySize = 46;
constexpr std::size_t kLocalHeaderSize = 30;
constexpr std::size_t kLongestComment = 0xFFFF;
constexpr int kStored = 0;
constexpr int kDeflated = 8;

// Little-endian numbers of the container, nullopt past its end.
class Bytes {
public:
    explicit Bytes(std::string_view bytes) : m_bytes(bytes) {}

    std::optional<std::uint32_t> Read(std::size_t at, std::size_t width) const {
        if (at > m_bytes.size() || width > m_bytes.size() - at)
            return std::nullopt;
        std::uint32_t value = 0;
        for (std::size_t i = width; i-- > 0;)
            value = (value << 8) | static_cast<unsigned char>(m_bytes[at + i]);
        return value;
    }
    std::optional<std::string_view> Slice(std::size_t at, std::size_t size) const {
        if (at > m_bytes.size() || size > m_bytes.size() - at)
            return std::nullopt;
        return m_bytes.substr(at, size);
    }
    std::size_t Size() const { return m_bytes.size(); }

private:
    std::string_view m_bytes;
};

std::optional<std::size_t> EndOfDirectory(const Bytes& bytes) {
    if (bytes.Size() < kEndOfDirectorySize)
        return std::nullopt;
    const std::size_t last = bytes.Size() - kEndOfDirectorySize;
    const std::size_t first = last > kLongestComment ? last - kLongestComment : 0;
    for (std::size_t at = last + 1; at-- > first;)
        if (bytes.Read(at, 4) == kEndOfDirectory)
            return at;
    return std::nullopt;
}

// Deflate packs at most about 1032 bytes into one: a larger size is a damaged record, not a
// reason to reserve gigabytes.
constexpr std::size_t kLargestRatio = 1032;

std::optional<std::string> Inflated(std::string_view compressed, std::size_t size) {
    if (compressed.size() > std::numeric_limits<uInt>::max() || size > std::numeric_limits<uInt>::max() ||
        size > compressed.size() * kLargestRatio + kLargestRatio)
        return std::nullopt;
    std::string out(size, '\0');
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
        return std::nullopt;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
    stream.avail_in = static_cast<uInt>(compressed.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = inflate(&stream, Z_FINISH);
    const bool whole = result == Z_STREAM_END && stream.total_out == size;
    inflateEnd(&stream);
    if (!whole)
        return std::nullopt;
    return out;
}

bool IsXmlPart(std::string_view name) { return name.ends_with(".xml") || name.ends_with(".rels"); }

bool IsNameCharacter(char c) { return c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '/' && c != '>'; }

// "<?xml ...?>", then an element that is closed at the very end: "</name>" or an empty "<name/>".
bool XmlComplete(std::string_view text) {
    const std::size_t last = text.find_last_not_of(" \t\r\n");
    if (!text.starts_with("<?xml") || last == std::string_view::npos)
        return false;
    text = text.substr(0, last + 1);
    std::size_t open = text.find("?>");
    while (open != std::string_view::npos) {
        open = text.find('<', open);
        if (open == std::string_view::npos || open + 1 >= text.size())
            return false;
        if (text[open + 1] != '?' && text[open + 1] != '!')
            break;
        open = text.find('>', open);
    }
    if (open == std::string_view::npos)
        return false;
    std::size_t end = open + 1;
    while (end < text.size() && IsNameCharacter(text[end]))
        ++end;
    const std::string_view root = text.substr(open + 1, end - open - 1);
    const std::size_t tagEnd = text.find('>', end);
    if (root.empty() || tagEnd == std::string_view::npos)
        return false;
    if (text[tagEnd - 1] == '/')
        return tagEnd == text.size() - 1;
    const std::string closing = "</" + std::string(root) + ">";
    return text.size() >= tagEnd + 1 + closing.size() && text.ends_with(closing);
}

// The part's bytes as stored, nullopt when they cannot be read whole.
std::optional<std::string> PartContent(const Bytes& bytes, std::size_t entry, std::string_view& name) {
    const auto method = bytes.Read(entry + 10, 2);
    const auto compressedSize = bytes.Read(entry + 20, 4);
    const auto size = bytes.Read(entry + 24, 4);
    const auto nameLength = bytes.Read(entry + 28, 2);
    const auto local = bytes.Read(entry + 42, 4);
    if (!method || !compressedSize || !size || !nameLength || !local)
        return std::nullopt;
    const auto entryName = bytes.Slice(entry + kDirectoryEntrySize, *nameLength);
    if (!entryName)
        return std::nullopt;
    name = *entryName;
    const auto localNameLength = bytes.Read(*local + 26, 2);
    const auto localExtraLength = bytes.Read(*local + 28, 2);
    if (bytes.Read(*local, 4) != kLocalHeader || !localNameLength || !localExtraLength)
        return std::nullopt;
    const auto data = bytes.Slice(*local + kLocalHeaderSize + *localNameLength + *localExtraLength, *compressedSize);
    if (!data)
        return std::nullopt;
    if (*method == kStored)
        return *compressedSize == *size ? std::optional<std::string>(std::string(*data)) : std::nullopt;
    if (*method == kDeflated)
        return Inflated(*data, *size);
    return std::nullopt;
}

} // namespace

bool XlsxPackageCheck::Complete(const std::string& path, std::string& part) {
    part.clear();
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    if (!in || !(bytes << in.rdbuf()))
        return false;
    return CompleteBytes(bytes.str(), part);
}

bool XlsxPackageCheck::CompleteBytes(const std::string& container, std::string& part) {
    part.clear();
    const Bytes bytes(container);
    const std::optional<std::size_t> end = EndOfDirectory(bytes);
    if (!end)
        return false;
    const auto entries = bytes.Read(*end + 10, 2);
    const auto directory = bytes.Read(*end + 16, 4);
    if (!entries || !directory || *entries == 0)
        return false;
    std::size_t entry = *directory;
    for (std::uint32_t i = 0; i < *entries; ++i) {
        const auto nameLength = bytes.Read(entry + 28, 2);
        const auto extraLength = bytes.Read(entry + 30, 2);
        const auto commentLength = bytes.Read(entry + 32, 2);
        if (bytes.Read(entry, 4) != kDirectoryEntry || !nameLength || !extraLength || !commentLength)
            return false;
        std::string_view name;
        const std::optional<std::string> content = PartContent(bytes, entry, name);
        const bool complete = content && (IsXmlPart(name) ? XmlComplete(*content) : !content->empty());
        if (!complete) {
            part = std::string(name);
            return false;
        }
        entry += kDirectoryEntrySize + *nameLength + *extraLength + *commentLength;
    }
    return true;
}
