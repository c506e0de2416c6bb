#pragma once

// Installs the factory that makes every computed question of an opened survey a full definition
// (CVariableCalculee) instead of the bare record, and gives the computation of "Par script"
// variables the script language's evaluator. Start-up calls it once before a questionnaire is
// opened; calling it again does no harm.
void EnregistrerQuestionsCalculees();
