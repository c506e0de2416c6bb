#pragma once

#include <string>
#include <vector>

// The stored form of the numbers of the discrete-value and interval recodes: each number followed
// by an at sign. Written and read with "." as the decimal point whatever the locale.
class AtSignList {
public:
    // Each value as printf's "%.<precision>g" would write it in the C locale, then "@".
    static std::string Write(const std::vector<double>& values, int precision);
    // Every item of the list in order; an item that is not a number reads as 0.
    static std::vector<double> Read(const std::string& text);

    static constexpr char kSeparator = '@';
};
