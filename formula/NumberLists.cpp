#include "formula/NumberLists.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <unordered_set>

namespace {

// Up to this many numbers a list is searched element by element.
constexpr std::size_t kShortList = 16;

} // namespace

NumberLists::Lookup::Lookup(std::span<const double> numbers) : m_numbers(numbers) {
    if (numbers.size() <= kShortList)
        return;
    m_sorted.reserve(numbers.size());
    for (double number : numbers)
        if (!std::isnan(number))
            m_sorted.push_back(number);
    std::stable_sort(m_sorted.begin(), m_sorted.end());
}

const double* NumberLists::Lookup::Find(double value) const {
    if (m_numbers.size() <= kShortList) {
        const auto found = std::find(m_numbers.begin(), m_numbers.end(), value);
        return found != m_numbers.end() ? &*found : nullptr;
    }
    if (std::isnan(value))
        return nullptr;
    const auto found = std::lower_bound(m_sorted.begin(), m_sorted.end(), value);
    return found != m_sorted.end() && *found == value ? &*found : nullptr;
}

bool NumberLists::Union(std::span<const double> left, std::span<const double> right,
                        std::vector<double>& out) {
    out.assign(left.begin(), left.end());
    if (left.size() + right.size() <= kShortList) {
        for (double number : right)
            if (std::find(out.begin(), out.end(), number) == out.end())
                out.push_back(number);
        return true;
    }
    std::unordered_set<double> seen(left.begin(), left.end());
    for (double number : right) {
        if (seen.insert(number).second) {
            if (out.size() >= kMaxElements)
                return false;
            out.push_back(number);
        }
    }
    return true;
}

void NumberLists::Difference(std::span<const double> left, std::span<const double> right,
                             std::vector<double>& out) {
    out.assign(left.begin(), left.end());
    if (left.size() <= kShortList || right.size() <= 1) {
        for (double number : right) {
            const auto found = std::find(out.begin(), out.end(), number);
            if (found != out.end())
                out.erase(found);
        }
        return;
    }
    // Where each number stands in the left list, in order, and how many of its places are taken.
    std::unordered_map<double, std::vector<std::size_t>> places;
    for (std::size_t i = 0; i < left.size(); ++i)
        if (!std::isnan(left[i]))
            places[left[i]].push_back(i);
    std::unordered_map<double, std::size_t> removed;
    std::vector<bool> gone(left.size(), false);
    for (double number : right) {
        const auto at = places.find(number);
        if (at == places.end())
            continue;
        std::size_t& taken = removed[at->first];
        if (taken < at->second.size())
            gone[at->second[taken++]] = true;
    }
    out.clear();
    for (std::size_t i = 0; i < left.size(); ++i)
        if (!gone[i])
            out.push_back(left[i]);
}

void NumberLists::Intersection(std::span<const double> left, const Lookup& right, std::vector<double>& out) {
    out.clear();
    for (double number : left)
        if (const double* found = right.Find(number))
            out.push_back(*found);
}

bool NumberLists::IsIncluded(std::span<const double> left, const Lookup& right) {
    return std::all_of(left.begin(), left.end(),
                       [&](double number) { return right.Find(number) != nullptr; });
}
