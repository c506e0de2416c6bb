#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

#include "tabulation/Tableau.h"
#include "tabulation/Traitement.h"

class CContexteEtude;
class CQuestionEtendue;

// What the benchmark drivers share: the clock, the "name value" lines their scripts read, and the
// survey opened with the core's messages on the error stream.
namespace bench {

using Clock = std::chrono::steady_clock;
using Tables = std::vector<std::unique_ptr<CTableau>>;

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
// The tables of one request, as the program computes them.
Tables Execute(CContexteEtude& context, std::unique_ptr<CTraitement> request);
// Registers weighting 1, named after the weight question, that takes the question's values as
// they are (no target to rake to); answers its id.
std::int32_t WeightingByQuestion(CContexteEtude& context, const CQuestionEtendue& weight);
// The process's peak resident memory so far, in megabytes.
double PeakMegabytes();

} // namespace bench
