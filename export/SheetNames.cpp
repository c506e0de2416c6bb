#include "export/SheetNames.h"

#include <algorithm>

namespace {

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string Capitals(std::string name) {
    std::transform(name.begin(), name.end(), name.begin(),
                   [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; });
    return name;
}

} // namespace

std::string SheetNames::Increment(std::string digits) {
    for (auto i = digits.rbegin(); i != digits.rend(); ++i) {
        if (*i != '9') {
            ++*i;
            return digits;
        }
        *i = '0';
    }
    digits.insert(digits.begin(), '1');
    return digits;
}

bool SheetNames::Taken(const std::string& name) const { return m_taken.count(Capitals(name)) != 0; }

std::string SheetNames::Choose(const std::string& name) {
    std::string chosen;
    const auto firstLetter = std::find_if(name.begin(), name.end(), IsLetter);
    std::copy_if(firstLetter, name.end(), std::back_inserter(chosen), [](char c) { return IsLetter(c) || IsDigit(c); });
    if (chosen.empty())
        chosen.assign(1, 'S');
    if (chosen.size() > kMaxLength)
        chosen.resize(kMaxLength);

    if (Taken(chosen)) {
        const auto digitsStart = std::find_if_not(chosen.rbegin(), chosen.rend(), IsDigit).base();
        std::string kept(chosen.begin(), digitsStart);
        const std::string digits(digitsStart, chosen.end());
        std::string number = digits.empty() ? "2" : Increment(digits);
        for (;;) {
            // A number as long as a whole name leaves no room for the part before it: the numbers
            // start again from 2 (every name is a letter followed by at most 30 digits).
            if (number.size() >= kMaxLength)
                number = "2";
            while (kept.size() + number.size() > kMaxLength)
                kept.pop_back();
            if (kept.empty())
                kept.assign(1, 'Q');
            chosen = kept + number;
            if (!Taken(chosen))
                break;
            number = Increment(number);
        }
    }
    m_taken.insert(Capitals(chosen));
    return chosen;
}
