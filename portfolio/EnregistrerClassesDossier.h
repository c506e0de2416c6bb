#pragma once

// Registers the portfolio's element with the archives, after the request and table classes, so
// that a portfolio file or a clipboard stream can be read back. Start-up calls it once; calling it
// again does no harm.
void EnregistrerClassesDossier();
