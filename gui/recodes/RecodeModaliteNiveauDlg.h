#pragma once

#include "gui/recodes/RecodeNiveauDlg.h"

// "Recoder une question à modalité vers un autre niveau": a closed question (its answers gathered whole, without repeats, or the first or last modality in
// the question's order) carried to another level.
class CRecodeModaliteNiveauDlg : public RecodeNiveauDialog {
    Q_OBJECT

public:
    enum { IDD = 259 };

    // A new level change of `source`.
    CRecodeModaliteNiveauDlg(CContexteEtude& context, CQuestionEtendue& source, QWidget* parent = nullptr);
    // The level change that made `edited` from `source`.
    CRecodeModaliteNiveauDlg(CContexteEtude& context, CQuestionEtendue& edited, CQuestionEtendue& source,
        QWidget* parent = nullptr);
};
