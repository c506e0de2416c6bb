#pragma once

#include <set>
#include <string>

// The names of a workbook's sheets when each table has a sheet of its own: made from the table's
// name, at most 31 characters, and unique without regard to case.
//
// A name keeps the ASCII letters and digits of the table's name from its first letter on (the
// rest, accented letters and blanks included, is dropped); an empty result is "S". While the
// name is taken, the digits that end it are raised by one as a decimal string (any number of
// digits, "2" when there are none) and put after the part before them; when that passes 31
// characters the part before loses its last character (an emptied part becomes "Q"). So
// "Ventes 2024" and "ventes-2024" give "Ventes2024" and "ventes2025".
class SheetNames {
public:
    static constexpr std::size_t kMaxLength = 31;

    // A free name for `name`, recorded as taken.
    std::string Choose(const std::string& name);

    // The decimal digits one more ("2024" gives "2025", "099" gives "100", "9" gives "10").
    static std::string Increment(std::string digits);

private:
    bool Taken(const std::string& name) const;

    std::set<std::string> m_taken; // in capitals
};
