#include "gui/statistics/GroupAnalysisView.h"

#include "app/ContexteEtude.h"
#include "app/DataAccess.h"
#include "app/StringTable.h"
#include "framework/Document.h"
#include "gui/requests/AnalysisProfileChoice.h"
#include "gui/statistics/MorvaneFactorielleDoc.h"
#include "gui/statistics/SelInterviewsDlg.h"
#include "statistics/DescriptionGroupes.h"
#include "statistics/TableauDisjonctif.h"
#include "statistics/TableauNumerique.h"
#include "tabulation/TableauBase.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <array>
#include <numeric>

namespace {

using M = CTableauBase::Marque;

// The fixed column headers of the result tables, by label kind.
const std::vector<std::string>& EnTetes(std::int32_t genre) {
    static const std::array<std::vector<std::string>, 7> headers{{
        {},
        {"Effectif", "Pourcentage", "Inertie x 1000", "% expliqué"},
        {},
        {"Valeur test", "Effectif dans le groupe", "% dans le groupe", "% total"},
        {},
        {"Groupe", "Distance par 1000"},
        {"Valeur test", "Moyenne dans le groupe", "Ecart-type dans le groupe", "Moyenne", "Ecart-type"},
    }};
    static const std::vector<std::string> none;
    return genre >= 0 && genre < static_cast<std::int32_t>(headers.size()) ? headers[static_cast<std::size_t>(genre)]
                                                                            : none;
}

std::vector<std::int32_t> Signed(const std::vector<std::uint32_t>& numbers) {
    return std::vector<std::int32_t>(numbers.begin(), numbers.end());
}

int QuestionCount(const CProfil& profile) {
    int count = 0;
    for (int i = 0; i < profile.GetCount(); ++i)
        if (profile.GetQuestion(i) != nullptr)
            ++count;
    return count;
}

std::vector<GroupAnalysisView::Compteur> CountsOf(bool illustrativeInterviewsCount) {
    std::vector<GroupAnalysisView::Compteur> counts{{GroupAnalysisView::kActives, "Actives :"},
                                                    {GroupAnalysisView::kIllustratives, "Illustratives :"},
                                                    {GroupAnalysisView::kInterviewsActives, "Interviews actives :"}};
    if (illustrativeInterviewsCount)
        counts.push_back({GroupAnalysisView::kInterviewsIllustratives, "Interviews illustratives :"});
    return counts;
}

} // namespace

GroupAnalysisView::GroupAnalysisView(bool illustrativeInterviewsCount, const std::vector<Bouton>& buttons,
                                     QWidget* parent)
    : GroupAnalysisView(CountsOf(illustrativeInterviewsCount), buttons, parent) {}

GroupAnalysisView::GroupAnalysisView(const std::vector<Compteur>& counts, const std::vector<Bouton>& buttons,
                                     QWidget* parent)
    : AnalysisFormView(parent), m_grid(nullptr) {
    auto* controls = new QWidget(this);
    auto* grid = new QGridLayout(controls);
    m_grid = grid;
    for (std::size_t i = 0; i < counts.size(); ++i)
        m_counts.push_back(AjouterCompteur(*grid, counts[i].id, counts[i].caption, static_cast<int>(i / 2),
                                           static_cast<int>(i % 2) * 2));
    int column = 4;
    for (const Bouton& button : buttons) {
        auto* made = new QPushButton(QString::fromUtf8(button.text), controls);
        made->setObjectName(QString::number(button.id));
        grid->addWidget(made, column % 2 == 0 ? 0 : 1, 4 + (column - 4) / 2);
        if (button.action != nullptr)
            connect(made, &QPushButton::clicked, this, [this, action = button.action] { (this->*action)(); });
        m_buttons.push_back(made);
        ++column;
    }
    grid->setColumnStretch(4 + (column - 3) / 2, 1);
    SetControles(controls);
}

CContexteEtude* GroupAnalysisView::Context() const {
    return GetContexte();
}

CMorvaneFactorielleDoc* GroupAnalysisView::GetFactorielleDoc() const {
    return dynamic_cast<CMorvaneFactorielleDoc*>(GetDocument());
}

bool GroupAnalysisView::EstNumerique() const {
    const CMorvaneFactorielleDoc* document = GetFactorielleDoc();
    return document != nullptr && document->GetType() % 2 == 1;
}

QLabel& GroupAnalysisView::GetCompte(int id) const {
    const QString name = QString::number(id);
    for (QLabel* count : m_counts)
        if (count->objectName() == name)
            return *count;
    return *m_counts.front();
}

QPushButton& GroupAnalysisView::GetBouton(int id) const {
    const QString name = QString::number(id);
    for (QPushButton* button : m_buttons)
        if (button->objectName() == name)
            return *button;
    return *m_buttons.front();
}

void GroupAnalysisView::Initialiser(const char* title) {
    if (CDocument* document = GetDocument())
        document->SetTitle(QString::fromUtf8(title));
    m_activeInterviews.clear();
    m_illustrativeInterviews.clear();
    if (CContexteEtude* context = Context()) {
        m_activeInterviews.resize(static_cast<std::size_t>(std::max(context->DonnerNbreInterviews(), 0)));
        std::iota(m_activeInterviews.begin(), m_activeInterviews.end(), 0u);
    }
    AfficherComptes();
}

int GroupAnalysisView::ColonnesActivesChoisies() const {
    return EstNumerique() ? QuestionCount(m_active) : m_active.GetNbreModalitesTotal();
}

void GroupAnalysisView::AfficherComptes() {
    const bool numeric = EstNumerique();
    const int counts[] = {numeric ? QuestionCount(m_active) : m_active.GetNbreModalitesTotal(),
                          numeric ? QuestionCount(m_illustrative) : m_illustrative.GetNbreModalitesTotal(),
                          static_cast<int>(m_activeInterviews.size()), static_cast<int>(m_illustrativeInterviews.size())};
    for (std::size_t i = 0; i < m_counts.size(); ++i)
        m_counts[i]->setText(QString::number(counts[i]));
}

void GroupAnalysisView::OnSelection() {
    CContexteEtude* context = Context();
    if (context != nullptr && ChoisirProfilsAnalyse(*context, EstNumerique(), m_active, m_illustrative, this))
        AfficherComptes();
}

void GroupAnalysisView::OnInterviews() {
    CContexteEtude* context = Context();
    if (context == nullptr)
        return;
    context->PreparerLibellesInterviews();
    CSelInterviewsDlg dialog(*context, m_activeInterviews, m_illustrativeInterviews, this);
    if (dialog.exec() == QDialog::Accepted)
        AfficherComptes();
}

template <class Table, class Cells>
bool GroupAnalysisView::Garder(bool built, const CDataAccess& access, Table& table, Cells& cells) {
    if (!TableauUtilisable(built, access, table.lignesActives))
        return false;
    Prendre(table, cells);
    return true;
}

template <class Table, class Cells> void GroupAnalysisView::Prendre(Table& table, Cells& cells) {
    cells = std::move(table.cellules);
    m_rows.Prendre(table);
    m_lignesActives = table.lignesActives;
    m_lignesIllustratives = table.lignesIllustratives;
    m_colonnesActives = table.colonnesActives;
    m_colonnesIllustratives = table.colonnesIllustratives;
}

void GroupAnalysisView::GarderModalites(TableauDisjonctif table) {
    Prendre(table, m_disjunctive);
}

bool GroupAnalysisView::ConstruireTableau() {
    CContexteEtude* context = Context();
    if (context == nullptr)
        return false;
    context->PreparerLibellesInterviews();
    CDataAccess access(*context, true);
    const std::vector<std::int32_t> actives = Signed(m_activeInterviews);
    const std::vector<std::int32_t> illustratives = Signed(m_illustrativeInterviews);
    constexpr int kNiveauInterviews = 0;
    if (EstNumerique()) {
        TableauNumerique table;
        const bool built = LireEnUnEtat(*context, [&] {
            return ConstruireTableauNumerique(access, table, actives, illustratives, m_active, m_illustrative, m_radio,
                                              kNiveauInterviews);
        });
        return Garder(built, access, table, m_numeric);
    }
    TableauDisjonctif table;
    const bool built = LireEnUnEtat(*context, [&] {
        return ConstruireTableauDisjonctif(access, table, actives, illustratives, m_active, m_illustrative,
                                           m_radio == 1, kNiveauInterviews);
    });
    return Garder(built, access, table, m_disjunctive);
}

void GroupAnalysisView::ViderTableau() {
    ViderResultats();
    m_rows.Vider();
    m_numeric.clear();
    m_disjunctive.clear();
    m_lignesActives = m_lignesIllustratives = m_colonnesActives = m_colonnesIllustratives = 0;
}

void GroupAnalysisView::AjouterDescriptions(const std::vector<std::vector<std::int32_t>>& groups, int rows) {
    const bool numeric = EstNumerique();
    const int columns = m_colonnesActives + m_colonnesIllustratives;
    const std::int32_t genre = numeric ? kGenreDescriptionNumerique : kGenreDescriptionModalites;
    const std::vector<std::uint16_t> markers =
        numeric ? std::vector<std::uint16_t>(5, M::kMarqueReel)
                : std::vector<std::uint16_t>{M::kMarqueReel, M::kMarqueEffectif, M::kMarqueReel, M::kMarqueReel};
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const std::vector<double> values = numeric ? DescriptionGroupeNumerique(Valeurs(), rows, columns, groups[g])
                                                   : DescriptionGroupeModalites(Modalites(), rows, columns, groups[g]);
        const std::string title =
            StringTable::Format(Message(StringTable::kGroupeNumero, {std::to_string(g + 1)}));
        AjouterTableau(title, values.data(), columns, kGenreColonne, genre, markers,
                       static_cast<double>(groups[g].size()));
    }
}

CLigne GroupAnalysisView::DonnerLigne(std::int32_t genre, std::int32_t, std::int32_t index) const {
    switch (genre) {
    case kGenreGroupe:
        if (index < 0 || index > m_nbGroupesResultats)
            return CLigne();
        return CLigne(index == m_nbGroupesResultats
                          ? std::string("Total")
                          : StringTable::Format(Message(StringTable::kGroupeNumero, {std::to_string(index + 1)})));
    case kGenreColonne: return CLigne(DonnerLibelleColonne(index));
    case kGenreInterview: return CLigne(DonnerLibelleLigne(index));
    default: {
        const std::vector<std::string>& headers = EnTetes(genre);
        if (index < 0 || static_cast<std::size_t>(index) >= headers.size())
            return CLigne();
        return CLigne(headers[static_cast<std::size_t>(index)]);
    }
    }
}

std::string GroupAnalysisView::DonnerLibelleLigne(std::int32_t index) const {
    return m_rows.LibelleLigne(Context(), index);
}

std::string GroupAnalysisView::DonnerLibelleColonne(std::int32_t index) const {
    return m_rows.LibelleColonne(index);
}
