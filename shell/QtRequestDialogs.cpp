#include "shell/QtRequestDialogs.h"

#include "gui/requests/RequestDialog.h"
#include "gui/requests/RequestDialogKind.h"
#include "gui/requests/SelQuestionDlg.h"
#include "shell/MainFrameCommands.h"
#include "tabulation/Traitement.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace {

using MainFrameCommands::SecondQuestion;

// Which questions the picker lets the analyst choose, by the command's mode.
struct PickerMode {
    SecondQuestion mode;
    std::int16_t filter;
};

constexpr PickerMode kPickerModes[] = {
    {SecondQuestion::kCrossed, CSelQuestionDlg::kFermees},
    {SecondQuestion::kMeanNumeric, CSelQuestionDlg::kNumeriques},
    {SecondQuestion::kOpenAnswersBy, CSelQuestionDlg::kFermeesSansClassement},
    {SecondQuestion::kInterviewNames, CSelQuestionDlg::kOuvertes},
};

const PickerMode* FindPickerMode(int mode) {
    const auto found =
        std::find_if(std::begin(kPickerModes), std::end(kPickerModes),
                     [mode](const PickerMode& entry) { return static_cast<int>(entry.mode) == mode; });
    return found != std::end(kPickerModes) ? &*found : nullptr;
}

} // namespace

QtRequestDialogs::QtRequestDialogs(CContexteEtude& context) : m_context(context) {}

bool QtRequestDialogs::HasRequestDialog(std::int16_t type) const {
    return FindRequestDialogKind(type) != nullptr;
}

CQuestionEtendue* QtRequestDialogs::ChoisirQuestion(int mode, QWidget* parent) {
    const PickerMode* picker = FindPickerMode(mode);
    if (picker == nullptr)
        return nullptr;
    CSelQuestionDlg dialog(picker->filter, parent);
    if (dialog.exec() != QDialog::Accepted)
        return nullptr;
    return dialog.GetQuestion();
}

std::unique_ptr<CTraitement>
QtRequestDialogs::DemanderTraitement(std::int16_t type, const Questions& questions, QWidget* parent) {
    const RequestDialogKind* kind = FindRequestDialogKind(type);
    if (kind == nullptr)
        return nullptr;
    const std::vector<CQuestionEtendue*> offered{questions.question, questions.second};
    std::vector<CQuestionEtendue*> taken(offered.begin(),
                                         offered.begin() + std::min<std::ptrdiff_t>(kind->questionCount, 2));
    std::unique_ptr<RequestDialog> dialog =
        RequestDialog::PourNouvelleDemande(m_context, type, taken, parent);
    if (dialog == nullptr || dialog->exec() != QDialog::Accepted)
        return nullptr;
    return dialog->TakeTraitement();
}
