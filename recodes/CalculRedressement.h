#pragma once

#include <cstdint>
#include <string>

class CContexteEtude;
class CVecteurDouble;

// Rakes the weighting `weightingId` of the survey into weights and carries them to the units of
// level `levelIndex` (0: the interviews). True when weights were produced, converged or not; the
// vector then holds one weight per unit of the level. When raking does not converge the message
// naming the question adjusted most often is shown and also left in `errorText`. False when the
// scheme is unknown or cannot be run (a target's data unreadable, a question that does not reach
// the interviews, targets that cannot be met, an unusable initial-weight question): `errorText`
// says why and `weights` is left untouched.
bool CalculerRedressement(std::int32_t weightingId, int levelIndex, CVecteurDouble& weights, std::string& errorText,
                          CContexteEtude& context);
