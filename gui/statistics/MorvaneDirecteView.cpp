#include "gui/statistics/MorvaneDirecteView.h"

#include "app/ContexteEtude.h"
#include "app/StringTable.h"
#include "statistics/Acp.h"
#include "statistics/Afc.h"
#include "gui/statistics/MorvaneDirecteDoc.h"
#include "gui/statistics/SelLignesDlg.h"
#include "tabulation/Tableau.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <cstdio>
#include <numeric>
#include <optional>

namespace {

constexpr double kNonReponse = -999999.99;
constexpr double kNonInterroge = -888888.88;

std::vector<std::uint32_t> AllIndexes(std::size_t count) {
    std::vector<std::uint32_t> indexes(count);
    std::iota(indexes.begin(), indexes.end(), 0u);
    return indexes;
}

std::vector<std::uint32_t> Concatenated(const std::vector<std::uint32_t>& first, const std::vector<std::uint32_t>& second) {
    std::vector<std::uint32_t> all = first;
    all.insert(all.end(), second.begin(), second.end());
    return all;
}

std::string AxisLabel(int index) {
    char text[32];
    std::snprintf(text, sizeof text, "Axe %d", index + 1);
    return text;
}

} // namespace

CMorvaneDirecteView::CMorvaneDirecteView(QWidget* parent) : FactorFormView(parent) {
    auto* controls = new QWidget(this);
    auto* grid = new QGridLayout(controls);
    const struct {
        Controle id;
        const char* text;
        int row;
        int column;
    } counts[] = {{kLignesActives, "Lignes actives :", 0, 0},
                  {kLignesIllustratives, "Lignes illustratives :", 0, 2},
                  {kColonnesActives, "Colonnes actives :", 1, 0},
                  {kColonnesIllustratives, "Colonnes illustratives :", 1, 2}};
    for (std::size_t i = 0; i < std::size(counts); ++i) {
        m_counts[i] = AjouterCompteur(*grid, counts[i].id, counts[i].text, counts[i].row, counts[i].column);
    }
    m_rowsButton = new QPushButton(QStringLiteral("..."), controls);
    m_rowsButton->setObjectName(QString::number(kBoutonLignes));
    m_columnsButton = new QPushButton(QStringLiteral("..."), controls);
    m_columnsButton->setObjectName(QString::number(kBoutonColonnes));
    m_recalculate = new QPushButton(QStringLiteral("&Recalculer"), controls);
    m_recalculate->setObjectName(QString::number(kRecalculer));
    grid->addWidget(m_rowsButton, 0, 4);
    grid->addWidget(m_columnsButton, 1, 4);
    grid->addWidget(m_recalculate, 0, 5, 2, 1);
    grid->setColumnStretch(6, 1);
    connect(m_rowsButton, &QPushButton::clicked, this, [this] { OnLignes(); });
    connect(m_columnsButton, &QPushButton::clicked, this, [this] { OnColonnes(); });
    connect(m_recalculate, &QPushButton::clicked, this, [this] { OnRecalculer(); });
    SetControles(controls);
}

CMorvaneDirecteDoc* CMorvaneDirecteView::GetDirecteDoc() const {
    return dynamic_cast<CMorvaneDirecteDoc*>(GetDocument());
}

bool CMorvaneDirecteView::EstAcp() const {
    const CMorvaneDirecteDoc* document = GetDirecteDoc();
    return document == nullptr || document->GetType() != CMorvaneDirecteDoc::kAfc;
}

void CMorvaneDirecteView::OnInitialUpdate() {
    CMorvaneDirecteDoc* document = GetDirecteDoc();
    if (document == nullptr || document->GetTableau() == nullptr)
        return;
    document->SetTitle(EstAcp() ? QStringLiteral("ACP") : QStringLiteral("AFC"));
    const CTableau& table = *document->GetTableau();
    const int rowLevel = std::max(table.RowHeaderLevels() - 1, 0);
    const int columnLevel = std::max(table.ColumnHeaderLevels() - 1, 0);
    m_rowLabels.clear();
    m_columnLabels.clear();
    for (int i = 0; i < table.RowCount(); ++i)
        m_rowLabels.push_back(table.GetLibelleLigne(rowLevel, i));
    for (int j = 0; j < table.ColumnCount(); ++j)
        m_columnLabels.push_back(table.GetLibelleColonne(columnLevel, j));
    m_activeRows = AllIndexes(m_rowLabels.size());
    m_activeColumns = AllIndexes(m_columnLabels.size());
    m_illustrativeRows.clear();
    m_illustrativeColumns.clear();
    ShowCounts();
}

QLabel& CMorvaneDirecteView::GetCompte(Controle id) const {
    return *m_counts[static_cast<std::size_t>(id - kLignesActives)];
}

QPushButton& CMorvaneDirecteView::GetBouton(Controle id) const {
    return id == kBoutonLignes ? *m_rowsButton : id == kBoutonColonnes ? *m_columnsButton : *m_recalculate;
}

void CMorvaneDirecteView::ShowCounts() {
    const std::size_t sizes[] = {m_activeRows.size(), m_illustrativeRows.size(), m_activeColumns.size(),
                                 m_illustrativeColumns.size()};
    for (std::size_t i = 0; i < std::size(sizes); ++i)
        m_counts[i]->setText(QString::number(sizes[i]));
}

void CMorvaneDirecteView::OnLignes() {
    CSelLignesDlg dialog(m_rowLabels, m_activeRows, m_illustrativeRows, this);
    if (dialog.exec() == QDialog::Accepted)
        ShowCounts();
}

void CMorvaneDirecteView::OnColonnes() {
    CSelLignesDlg dialog(m_columnLabels, m_activeColumns, m_illustrativeColumns, this);
    if (dialog.exec() == QDialog::Accepted)
        ShowCounts();
}

void CMorvaneDirecteView::ClearAll() {
    ViderResultats();
    m_results.Vider();
    m_matrix.clear();
}

void CMorvaneDirecteView::OnRecalculer() {
    if (m_activeRows.size() < 2) {
        Signaler(Message(StringTable::kAuMoinsDeuxLignesActives));
        return;
    }
    if (m_activeColumns.size() < 2) {
        Signaler(Message(StringTable::kAuMoinsDeuxColonnesActives));
        return;
    }
    CContexteEtude* context = GetContexte();
    std::optional<WaitCursor> wait;
    if (context != nullptr)
        wait.emplace(context->GetUserInterface());
    ClearAll();
    if (!BuildMatrix() || !RunEngine()) {
        m_matrix.clear();
        return;
    }
    AddResults();
}

bool CMorvaneDirecteView::BuildMatrix() {
    const CTableau& table = *GetDirecteDoc()->GetTableau();
    m_rowMap = Concatenated(m_activeRows, m_illustrativeRows);
    m_columnMap = Concatenated(m_activeColumns, m_illustrativeColumns);
    m_matrix.assign(m_rowMap.size() * m_columnMap.size(), 0.0);
    const bool correspondence = !EstAcp();
    for (std::size_t i = 0; i < m_rowMap.size(); ++i) {
        for (std::size_t j = 0; j < m_columnMap.size(); ++j) {
            const int row = static_cast<int>(m_rowMap[i]);
            const int column = static_cast<int>(m_columnMap[j]);
            const double value = table.GetValeur(row, column);
            const bool missing = value == kNonReponse || value == kNonInterroge;
            if (missing || (correspondence && value < 0.0)) {
                Signaler(Message(missing ? StringTable::kCelluleManquante : StringTable::kCelluleNegative,
                                 {std::to_string(row + 1), std::to_string(column + 1)}));
                return false;
            }
            m_matrix[i * m_columnMap.size() + j] = value;
        }
    }
    return true;
}

bool CMorvaneDirecteView::RunEngine() {
    const int n = static_cast<int>(m_activeRows.size());
    const int nIllustratives = static_cast<int>(m_illustrativeRows.size());
    const int p = static_cast<int>(m_activeColumns.size());
    const int q = static_cast<int>(m_illustrativeColumns.size());
    int axes = 0;
    if (EstAcp()) {
        CAcp engine(n, nIllustratives, p, q, m_matrix.data());
        if (!engine.Calculer()) {
            Signaler(engine.GetErreur());
            return false;
        }
        ResultatsAcp results;
        if (!ChoisirNombreAxes(engine.ValeursPropres(), axes) || !engine.DonnerResultats(axes, results))
            return false;
        m_results.SetAcp(std::move(results));
        return true;
    }
    CAfc engine(n, nIllustratives, p, q, m_matrix.data());
    if (!engine.Calculer()) {
        Signaler(engine.GetErreur());
        return false;
    }
    ResultatsCorrespondances results;
    if (!ChoisirNombreAxes(engine.ValeursPropres(), axes) || !engine.DonnerResultats(axes, results))
        return false;
    m_results.SetCorrespondances(std::move(results));
    return true;
}

void CMorvaneDirecteView::AddResults() {
    using M = CTableauBase::Marque;
    const int n = m_results.LignesActives();
    const int rows = m_results.Lignes();
    const int p = m_results.ColonnesActives();
    const int columns = m_results.Colonnes();
    const int a = m_results.Axes();
    const double base = rows;
    AjouterTableau("Valeurs propres", m_results.ValeursPropres().data(), m_results.NombreValeursPropres(), 3,
                   kGenreAxe, kGenreValeurPropre, M::kMarqueReel, base);
    AjouterTableau("Matrice de travail", m_matrix.data(), rows, columns, kGenreLigne, kGenreColonne, M::kMarqueReel,
                   base);
    if (m_results.EstAcp())
        AjouterTableau("Matrice de corrélation", m_results.Acp().matriceCorrelation.data(), p, p, kGenreColonne,
                       kGenreColonne, M::kMarqueReel, base);
    const std::vector<double>& rowQualities =
        m_results.EstAcp() ? m_results.Acp().qualitesLignes : m_results.Correspondances().qualitesLignes;
    const std::vector<double>& rowContributions =
        m_results.EstAcp() ? m_results.Acp().contributionsLignes : m_results.Correspondances().contributionsLignes;
    AjouterTableau("Coordonnées des lignes", m_results.CoordonneesLignes().data(), rows, a, kGenreLigne, kGenreAxe,
                   M::kMarqueReel, base);
    AjouterTableau("Qualité des lignes", rowQualities.data(), rows, a, kGenreLigne, kGenreAxe, M::kMarquePourcentage,
                   base);
    AjouterTableau("Contribution des lignes", rowContributions.data(), n, a, kGenreLigne, kGenreAxe,
                   M::kMarquePourcentage, base);
    if (m_results.EstAcp()) {
        AjouterTableau("Corrélations Questions x Axes", m_results.Acp().correlations.data(), columns, a, kGenreColonne,
                       kGenreAxe, M::kMarqueReel, base);
    } else {
        const ResultatsCorrespondances& ca = m_results.Correspondances();
        AjouterTableau("Coordonnées des colonnes", ca.coordonneesColonnes.data(), columns, a, kGenreColonne, kGenreAxe,
                       M::kMarqueReel, base);
        AjouterTableau("Qualité des colonnes", ca.qualitesColonnes.data(), columns, a, kGenreColonne, kGenreAxe,
                       M::kMarqueReel, base);
        AjouterTableau("Contribution des colonnes", ca.contributionsColonnes.data(), p, a, kGenreColonne, kGenreAxe,
                       M::kMarqueReel, base);
    }
    AjouterMappings(a, m_results.CoordonneesLignes().data(), rows, m_results.CoordonneesColonnes().data(), columns,
                    m_results.EstAcp());
}

// ---- Data source ----

CLigne CMorvaneDirecteView::DonnerLigne(std::int32_t genre, std::int32_t, std::int32_t index) const {
    switch (genre) {
    case kGenreLigne: return CLigne(DonnerLibelleLigne(index));
    case kGenreColonne: return CLigne(DonnerLibelleColonne(index));
    case kGenreAxe: return CLigne(AxisLabel(index));
    case kGenreValeurPropre: return CLigne(FactorResults::EnTeteValeursPropres(index));
    default: return CLigne();
    }
}

std::string CMorvaneDirecteView::DonnerLibelleLigne(std::int32_t index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= m_rowMap.size())
        return {};
    return m_rowLabels.at(m_rowMap[static_cast<std::size_t>(index)]);
}

std::string CMorvaneDirecteView::DonnerLibelleColonne(std::int32_t index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= m_columnMap.size())
        return {};
    return m_columnLabels.at(m_columnMap[static_cast<std::size_t>(index)]);
}



