#include "variables/SuperpositionSources.h"

#include <algorithm>

#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "app/UserInterface.h"

SuperpositionSources SuperpositionSources::Lire(const std::string& themes, const std::string& definition,
                                                const CEnquete& survey) {
    std::vector<Message> ignored;
    SuperpositionSources sources;
    sources.modalities = DefinitionTexts::LireModalitesSuperposees({}, themes, ignored);
    sources.questions = DefinitionTexts::LireQuestionsSuperposees({}, definition, survey, ignored);
    return sources;
}

void SuperpositionSources::Ajouter(const std::vector<CQuestionEtendue*>& chosen, UserInterface& ui) {
    for (CQuestionEtendue* question : chosen) {
        if (question == nullptr)
            continue;
        if (std::find(questions.begin(), questions.end(), question) != questions.end()) {
            ui.ShowMessage(Message(StringTable::kQuestionDejaPresente), UserInterface::Icon::Warning);
            return;
        }
        const int count = question->GetNbreModalite();
        if (!modalities.empty() && static_cast<int>(modalities.size()) != count &&
            !ui.AskYesNo(Message(StringTable::kNombreModalitesDifferent)))
            continue;
        for (int number = 1; number <= count; ++number) {
            const bool listed = std::any_of(modalities.begin(), modalities.end(),
                                            [number](const DefinitionTexts::Item& item) { return item.number == number; });
            const CModaliteEtendue* modality = question->GetModaliteEtendue(number - 1);
            if (!listed && modality != nullptr)
                modalities.push_back({DefinitionTexts::LibelleStockable(modality->GetShortCaption(), true), number});
        }
        questions.push_back(question);
    }
}
