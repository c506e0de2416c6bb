#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Text tools of the questionnaire library: numbers read from texts and written into them, and
// texts split at a separator. Nothing here depends on the locale: "." is the decimal point
// whatever LC_NUMERIC says.
//
// Numbers read (EstDouble, EstLong): blanks (space, tab, CR, LF, VT, FF) around the number are
// ignored; the rest must be the whole number. An optional "+" or "-" sign. EstDouble takes
// digits with at most one decimal separator, "." or "," (a user may type either), and an
// optional exponent ("1e3", "2,5E-2"); not "inf", "nan", hexadecimal, thousands separators nor
// out-of-range values. EstLong takes decimal digits only, in the 32-bit range.
//
// Splitting (LireChaineSeparateur*, FindTokens*): the text is a sequence of items, each ended
// by the separator or by the end of the text. A separator at the very end ends the last item
// and yields no empty item after it: "3;12;" and "3;12" both give [3, 12]; "" gives nothing;
// an empty item inside the text is kept ("a;;b" gives "a", "", "b"). Number items are converted
// with ToLong / ToDouble, so an item that is not a number gives 0 and every item keeps its
// position. The output array is replaced.
class CStaticTools {
public:
    // True when the whole text reads as a number, with its value in value (unchanged otherwise).
    // With emptyIsZero an empty or blank text also reads as 0.
    static bool EstDouble(std::string_view text, double& value, bool emptyIsZero = false);
    static bool EstLong(std::string_view text, std::int32_t& value);
    // The value of a numeric text, 0 when it is not one.
    static std::int32_t ToLong(std::string_view text);
    static double ToDouble(std::string_view text, bool emptyIsZero = false);

    static void LireChaineSeparateurString(std::string_view text, char separator, std::vector<std::string>& items);
    static void LireChaineSeparateurLong(std::string_view text, char separator, std::vector<std::int32_t>& items);
    static void LireChaineSeparateurDouble(std::string_view text, char separator, std::vector<double>& items,
                                           bool emptyIsZero = false);
    static void FindTokensLong(std::string_view text, char separator, std::vector<std::int32_t>& tokens);
    static void FindTokensDouble(std::string_view text, char separator, std::vector<double>& tokens);

    // The text printf("%.*g", precision, value) gives in the "C" locale, in any locale:
    // FormatG(x) is "%g", FormatG(x, 15) is "%.15g". Infinities and NaN give "inf", "-inf",
    // "nan" (with a sign when negative), as printf does.
    static std::string FormatG(double value, int precision = 6);
};
