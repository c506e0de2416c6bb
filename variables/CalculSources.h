#pragma once

#include "app/Message.h"
#include "variables/ReponsesCalculees.h"

class CEnquete;
class CVariableCalculee;

// The answers of the computed variables made from what the survey already holds besides the
// answers of one question: the study fields (kind 2), the interview records' own fields (kind 12)
// and a question filtered by a study field (kind 13). Each answers false with the reason in
// `error`, `out` left untouched.
namespace CalculSources {

bool ChampsEtude(const CVariableCalculee& definition, CEnquete& survey, CReponsesCalculees& out, Message& error);
bool InfosGenerales(const CVariableCalculee& definition, CEnquete& survey, CReponsesCalculees& out, Message& error);
bool QuestionFiltree(const CVariableCalculee& definition, CEnquete& survey, CReponsesCalculees& out, Message& error);

} // namespace CalculSources
