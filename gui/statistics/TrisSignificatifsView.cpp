#include "gui/statistics/TrisSignificatifsView.h"

#include "app/ContexteEtude.h"
#include "framework/Document.h"
#include "gui/recodes/ChampEtudeDlg.h"
#include "gui/recodes/RedressementDlg.h"
#include "gui/requests/ProfilModalitesDlg.h"
#include "gui/requests/SelecteursRedressement.h"
#include "gui/statistics/AnalysisWindows.h"
#include "statistics/SignificantCrossTables.h"
#include "tabulation/Tableau.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {

QPushButton* Button(int id, const char* text, QWidget* parent) {
    auto* button = new QPushButton(QString::fromUtf8(text), parent);
    button->setObjectName(QString::number(id));
    return button;
}

QLabel* Text(int id, const char* text, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setObjectName(QString::number(id));
    return label;
}

} // namespace

CTrisSignificatifsView::CTrisSignificatifsView(QWidget* parent)
    : QWidget(parent), m_list(new QTreeWidget(this)), m_threshold(new QSpinBox(this)),
      m_studyFieldText(Text(kTexteChampEtude, "", this)), m_weightingText(Text(kTexteRedressement, "", this)),
      m_rowCount(Text(kCompteLignes, "0", this)), m_columnCount(Text(kCompteColonnes, "0", this)),
      m_rowsButton(Button(kProfilLignes, "...", this)), m_columnsButton(Button(kProfilColonnes, "...", this)),
      m_studyFieldButton(Button(kChampEtude, "&Champ d'étude", this)),
      m_weightingButton(Button(kRedressement, "&Redressement", this)),
      m_recalculate(Button(kRecalculer, "&Recalculer", this)) {
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Lignes :"), this), 0, 0);
    grid->addWidget(m_rowCount, 0, 1);
    grid->addWidget(m_rowsButton, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Colonnes:"), this), 1, 0);
    grid->addWidget(m_columnCount, 1, 1);
    grid->addWidget(m_columnsButton, 1, 2);
    grid->addWidget(m_studyFieldButton, 0, 3);
    grid->addWidget(m_studyFieldText, 0, 4);
    grid->addWidget(m_weightingButton, 1, 3);
    grid->addWidget(m_weightingText, 1, 4);
    grid->addWidget(new QLabel(QStringLiteral("Seuil"), this), 0, 5);
    grid->addWidget(m_threshold, 0, 6);
    grid->addWidget(m_recalculate, 1, 6);
    grid->setColumnStretch(4, 1);
    m_rowCount->setMinimumWidth(32);
    m_columnCount->setMinimumWidth(32);
    m_threshold->setObjectName(QString::number(kSeuil));
    m_threshold->setRange(0, 100);
    m_threshold->setValue(10);
    m_list->setObjectName(QString::number(kResultats));
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({QStringLiteral("Tableau croisé"), QStringLiteral("Probabilité")});
    m_list->setColumnWidth(0, 300);
    m_list->setColumnWidth(1, 70);
    m_list->header()->setSectionsClickable(true);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(m_list, 1);
    connect(m_rowsButton, &QPushButton::clicked, this, [this] { OnProfil(true); });
    connect(m_columnsButton, &QPushButton::clicked, this, [this] { OnProfil(false); });
    connect(m_studyFieldButton, &QPushButton::clicked, this, [this] { OnChampEtude(); });
    connect(m_weightingButton, &QPushButton::clicked, this, [this] { OnRedressement(); });
    connect(m_recalculate, &QPushButton::clicked, this, [this] { OnRecalculer(); });
    connect(m_list->header(), &QHeaderView::sectionClicked, this, [this](int column) { Trier(column); });
    connect(m_list, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { Ouvrir(m_list->indexOfTopLevelItem(item)); });
}

CTrisSignificatifsView::~CTrisSignificatifsView() {
    FermerTableaux();
}

QLabel& CTrisSignificatifsView::GetTexte(Controle id) const {
    switch (id) {
    case kTexteChampEtude: return *m_studyFieldText;
    case kTexteRedressement: return *m_weightingText;
    case kCompteLignes: return *m_rowCount;
    default: return *m_columnCount;
    }
}

QPushButton& CTrisSignificatifsView::GetBouton(Controle id) const {
    switch (id) {
    case kProfilLignes: return *m_rowsButton;
    case kProfilColonnes: return *m_columnsButton;
    case kChampEtude: return *m_studyFieldButton;
    case kRedressement: return *m_weightingButton;
    default: return *m_recalculate;
    }
}

void CTrisSignificatifsView::OnInitialUpdate() {
    if (CDocument* document = GetDocument())
        document->SetTitle(QStringLiteral("Tableaux croisés significatifs"));
    if (CContexteEtude* context = GetContexte())
        m_search = std::make_unique<SignificantCrossTables>(*context);
    AfficherTextes();
}

void CTrisSignificatifsView::AfficherTextes() {
    if (m_search == nullptr)
        return;
    m_studyFieldText->setText(QString::fromStdString(m_search->GetTexteChampEtude()));
    m_weightingText->setText(QString::fromStdString(m_search->GetTexteRedressement()));
    m_rowCount->setText(QString::number(m_search->GetProfilLignes().GetNbreQuestions()));
    m_columnCount->setText(QString::number(m_search->GetProfilColonnes().GetNbreQuestions()));
}

void CTrisSignificatifsView::OnProfil(bool lignes) {
    CContexteEtude* context = GetContexte();
    if (m_search == nullptr || context == nullptr)
        return;
    CProfil& profile = lignes ? m_search->GetProfilLignes() : m_search->GetProfilColonnes();
    CProfilModalitesDlg dialog(*context, context->currentLevel, profile, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    profile = dialog.GetProfil();
    AfficherTextes();
}

void CTrisSignificatifsView::OnChampEtude() {
    CContexteEtude* context = GetContexte();
    if (m_search == nullptr || context == nullptr)
        return;
    CChampEtudeDlg dialog(*context, m_search->GetChampEtude(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const CIdName& chosen = dialog.DonnerChampChoisi();
    m_search->SetChampEtude(chosen.id, chosen.name);
    AfficherTextes();
}

void CTrisSignificatifsView::OnRedressement() {
    CContexteEtude* context = GetContexte();
    if (m_search == nullptr || context == nullptr)
        return;
    CRedressementDlg dialog(*context, m_search->GetRedressement(), SelecteursRedressement(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const CIdName chosen = dialog.RedressementChoisi();
    m_search->SetRedressement(chosen.id, chosen.name);
    AfficherTextes();
}

// The windows showing the tables go before the tables.
void CTrisSignificatifsView::FermerTableaux() {
    if (AnalysisWindows* windows = AnalysisWindows::Get(); windows != nullptr && GetDocument() != nullptr)
        windows->FermerFenetresLiees(GetDocument());
}

void CTrisSignificatifsView::OnRecalculer() {
    if (m_search == nullptr)
        return;
    m_search->seuil = m_threshold->value();
    FermerTableaux();
    m_list->clear();
    m_search->Recalculer();
    AfficherListe();
}

void CTrisSignificatifsView::Trier(int colonne) {
    if (m_search == nullptr)
        return;
    m_search->Trier(colonne);
    AfficherListe();
}

void CTrisSignificatifsView::AfficherListe() {
    m_list->clear();
    const std::size_t count = m_search->GetResultats().size();
    for (std::size_t i = 0; i < count; ++i) {
        auto* item = new QTreeWidgetItem(m_list);
        for (int column : {SignificantCrossTables::kNom, SignificantCrossTables::kProbabilite})
            item->setText(column, QString::fromStdString(m_search->TexteCellule(i, column)));
        item->setTextAlignment(SignificantCrossTables::kProbabilite, Qt::AlignRight | Qt::AlignVCenter);
    }
    // Long captions are shown whole rather than cut: the column widens beyond its 300 pixels.
    m_list->resizeColumnToContents(SignificantCrossTables::kNom);
    m_list->setColumnWidth(SignificantCrossTables::kNom, std::max(m_list->columnWidth(SignificantCrossTables::kNom), 300));
}

void CTrisSignificatifsView::Ouvrir(int row) {
    AnalysisWindows* windows = AnalysisWindows::Get();
    if (m_search == nullptr || windows == nullptr || row < 0 ||
        static_cast<std::size_t>(row) >= m_search->GetResultats().size())
        return;
    CTableau* table = m_search->GetResultats()[static_cast<std::size_t>(row)].tableau.get();
    if (table == nullptr)
        return;
    table->ownerDocument = GetDocument();
    windows->OuvrirTableau(*table, GetDocument());
}
