#include "recodes/StockageChampsEtude.h"

#include "app/ChampEtude.h"
#include "app/ContexteEtude.h"
#include "app/DBQuestionnaire.h"
#include "app/QuestionNiveau.h"
#include "app/StringTable.h"

#include <algorithm>
#include <optional>

namespace {

constexpr std::int32_t kAllInterviews = -1;
constexpr int kInterviewLevel = 0;

bool InMemoryOnly(const CContexteEtude& context) {
    return context.DonnerCheminBase().empty();
}

std::int32_t NextKeyInMemory(const CContexteEtude& context) {
    std::int32_t largest = 0;
    for (const auto& existing : context.studyFields)
        largest = std::max(largest, existing->id);
    return largest + 1;
}

bool AskedInLoop(const CChampCondition& condition, const CContexteEtude& context) {
    return condition.question != nullptr && !EstDansNiveau(*condition.question, kInterviewLevel, context);
}

// The slot of the one condition asked in a loop; none (after telling the user) when there is no
// such condition or more than one.
std::optional<std::size_t> LoopCondition(const CChampEtude& model, CContexteEtude& context) {
    std::optional<std::size_t> found;
    for (std::size_t slot = 0; slot < model.conditions.size(); ++slot) {
        if (!AskedInLoop(model.conditions[slot], context))
            continue;
        if (found) {
            context.GetUserInterface().ShowMessage(Message(StringTable::kUneSeuleConditionAutreNiveau),
                                                   UserInterface::Icon::Warning);
            return std::nullopt;
        }
        found = slot;
    }
    if (!found)
        context.GetUserInterface().ShowMessage(Message(StringTable::kConditionAutreNiveauRequise),
                                               UserInterface::Icon::Warning);
    return found;
}

bool IsIterationOf(const CQuestionEtendue& candidate, const CQuestionEtendue& loopQuestion,
                   const CContexteEtude& context) {
    return candidate.code == loopQuestion.code && candidate.recodeId == loopQuestion.recodeId &&
           EstDansNiveau(candidate, kInterviewLevel, context);
}

} // namespace

bool EnregistrerChampEtude(CChampEtude& field, CContexteEtude& context, std::string& error) {
    if (InMemoryOnly(context)) {
        if (field.id == 0)
            field.id = NextKeyInMemory(context);
    } else {
        CDBQuestionnaire file(context, &context.GetUserInterface());
        if (!file.SaveSubPopulation(field)) {
            error = file.GetLastError();
            return false;
        }
    }
    context.MettreAJourChampEtude(field);
    // The study's default keeps the name it is shown with.
    if (context.universeCode == field.id)
        context.universeLabel = field.name;
    return true;
}

bool EffacerChampEtude(std::int32_t id, CContexteEtude& context, std::string& error) {
    if (id != 0 && !InMemoryOnly(context)) {
        CDBQuestionnaire file(context, &context.GetUserInterface());
        if (!file.DeleteSubPopulation(id)) {
            error = file.GetLastError();
            return false;
        }
    }
    context.SupprimerChampEtude(id);
    if (context.universeCode == id) {
        context.universeCode = kAllInterviews;
        context.universeLabel = StringTable::Text(StringTable::kToutesLesInterviews);
    }
    return true;
}

int CopierChampEtudeBoucle(const CChampEtude& model, CContexteEtude& context,
                           std::vector<CChampEtude>& created) {
    UserInterface& ui = context.GetUserInterface();
    if (model.name.empty()) {
        ui.ShowMessage(Message(StringTable::kEntrerUnNom), UserInterface::Icon::Warning);
        return 0;
    }
    const std::optional<std::size_t> slot = LoopCondition(model, context);
    if (!slot)
        return 0;
    const CQuestionEtendue& loopQuestion = *model.conditions[*slot].question;
    // The questions first: storing a field does not change them, but the list is walked once.
    std::vector<CQuestionEtendue*> iterations;
    for (const auto& question : context.questions)
        if (IsIterationOf(*question, loopQuestion, context))
            iterations.push_back(question.get());
    int stored = 0;
    for (CQuestionEtendue* iteration : iterations) {
        CChampEtude copy = model;
        copy.id = 0;
        copy.name = model.name + " - " + std::to_string(stored + 1);
        copy.complexCondition = !model.complexConditionText.empty();
        copy.conditions[*slot].SetQuestion(iteration);
        std::string error;
        if (!EnregistrerChampEtude(copy, context, error))
            continue;
        created.push_back(copy);
        ++stored;
    }
    ui.ShowMessage(Message(StringTable::kChampsEtudeCrees, {std::to_string(stored)}),
                   UserInterface::Icon::Information);
    return stored;
}
