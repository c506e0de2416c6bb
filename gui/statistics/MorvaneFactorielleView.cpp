#include "gui/statistics/MorvaneFactorielleView.h"

#include "app/ContexteEtude.h"
#include "app/DataAccess.h"
#include "app/MatriceCodes.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "app/VecteurDouble.h"
#include "gui/requests/AnalysisProfileChoice.h"
#include "statistics/Acm.h"
#include "statistics/Acp.h"
#include "statistics/TableauDisjonctif.h"
#include "statistics/TableauNumerique.h"
#include "gui/statistics/GenererVariableDlg.h"
#include "gui/statistics/MorvaneFactorielleDoc.h"
#include "gui/statistics/OptionsCalculDlg.h"
#include "tabulation/TableauBase.h"
#include "variables/ConstructionVariable.h"
#include "variables/ReponsesCalculees.h"
#include "variables/VariableCalculee.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <cstdio>
#include <numeric>
#include <optional>

namespace {

constexpr double kNonInterroge = -888888.88;
constexpr double kReponseReservee = -5.0;

std::string AxisLabel(int index) {
    char text[32];
    std::snprintf(text, sizeof text, "Axe %d", index + 1);
    return text;
}

int QuestionCount(const CProfil& profile) {
    int count = 0;
    for (int i = 0; i < profile.GetCount(); ++i)
        if (profile.GetQuestion(i) != nullptr)
            ++count;
    return count;
}

std::vector<std::int32_t> Signed(const std::vector<std::uint32_t>& numbers) {
    return std::vector<std::int32_t>(numbers.begin(), numbers.end());
}

} // namespace

CMorvaneFactorielleView::CMorvaneFactorielleView(QWidget* parent) : FactorFormView(parent) {
    auto* controls = new QWidget(this);
    auto* grid = new QGridLayout(controls);
    const struct {
        Controle id;
        const char* text;
        int row;
        int column;
    } counts[] = {{kActives, "Actives :", 0, 0},
                  {kIllustratives, "Illustratives :", 0, 2},
                  {kInterviewsActives, "Interviews actives :", 1, 0},
                  {kInterviewsIllustratives, "Interviews illustratives :", 1, 2}};
    for (std::size_t i = 0; i < std::size(counts); ++i) {
        m_counts[i] = AjouterCompteur(*grid, counts[i].id, counts[i].text, counts[i].row, counts[i].column);
    }
    auto button = [controls](Controle id, const char* text) {
        auto* made = new QPushButton(QString::fromUtf8(text), controls);
        made->setObjectName(QString::number(id));
        return made;
    };
    m_selection = button(kSelection, "&Sélection...");
    m_interviews = button(kInterviews, "&Interviews...");
    m_optionsButton = button(kOptions, "&Options...");
    m_recalculate = button(kRecalculer, "&Recalculer");
    m_generate = button(kGenerer, "&Générer...");
    m_generate->setEnabled(false);
    grid->addWidget(m_selection, 0, 4);
    grid->addWidget(m_interviews, 1, 4);
    grid->addWidget(m_optionsButton, 0, 5);
    grid->addWidget(m_recalculate, 1, 5);
    grid->addWidget(m_generate, 0, 6);
    grid->setColumnStretch(7, 1);
    connect(m_selection, &QPushButton::clicked, this, [this] { OnSelection(); });
    connect(m_interviews, &QPushButton::clicked, this, [this] { OnInterviews(); });
    connect(m_optionsButton, &QPushButton::clicked, this, [this] { OnOptions(); });
    connect(m_recalculate, &QPushButton::clicked, this, [this] { OnRecalculer(); });
    connect(m_generate, &QPushButton::clicked, this, [this] { OnGenerer(); });
    SetControles(controls);
}

CMorvaneFactorielleDoc* CMorvaneFactorielleView::GetFactorielleDoc() const {
    return dynamic_cast<CMorvaneFactorielleDoc*>(GetDocument());
}

CContexteEtude* CMorvaneFactorielleView::Context() const {
    return GetContexte();
}

bool CMorvaneFactorielleView::EstAcp() const {
    const CMorvaneFactorielleDoc* document = GetFactorielleDoc();
    return document != nullptr && document->GetType() == CMorvaneFactorielleDoc::kAcp;
}

void CMorvaneFactorielleView::OnInitialUpdate() {
    if (CMorvaneFactorielleDoc* document = GetFactorielleDoc())
        document->SetTitle(EstAcp() ? QStringLiteral("ACP") : QStringLiteral("AFC Disjonctive"));
    m_activeInterviews.clear();
    m_illustrativeInterviews.clear();
    if (CContexteEtude* context = Context()) {
        m_activeInterviews.resize(static_cast<std::size_t>(std::max(context->DonnerNbreInterviews(), 0)));
        std::iota(m_activeInterviews.begin(), m_activeInterviews.end(), 0u);
    }
    AfficherComptes();
}

QLabel& CMorvaneFactorielleView::GetCompte(Controle id) const {
    return *m_counts[static_cast<std::size_t>(id - kActives)];
}

QPushButton& CMorvaneFactorielleView::GetBouton(Controle id) const {
    switch (id) {
    case kSelection: return *m_selection;
    case kInterviews: return *m_interviews;
    case kOptions: return *m_optionsButton;
    case kGenerer: return *m_generate;
    default: return *m_recalculate;
    }
}

void CMorvaneFactorielleView::AfficherComptes() {
    const bool acp = EstAcp();
    const int counts[] = {acp ? QuestionCount(m_active) : m_active.GetNbreModalitesTotal(),
                          acp ? QuestionCount(m_illustrative) : m_illustrative.GetNbreModalitesTotal(),
                          static_cast<int>(m_activeInterviews.size()), static_cast<int>(m_illustrativeInterviews.size())};
    for (std::size_t i = 0; i < std::size(counts); ++i)
        m_counts[i]->setText(QString::number(counts[i]));
}

void CMorvaneFactorielleView::OnSelection() {
    CContexteEtude* context = Context();
    if (context == nullptr)
        return;
    if (ChoisirProfilsAnalyse(*context, EstAcp(), m_active, m_illustrative, this))
        AfficherComptes();
}

void CMorvaneFactorielleView::OnInterviews() {
    if (ChoisirInterviews(m_activeInterviews, m_illustrativeInterviews))
        AfficherComptes();
}

void CMorvaneFactorielleView::OnOptions() {
    COptionsCalculDlg dialog(!EstAcp(), m_options, this);
    if (dialog.exec() == QDialog::Accepted)
        m_options = dialog.DonnerOptions();
}

void CMorvaneFactorielleView::ClearAll() {
    ViderResultats();
    m_results.Vider();
    m_rows.Vider();
    m_numeric.clear();
    m_disjunctive.clear();
    m_generate->setEnabled(false);
}

void CMorvaneFactorielleView::OnRecalculer() {
    CContexteEtude* context = Context();
    if (context == nullptr)
        return;
    const bool acp = EstAcp();
    const int activeColumns = acp ? QuestionCount(m_active) : m_active.GetNbreModalitesTotal();
    if (activeColumns < 2) {
        Signaler(Message(StringTable::kAuMoinsDeuxColonnesActives));
        return;
    }
    std::optional<WaitCursor> wait(std::in_place, context->GetUserInterface());
    ClearAll();
    context->PreparerLibellesInterviews();
    const bool ran = acp ? RunAcp(*context) : RunAcm(*context);
    if (!ran) {
        ClearAll();
        return;
    }
    if (acp)
        AddAcpResults();
    else
        AddAcmResults();
    m_generate->setEnabled(true);
}

template <class Engine, class Table, class Cells, class Results>
bool CMorvaneFactorielleView::RunEngine(bool built, const CDataAccess& access, Table& table, Cells& cells,
                                        bool trivialAxis, Results& results) {
    if (!TableauUtilisable(built, access, table.lignesActives))
        return false;
    cells = std::move(table.cellules);
    m_rows.Prendre(table);
    Engine engine(table.lignesActives, table.lignesIllustratives, table.colonnesActives, table.colonnesIllustratives,
                  cells.data());
    if (!engine.Calculer()) {
        Signaler(engine.GetErreur());
        return false;
    }
    // A correspondence analysis's trivial eigenvalue, 0, sorts last: p - 1 axes at most.
    std::vector<double> offered = engine.ValeursPropres();
    if (trivialAxis && !offered.empty())
        offered.pop_back();
    int axes = 0;
    return ChoisirNombreAxes(offered, axes) && engine.DonnerResultats(axes, results);
}

bool CMorvaneFactorielleView::RunAcp(CContexteEtude& context) {
    TableauNumerique table;
    CDataAccess access(context, true);
    const bool built = LireEnUnEtat(context, [&] {
        return ConstruireTableauNumerique(access, table, Signed(m_activeInterviews), Signed(m_illustrativeInterviews),
                                          m_active, m_illustrative, m_options, context.currentLevel);
    });
    ResultatsAcp results;
    if (!RunEngine<CAcp>(built, access, table, m_numeric, false, results))
        return false;
    m_results.SetAcp(std::move(results));
    return true;
}

bool CMorvaneFactorielleView::RunAcm(CContexteEtude& context) {
    TableauDisjonctif table;
    CDataAccess access(context, true);
    const bool prefix = m_options == 1;
    const bool built = LireEnUnEtat(context, [&] {
        return ConstruireTableauDisjonctif(access, table, Signed(m_activeInterviews), Signed(m_illustrativeInterviews),
                                           m_active, m_illustrative, prefix, context.currentLevel);
    });
    ResultatsCorrespondances results;
    if (!RunEngine<CAcm>(built, access, table, m_disjunctive, true, results))
        return false;
    m_results.SetCorrespondances(std::move(results));
    return true;
}

void CMorvaneFactorielleView::AddAcpResults() {
    using M = CTableauBase::Marque;
    const ResultatsAcp& r = m_results.Acp();
    const double base = r.lignes;
    AjouterTableau("Valeurs propres", r.valeursPropres.data(), r.variablesActives, 3, kGenreAxe, kGenreValeurPropre,
                   M::kMarqueReel, base);
    AjouterTableau("Matrice de corrélation", r.matriceCorrelation.data(), r.variablesActives, r.variablesActives,
                   kGenreColonne, kGenreColonne, M::kMarqueReel, base);
    AjouterTableau("Coordonnées des lignes", r.coordonneesLignes.data(), r.lignes, r.axes, kGenreInterview, kGenreAxe,
                   M::kMarqueReel, base);
    AjouterTableau("Qualité des lignes", r.qualitesLignes.data(), r.lignes, r.axes, kGenreInterview, kGenreAxe,
                   M::kMarquePourcentage, base);
    AjouterTableau("Contribution des lignes", r.contributionsLignes.data(), r.lignesActives, r.axes, kGenreInterview,
                   kGenreAxe, M::kMarquePourcentage, base);
    AjouterTableau("Corrélations Questions x Axes", r.correlations.data(), r.variables, r.axes, kGenreColonne,
                   kGenreAxe, M::kMarqueReel, base);
    AjouterMappings(r.axes, r.coordonneesLignes.data(), r.lignes, r.correlations.data(), r.variables, true);
}

void CMorvaneFactorielleView::AddAcmResults() {
    using M = CTableauBase::Marque;
    const ResultatsCorrespondances& r = m_results.Correspondances();
    const double base = r.lignes;
    // The trivial axis is not shown: p - 1 eigenvalues.
    AjouterTableau("Valeurs propres", r.valeursPropres.data(), std::max(r.colonnesActives - 1, 0), 3, kGenreAxe,
                   kGenreValeurPropre, M::kMarqueReel, base);
    AjouterTableau("Coordonnées des lignes", r.coordonneesLignes.data(), r.lignes, r.axes, kGenreInterview, kGenreAxe,
                   M::kMarqueReel, base);
    AjouterTableau("Qualité des lignes", r.qualitesLignes.data(), r.lignes, r.axes, kGenreInterview, kGenreAxe,
                   M::kMarquePourcentage, base);
    AjouterTableau("Contribution des lignes", r.contributionsLignes.data(), r.lignesActives, r.axes, kGenreInterview,
                   kGenreAxe, M::kMarquePourcentage, base);
    AjouterTableau("Coordonnées des colonnes", r.coordonneesColonnes.data(), r.colonnes, r.axes, kGenreColonne,
                   kGenreAxe, M::kMarqueReel, base);
    AjouterTableau("Qualité des colonnes", r.qualitesColonnes.data(), r.colonnes, r.axes, kGenreColonne, kGenreAxe,
                   M::kMarquePourcentage, base);
    AjouterTableau("Contribution des colonnes", r.contributionsColonnes.data(), r.colonnesActives, r.axes,
                   kGenreColonne, kGenreAxe, M::kMarquePourcentage, base);
    AjouterMappings(r.axes, r.coordonneesLignes.data(), r.lignes, r.coordonneesColonnes.data(), r.colonnes, false);
}

// ---- Générer ----

std::vector<double> CMorvaneFactorielleView::ValeursParInterview(int result, int axis) const {
    const CContexteEtude* context = Context();
    std::vector<double> values(static_cast<std::size_t>(context != nullptr ? std::max(context->DonnerNbreInterviews(), 0) : 0),
                               kNonInterroge);
    const int axes = m_results.Axes();
    const bool acp = m_results.EstAcp();
    const std::vector<double>* table = nullptr;
    int rows = m_results.Lignes();
    switch (result) {
    case CGenererVariableDlg::kCoordonnees: table = &m_results.CoordonneesLignes(); break;
    case CGenererVariableDlg::kQualites:
        table = acp ? &m_results.Acp().qualitesLignes : &m_results.Correspondances().qualitesLignes;
        break;
    case CGenererVariableDlg::kContributions:
        table = acp ? &m_results.Acp().contributionsLignes : &m_results.Correspondances().contributionsLignes;
        rows = m_results.LignesActives();
        break;
    default: return values;
    }
    for (int i = 0; i < rows && static_cast<std::size_t>(i) < m_rows.Interviews().size(); ++i) {
        const std::int32_t interview = m_rows.Interviews()[static_cast<std::size_t>(i)];
        if (interview >= 0 && static_cast<std::size_t>(interview) < values.size())
            values[static_cast<std::size_t>(interview)] =
                (*table)[static_cast<std::size_t>(i) * static_cast<std::size_t>(axes) + static_cast<std::size_t>(axis)];
    }
    return values;
}

void CMorvaneFactorielleView::OnGenerer() {
    CContexteEtude* context = Context();
    if (context == nullptr || !m_results.Existe())
        return;
    CGenererVariableDlg dialog(*context, m_results.Axes(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    PartiesVariable parts;
    parts.label = dialog.GetLibelle();
    parts.kind = CVariableCalculee::kNumeriqueMultivarie;
    CReponsesCalculees answers;
    answers.numerique = true;
    answers.nombreReponses = 1;
    answers.valeurs = ValeursParInterview(dialog.GetResultat(), dialog.GetAxe());
    Message error;
    WaitCursor wait(context->GetUserInterface());
    if (CConstructionVariable::ConstruireAvecReponses(*context, parts, answers, error) == nullptr)
        Signaler(Message(StringTable::kEcritureVariableImpossible, {parts.label, StringTable::Format(error)}));
}

// ---- Data source ----

CLigne CMorvaneFactorielleView::DonnerLigne(std::int32_t genre, std::int32_t, std::int32_t index) const {
    switch (genre) {
    case kGenreInterview: return CLigne(DonnerLibelleLigne(index));
    case kGenreAxe: return CLigne(AxisLabel(index));
    case kGenreColonne: return CLigne(DonnerLibelleColonne(index));
    case kGenreValeurPropre: return CLigne(FactorResults::EnTeteValeursPropres(index));
    default: return CLigne();
    }
}

std::string CMorvaneFactorielleView::DonnerLibelleLigne(std::int32_t index) const {
    return m_rows.LibelleLigne(Context(), index);
}

std::string CMorvaneFactorielleView::DonnerLibelleColonne(std::int32_t index) const {
    return m_rows.LibelleColonne(index);
}




// The first answer of each row's interview; the question's reserved no-answer modality (its last
// one, when the question says so) and an empty answer give -5.
std::vector<double> CMorvaneFactorielleView::DonnerModalite(CQuestionEtendue& question) const {
    CContexteEtude* context = Context();
    if (context == nullptr || m_rows.Interviews().empty())
        return {};
    CDataAccess access(*context, true);
    CMatriceCodes codes;
    if (!access.LireReponsesFermeesNiveau(question, context->currentLevel, codes))
        return {};
    const int modalities = question.GetNbreModalite();
    const int reserved = question.hasNoAnswer != 0 ? modalities - 1 : -1;
    std::vector<double> values;
    values.reserve(m_rows.Interviews().size());
    for (const std::int32_t interview : m_rows.Interviews()) {
        const int code = interview < codes.GetNbLignes() && codes.GetNbColonnes() > 0 ? codes.GetAt(interview, 0) : -5;
        const bool named = code >= 0 && code < modalities && code != reserved;
        values.push_back(named ? static_cast<double>(code) : kReponseReservee);
    }
    return values;
}

std::vector<double> CMorvaneFactorielleView::DonnerValeur(CQuestionEtendue& question) const {
    CContexteEtude* context = Context();
    if (context == nullptr || m_rows.Interviews().empty())
        return {};
    CDataAccess access(*context, true);
    CVecteurDouble read;
    if (!access.LireValeursNumeriquesNiveau(question, context->currentLevel, read))
        return {};
    std::vector<double> values;
    values.reserve(m_rows.Interviews().size());
    for (const std::int32_t interview : m_rows.Interviews())
        values.push_back(interview < read.GetSize() ? read.GetAt(interview) : CVecteurDouble::kNoAnswer);
    return values;
}
