#include "gui/requests/SelecteursRedressement.h"

#include "gui/requests/SelQuestionDlg.h"
#include "gui/requests/SelectionnerDlg.h"

CRedressementDlg::Selecteurs SelecteursRedressement() {
    CRedressementDlg::Selecteurs selecteurs;
    selecteurs.question = [](QWidget* parent, std::int16_t filter, const QString& title, bool withNone,
                             CQuestionEtendue* initial, CQuestionEtendue*& chosen) {
        CSelQuestionDlg dialog(filter, initial, parent);
        dialog.SetTitle(title);
        dialog.SetWithNone(withNone);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        chosen = dialog.GetQuestion();
        return true;
    };
    selecteurs.liste = [](QWidget* parent, std::vector<CIdName> items, std::int32_t& chosen) {
        CSelectionnerDlg dialog(std::move(items), parent);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        chosen = dialog.GetChosenId();
        return true;
    };
    return selecteurs;
}
