#pragma once

#include <cstdint>

class CQuestionEtendue;

// One token of a "Par script" variable: what it is (kind), its operator, function or constant
// code or its number (value), and where it lies in the script, in characters from 0. A reference
// to a question keeps the question it names; the question belongs to the survey, which outlives
// the tokens.
class CElementCompile {
public:
    // Token kinds. The numbers are those the checker and the evaluator dispatch on.
    enum Kind : std::uint16_t {
        kAucun = 0,
        kParentheseOuvrante = 1,
        kParentheseFermante = 2,
        kNombre = 6,     // a number or a constant; value: the number
        kComparateur = 9, // value: kEgal .. kSuperieurEgal
        kArithmetique = 10, // value: kPlus .. kDivise
        kLogique = 11,   // value: kEt, kOu
        kFonction = 15,  // value: the function's code
        kSi = 16,
        kAlors = 17,
        kSinon = 18,
        kSinonSi = 19,
        kFinSi = 20,
        kQuestionNumerique = 21,
        kQuestionFermee = 22,         // a closed question with one answer
        kQuestionFermeeMultiple = 23, // a closed question with several answers
    };

    // Comparators.
    static constexpr int kEgal = 1;
    static constexpr int kDifferent = 2;
    static constexpr int kInferieurEgal = 3;
    static constexpr int kInferieur = 4;
    static constexpr int kSuperieur = 5;
    static constexpr int kSuperieurEgal = 6;
    // Arithmetic operators.
    static constexpr int kPlus = 7;
    static constexpr int kMoins = 8;
    static constexpr int kFois = 9;
    static constexpr int kDivise = 10;
    // Logical operators.
    static constexpr int kEt = 1;
    static constexpr int kOu = 2;

    CElementCompile() = default;
    CElementCompile(std::uint16_t tokenKind, double tokenValue, std::int32_t tokenPosition, std::int32_t tokenLength)
        : kind(tokenKind), value(tokenValue), position(tokenPosition), length(tokenLength) {}

    bool EstReference() const {
        return kind == kQuestionNumerique || kind == kQuestionFermee || kind == kQuestionFermeeMultiple;
    }
    // The operator, comparator, logical operator or function code.
    int Code() const { return static_cast<int>(value); }

    std::uint16_t kind = kAucun;
    double value = 0.0;
    std::int32_t position = 0; // the first character, from 0
    std::int32_t length = 0;   // in characters
    CQuestionEtendue* question = nullptr; // the question a reference names; not owned
};
