#include "gui/statistics/TypologieView.h"

#include "app/ContexteEtude.h"
#include "app/StringTable.h"
#include "gui/statistics/OptionsCalculDlg.h"
#include "statistics/CentresMobilesNumerique.h"
#include "statistics/CentresMobilesQualitatif.h"
#include "tabulation/TableauBase.h"
#include "variables/ConstructionVariable.h"
#include "variables/VariableGroupes.h"

#include <QGridLayout>
#include <QInputDialog>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <functional>
#include <memory>

namespace {

using M = CTableauBase::Marque;

constexpr int kValeursParIndividu = 2;

// The label of the new question, asked again while it is refused; false on cancel.
bool DemanderLibelle(QWidget* parent, const CContexteEtude& context, std::string& label,
                     const std::function<void(const Message&)>& tell) {
    for (;;) {
        QInputDialog prompt(parent);
        prompt.setInputMode(QInputDialog::TextInput);
        prompt.setWindowTitle(QStringLiteral("Morvane"));
        prompt.setLabelText(QString::fromStdString(StringTable::Text(StringTable::kEntrerLibelleQuestion)));
        prompt.setTextValue(QString::fromStdString(label));
        if (prompt.exec() != QDialog::Accepted)
            return false;
        label = prompt.textValue().toStdString();
        const Message refused = CConstructionVariable::VerifierLibelle(context, label, nullptr);
        if (refused.id == 0)
            return true;
        tell(refused);
    }
}

} // namespace

CTypologieView::CTypologieView(QWidget* parent)
    : GroupAnalysisView(true,
                        {{kSelection, "&Sélection...", &GroupAnalysisView::OnSelection},
                         {kInterviews, "&Interviews...", &GroupAnalysisView::OnInterviews},
                         {kOptions, "&Options...", &GroupAnalysisView::OnOptions},
                         {kRecalculer, "&Recalculer", &GroupAnalysisView::OnRecalculer},
                         {kGenerer, "&Générer...", nullptr}},
                        parent),
      m_groups(new QSpinBox(this)) {
    AjouterNombreGroupes();
}

CTypologieView::CTypologieView(const std::vector<Compteur>& counts, const std::vector<Bouton>& buttons,
                               QWidget* parent)
    : GroupAnalysisView(counts, buttons, parent), m_groups(new QSpinBox(this)) {
    AjouterNombreGroupes();
}

void CTypologieView::AjouterNombreGroupes() {
    m_groups->setObjectName(QString::number(kNombreGroupes));
    m_groups->setRange(kGroupesMinimum, kGroupesMaximum);
    m_groups->setValue(kGroupesDefaut);
    Grille().addWidget(new QLabel(QStringLiteral("Nombre de groupes :"), this), 2, 0);
    Grille().addWidget(m_groups, 2, 1);
    connect(&GetBouton(kGenerer), &QPushButton::clicked, this, [this] { OnGenerer(); });
}

void CTypologieView::OnInitialUpdate() {
    Initialiser("Typologie");
}

void CTypologieView::SetOptions(bool stabilite, int nombre, int radio) {
    m_stabilite = stabilite;
    m_nombre = nombre;
    SetRadio(radio);
}

void CTypologieView::OnOptions() {
    COptionsCalculDlg dialog(!EstNumerique(), m_stabilite, m_nombre, GetRadio(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    int radio = 0;
    dialog.DonnerOptions(m_stabilite, m_nombre, radio);
    SetRadio(radio);
}

void CTypologieView::Vider() {
    ViderTableau();
    m_parIndividu.clear();
    m_parGroupe.clear();
    m_calcule = false;
    m_groupesCalcules = 0;
    m_nbGroupesResultats = 0;
}

void CTypologieView::OnRecalculer() {
    CContexteEtude* context = Context();
    if (context == nullptr)
        return;
    const int k = m_groups->value();
    if (!ColonnesSuffisantes())
        return;
    WaitCursor wait(context->GetUserInterface());
    Vider();
    if (!ConstruireTableau() || !Executer(k)) {
        Vider();
        return;
    }
    AjouterResultats(k);
    m_calcule = true;
}

bool CTypologieView::ColonnesSuffisantes() {
    if (ColonnesActivesChoisies() >= 2)
        return true;
    Signaler(Message(StringTable::kAuMoinsDeuxColonnesActives));
    return false;
}

bool CTypologieView::Executer(int k) {
    std::unique_ptr<CCentresMobiles> engine;
    if (EstNumerique())
        engine = std::make_unique<CCentresMobilesNumerique>(m_lignesActives, m_lignesIllustratives, m_colonnesActives,
                                                            m_colonnesIllustratives, Valeurs());
    else
        engine = std::make_unique<CCentresMobilesQualitatif>(m_lignesActives, m_lignesIllustratives,
                                                             m_colonnesActives, m_colonnesIllustratives, Modalites());
    if (!engine->Executer(k, m_parIndividu, m_parGroupe, m_stabilite, m_nombre)) {
        Signaler(engine->GetErreur());
        return false;
    }
    m_groupesCalcules = k;
    return true;
}

void CTypologieView::AjouterResultats(int k) {
    const int rows = m_lignesActives + m_lignesIllustratives;
    m_nbGroupesResultats = k;
    AjouterTableau("Résultats par groupe", m_parGroupe.data(), k + 1, kGenreGroupe, kGenreResultatGroupe,
                   {M::kMarqueEffectif, M::kMarquePourcentage, M::kMarqueReel, M::kMarquePourcentage}, rows);
    AjouterTableau("Résultats par interview", m_parIndividu.data(), rows, kGenreInterview, kGenreResultatInterview,
                   {M::kMarqueEffectif, M::kMarqueReel}, rows);
    std::vector<std::vector<std::int32_t>> groups(static_cast<std::size_t>(k));
    for (int row = 0; row < rows; ++row) {
        const int group = static_cast<int>(m_parIndividu[static_cast<std::size_t>(row) * kValeursParIndividu]);
        if (group >= 1 && group <= k)
            groups[static_cast<std::size_t>(group - 1)].push_back(row);
    }
    AjouterDescriptions(groups, rows);
}

void CTypologieView::OnGenerer() {
    CContexteEtude* context = Context();
    if (context == nullptr || !m_calcule)
        return;
    std::string label;
    if (!DemanderLibelle(this, *context, label, [this](const Message& m) { Signaler(m); }))
        return;
    WaitCursor wait(context->GetUserInterface());
    Message error;
    if (CVariableGroupes::Generer(*context, label, m_groupesCalcules, GetInterviewsLignes(), m_parIndividu, error) ==
        nullptr)
        Signaler(Message(StringTable::kEcritureVariableImpossible, {label, StringTable::Format(error)}));
}
