#pragma once

// Registers the run-time classes of requests and tables (lines, calculation lines, styles, merge
// options, profiles...) with the archives, so that stored requests and tables can be read back.
// Start-up calls it once before the first archive is read, tests before theirs; calling it again
// does no harm.
void EnregistrerClassesTabulation();
