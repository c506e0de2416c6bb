#include "gui/statistics/ClassificationView.h"

#include "app/ContexteEtude.h"
#include "app/StringTable.h"
#include "gui/statistics/OptionsClassificationDlg.h"
#include "gui/statistics/SelNbGroupesDlg.h"
#include "statistics/Dendogramme.h"
#include "statistics/MoteurClassificationModalites.h"
#include "statistics/MoteurClassificationNumerique.h"

#include <QPushButton>
#include <memory>

CClassificationView::CClassificationView(QWidget* parent)
    : GroupAnalysisView(false,
                        {{kSelection, "&Sélection...", &GroupAnalysisView::OnSelection},
                         {kInterviews, "&Interviews...", &GroupAnalysisView::OnInterviews},
                         {kOptions, "&Options...", &GroupAnalysisView::OnOptions},
                         {kRecalculer, "&Recalculer", &GroupAnalysisView::OnRecalculer},
                         {kGenerer, "&Générer...", nullptr}},
                        parent) {
    GetBouton(kGenerer).setEnabled(false);
}

void CClassificationView::OnInitialUpdate() {
    Initialiser("Classification hiérarchique");
}

void CClassificationView::SetOptions(int radio, bool typologie, int groupes, int graine) {
    SetRadio(radio);
    m_typologie = typologie;
    m_groupesDepart = groupes;
    m_graine = graine;
}

void CClassificationView::OnOptions() {
    COptionsClassificationDlg dialog(!EstNumerique(), GetRadio(), m_typologie, m_groupesDepart, m_graine, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    int radio = 0;
    dialog.DonnerOptions(radio, m_typologie, m_groupesDepart, m_graine);
    SetRadio(radio);
}

void CClassificationView::Vider() {
    ViderTableau();
    m_nbGroupes = 0;
    m_nbAffiches = 0;
}

bool CClassificationView::Verifier() const {
    if (NombreInterviewsActives() < kInterviewsMinimum) {
        Signaler(Message(StringTable::kAuMoinsTroisInterviews));
        return false;
    }
    if (ColonnesActivesChoisies() >= 2)
        return true;
    Signaler(EstNumerique() ? Message(StringTable::kAuMoinsDeuxColonnesActives)
                            : Message(StringTable::kAuMoinsModalitesActives, {"2"}));
    return false;
}

void CClassificationView::OnRecalculer() {
    CContexteEtude* context = Context();
    if (context == nullptr || !Verifier())
        return;
    Vider();
    if (!ConstruireTableau() || !Classer())
        Vider();
}

bool CClassificationView::Classer() {
    CContexteEtude& context = *Context();
    std::unique_ptr<CMoteurClassification> engine;
    if (EstNumerique())
        engine = std::make_unique<CMoteurClassificationNumerique>(m_lignesActives, m_colonnesActives,
                                                                  m_colonnesIllustratives, Valeurs());
    else
        engine = std::make_unique<CMoteurClassificationModalites>(m_lignesActives, m_colonnesActives,
                                                                  m_colonnesIllustratives, Modalites());
    engine->SetUserInterface(&context.GetUserInterface());
    {
        WaitCursor wait(context.GetUserInterface());
        if (!engine->Executer(m_typologie, m_groupesDepart, static_cast<unsigned>(m_graine))) {
            // A cancelled run has nothing to tell.
            if (!engine->EstAnnule())
                Signaler(engine->GetErreur());
            return false;
        }
    }
    CSelNbGroupesDlg dialog(engine->Niveaux(), engine->NombreElements(), engine->NiveauDepart(), this);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    dialog.GetNbGroupes(m_nbGroupes, m_nbAffiches);
    auto dendogramme = std::make_unique<CDendogramme>();
    dendogramme->titre = "Dendrogramme";
    dendogramme->source = this;
    dendogramme->nbGroupesAffiches = m_nbAffiches;
    dendogramme->documentSource = GetDocument();
    engine->ConstruireDendogramme(m_nbGroupes, m_nbAffiches, *dendogramme);
    std::vector<std::vector<std::int32_t>> groups;
    for (int g = 0; g < dendogramme->NombreGroupes(); ++g)
        groups.push_back(CDendogramme::Interviews(*dendogramme->Groupe(g)));
    AjouterDendogramme(std::move(dendogramme));
    AjouterDescriptions(groups, m_lignesActives);
    return true;
}
