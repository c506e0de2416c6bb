#include "gui/openanswers/OuvTypologieView.h"

#include "app/ContexteEtude.h"
#include "gui/openanswers/OuvCorpusDoc.h"
#include "gui/openanswers/SelectionFormesDlg.h"
#include "openanswers/Forme.h"
#include "openanswers/OuvCorpus.h"
#include "statistics/TableauDisjonctif.h"

#include <QLabel>
#include <algorithm>
#include <numeric>

COuvTypologieView::COuvTypologieView(QWidget* parent)
    : CTypologieView({{kFormesActives, "Actives :"}, {kFormesIllustratives, "Illustratives :"}},
                     {{kFormes, "&Formes...", &GroupAnalysisView::OnSelection},
                      {kOptions, "&Options...", &GroupAnalysisView::OnOptions},
                      {kRecalculer, "&Recalculer", &GroupAnalysisView::OnRecalculer},
                      {kGenerer, "&Générer...", nullptr}},
                     parent) {}

COuvCorpus* COuvTypologieView::Corpus() const {
    const auto* document = dynamic_cast<const COuvCorpusDoc*>(GetDocument());
    return document != nullptr ? document->GetCorpus() : nullptr;
}

void COuvTypologieView::OnInitialUpdate() {
    Initialiser("Typologie");
}

void COuvTypologieView::OnSelection() {
    const COuvCorpus* corpus = Corpus();
    if (corpus == nullptr)
        return;
    CSelectionFormesDlg dialog(m_actives, m_illustratives, *corpus, this);
    if (dialog.exec() == QDialog::Accepted)
        AfficherComptes();
}

void COuvTypologieView::AfficherComptes() {
    GetCompte(kFormesActives).setText(QString::number(m_actives.size()));
    GetCompte(kFormesIllustratives).setText(QString::number(m_illustratives.size()));
}

bool COuvTypologieView::ConstruireTableau() {
    const COuvCorpus* corpus = Corpus();
    CContexteEtude* context = Context();
    if (corpus == nullptr || context == nullptr)
        return false;
    context->PreparerLibellesInterviews();
    TableauDisjonctif table;
    if (!corpus->MatriceTypologie(table.cellules, m_actives, m_illustratives))
        return false;
    table.lignesActives = std::max(context->DonnerNbreInterviews(), 0);
    table.colonnesActives = static_cast<int>(m_actives.size());
    table.colonnesIllustratives = static_cast<int>(m_illustratives.size());
    // Row i is the answer of interview i.
    table.interviews.resize(static_cast<std::size_t>(table.lignesActives));
    std::iota(table.interviews.begin(), table.interviews.end(), 0);
    for (const std::vector<int>* entries : {&m_actives, &m_illustratives})
        for (const int entry : *entries) {
            const CForme* form = corpus->DonnerForme(entry);
            table.libellesColonnes.push_back(form != nullptr ? form->text : std::string());
        }
    GarderModalites(std::move(table));
    return true;
}
