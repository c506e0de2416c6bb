#pragma once

#include "shell/RequestDialogs.h"

class CContexteEtude;

// The program's request dialogs and question picker, as the main frame's table commands open
// them: a request dialog for every type of table that the family of request dialogs builds
// (RequestDialog), and "Sélection d'une question" (CSelQuestionDlg) for the second question, its
// filter following the command's mode. The application installs it on the main frame at
// start-up.
class QtRequestDialogs final : public RequestDialogs {
public:
    explicit QtRequestDialogs(CContexteEtude& context);

    bool HasRequestDialog(std::int16_t type) const override;
    bool HasQuestionPicker() const override { return true; }

    // Null too for a mode the picker has no filter for.
    CQuestionEtendue* ChoisirQuestion(int mode, QWidget* parent) override;
    // The dialog takes the question, then the second question when its kind of table has two.
    std::unique_ptr<CTraitement> DemanderTraitement(std::int16_t type, const Questions& questions,
                                                    QWidget* parent) override;

private:
    CContexteEtude& m_context;
};
