#pragma once

#include "gui/recodes/RecodeNiveauDlg.h"

// "Recoder une question numérique vers un autre niveau": a numeric question (its values gathered by a statistic) carried to another level.
class CRecodeNumeriqueNiveauDlg : public RecodeNiveauDialog {
    Q_OBJECT

public:
    enum { IDD = 274 };

    // A new level change of `source`.
    CRecodeNumeriqueNiveauDlg(CContexteEtude& context, CQuestionEtendue& source, QWidget* parent = nullptr);
    // The level change that made `edited` from `source`.
    CRecodeNumeriqueNiveauDlg(CContexteEtude& context, CQuestionEtendue& edited, CQuestionEtendue& source,
        QWidget* parent = nullptr);
};
