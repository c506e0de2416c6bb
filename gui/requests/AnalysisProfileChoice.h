#pragma once

class CContexteEtude;
class CProfil;
class QWidget;

// The active and illustrative questions (numeric analyses) or modalities (closed analyses) of an
// analysis window, chosen by the analyst. Every analysis window chooses through here, so they all
// offer the same pair dialogs. Answers false when the analyst cancels: both profiles are then as
// given.
bool ChoisirProfilsAnalyse(CContexteEtude& context, bool numerique, CProfil& actives, CProfil& illustratives,
                           QWidget* parent);
