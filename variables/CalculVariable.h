#pragma once

#include <memory>

#include "app/Message.h"
#include "variables/ReponsesCalculees.h"

class CCalculScript;
class CContexteEtude;
class CVariableCalculee;

// Computes, from its definition and its source questions, the answers a computed variable gives
// every interview of the survey: by kind, one row per kind that the core computes on its own.
// The script kind asks the script language's evaluator, installed with
// EnregistrerCalculScript. Kinds whose answers come from elsewhere (the classes and coordinates
// of an analysis window, kinds 4 and 5) are refused with a message.
class CCalculVariable {
public:
    // False with the reason in `error` and `out` untouched.
    static bool Calculer(const CVariableCalculee& definition, CContexteEtude& context, CReponsesCalculees& out,
                         Message& error);
    // Installs the evaluator of scripts (null removes it); answers the previous one.
    static std::unique_ptr<CCalculScript> EnregistrerCalculScript(std::unique_ptr<CCalculScript> evaluator);
};
