#include "formula/FormulaFunction.h"

#include "formula/FormulaDate.h"
#include "formula/FormulaNumbers.h"
#include "formula/FormulaText.h"
#include "platform/datetime/SerialDate.h"
#include "platform/questionnaire/StaticTools.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string>

namespace {

using V = CValeurFormule;
using Args = FormulaFunction::Arguments;
using Shape = FormulaFunction::Shape;
using Argument = FormulaFunction::Argument;

using E = FormulaError;

// FORMAT writes at most this many decimals; a negative count asks for the default of printf.
constexpr int kMaxDecimales = 100;
constexpr int kDecimalesParDefaut = 6;

// ---- Run time ----------------------------------------------------------------------------------

// Calls f for every number the value holds (a list's elements, a scalar number).
template <class F> void ForEachNumber(const V& value, F f) {
    if (value.EstListe()) {
        for (double element : value.elements)
            f(element);
    } else if (value.EstScalaire(V::kTypeNombre)) {
        f(value.number);
    }
}

void Size(V& node, const Args& a, const std::locale&) {
    node.DefinirNombre(a[0].DonnerNombreElements());
}

void Not(V& node, const Args& a, const std::locale&) {
    if (a[0].EstScalaire(V::kTypeNombre))
        node.DefinirNombre(a[0].number == 0.0 ? 1.0 : 0.0);
    else
        node.DefinirErreur();
}

void IsDate(V& node, const Args& a, const std::locale& locale) {
    double serial = 0.0;
    if (a[0].EstScalaire(V::kTypeChaine))
        node.DefinirNombre(
            FormulaDate::Read(a[0].string, FormulaDate::Part::DateAndTime, locale, serial) ? 1.0 : 0.0);
    else
        node.DefinirErreur();
}

void Int(V& node, const Args& a, const std::locale&) {
    std::int64_t whole = 0;
    if (a[0].EstScalaire(V::kTypeNombre) && FormulaNumbers::Truncate32(a[0].number, whole))
        node.DefinirNombre(static_cast<double>(whole));
    else
        node.DefinirErreur();
}

// A part of a date argument, as a number.
template <int (*Part)(const SerialDate::Civil&)> void DatePart(V& node, const Args& a, const std::locale&) {
    SerialDate::Civil civil;
    if (a[0].EstScalaire(V::kTypeDate) && SerialDate::ToCivil(a[0].number, civil))
        node.DefinirNombre(Part(civil));
    else
        node.DefinirErreur();
}

int WeekdayOf(const SerialDate::Civil& c) {
    return static_cast<int>(SerialDate::Weekday(c)) + 1;
}
int YearOf(const SerialDate::Civil& c) {
    return static_cast<int>(c.date.year());
}
int MonthOf(const SerialDate::Civil& c) {
    return static_cast<int>(static_cast<unsigned>(c.date.month()));
}
int DayOf(const SerialDate::Civil& c) {
    return static_cast<int>(static_cast<unsigned>(c.date.day()));
}
int HourOf(const SerialDate::Civil& c) {
    return c.hour;
}
int MinuteOf(const SerialDate::Civil& c) {
    return c.minute;
}
int SecondOf(const SerialDate::Civil& c) {
    return c.second;
}

template <std::string (*Name)(double, const std::locale&)>
void DateName(V& node, const Args& a, const std::locale& locale) {
    if (a[0].EstScalaire(V::kTypeDate) && SerialDate::IsDate(a[0].number))
        node.DefinirChaine(Name(a[0].number, locale));
    else
        node.DefinirErreur();
}

void Sum(V& node, const Args& a, const std::locale&) {
    double sum = 0.0;
    ForEachNumber(a[0], [&](double x) {
        if (x != V::kNonReponse)
            sum += x;
    });
    FormulaNumbers::SetFinite(node, sum);
}

void Average(V& node, const Args& a, const std::locale&) {
    double sum = 0.0;
    int count = 0;
    ForEachNumber(a[0], [&](double x) {
        if (x != V::kNonReponse) {
            sum += x;
            ++count;
        }
    });
    FormulaNumbers::SetFinite(node, count == 0 ? 0.0 : sum / count);
}

void NoAnswerAsZero(V& node, const Args& a, const std::locale&) {
    if (a[0].EstScalaire(V::kTypeNombre))
        node.DefinirNombre(a[0].number == V::kNonReponse ? 0.0 : a[0].number);
    else
        node.DefinirErreur();
}

void IsEmail(V& node, const Args& a, const std::locale&) {
    if (!a[0].EstScalaire(V::kTypeChaine)) {
        node.DefinirErreur();
        return;
    }
    std::vector<std::string> parts;
    CStaticTools::LireChaineSeparateurString(a[0].string, '@', parts);
    node.DefinirNombre(parts.size() == 2 && parts[1].find('.') != std::string::npos ? 1.0 : 0.0);
}

void Length(V& node, const Args& a, const std::locale&) {
    if (a[0].EstScalaire(V::kTypeChaine))
        node.DefinirNombre(static_cast<double>(FormulaText::CharacterCount(a[0].string)));
    else
        node.DefinirErreur();
}

void GetParameter(V& node, const Args& a, const std::locale&) {
    const V& text = a[0];
    const V& which = a[1];
    if (!text.EstScalaire(V::kTypeChaine) || which.EstErreur()) {
        node.DefinirErreur();
        return;
    }
    std::int64_t index = 0;
    if (which.EstListe() || !FormulaNumbers::Truncate32(which.number, index)) {
        node.DefinirNombre(0.0);
        return;
    }
    std::vector<std::int32_t> values;
    CStaticTools::FindTokensLong(text.string, ',', values);
    const bool exists = index >= 1 && static_cast<std::size_t>(index) <= values.size();
    node.DefinirNombre(exists ? values[static_cast<std::size_t>(index - 1)] : 0.0);
}

void Value(V& node, const Args& a, const std::locale&) {
    node.DefinirNombre(CStaticTools::ToDouble(a[0].DonnerTexte()));
}

void Choose(V& node, const Args& a, const std::locale&) {
    const V& selector = a[0];
    if (!selector.EstScalaire(V::kTypeNombre) || a.size() < 2) {
        node.DefinirErreur();
        return;
    }
    const std::size_t count = a.size() - 1;
    const double wanted = std::trunc(selector.number);
    const std::size_t chosen =
        wanted >= 1.0 && wanted <= static_cast<double>(count) ? static_cast<std::size_t>(wanted) : count;
    node.CopierValeur(a[chosen]);
}

void Format(V& node, const Args& a, const std::locale&) {
    const V& value = a[0];
    const V& decimals = a[1];
    if (!value.EstScalaire(V::kTypeNombre) || decimals.EstErreur()) {
        node.DefinirErreur();
        return;
    }
    int count = 0;
    if (!decimals.EstListe()) {
        const double asked = std::trunc(decimals.number);
        count = asked >= kMaxDecimales ? kMaxDecimales
                : asked >= 0.0         ? static_cast<int>(asked)
                                       : kDecimalesParDefaut; // a negative count, or NaN
    }
    // The largest double has 309 digits before the point.
    std::string text(static_cast<std::size_t>(count) + 330, '\0');
    const auto written =
        std::to_chars(text.data(), text.data() + text.size(), value.number, std::chars_format::fixed, count);
    if (written.ec != std::errc()) {
        node.DefinirErreur();
        return;
    }
    text.resize(static_cast<std::size_t>(written.ptr - text.data()));
    node.DefinirChaine(std::move(text));
}

// ---- The table ---------------------------------------------------------------------------------

constexpr std::int32_t kNumber = V::kTypeNombre;
constexpr std::int32_t kString = V::kTypeChaine;

const std::array<FormulaFunction, 22> kFunctions = {{
    {0, "TAILLE", "SIZE", Shape::One, Argument::Any, kNumber, false, Size},
    {2, "NON", "NOT", Shape::One, Argument::ScalarNumber, kNumber, false, Not},
    {4, "ESTDATE", "ISDATE", Shape::One, Argument::ScalarString, kNumber, true, IsDate},
    {5, "ENTIER", "INT", Shape::One, Argument::ScalarNumber, kNumber, false, Int},
    {7, "WEEKDAY", "WEEKDAY", Shape::One, Argument::ScalarDate, kNumber, false, DatePart<WeekdayOf>},
    {8, "ANNEE", "YEAR", Shape::One, Argument::ScalarDate, kNumber, false, DatePart<YearOf>},
    {9, "MOIS", "MONTH", Shape::One, Argument::ScalarDate, kNumber, false, DatePart<MonthOf>},
    {10, "JOUR", "DAY", Shape::One, Argument::ScalarDate, kNumber, false, DatePart<DayOf>},
    {11, "HEURE", "HOUR", Shape::One, Argument::ScalarDate, kNumber, false, DatePart<HourOf>},
    {12, "MINUTE", "MINUTE", Shape::One, Argument::ScalarDate, kNumber, false, DatePart<MinuteOf>},
    {13, "SECONDE", "SECOND", Shape::One, Argument::ScalarDate, kNumber, false, DatePart<SecondOf>},
    {15, "WEEKDAYASSTRING", "WEEKDAYASSTRING", Shape::One, Argument::ScalarDate, kString, true,
     DateName<FormulaDate::WeekdayName>},
    {16, "MONTHASSTRING", "MONTHASSTRING", Shape::One, Argument::ScalarDate, kString, true,
     DateName<FormulaDate::MonthName>},
    {17, "SOMME", "SUM", Shape::One, Argument::NumberTyped, kNumber, false, Sum},
    {18, "MOY", "AVG", Shape::One, Argument::NumberTyped, kNumber, false, Average},
    {19, "CVNRNI", "CVDKNA", Shape::One, Argument::ScalarNumber, kNumber, false, NoAnswerAsZero},
    {20, "ESTEMAIL", "ISEMAIL", Shape::One, Argument::ScalarString, kNumber, false, IsEmail},
    {21, "LEN", "LEN", Shape::One, Argument::ScalarString, kNumber, false, Length},
    {24, "GETPARAMETER", "GETPARAMETER", Shape::StringAndNumber, Argument::Any, kNumber, false, GetParameter},
    {25, "VAL", "VAL", Shape::One, Argument::ScalarString, kNumber, false, Value},
    {26, "ON", "ON", Shape::Selection, Argument::Any, FormulaFunction::kTypeDesValeurs, false, Choose},
    {27, "FORMAT", "FORMAT", Shape::NumberAndNumber, Argument::Any, kString, false, Format},
}};

// ---- Compilation -------------------------------------------------------------------------------

bool Fail(FormulaError& error, std::int32_t code, const V& at) {
    error.code = code;
    error.position = at.position;
    error.length = at.length;
    return false;
}

// The compiler code an argument fails with, 0 when it fits.
std::int32_t Check(const V& value, Argument argument) {
    switch (argument) {
    case Argument::ScalarNumber:
        return value.EstScalaire(V::kTypeNombre) ? 0 : E::kNombreAttendu;
    case Argument::ScalarString:
        return value.EstScalaire(V::kTypeChaine) ? 0 : E::kChaineAttendue;
    case Argument::ScalarDate:
        return value.EstScalaire(V::kTypeDate) ? 0 : E::kDateAttendue;
    case Argument::NumberTyped:
        return FormulaNumbers::IsNumberTyped(value) ? 0 : E::kNombreAttendu;
    case Argument::Any:
        break;
    }
    return 0;
}

std::int32_t Pop(std::vector<std::int32_t>& stack) {
    const std::int32_t top = stack.back();
    stack.pop_back();
    return top;
}

bool IsSeparator(const V& value) {
    return value.kind == V::kSeparateur;
}

// GETPARAMETER(text, n) and FORMAT(x, n): the last argument has been popped.
bool ApplyPair(const FormulaFunction& function, V& node, std::int32_t last, std::vector<V>& compiled,
               std::vector<std::int32_t>& stack, FormulaError& error) {
    if (stack.size() < 2)
        return Fail(error, E::kSeparateurAttendu, node);
    if (!FormulaNumbers::IsNumberTyped(compiled[static_cast<std::size_t>(last)]))
        return Fail(error, E::kNombreAttendu, compiled[static_cast<std::size_t>(last)]);
    const V& separator = compiled[static_cast<std::size_t>(Pop(stack))];
    if (!IsSeparator(separator))
        return Fail(error, E::kSeparateurAttendu, separator);
    const std::int32_t first = Pop(stack);
    const V& firstValue = compiled[static_cast<std::size_t>(first)];
    if (function.shape == Shape::StringAndNumber && firstValue.valueType != V::kTypeChaine)
        return Fail(error, E::kChaineAttendue, firstValue);
    if (function.shape == Shape::NumberAndNumber && !FormulaNumbers::IsNumberTyped(firstValue))
        return Fail(error, E::kNombreAttendu, firstValue);
    node.operands = {first, last};
    node.valueType = function.resultType;
    node.dimension = V::kScalaire;
    return true;
}

// ON(n, value, value ...): the last value has been popped.
bool ApplySelection(V& node, std::int32_t last, std::vector<V>& compiled, std::vector<std::int32_t>& stack,
                    FormulaError& error) {
    const std::size_t entries = stack.size();
    if (entries < 2)
        return Fail(error, E::kSeparateurAttendu, node);
    const V& lastValue = compiled[static_cast<std::size_t>(last)];
    std::vector<std::int32_t> values{last};
    for (std::size_t k = 1; k < entries / 2; ++k) {
        if (stack.empty() || !IsSeparator(compiled[static_cast<std::size_t>(Pop(stack))]))
            return Fail(error, E::kSeparateurAttendu, node);
        if (stack.empty())
            return Fail(error, E::kSeparateurAttendu, node);
        const std::int32_t value = Pop(stack);
        const V& written = compiled[static_cast<std::size_t>(value)];
        if (written.valueType != lastValue.valueType || written.dimension != lastValue.dimension)
            return Fail(error, E::kValeursDifferentes, written);
        values.push_back(value);
    }
    if (stack.empty() || !IsSeparator(compiled[static_cast<std::size_t>(Pop(stack))]) || stack.empty())
        return Fail(error, E::kSeparateurAttendu, node);
    const std::int32_t selector = Pop(stack);
    if (!FormulaNumbers::IsNumberTyped(compiled[static_cast<std::size_t>(selector)]))
        return Fail(error, E::kNombreAttendu, compiled[static_cast<std::size_t>(selector)]);
    node.operands = {selector};
    node.operands.insert(node.operands.end(), values.rbegin(), values.rend());
    node.valueType = lastValue.valueType;
    node.dimension = lastValue.dimension;
    return true;
}

} // namespace

std::span<const FormulaFunction> FonctionsFormule() {
    return kFunctions;
}

bool FormulaFunction::UsesLocale(std::int32_t number) {
    const FormulaFunction* function = TrouverFonction(number);
    return function != nullptr && function->usesLocale;
}

const FormulaFunction* TrouverFonction(std::int32_t number) {
    const auto found = std::find_if(kFunctions.begin(), kFunctions.end(),
                                    [number](const FormulaFunction& f) { return f.number == number; });
    return found != kFunctions.end() ? &*found : nullptr;
}

bool AppliquerFonction(const CValeurFormule*& pending, std::vector<CValeurFormule>& compiled,
                       std::vector<std::int32_t>& stack, FormulaError& error) {
    if (pending == nullptr)
        return true;
    V node = *pending;
    pending = nullptr;
    const FormulaFunction* function = TrouverFonction(static_cast<std::int32_t>(node.code));
    if (stack.empty() || function == nullptr)
        return Fail(error, E::kTropPeuDOperandes, node);
    const std::int32_t last = Pop(stack);
    node.operands.clear();
    bool applied = true;
    switch (function->shape) {
    case Shape::One: {
        const std::int32_t code = Check(compiled[static_cast<std::size_t>(last)], function->argument);
        if (code != 0)
            return Fail(error, code, compiled[static_cast<std::size_t>(last)]);
        node.operands = {last};
        node.valueType = function->resultType;
        node.dimension = V::kScalaire;
        break;
    }
    case Shape::StringAndNumber:
    case Shape::NumberAndNumber:
        applied = ApplyPair(*function, node, last, compiled, stack, error);
        break;
    case Shape::Selection:
        applied = ApplySelection(node, last, compiled, stack, error);
        break;
    }
    if (!applied)
        return false;
    node.nodeIndex = static_cast<std::int32_t>(compiled.size());
    stack.push_back(node.nodeIndex);
    compiled.push_back(std::move(node));
    return true;
}

void EvaluerFonctionFormule(CValeurFormule& node, const std::vector<CValeurFormule>& compiled,
                            const std::locale& locale) {
    const FormulaFunction* function = TrouverFonction(static_cast<std::int32_t>(node.code));
    if (function == nullptr || node.operands.empty()) {
        node.DefinirErreur();
        return;
    }
    function->evaluate(node, FormulaFunction::Arguments(node, compiled), locale);
}
