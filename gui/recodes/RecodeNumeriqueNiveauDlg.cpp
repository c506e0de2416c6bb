#include "app/ContexteEtude.h"
#include "gui/recodes/RecodeNumeriqueNiveauDlg.h"

#include "recodes/RecodageLevelNumerique.h"

#include <memory>

namespace {

const char* const kTitle = "Recoder une question numérique vers un autre niveau";
const char* const kMethods[] = {"Somme", "Minimum", "Maximum", "Effectif", "Moyenne", "Médiane", "Ecart Type", "Variance"};

} // namespace

CRecodeNumeriqueNiveauDlg::CRecodeNumeriqueNiveauDlg(CContexteEtude& context, CQuestionEtendue& source, QWidget* parent)
    : RecodeNiveauDialog(context, source, nullptr, std::make_unique<CRecodageLevelNumerique>(&context), QString::fromUtf8(kTitle),
                         kMethods, parent) {}

CRecodeNumeriqueNiveauDlg::CRecodeNumeriqueNiveauDlg(CContexteEtude& context, CQuestionEtendue& edited, CQuestionEtendue& source, QWidget* parent)
    : RecodeNiveauDialog(context, source, &edited, nullptr, QString::fromUtf8(kTitle), kMethods, parent) {}
