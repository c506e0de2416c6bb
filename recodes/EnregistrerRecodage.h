#pragma once

#include <string>

class CContexteEtude;
class CQuestionEtendue;
class CRecodage;

// Stores a recode a dialog has filled and brings the survey in line with it: a new recode (id 0)
// is added to the questionnaire's recodes, receives its key, and its questions are inserted after
// the questions it is made from; a changed one is updated in place and its questions renamed and
// rebuilt from it (their answers read again). `source` is the question the recode is made from.
// When the record cannot be written, false with the reason in `error`: the file and the survey
// stay as they were.
bool EnregistrerRecodage(CRecodage& recode, CContexteEtude& context, CQuestionEtendue* source, std::string& error);
