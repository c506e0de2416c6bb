#pragma once

#include "app/Message.h"
#include "variables/ReponsesCalculees.h"

class CContexteEtude;
class CVariableCalculee;

// The answers of the computed variables made from a list of questions or from a weighting: the
// superposition of closed questions (kind 6), a weighting's weights (kind 7), the modalities
// chosen in a profile (kind 8) and the entry durations of a profile's questions (kind 11). Each
// answers false with the reason in `error`, `out` left untouched: a list that cannot be read
// whole, or a source that cannot be read, computes nothing rather than answers from part of it.
namespace CalculListes {

bool Superposition(const CVariableCalculee& definition, CContexteEtude& context, CReponsesCalculees& out,
                   Message& error);
bool Redressement(const CVariableCalculee& definition, CContexteEtude& context, CReponsesCalculees& out,
                  Message& error);
// The captions too: the short caption of every chosen modality, "|" after each.
bool Profil(const CVariableCalculee& definition, CContexteEtude& context, CReponsesCalculees& out, Message& error);
bool DureesSaisie(const CVariableCalculee& definition, CContexteEtude& context, CReponsesCalculees& out,
                  Message& error);

} // namespace CalculListes
