#pragma once

#include "app/Calcul.h"

#include <cstdint>
#include <memory>
#include <vector>

class CContexteEtude;

// The calculation lists a page offers, by the page's mode: 1 the closed-question list, 2 the
// cross-table list, 3 the numeric list, 6 the mean-table list. Any other mode offers none.
// New copies of the context's entries are appended to `out`, which owns them.
void CalculationsOfMode(CContexteEtude& context, std::int16_t mode,
                        std::vector<std::unique_ptr<CCalcul>>& out);
