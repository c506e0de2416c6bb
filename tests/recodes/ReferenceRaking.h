#pragma once

#include <cstdint>
#include <string>

class CContexteEtude;
class CVecteurDouble;

// The first, plain computation of a weighting (same contract as CalculerRedressement): the
// reference the tests compare the weights of the program against.
bool CalculerRedressementReference(std::int32_t weightingId, int levelIndex, CVecteurDouble& weights,
                                   std::string& errorText, CContexteEtude& context);
