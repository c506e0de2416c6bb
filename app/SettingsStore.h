#pragma once

#include <optional>
#include <string>

// Where the user's preferences live between runs: named sections of keys, each holding an
// integer or a text. The core reads and writes through this interface only; the shell backs it
// with an INI file, the tests with memory. A read answers no value when the key is missing or
// when what is stored cannot be read as the asked type, so that every caller can fall back on
// its default.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    virtual std::optional<int> ReadInteger(const std::string& section, const std::string& key) const = 0;
    virtual std::optional<std::string> ReadString(const std::string& section, const std::string& key) const = 0;

    virtual void WriteInteger(const std::string& section, const std::string& key, int value) = 0;
    virtual void WriteString(const std::string& section, const std::string& key, const std::string& value) = 0;

protected:
    SettingsStore() = default;
    SettingsStore(const SettingsStore&) = default;
    SettingsStore& operator=(const SettingsStore&) = default;
};
