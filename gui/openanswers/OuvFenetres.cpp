#include "gui/openanswers/OuvFenetres.h"

#include "app/ContexteEtude.h"
#include "app/StringTable.h"
#include "app/UserInterface.h"
#include "export/TableExports.h"
#include "gui/tabulation/TableauView.h"
#include "openanswers/OuvCorpus.h"
#include "tabulation/Tableau.h"

#include <optional>
#include <string>

namespace {
OuvFenetres::AjoutDossier& PortfolioAdder() {
    static OuvFenetres::AjoutDossier add;
    return add;
}

OuvFenetres::OuvertureConcordance& ConcordanceOpener() {
    static OuvFenetres::OuvertureConcordance open;
    return open;
}
} // namespace

void OuvFenetres::SetOuvertureConcordance(OuvertureConcordance open) {
    ConcordanceOpener() = std::move(open);
}

void OuvFenetres::OuvrirConcordance(CQuestionEtendue& question, std::int32_t entry, std::int16_t kind) {
    if (ConcordanceOpener())
        ConcordanceOpener()(question, entry, kind);
}

void OuvFenetres::SetAjoutDossier(AjoutDossier add) {
    PortfolioAdder() = std::move(add);
}

bool OuvFenetres::PeutAjouterAuDossier() {
    return static_cast<bool>(PortfolioAdder());
}

bool OuvFenetres::AjouterAuDossier(const CTableau& table) {
    if (!PortfolioAdder())
        return false;
    PortfolioAdder()(table);
    return true;
}

std::unique_ptr<COuvCorpus> OuvFenetres::OuvrirCorpus(CContexteEtude& context, CQuestionEtendue& question) {
    auto corpus = std::make_unique<COuvCorpus>(context, question);
    bool opened = false;
    {
        WaitCursor wait(context.GetUserInterface());
        opened = corpus->Ouvrir();
    }
    if (opened)
        return corpus;
    context.GetUserInterface().ShowMessage(corpus->GetErreur(), UserInterface::Icon::Warning);
    return nullptr;
}

bool OuvFenetres::ExporterWord(const CTableau& table, QWidget* parent) {
    const std::optional<std::string> path = CTableauView::DemanderFichierExport(parent, StringTable::kFichiersRtf);
    if (!path)
        return false;
    CContexteEtude* context = GetContexte();
    const std::string questionnaire = context != nullptr ? context->questionnairePath : std::string();
    Message error;
    bool written = false;
    {
        std::optional<WaitCursor> wait;
        if (context != nullptr)
            wait.emplace(context->GetUserInterface());
        written = ExporterTableauWord(table, *path, questionnaire, error);
    }
    if (!written && context != nullptr)
        context->GetUserInterface().ShowMessage(error, UserInterface::Icon::Warning);
    return written;
}
