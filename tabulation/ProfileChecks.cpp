#include "tabulation/ProfileChecks.h"

#include "app/Enquete.h"
#include "app/Ligne.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "app/UserInterface.h"
#include "tabulation/Profil.h"
#include "tabulation/Traitement.h"

#include <string>
#include <unordered_set>

namespace ProfileChecks {
namespace {

std::unordered_set<const CQuestionEtendue*> QuestionsOf(const CEnquete& survey) {
    std::unordered_set<const CQuestionEtendue*> questions;
    questions.reserve(survey.questions.size());
    for (const auto& question : survey.questions)
        questions.insert(question.get());
    return questions;
}

// The kind test of the axis and the message of a question that fails it.
bool OfAxisKind(const CQuestionEtendue& question, std::int16_t axisKind, int& message) {
    switch (axisKind) {
    case CTraitement::kAxeProfilNumeriques:
        message = StringTable::kProfilQuestionNonNumerique;
        return question.EstNumerique();
    case CTraitement::kAxeProfilOuvertes:
        message = StringTable::kProfilQuestionNonOuverte;
        return question.EstOuverte();
    default:
        message = StringTable::kProfilQuestionNonFermee;
        return question.EstFermee();
    }
}

// A chosen modality stands for one of the question's own, or for the Total (computed from the
// others).
void CheckModalities(const CSousProfil& line, std::vector<Message>& faults) {
    const CQuestionEtendue& question = *line.GetQuestion();
    if (line.Modalites().empty()) {
        faults.emplace_back(StringTable::kProfilSansModalite, std::vector<std::string>{question.name});
        return;
    }
    for (const auto& modality : line.Modalites()) {
        if (modality == nullptr || modality->code == CLigne::kTotalCode ||
            question.TrouverModalite(modality->code) >= 0)
            continue;
        faults.emplace_back(StringTable::kProfilModaliteAbsente,
                            std::vector<std::string>{std::to_string(modality->code), question.name});
    }
}

} // namespace

std::vector<Message> FaultsOf(const CEnquete& survey, const CProfil* profile, std::int16_t axisKind) {
    std::vector<Message> faults;
    bool anyQuestion = false;
    const std::unordered_set<const CQuestionEtendue*> known = QuestionsOf(survey);
    for (int i = 0; profile != nullptr && i < profile->GetCount(); ++i) {
        const CSousProfil* line = profile->GetSousProfil(i);
        if (line == nullptr || line->IsSeparator())
            continue;
        anyQuestion = true;
        if (!known.contains(line->GetQuestion())) {
            faults.emplace_back(StringTable::kProfilQuestionAbsente,
                                std::vector<std::string>{std::to_string(i + 1)});
            continue;
        }
        int message = 0;
        if (!OfAxisKind(*line->GetQuestion(), axisKind, message)) {
            faults.emplace_back(message, std::vector<std::string>{line->GetQuestion()->name});
            continue;
        }
        if (axisKind == CTraitement::kAxeProfilFermees)
            CheckModalities(*line, faults);
    }
    if (!anyQuestion)
        faults.emplace_back(StringTable::kProfilSansQuestion);
    return faults;
}

bool ShowFaults(UserInterface& ui, const std::vector<Message>& faults) {
    if (faults.empty())
        return true;
    if (faults.size() == 1) {
        ui.ShowMessage(faults.front(), UserInterface::Icon::Warning);
        return false;
    }
    // A message box of a few lines stays readable: beyond them, the rest is elided.
    constexpr std::size_t kMostLines = 20;
    std::string text;
    for (std::size_t i = 0; i < faults.size() && i < kMostLines; ++i)
        text += (text.empty() ? "" : "\n") + StringTable::Format(faults[i]);
    if (faults.size() > kMostLines)
        text += "\n...";
    ui.ShowMessage(Message::Text(text), UserInterface::Icon::Warning);
    return false;
}

} // namespace ProfileChecks
