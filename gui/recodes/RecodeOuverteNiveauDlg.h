#pragma once

#include "gui/recodes/RecodeNiveauDlg.h"

// "Recoder une question ouverte vers un autre niveau": an open question carried to another level.
class CRecodeOuverteNiveauDlg : public RecodeNiveauDialog {
    Q_OBJECT

public:
    enum { IDD = 282 };

    // A new level change of `source`.
    CRecodeOuverteNiveauDlg(CContexteEtude& context, CQuestionEtendue& source, QWidget* parent = nullptr);
    // The level change that made `edited` from `source`.
    CRecodeOuverteNiveauDlg(CContexteEtude& context, CQuestionEtendue& edited, CQuestionEtendue& source,
        QWidget* parent = nullptr);
};
