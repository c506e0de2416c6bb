#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A list of named text properties and its text form (sub-total captions keep their captions
// in several languages this way, named by the decimal language ids).
//
// Text form: every property is written "name=value;", in the order the properties were set.
// In names and values six characters are escaped, each by a backslash and a letter, so the
// text holds no "|", no line break and no "=" or ";" but its own separators, and fits in the
// other stored texts that are cut at those characters:
//     \\  backslash    \e  "="    \s  ";"    \p  "|"    \n  line feed    \r  carriage return
// Any text round-trips. Reading is lenient: the last ";" may be missing; an item without "="
// is a name with an empty value; the first unescaped "=" of an item ends its name, later ones
// belong to the value; empty items are skipped; a backslash before any other character keeps
// that character, and a lone backslash at the end is kept.
class CPropertyList {
public:
    // Replaces the properties with those read from a text form.
    void SetString(std::string_view text);
    // The text form of the properties.
    std::string GetString() const;
    // Gives the named property the value (the first one of that name, when the text held
    // several), or appends it.
    void SetProperty(const std::string& name, const std::string& value);
    // Replaces both arrays with the names and values, in order.
    void GetNamesAndValues(std::vector<std::string>& names, std::vector<std::string>& values) const;

    int GetCount() const { return static_cast<int>(m_properties.size()); }

private:
    std::vector<std::pair<std::string, std::string>> m_properties;
};
