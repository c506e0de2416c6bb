#include "tools/bench/BenchProfiles.h"

#include <string>
#include <utility>

#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "app/Calcul.h"

namespace bench {

CProfil ProfileOf(const std::vector<CQuestionEtendue*>& closed, std::size_t first, std::size_t count) {
    CProfil profile;
    for (std::size_t q = first; q < first + count; ++q) {
        std::vector<std::unique_ptr<CModaliteEtendue>> all;
        closed[q]->DonnerModalites(all, false);
        std::vector<std::unique_ptr<CModaliteEtendue>> chosen;
        for (auto& modality : all)
            if (modality->code > 0)
                chosen.push_back(std::move(modality));
        profile.Add(closed[q], chosen);
    }
    return profile;
}

std::unique_ptr<CTraitement> ProfileRequest(std::int16_t type, const CProfil& rows, const CProfil& columns) {
    auto request = std::make_unique<CTraitement>();
    request->type = type;
    request->title = "Profils";
    request->SetTypeAxe(CTraitement::kLignes, CTraitement::kAxeProfilFermees);
    request->SetTypeAxe(CTraitement::kColonnes, CTraitement::kAxeProfilFermees);
    request->SetProfilAxe(&rows, CTraitement::kLignes);
    request->SetProfilAxe(&columns, CTraitement::kColonnes);
    request->mergeOptions.Type = CTypeFusion::kSeparateTables;
    request->mergeOptions.EstTableauParLigne = 0;
    request->mergeOptions.EstTableauParColonne = 0;
    request->mergeOptions.EstVersDossier = 0;
    request->presentation.SetReel(6);
    return request;
}

std::unique_ptr<CTraitement> CrossedProfileRequest(const CProfil& rows, const CProfil& columns) {
    auto request = ProfileRequest(CTraitement::kProfilsCroises, rows, columns);
    std::vector<std::unique_ptr<CCalcul>> calculations;
    for (std::int32_t code : {0, 1, 2})
        calculations.push_back(std::make_unique<CCalcul>(code, "Calcul " + std::to_string(code), true));
    request->SetCalculsLignes(calculations);
    return request;
}

} // namespace bench
