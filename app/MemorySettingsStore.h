#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>

#include "app/SettingsStore.h"

// A settings store held in memory, for tests and for runs that must not touch the user's files.
// Every value is kept as text, as in an INI file: an integer written is read back as text, and a
// text is read back as an integer only when the whole of it is one (optionally signed, surrounded
// by blanks).
class MemorySettingsStore : public SettingsStore {
public:
    std::optional<int> ReadInteger(const std::string& section, const std::string& key) const override;
    std::optional<std::string> ReadString(const std::string& section, const std::string& key) const override;

    void WriteInteger(const std::string& section, const std::string& key, int value) override;
    void WriteString(const std::string& section, const std::string& key, const std::string& value) override;

    bool Contains(const std::string& section, const std::string& key) const;
    void Remove(const std::string& section, const std::string& key);

private:
    std::map<std::pair<std::string, std::string>, std::string> m_values;
};
