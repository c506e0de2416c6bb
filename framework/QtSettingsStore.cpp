#include "framework/QtSettingsStore.h"

QtSettingsStore::QtSettingsStore()
    : settings_(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Morvane"), QStringLiteral("Morvane")) {}

QtSettingsStore::QtSettingsStore(const QString& iniPath) : settings_(iniPath, QSettings::IniFormat) {}

QString QtSettingsStore::KeyOf(const std::string& section, const std::string& key) {
    return QString::fromStdString(section) + QLatin1Char('/') + QString::fromStdString(key);
}

std::optional<int> QtSettingsStore::ReadInteger(const std::string& section, const std::string& key) const {
    const QVariant value = settings_.value(KeyOf(section, key));
    if (!value.isValid())
        return std::nullopt;
    bool ok = false;
    const int number = value.toString().trimmed().toInt(&ok);
    if (!ok)
        return std::nullopt;
    return number;
}

std::optional<std::string> QtSettingsStore::ReadString(const std::string& section, const std::string& key) const {
    const QVariant value = settings_.value(KeyOf(section, key));
    if (!value.isValid())
        return std::nullopt;
    return value.toString().toStdString();
}

void QtSettingsStore::WriteInteger(const std::string& section, const std::string& key, int value) {
    settings_.setValue(KeyOf(section, key), value);
}

void QtSettingsStore::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    settings_.setValue(KeyOf(section, key), QString::fromStdString(value));
}
