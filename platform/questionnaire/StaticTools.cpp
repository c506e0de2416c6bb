#include "platform/questionnaire/StaticTools.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Drops a leading "+", which std::from_chars does not take; refuses "+-5" and "++5".
bool DropPlusSign(std::string_view& text) {
    if (text.empty() || text.front() != '+')
        return true;
    text.remove_prefix(1);
    return !text.empty() && text.front() != '-' && text.front() != '+';
}

// Calls onItem for every item of the text, as described in the header.
template <class OnItem> void ForEachItem(std::string_view text, char separator, OnItem onItem) {
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find(separator, start);
        if (end == std::string_view::npos) {
            onItem(text.substr(start));
            return;
        }
        onItem(text.substr(start, end - start));
        start = end + 1;
    }
}

} // namespace

bool CStaticTools::EstLong(std::string_view text, std::int32_t& value) {
    text = Trim(text);
    if (!DropPlusSign(text) || text.empty())
        return false;
    std::int32_t parsed = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed, 10);
    if (error != std::errc() || end != text.data() + text.size())
        return false;
    value = parsed;
    return true;
}

bool CStaticTools::EstDouble(std::string_view text, double& value, bool emptyIsZero) {
    text = Trim(text);
    if (text.empty()) {
        if (emptyIsZero)
            value = 0.0;
        return emptyIsZero;
    }
    if (!DropPlusSign(text))
        return false;
    std::string number(text);
    const auto commas = std::count(number.begin(), number.end(), ',');
    const auto points = std::count(number.begin(), number.end(), '.');
    if (commas + points > 1)
        return false;
    std::replace(number.begin(), number.end(), ',', '.');
    // A digit or the decimal point must start the number: this refuses "inf" and "nan".
    const std::size_t first = number.front() == '-' ? 1 : 0;
    if (first >= number.size() || !(IsDigit(number[first]) || number[first] == '.'))
        return false;
    double parsed = 0.0;
    const char* last = number.data() + number.size();
    const auto [end, error] = std::from_chars(number.data(), last, parsed, std::chars_format::general);
    if (error != std::errc() || end != last || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

std::int32_t CStaticTools::ToLong(std::string_view text) {
    std::int32_t value = 0;
    return EstLong(text, value) ? value : 0;
}

double CStaticTools::ToDouble(std::string_view text, bool emptyIsZero) {
    double value = 0.0;
    return EstDouble(text, value, emptyIsZero) ? value : 0.0;
}

void CStaticTools::LireChaineSeparateurString(std::string_view text, char separator, std::vector<std::string>& items) {
    items.clear();
    ForEachItem(text, separator, [&items](std::string_view item) { items.emplace_back(item); });
}

void CStaticTools::LireChaineSeparateurLong(std::string_view text, char separator, std::vector<std::int32_t>& items) {
    items.clear();
    ForEachItem(text, separator, [&items](std::string_view item) { items.push_back(ToLong(item)); });
}

void CStaticTools::LireChaineSeparateurDouble(std::string_view text, char separator, std::vector<double>& items,
                                              bool emptyIsZero) {
    items.clear();
    ForEachItem(text, separator,
                [&items, emptyIsZero](std::string_view item) { items.push_back(ToDouble(item, emptyIsZero)); });
}

void CStaticTools::FindTokensLong(std::string_view text, char separator, std::vector<std::int32_t>& tokens) {
    LireChaineSeparateurLong(text, separator, tokens);
}

void CStaticTools::FindTokensDouble(std::string_view text, char separator, std::vector<double>& tokens) {
    LireChaineSeparateurDouble(text, separator, tokens);
}

std::string CStaticTools::FormatG(double value, int precision) {
    if (precision < 0)
        precision = 6; // printf takes a negative precision as none given
    // %g never writes more than the significant digits, a sign, a point and a 4-digit exponent.
    std::string text(static_cast<std::size_t>(precision) + 16, '\0');
    const auto [end, error] =
        std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::general, precision);
    if (error != std::errc())
        return {};
    text.resize(static_cast<std::size_t>(end - text.data()));
    return text;
}
