#include "platform/questionnaire/Objet.h"

void CObjet::Serialize(CArchiveVersion& /*archive*/) {}
