#include "app/IniFile.h"

#include <algorithm>
#include <fstream>
#include <string_view>

namespace {

std::string_view Trim(std::string_view text) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

std::string_view Unquoted(std::string_view value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        return value.substr(1, value.size() - 2);
    return value;
}

// The name of a "[Section]" line, or nothing when the line is not one.
bool SectionName(std::string_view line, std::string_view& name) {
    if (line.size() < 2 || line.front() != '[')
        return false;
    const auto close = line.find(']');
    if (close == std::string_view::npos)
        return false;
    name = Trim(line.substr(1, close - 1));
    return true;
}

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

} // namespace

std::string IniFile::ReadValue(const std::filesystem::path& file, const std::string& section,
                               const std::string& key, const std::string& defaultValue) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return defaultValue;
    std::string raw;
    bool inSection = false;
    bool firstLine = true;
    while (std::getline(in, raw)) {
        std::string_view line = raw;
        if (firstLine && line.substr(0, kUtf8Bom.size()) == kUtf8Bom)
            line.remove_prefix(kUtf8Bom.size());
        firstLine = false;
        line = Trim(line);
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        std::string_view name;
        if (SectionName(line, name)) {
            inSection = SameIgnoringCase(name, section);
            continue;
        }
        const auto equals = line.find('=');
        if (!inSection || equals == std::string_view::npos)
            continue;
        if (SameIgnoringCase(Trim(line.substr(0, equals)), key))
            return std::string(Unquoted(Trim(line.substr(equals + 1))));
    }
    return defaultValue;
}
