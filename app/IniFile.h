#pragma once

#include <filesystem>
#include <string>

// Reads one value of an INI file, the way the program's own small setting files ("Velto.ini")
// are written: "[Section]" lines, then "Key=Value" lines. Sections and keys are matched without
// regard to ASCII case, blanks around keys and values are dropped, a value written between
// double quotes loses them, lines starting with ';' or '#' are comments. The first matching key
// of the first matching section wins. Nothing here depends on the locale.
class IniFile {
public:
    // The value, or `defaultValue` when the file cannot be read or has no such key.
    static std::string ReadValue(const std::filesystem::path& file, const std::string& section,
                                 const std::string& key, const std::string& defaultValue);
};
