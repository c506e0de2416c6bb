#include "tabulation/AxesTraitement.h"

#include "app/ContexteEtude.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "app/Registre.h"
#include "tabulation/Profil.h"
#include "tabulation/Traitement.h"

#include <memory>
#include <vector>

namespace AxesTraitement {

namespace {

using Modalities = std::vector<std::unique_ptr<CModaliteEtendue>>;

// The study context the question was loaded into (the registered one for a question of no
// context), so that a runner bound to its own context finds that context's Totals.
const CContexteEtude* ContextOf(const CQuestionEtendue& question) {
    if (const auto* own = dynamic_cast<const CContexteEtude*>(question.GetEnquete()))
        return own;
    return GetContexte();
}

// The context's Total of the axis, copied where the option puts it.
void AddTotal(Modalities& modalities, const CQuestionEtendue& question, int axis) {
    const CContexteEtude* context = ContextOf(question);
    const CModaliteEtendue* total = context ? context->DonnerModaliteTotal(axis) : nullptr;
    if (total == nullptr)
        return;
    auto copy = std::make_unique<CModaliteEtendue>(*total);
    if (CRegistre::GetIsTotalBefore())
        modalities.insert(modalities.begin(), std::move(copy));
    else
        modalities.push_back(std::move(copy));
}

} // namespace

CQuestionEtendue* AjouterAxeAvecTotal(CTraitement& request, const CProfil& profile, int index, int axis,
                                      bool withTotal) {
    CQuestionEtendue* question = nullptr;
    Modalities modalities;
    profile.GetAt(index, question, modalities);
    if (question == nullptr)
        return nullptr;
    if (withTotal)
        AddTotal(modalities, *question, axis);
    request.DefinirModalitesAxe(question, modalities, axis);
    return question;
}

void DefinirAxeProfilQuestion(CTraitement& request, const CProfil& profile, int index, int axis) {
    CQuestionEtendue* question = nullptr;
    Modalities modalities;
    profile.GetAt(index, question, modalities);
    if (question == nullptr)
        return;
    CProfil single;
    single.Add(question, modalities);
    request.title = question->GetCaption();
    request.SetProfilAxe(&single, axis);
}

CQuestionEtendue* DefinirAxeQuestion(CTraitement& request, const CProfil& profile, int index, int axis) {
    CQuestionEtendue* question = profile.GetQuestion(index);
    if (question != nullptr)
        request.SetQuestionAxe(question, axis);
    return question;
}

} // namespace AxesTraitement
