#include "portfolio/ChangementsLot.h"

#include "app/Calcul.h"
#include "app/Enquete.h"
#include "app/Ligne.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "tabulation/Traitement.h"

#include <algorithm>
#include <memory>

namespace ChangementsLot {
namespace {

constexpr std::int32_t kCodeNonReponse = -1;
constexpr int kCotes[] = {CTraitement::kLignes, CTraitement::kColonnes};

bool OffreNonReponse(const CTraitement& request, int axis) {
    const CQuestionEtendue* question = request.GetQuestionAxe(axis);
    return request.GetTypeAxe(axis) == CTraitement::kAxeFermee && question != nullptr &&
           question->EstFermee() && question->hasNoAnswer != 0;
}

std::unique_ptr<CLigne> LigneNonReponse(const CEnquete& survey) {
    CModaliteEtendue modality(const_cast<CEnquete*>(&survey));
    modality.code = kCodeNonReponse;
    survey.LibellerNonReponse(modality);
    return std::make_unique<CLigne>(modality);
}

bool ChangerCote(CTraitement::Lignes& lines, const CEnquete& survey, bool afficher) {
    const auto found = std::find_if(lines.begin(), lines.end(), [](const std::unique_ptr<CLigne>& line) {
        return line != nullptr && line->code == kCodeNonReponse &&
               dynamic_cast<const CCalcul*>(line.get()) == nullptr;
    });
    if (!afficher) {
        if (found == lines.end())
            return false;
        lines.erase(found);
        return true;
    }
    if (found != lines.end())
        return false;
    const bool totalLast = !lines.empty() && lines.back() != nullptr && lines.back()->EstTotal();
    lines.insert(totalLast ? lines.end() - 1 : lines.end(), LigneNonReponse(survey));
    return true;
}

} // namespace

void ChangerChampEtude(CTraitement& request, std::int32_t id, const std::string& name) {
    request.studyFieldId = id;
    request.studyFieldName = name;
}

void ChangerRedressement(CTraitement& request, std::int32_t id, const std::string& name) {
    request.weightingId = id;
    request.weightingName = name;
}

void ChangerNiveau(CTraitement& request, std::int32_t level) {
    request.level = level;
}

bool ChangerNonReponses(CTraitement& request, const CEnquete& survey, bool afficher) {
    bool changed = false;
    for (const int axis : kCotes)
        if (OffreNonReponse(request, axis))
            changed = ChangerCote(request.GetModalitesAxe(axis), survey, afficher) || changed;
    return changed;
}

} // namespace ChangementsLot
