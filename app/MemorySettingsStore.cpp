#include "app/MemorySettingsStore.h"

#include <charconv>
#include <string_view>

namespace {

std::string_view TrimBlanks(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::optional<int> ParseWholeInteger(std::string_view text)
{
    text = TrimBlanks(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<int> MemorySettingsStore::ReadInteger(const std::string& section, const std::string& key) const
{
    const auto text = ReadString(section, key);
    if (!text)
        return std::nullopt;
    return ParseWholeInteger(*text);
}

std::optional<std::string> MemorySettingsStore::ReadString(const std::string& section, const std::string& key) const
{
    const auto found = m_values.find({section, key});
    if (found == m_values.end())
        return std::nullopt;
    return found->second;
}

void MemorySettingsStore::WriteInteger(const std::string& section, const std::string& key, int value)
{
    m_values[{section, key}] = std::to_string(value);
}

void MemorySettingsStore::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    m_values[{section, key}] = value;
}

bool MemorySettingsStore::Contains(const std::string& section, const std::string& key) const
{
    return m_values.count({section, key}) != 0;
}

void MemorySettingsStore::Remove(const std::string& section, const std::string& key)
{
    m_values.erase({section, key});
}
