#include "gui/requests/AppliquerChoixAuContexte.h"

#include "app/ContexteEtude.h"
#include "gui/requests/RequestDialogKind.h"
#include "tabulation/Traitement.h"

#include <array>

namespace {

using DefaultsSetter = void (CContexteEtude::*)(const std::vector<std::unique_ptr<CCalcul>>&);

struct DefaultsList {
    CalculationDefaults defaults;
    DefaultsSetter setter;
};

constexpr std::array<DefaultsList, 4> kDefaultsLists{{
    {CalculationDefaults::kQualitatifs, &CContexteEtude::AppliquerCalculsQualitatifs},
    {CalculationDefaults::kCroises, &CContexteEtude::AppliquerCalculsCroises},
    {CalculationDefaults::kNumeriques, &CContexteEtude::AppliquerCalculsNumeriques},
    {CalculationDefaults::kMoyennes, &CContexteEtude::AppliquerCalculsMoyennes},
}};

} // namespace

void AppliquerChoixAuContexte(const CTraitement& request, CContexteEtude& context) {
    const RequestDialogKind* kind = FindRequestDialogKind(request.type);
    if (kind == nullptr)
        return;
    if (kind->rowsAsDefaults)
        context.AppliquerSelectionModalites(request.GetQuestionAxe(CTraitement::kLignes),
                                            request.GetModalitesAxe(CTraitement::kLignes), 0);
    if (kind->columnsAsDefaults)
        context.AppliquerSelectionModalites(request.GetQuestionAxe(CTraitement::kColonnes),
                                            request.GetModalitesAxe(CTraitement::kColonnes), 1);
    for (const DefaultsList& list : kDefaultsLists)
        if (list.defaults == kind->calculationDefaults)
            (context.*list.setter)(request.GetCalculsLignes());
}
