#include "app/ContexteEtude.h"
#include "gui/recodes/RecodeOuverteNiveauDlg.h"

#include "recodes/RecodageLevelOpen.h"

#include <memory>

namespace {

const char* const kTitle = "Recoder une question ouverte vers un autre niveau";
} // namespace

CRecodeOuverteNiveauDlg::CRecodeOuverteNiveauDlg(CContexteEtude& context, CQuestionEtendue& source, QWidget* parent)
    : RecodeNiveauDialog(context, source, nullptr, std::make_unique<CRecodageLevelOpen>(&context), QString::fromUtf8(kTitle),
                         std::span<const char* const>(), parent) {}

CRecodeOuverteNiveauDlg::CRecodeOuverteNiveauDlg(CContexteEtude& context, CQuestionEtendue& edited, CQuestionEtendue& source, QWidget* parent)
    : RecodeNiveauDialog(context, source, &edited, nullptr, QString::fromUtf8(kTitle), std::span<const char* const>(), parent) {}
