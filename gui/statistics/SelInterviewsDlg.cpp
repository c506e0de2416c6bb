#include "gui/statistics/SelInterviewsDlg.h"

#include "app/ContexteEtude.h"
#include "app/VecteurDouble.h"
#include "app/StringTable.h"
#include "recodes/AppliquerChampEtude.h"
#include "gui/recodes/ChampEtudeDlg.h"

#include <string>

namespace {

QString InterviewLabel(CContexteEtude& context, std::uint32_t number) {
    std::string text;
    context.DonnerLibelleInterview(static_cast<int>(number), text);
    return QString::fromStdString(text);
}

} // namespace

CSelInterviewsDlg::CSelInterviewsDlg(CContexteEtude& context, std::vector<std::uint32_t>& actifs,
                                     std::vector<std::uint32_t>& illustratifs, QWidget* parent)
    : ActiveIllustrativeDialog(
          QStringLiteral("Sélection des interviews"), static_cast<std::uint32_t>(std::max(context.DonnerNbreInterviews(), 0)),
          [&context](std::uint32_t number) { return InterviewLabel(context, number); }, actifs, illustratifs,
          [this](const std::vector<std::uint32_t>& numbers) { return PassingStudyField(numbers); }, parent),
      m_context(context), m_actifs(actifs), m_illustratifs(illustratifs) {
    setObjectName(QString::number(IDD));
    m_chooser = [this](std::int32_t& id) {
        CChampEtudeDlg dialog(m_context, -1, this);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        id = dialog.DonnerChampChoisi().id;
        return true;
    };
}

void CSelInterviewsDlg::accept() {
    const std::vector<std::uint32_t> actifs = Numeros(kActif);
    if (actifs.size() < static_cast<std::size_t>(kMinimumActifs)) {
        m_context.GetUserInterface().ShowMessage(Message(StringTable::kAuMoinsTroisInterviews),
                                                 UserInterface::Icon::Warning);
        return;
    }
    m_actifs = actifs;
    m_illustratifs = Numeros(kIllustratif);
    QDialog::accept();
}

// The field is applied to weights of 1 over every interview: those left above 0 pass it.
std::vector<std::uint32_t> CSelInterviewsDlg::PassingStudyField(const std::vector<std::uint32_t>& numbers) {
    std::int32_t id = -1;
    if (!m_chooser || !m_chooser(id))
        return {};
    const int count = std::max(m_context.DonnerNbreInterviews(), 0);
    CVecteurDouble weights(count);
    weights.Remplir(1.0);
    std::string error;
    if (!AppliquerChampEtude(id, m_context.currentLevel, weights, m_context, error)) {
        if (!error.empty())
            m_context.GetUserInterface().ShowMessage(Message::Text(error), UserInterface::Icon::Warning);
        return {};
    }
    std::vector<std::uint32_t> passing;
    for (std::uint32_t number : numbers)
        if (static_cast<int>(number) < weights.GetSize() && weights.GetAt(static_cast<int>(number)) > 0.0)
            passing.push_back(number);
    return passing;
}
