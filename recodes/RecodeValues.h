#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

class CContexteEtude;
class CQuestionEtendue;
class CRecodageIntervalle;

// What the interval and discrete-value dialogs compute from the answers of the question they
// recode, without a window: the values they work on, the bounds or values they propose, and the
// preview of the modalities the recode would make with the number of interviews in each. The
// counts come from the recode's own lookups, so that a preview shows what the recoded question's
// table will count.
namespace RecodeValues {

// The answers of a numeric or date question, read as the tables read them; false with the reason
// in `error`.
bool Read(CContexteEtude& context, CQuestionEtendue& question, std::vector<double>& answers, std::string& error);

// The answers without the missing ones (-999999.99 "no answer", -888888.88 "not asked"),
// ascending.
std::vector<double> Prepare(std::span<const double> answers);

// The values as an interval recode of that date mode compares them: the day alone (date only),
// the time of day alone (time only), or as they are; ascending.
std::vector<double> ForDateMode(std::span<const double> sorted, std::int16_t dateMode);

// The first value of each run of equal values of an ascending list.
std::vector<double> Distinct(std::span<const double> sorted);

// Whether a request for percentile bounds makes sense: at least three values, so that two
// intervals can be asked for.
bool PercentilesPossible(std::size_t valueCount);
// The bounds that cut `sorted` (ascending, N values) into `intervals` classes of about the same
// size: bound j (j = 0 .. intervals-2) is the value at the first index i with
// i >= (j + 1) * N / intervals. A bound equal to the one before it is left out, since two equal
// bounds make an empty class. Nothing for fewer than 2 intervals or more than N - 1.
std::vector<double> PercentileBounds(std::span<const double> sorted, int intervals);

// The number of values each discrete value of `values` would receive (exact equality, or the
// nearest value, ties to the lower one).
std::vector<long> DiscreteCounts(std::span<const double> sorted, std::span<const double> values, bool nearest);
// The captions of the discrete values: "%.9g %s" with the unit.
std::vector<std::string> DiscreteCaptions(std::span<const double> values, const std::string& unit);

// The number of values in each class of the interval recode, in class order.
std::vector<long> IntervalCounts(std::span<const double> sorted, const CRecodageIntervalle& recode);
// The captions the interval dialog shows for the classes of the recode, in class order: numbers
// with "%g" and the unit, dates as the user's locale writes them in a date mode.
std::vector<std::string> IntervalCaptions(const CRecodageIntervalle& recode);

} // namespace RecodeValues
