#pragma once

#include "gui/recodes/RedressementDlg.h"

// The selection dialogs "Redressement" chooses with: "Sélection d'une question" for its target and
// initial-weight questions (and for a question of the library named otherwise in this survey),
// "Sélectionner" for a scheme of the library.
CRedressementDlg::Selecteurs SelecteursRedressement();
