#pragma once

#include <QSettings>

#include "app/SettingsStore.h"

// The user's preferences in an INI file under the user's configuration folder
// ($XDG_CONFIG_HOME/Morvane/Morvane.ini), in place of the registry key of the program.
class QtSettingsStore final : public SettingsStore {
public:
    QtSettingsStore();
    // For tests: an INI file at an explicit path.
    explicit QtSettingsStore(const QString& iniPath);

    std::optional<int> ReadInteger(const std::string& section, const std::string& key) const override;
    std::optional<std::string> ReadString(const std::string& section, const std::string& key) const override;
    void WriteInteger(const std::string& section, const std::string& key, int value) override;
    void WriteString(const std::string& section, const std::string& key, const std::string& value) override;

private:
    static QString KeyOf(const std::string& section, const std::string& key);

    mutable QSettings settings_;
};
