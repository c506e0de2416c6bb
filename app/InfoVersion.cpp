#include "app/InfoVersion.h"

#include "app/BuildInfo.h"

#include <array>
#include <charconv>
#include <filesystem>
#include <system_error>

namespace {

constexpr const char* kProductName = "Morvane";
constexpr const char* kCompanyName = "Morvane";
constexpr const char* kFileDescription = "Analyse d'enquêtes";
constexpr const char* kLegalNotice = "Tous droits réservés.";
constexpr int kDaysInMonth[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// The whole text as a number of at most `digits` digits (any count when 0).
bool ReadNumber(std::string_view text, int& out, std::size_t digits = 0) {
    if (text.empty() || (digits != 0 && text.size() != digits))
        return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
    return error == std::errc() && end == text.data() + text.size() && out >= 0;
}

// "a.b.c" or "a.b.c.d".
bool ReadVersion(std::string_view text, std::array<int, 4>& numbers) {
    numbers = {};
    std::size_t count = 0;
    while (count < numbers.size()) {
        const std::size_t dot = text.find('.');
        if (!ReadNumber(text.substr(0, dot), numbers[count++]))
            return false;
        if (dot == std::string_view::npos)
            return count >= 3;
        text.remove_prefix(dot + 1);
    }
    return false;
}

bool ReadDate(std::string_view text, CInfoVersion::Date& date) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return false;
    CInfoVersion::Date read;
    if (!ReadNumber(text.substr(0, 4), read.year, 4) || !ReadNumber(text.substr(5, 2), read.month, 2) ||
        !ReadNumber(text.substr(8, 2), read.day, 2))
        return false;
    if (read.month < 1 || read.month > 12 || read.day < 1 || read.day > kDaysInMonth[read.month - 1])
        return false;
    date = read;
    return true;
}

std::string OwnPath() {
    std::error_code error;
    const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

} // namespace

bool CInfoVersion::Charger() {
    return Charger(BuildInfo::kVersion, BuildInfo::kDate);
}

bool CInfoVersion::Charger(const std::string& version, const std::string& date) {
    *this = CInfoVersion();
    modulePath = OwnPath();
    std::array<int, 4> numbers{};
    if (!ReadVersion(version, numbers))
        return false;
    companyName = kCompanyName;
    legalNotice = kLegalNotice;
    productName = kProductName;
    internalName = kProductName;
    fileDescription = kFileDescription;
    productVersion = version;
    fileVersion = version;
    majorVersion = std::to_string(numbers[0]);
    minorVersion = std::to_string(numbers[1]);
    fullVersion = std::to_string(numbers[0]) + "." + std::to_string(numbers[1]) + "." + std::to_string(numbers[2]) +
                  "." + std::to_string(numbers[3]);
    return ReadDate(date, fileDate);
}
