#pragma once

// Installs the factory of the six recode kinds behind CRecodage::CreerRecodage, and the reader
// that gives the weighting schemes the survey hands out their targets. Start-up calls it once
// before a questionnaire is opened (so that its recodes are read); calling it again does no harm.
void EnregistrerRecodages();
