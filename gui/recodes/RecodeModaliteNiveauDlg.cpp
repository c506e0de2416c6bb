#include "app/ContexteEtude.h"
#include "gui/recodes/RecodeModaliteNiveauDlg.h"

#include "recodes/RecodageLevelModalite.h"

#include <memory>

namespace {

const char* const kTitle = "Recoder une question à modalité vers un autre niveau";
const char* const kMethods[] = {"Ajouter toutes les réponses", "Ajouter toutes les réponses sans doublons", "Sélection de la première modalité dans l'ordre de la question", "Sélection de la dernière modalité dans l'ordre de la question"};

} // namespace

CRecodeModaliteNiveauDlg::CRecodeModaliteNiveauDlg(CContexteEtude& context, CQuestionEtendue& source, QWidget* parent)
    : RecodeNiveauDialog(context, source, nullptr, std::make_unique<CRecodageLevelModalite>(&context), QString::fromUtf8(kTitle),
                         kMethods, parent) {}

CRecodeModaliteNiveauDlg::CRecodeModaliteNiveauDlg(CContexteEtude& context, CQuestionEtendue& edited, CQuestionEtendue& source, QWidget* parent)
    : RecodeNiveauDialog(context, source, &edited, nullptr, QString::fromUtf8(kTitle), kMethods, parent) {}
