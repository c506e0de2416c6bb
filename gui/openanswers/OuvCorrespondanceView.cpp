#include "gui/openanswers/OuvCorrespondanceView.h"

#include "app/ContexteEtude.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "framework/Document.h"
#include "gui/openanswers/EntryList.h"
#include "gui/openanswers/OuvCorpusDoc.h"
#include "gui/requests/SelQuestionDlg.h"
#include "openanswers/Forme.h"
#include "openanswers/OuvCorpus.h"
#include "statistics/Afc.h"
#include "statistics/Mapping.h"
#include "tabulation/TableauBase.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <optional>

namespace {

std::string AxisLabel(int index) {
    char text[32];
    std::snprintf(text, sizeof text, "Axe %d", index + 1);
    return text;
}

// A category is a modality an interview can give: not the no-answer nor the not-asked ones.
int RealCategories(const CQuestionEtendue& question) {
    int count = 0;
    for (int i = 0; i < question.GetNbreModalite(); ++i)
        if (const CModaliteEtendue* modality = question.GetModaliteEtendue(i); modality != nullptr && modality->code >= 0)
            ++count;
    return count;
}

constexpr int kTextWidth = 150;

EntryList* MakeList(QWidget* parent, int id) {
    auto* list = new EntryList(id, QStringLiteral("Libellé"), kTextWidth, parent);
    list->header()->setSectionsClickable(true);
    list->setMinimumHeight(160);
    return list;
}

} // namespace

COuvCorrespondanceView::COuvCorrespondanceView(QWidget* parent)
    : FactorFormView(parent), m_caption(nullptr), m_pick(nullptr), m_toChosen(nullptr), m_toAvailable(nullptr),
      m_recalculate(nullptr) {
    auto* controls = new QWidget(this);
    auto* grid = new QGridLayout(controls);
    m_caption = new QLabel(controls);
    m_caption->setObjectName(QString::number(kQuestion));
    m_caption->setFrameShape(QFrame::StyledPanel);
    m_caption->setMinimumWidth(220);
    m_pick = new QPushButton(QStringLiteral("..."), controls);
    m_pick->setObjectName(QString::number(kChoisirQuestion));
    m_lists[0] = MakeList(controls, kDisponibles);
    m_lists[1] = MakeList(controls, kChoisies);
    m_lists[1]->Trier(kColonneTexte);
    m_toChosen = new QPushButton(QStringLiteral(">"), controls);
    m_toChosen->setObjectName(QString::number(kVersChoisies));
    m_toChosen->setToolTip(QStringLiteral("Ajouter les formes sélectionnées à l'analyse"));
    m_toAvailable = new QPushButton(QStringLiteral("<"), controls);
    m_toAvailable->setObjectName(QString::number(kVersDisponibles));
    m_toAvailable->setToolTip(QStringLiteral("Retirer les formes sélectionnées de l'analyse"));
    m_recalculate = new QPushButton(QStringLiteral("&Recalculer"), controls);
    m_recalculate->setObjectName(QString::number(kRecalculer));

    grid->addWidget(new QLabel(QStringLiteral("Question à expliquer :"), controls), 0, 0);
    auto* question = new QHBoxLayout();
    question->addWidget(m_caption, 1);
    question->addWidget(m_pick);
    grid->addLayout(question, 0, 1, 1, 3);
    grid->addWidget(m_recalculate, 0, 4);
    grid->addWidget(m_lists[0], 1, 0, 2, 2);
    grid->addWidget(m_toChosen, 1, 2, Qt::AlignBottom);
    grid->addWidget(m_toAvailable, 2, 2, Qt::AlignTop);
    grid->addWidget(m_lists[1], 1, 3, 2, 2);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    connect(m_pick, &QPushButton::clicked, this, [this] { OnChoisirQuestion(); });
    connect(m_toChosen, &QPushButton::clicked, this, [this] { OnVersChoisies(); });
    connect(m_toAvailable, &QPushButton::clicked, this, [this] { OnVersDisponibles(); });
    connect(m_recalculate, &QPushButton::clicked, this, [this] { OnRecalculer(); });
    connect(m_lists[0]->header(), &QHeaderView::sectionClicked, this,
            [this](int column) { Trier(kDisponibles, column); });
    connect(m_lists[1]->header(), &QHeaderView::sectionClicked, this, [this](int column) { Trier(kChoisies, column); });
    SetControles(controls);
}

COuvCorpus* COuvCorrespondanceView::Corpus() const {
    const auto* document = dynamic_cast<const COuvCorpusDoc*>(GetDocument());
    return document != nullptr ? document->GetCorpus() : nullptr;
}

EntryList& COuvCorrespondanceView::List(Controle id) const {
    return *m_lists[id == kChoisies ? 1 : 0];
}

QTreeWidget& COuvCorrespondanceView::GetListe(Controle id) const {
    return List(id);
}

QPushButton& COuvCorrespondanceView::GetBouton(Controle id) const {
    switch (id) {
    case kChoisirQuestion: return *m_pick;
    case kVersChoisies: return *m_toChosen;
    case kVersDisponibles: return *m_toAvailable;
    default: return *m_recalculate;
    }
}

void COuvCorrespondanceView::OnInitialUpdate() {
    if (CDocument* document = GetDocument())
        document->SetTitle(QStringLiteral("AFC des réponses ouvertes"));
    COuvCorpus* corpus = Corpus();
    if (corpus == nullptr)
        return;
    for (EntryList* list : m_lists)
        list->SetCorpus(corpus);
    for (int entry = 0; entry < corpus->GetNbreFormes(); ++entry)
        if (const CForme* form = corpus->DonnerForme(entry); form != nullptr && form->valid != 0)
            m_lists[0]->Ajouter(entry);
    m_lists[0]->Trier(m_lists[0]->GetColonneTri());
}

void COuvCorrespondanceView::Trier(Controle id, int column) {
    List(id).Trier(column);
}

std::vector<int> COuvCorrespondanceView::Entrees(Controle id) const {
    return List(id).Entrees();
}

void COuvCorrespondanceView::OnVersChoisies() {
    m_lists[0]->Deplacer(*m_lists[1], false);
}

void COuvCorrespondanceView::OnVersDisponibles() {
    m_lists[1]->Deplacer(*m_lists[0], false);
}

void COuvCorrespondanceView::OnChoisirQuestion() {
    CSelQuestionDlg picker(CSelQuestionDlg::kFermees, m_explained, this);
    if (picker.exec() == QDialog::Accepted)
        ChoisirQuestion(picker.GetQuestion());
}

void COuvCorrespondanceView::ChoisirQuestion(CQuestionEtendue* question) {
    if (question == nullptr || !question->EstFermee())
        return;
    m_explained = question;
    m_caption->setText(QString::fromStdString(question->GetCaption()));
}

void COuvCorrespondanceView::ClearAll() {
    ViderResultats();
    m_results.Vider();
    m_table.clear();
    m_entries.clear();
    m_categories.clear();
}

void COuvCorrespondanceView::OnRecalculer() {
    COuvCorpus* corpus = Corpus();
    if (corpus == nullptr)
        return;
    if (m_explained == nullptr) {
        Signaler(Message(StringTable::kSelectionnerQuestion));
        return;
    }
    const std::vector<int> entries = Entrees(kChoisies);
    if (entries.size() < 3) {
        Signaler(Message(StringTable::kAuMoinsTroisFormes));
        return;
    }
    // A single category has no profile to compare: the analysis would have no axis.
    if (RealCategories(*m_explained) < 2) {
        Signaler(Message(StringTable::kQuestionAExpliquerDeuxModalites, {m_explained->GetCaption()}));
        return;
    }
    std::optional<WaitCursor> wait;
    if (CContexteEtude* context = GetContexte())
        wait.emplace(context->GetUserInterface());
    ClearAll();
    int categories = 0;
    std::optional<std::vector<double>> table =
        corpus->ConstruireTableLexicaleCorrespondance(entries, *m_explained, categories);
    if (!table) {
        Signaler(corpus->GetErreur());
        return;
    }
    m_table = std::move(*table);
    m_entries = entries;
    for (int j = 0; j < categories; ++j) {
        const CModaliteEtendue* modality = m_explained->GetModaliteEtendue(j);
        m_categories.push_back(modality != nullptr ? modality->GetShortCaption() : std::string());
    }
    if (!RunEngine()) {
        ClearAll();
        return;
    }
    AddResults();
}

bool COuvCorrespondanceView::RunEngine() {
    const int n = static_cast<int>(m_entries.size());
    const int p = static_cast<int>(m_categories.size());
    CAfc engine(n, 0, p, 0, m_table.data());
    if (!engine.Calculer()) {
        Signaler(engine.GetErreur().id != 0 ? engine.GetErreur() : Message(StringTable::kPasAssezDeMemoire));
        return false;
    }
    int axes = 0;
    ResultatsCorrespondances results;
    if (!ChoisirNombreAxes(engine.ValeursPropres(), axes))
        return false;
    if (!engine.DonnerResultats(axes, results)) {
        Signaler(Message(StringTable::kPasAssezDeMemoire));
        return false;
    }
    m_results.SetCorrespondances(std::move(results));
    return true;
}

void COuvCorrespondanceView::AddResults() {
    using M = CTableauBase::Marque;
    const int n = m_results.Lignes();
    const int p = m_results.Colonnes();
    const int a = m_results.Axes();
    CContexteEtude* context = GetContexte();
    const double base = context != nullptr ? context->DonnerNbreInterviews() : 0.0;
    const ResultatsCorrespondances& ca = m_results.Correspondances();
    AjouterTableau("Données", m_table.data(), n, p, kGenreForme, kGenreCategorie, M::kMarqueEffectif, base);
    AjouterTableau("Valeurs propres", m_results.ValeursPropres().data(), m_results.NombreValeursPropres(), 3,
                   kGenreAxe, kGenreValeurPropre, M::kMarqueReel, base);
    AjouterTableau("Coordonnées des lignes", ca.coordonneesLignes.data(), n, a, kGenreForme, kGenreAxe, M::kMarqueReel,
                   base);
    AjouterTableau("Coordonnées des colonnes", ca.coordonneesColonnes.data(), p, a, kGenreCategorie, kGenreAxe,
                   M::kMarqueReel, base);
    AjouterTableau("Qualité des lignes", ca.qualitesLignes.data(), n, a, kGenreForme, kGenreAxe,
                   M::kMarquePourcentage, base);
    AjouterTableau("Qualité des colonnes", ca.qualitesColonnes.data(), p, a, kGenreCategorie, kGenreAxe,
                   M::kMarquePourcentage, base);
    AjouterTableau("Contribution des lignes", ca.contributionsLignes.data(), n, a, kGenreForme, kGenreAxe,
                   M::kMarquePourcentage, base);
    AjouterTableau("Contribution des colonnes", ca.contributionsColonnes.data(), p, a, kGenreCategorie, kGenreAxe,
                   M::kMarquePourcentage, base);
    AjouterMappings(a, ca.coordonneesLignes.data(), n, ca.coordonneesColonnes.data(), p, false);
    // The row points are the forms the analyst chose, not interviews: a map of them is read by
    // their labels, which the maps of interviews leave hidden by default.
    for (int i = 0; i < GetNombreElements(); ++i)
        if (CMapping* mapping = GetMapping(i)) {
            CPresentationMappingLigne forms = mapping->presentation.GetPointSet(CPresentationMapping::kRowPoints);
            forms.SetEstLibelleVisible(true);
            mapping->presentation.SetPointSet(CPresentationMapping::kRowPoints, forms);
        }
}

// ---- Data source ----

CLigne COuvCorrespondanceView::DonnerLigne(std::int32_t genre, std::int32_t, std::int32_t index) const {
    switch (genre) {
    case kGenreForme: return CLigne(DonnerLibelleLigne(index));
    case kGenreAxe: return CLigne(AxisLabel(index));
    case kGenreCategorie: return CLigne(DonnerLibelleColonne(index));
    case kGenreValeurPropre: return CLigne(FactorResults::EnTeteValeursPropres(index));
    default: return CLigne();
    }
}

std::string COuvCorrespondanceView::DonnerLibelleLigne(std::int32_t index) const {
    const COuvCorpus* corpus = Corpus();
    if (corpus == nullptr || index < 0 || static_cast<std::size_t>(index) >= m_entries.size())
        return {};
    const CForme* form = corpus->DonnerForme(m_entries[static_cast<std::size_t>(index)]);
    return form != nullptr ? form->text : std::string();
}

std::string COuvCorrespondanceView::DonnerLibelleColonne(std::int32_t index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= m_categories.size())
        return {};
    return m_categories[static_cast<std::size_t>(index)];
}



