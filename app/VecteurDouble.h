#pragma once

#include <cassert>
#include <cstddef>
#include <span>
#include <vector>

#include "app/LargeBlockAllocator.h"
#include "app/ObjetDonnees.h"

// One double per interview (or per record of a level): values of a numeric or date question,
// weights, scores. Missing values are ordinary doubles: -888888.88 for "not asked" (what Ajouter
// appends) and -999999.99 for "no answer", compared exactly.
//
// The vector has a count (the meaningful elements) and a capacity (the room allocated); appending
// doubles the capacity so that reading one interview at a time stays linear.
class CVecteurDouble : public CObjetDonnees {
public:
    static constexpr double kNotAsked = -888888.88;
    static constexpr double kNoAnswer = -999999.99;
    static constexpr int kFirstCapacity = 64;

    // n elements, count = capacity = n; the caller sets their values before reading them.
    explicit CVecteurDouble(int n = 0);
    // count = capacity = the source's count.
    CVecteurDouble(const CVecteurDouble& source);
    CVecteurDouble& operator=(const CVecteurDouble& source);

    int GetSize() const { return m_nombre; }
    int GetCapacity() const { return static_cast<int>(m_valeurs.size()); }

    // No bounds check beyond a debug assertion: callers stay below the count. Inline: the counting
    // loops read one weight per unit, and a call there would send their running sums through memory.
    double GetAt(int i) const {
        assert(i >= 0 && i < m_nombre);
        return m_valeurs[static_cast<std::size_t>(i)];
    }
    void SetAt(int i, double valeur);
    // The meaningful elements at once, for the counting loops that read every one: the data
    // pointer and the count then stay in registers instead of being read again at every unit.
    std::span<const double> Valeurs() const { return {m_valeurs.data(), static_cast<std::size_t>(m_nombre)}; }
    // The same for the loops that write every element, as the weights are computed in place.
    std::span<double> ValeursModifiables() { return {m_valeurs.data(), static_cast<std::size_t>(m_nombre)}; }

    void Remplir(double valeur);
    // Appends one "not asked" element and answers its index.
    int Ajouter();
    // Keeps the first min(count, n) values; count = capacity = n when n differs from the count.
    void SetSize(int n);
    // Nothing to give back: the count and the values stay as they are.
    void Compacter();
    // Element i += the other's element i, over the elements both vectors hold.
    void Additionner(const CVecteurDouble& autre);

private:
    int m_nombre = 0;
    std::vector<double, LargeBlockAllocator<double>> m_valeurs; // its size is the capacity
};
