#include "recodes/DateText.h"

#include <ctime>
#include <iomanip>
#include <sstream>

#include "platform/datetime/SerialDate.h"
#include "platform/questionnaire/StaticTools.h"

namespace {

const char* PatternOf(std::int16_t mode) {
    switch (mode) {
    case DateText::kDateOnly:
        return "%x";
    case DateText::kTimeOnly:
        return "%X";
    default:
        return "%x %X";
    }
}

} // namespace

std::string DateText::Format(double date, std::int16_t mode) { return Format(date, mode, UserLocale()); }

std::string DateText::Format(double date, std::int16_t mode, const std::locale& locale) {
    SerialDate::Civil civil;
    if (!SerialDate::ToCivil(date, civil))
        return CStaticTools::FormatG(date);
    const std::tm calendar = SerialDate::ToTm(civil);
    std::ostringstream text;
    text.imbue(locale);
    text << std::put_time(&calendar, PatternOf(mode));
    return text.str();
}

std::locale DateText::UserLocale() { return SerialDate::UserLocale(); }
