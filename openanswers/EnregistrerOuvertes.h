#pragma once

// Registers the archived classes of the lexical engine (the segments of the Sgm files) and the
// open-answer tables the dispatcher asks for (TablesOuvertes). Start-up calls it once; calling
// it again does no harm.
void EnregistrerOuvertes();
