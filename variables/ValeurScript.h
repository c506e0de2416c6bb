#pragma once

#include <cstdint>
#include <span>
#include <vector>

// A value while a script is evaluated for one interview: a number, a list of numbers (the
// answers of a closed question with several answers, and what "+" and "-" make of it), or the
// error value, which is stored as a non-response.
//
// A new value is the error value of number 0. An operation whose operand is in error gives an
// error that keeps the number it started from: the condition of a SI looks at the number only,
// so that is what it sees. Every operation sees a value as a sequence of numbers: a list its
// elements in order, a single value its number alone.
class CValeurScript {
public:
    static constexpr std::int32_t kNombre = 0;
    static constexpr std::int32_t kErreur = 4;
    static constexpr std::int16_t kUnique = 0;
    static constexpr std::int16_t kListe = 1;

    // Non-response and not asked, as the numeric answers hold them.
    static constexpr double kNonReponse = -999999.99;
    static constexpr double kNonInterroge = -888888.88;
    // AUTRE: the "other" answer.
    static constexpr double kAutre = -3.0;

    CValeurScript() = default;
    static CValeurScript Nombre(double number);
    static CValeurScript Erreur(double number = 0.0);
    static CValeurScript Liste(std::vector<double> elements);

    bool EstErreur() const { return kind == kErreur; }
    bool EstListe() const { return dimension == kListe; }
    // A single number equal to the non-response or the not-asked value.
    bool EstManquant() const;

    int DonnerNombreElements() const { return static_cast<int>(elements.size()); }
    // The sequence of numbers the operations work on.
    std::span<const double> Sequence() const;

    std::int32_t kind = kErreur;
    std::int16_t dimension = kUnique;
    double number = 0.0;
    std::vector<double> elements; // the members of a list, in order
};
