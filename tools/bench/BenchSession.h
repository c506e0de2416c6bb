#pragma once

#include <chrono>
#include <vector>

class CContexteEtude;
class CQuestionEtendue;

// What the benchmark drivers share: the clock, the "name value" lines their scripts read, and the
// survey opened with the core's messages on the error stream.
namespace bench {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start);
// A time, as "name seconds".
void Report(const char* name, double value);
// A value the peers are checked on, to the last digits a double holds.
void ReportValue(const char* name, double value);
// Opens the survey, the messages of the core going to the error stream under the tool's name, so
// that a failing request is never silent; false with the reason printed when it cannot.
bool OpenSurvey(CContexteEtude& context, const char* path, const char* tool);
// The survey's closed questions, in questionnaire order.
std::vector<CQuestionEtendue*> ClosedQuestions(const CContexteEtude& context);

} // namespace bench
