#pragma once

#include "formula/FormulaError.h"
#include "formula/ValeurFormule.h"

#include <cstdint>
#include <locale>
#include <span>
#include <vector>

// The built-in functions of the formula language: one row each, with its number, its French and
// English keywords, the arguments the compiler requires, its result type and what computes it
// for one interview. docs/formula-language.md lists them for the user.
struct FormulaFunction {
    // How the arguments are written.
    enum class Shape {
        One,             // one argument: F x, F(x)
        StringAndNumber, // F(text, n)
        NumberAndNumber, // F(x, n)
        Selection,       // F(n, value, value ...), the values of one type and dimension
    };
    // What the compiler requires of a one-argument function's argument.
    enum class Argument { Any, ScalarNumber, ScalarString, ScalarDate, NumberTyped };
    // The result type of ON: that of its values.
    static constexpr std::int32_t kTypeDesValeurs = -1;

    // The arguments of one call, in written order, as the compiled list holds them.
    class Arguments {
    public:
        Arguments(const CValeurFormule& node, const std::vector<CValeurFormule>& compiled)
            : m_operands(node.operands), m_compiled(compiled) {}
        std::size_t size() const { return m_operands.size(); }
        const CValeurFormule& operator[](std::size_t i) const {
            return m_compiled[static_cast<std::size_t>(m_operands[i])];
        }

    private:
        const std::vector<std::int32_t>& m_operands;
        const std::vector<CValeurFormule>& m_compiled;
    };

    using Evaluate = void (*)(CValeurFormule& node, const Arguments& arguments, const std::locale& locale);

    // Whether the function of that number reads or writes dates in the user's locale.
    static bool UsesLocale(std::int32_t number);

    std::int32_t number;
    const char* french; // the same word as the English one when there is one form only
    const char* english;
    Shape shape;
    Argument argument; // of a one-argument function
    std::int32_t resultType;
    bool usesLocale; // reads or writes dates in the user's locale
    Evaluate evaluate;
};

// Every function, by number.
std::span<const FormulaFunction> FonctionsFormule();
// The function of that number, or null.
const FormulaFunction* TrouverFonction(std::int32_t number);

// Applies the pending function (a token of kind function, or null) to the top of the type stack
// (indexes into the compiled list): its arguments are checked, the function node is appended to
// the compiled list and pushed with its result type. True when nothing was pending or the
// arguments fit; the pending function is cleared either way.
bool AppliquerFonction(const CValeurFormule*& pending, std::vector<CValeurFormule>& compiled,
                       std::vector<std::int32_t>& stack, FormulaError& error);

// Sets the function node's value for the current interview from its arguments' values.
void EvaluerFonctionFormule(CValeurFormule& node, const std::vector<CValeurFormule>& compiled,
                            const std::locale& locale);
