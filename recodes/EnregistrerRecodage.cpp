#include "recodes/EnregistrerRecodage.h"

#include "app/ContexteEtude.h"
#include "app/DBQuestionnaire.h"
#include "app/Recodage.h"

bool EnregistrerRecodage(CRecodage& recode, CContexteEtude& context, CQuestionEtendue* source, std::string& error) {
    const bool adding = recode.id == 0;
    const std::int32_t keyBefore = recode.id;
    CDBQuestionnaire file(context, &context.GetUserInterface());
    if (!file.SauverRecodage(recode)) {
        // A failed add hands back no key.
        recode.id = keyBefore;
        error = file.GetLastError();
        return false;
    }
    if (adding)
        context.InsererQuestionsRecodage(recode, true);
    else
        context.MettreAJourQuestionsRecodage(recode, source);
    return true;
}
