#pragma once

#include "platform/db/FieldType.h"
#include "platform/db/Value.h"

#include <optional>
#include <string>
#include <string_view>

namespace qesbuild {

// The value a fixture cell stands for in a field of that type: an absent cell is Null; numbers
// are read with "." whatever the locale; a Date is written "YYYY-MM-DD", "YYYY-MM-DD HH:MM" or
// "YYYY-MM-DD HH:MM:SS" (or "T" in place of the blank), or as a day count; a Boolean is true,
// false, 1 or 0. A cell that does not read as its type throws std::invalid_argument.
db::Value CellValue(const std::optional<std::string>& cell, db::FieldType type);

// The day count (from 30 December 1899, the time as fraction) of a calendar date and time.
double DayCount(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

} // namespace qesbuild
