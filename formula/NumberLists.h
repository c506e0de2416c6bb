#pragma once

#include <cstddef>
#include <span>
#include <vector>

// The set operations of the formula language on lists of numbers, in the order and with the
// repetitions the language gives them. Numbers compare with exact equality (0 and -0 are equal; a
// NaN equals nothing). Short lists are searched in place; longer ones through a sorted copy or a
// hash, so that no operation costs more than about n log n.
class NumberLists {
public:
    // Lists above this size are no value of the language: an operation whose result would be
    // longer gives false.
    static constexpr std::size_t kMaxElements = 1'000'000;

    // The numbers of a list, ready for many membership tests.
    class Lookup {
    public:
        explicit Lookup(std::span<const double> numbers);
        // The first number of the list (in its order) equal to the value, or null.
        const double* Find(double value) const;
        std::size_t Size() const { return m_numbers.size(); }

    private:
        std::span<const double> m_numbers;
        std::vector<double> m_sorted; // for a long list: its numbers, NaN left out, stably sorted
    };

    // The left numbers in order, repetitions kept, then each right number that does not occur
    // in what is built so far.
    static bool Union(std::span<const double> left, std::span<const double> right, std::vector<double>& out);
    // The left numbers less, for each right number in order, the first equal one still there.
    static void Difference(std::span<const double> left, std::span<const double> right,
                           std::vector<double>& out);
    // Each left number (repetitions kept) that occurs on the right, written as the right has it.
    static void Intersection(std::span<const double> left, const Lookup& right, std::vector<double>& out);
    // Every left number occurs on the right (an empty left is included in everything).
    static bool IsIncluded(std::span<const double> left, const Lookup& right);
};
