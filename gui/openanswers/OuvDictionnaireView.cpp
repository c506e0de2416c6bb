#include "gui/openanswers/OuvDictionnaireView.h"

#include "app/ContexteEtude.h"
#include "app/DBQuestionnaire.h"
#include "app/StringTable.h"
#include "app/UserInterface.h"
#include "framework/CmdUI.h"
#include "gui/openanswers/OuvDictionnaireDoc.h"
#include "gui/openanswers/OuvFenetres.h"
#include "gui/recodes/ChampEtudeDlg.h"
#include "openanswers/FormeLemmatisee.h"
#include "openanswers/OuvCorpus.h"
#include "openanswers/TableauxReponses.h"
#include "tabulation/Tableau.h"
#include "tabulation/Traitement.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <algorithm>

namespace {

constexpr int kEntryRole = Qt::UserRole;
constexpr int kMaximumFrequency = 10000;
constexpr int kTextWidth = 150;
constexpr int kCountWidth = 50;

QPushButton* Button(const char* caption, QWidget* parent) {
    return new QPushButton(QString::fromUtf8(caption), parent);
}

} // namespace

const CommandEntry<COuvDictionnaireView> COuvDictionnaireView::kCommandMap[] = {
    {kExporterWord, &COuvDictionnaireView::OnExporterWord, nullptr},
    {kAjouterAuDossier, &COuvDictionnaireView::OnAjouterAuDossier, &COuvDictionnaireView::OnUpdateAjouterAuDossier},
};

COuvDictionnaireView::COuvDictionnaireView(QWidget* parent)
    : QWidget(parent), m_list(new QTreeWidget(this)), m_minimum(new QSpinBox(this)),
      m_showStopWords(new QCheckBox(QStringLiteral("Afficher les mots outils"), this)), m_search(new QLineEdit(this)),
      m_count(new QLabel(this)), m_field(new QLabel(this)), m_associate(Button("&Associer", this)),
      m_dissociate(Button("&Dissocier", this)) {
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setHeaderLabels({QStringLiteral("Libellé"), QStringLiteral("Effectif")});
    m_list->header()->resizeSection(kTexte, kTextWidth);
    m_list->header()->resizeSection(kFrequence, kCountWidth);
    m_list->headerItem()->setTextAlignment(kFrequence, Qt::AlignRight | Qt::AlignVCenter);
    m_list->header()->setSectionsClickable(true);
    m_minimum->setRange(0, kMaximumFrequency);
    m_minimum->setValue(1);
    m_field->setText(QStringLiteral("Toutes les interviews"));

    QPushButton* fieldButton = Button("...", this);
    QPushButton* stopWord = Button("&Mot outil", this);
    QPushButton* find = Button("&Rechercher", this);
    QPushButton* reread = Button("Re&lire", this);
    QPushButton* concordance = Button("&Concordance", this);

    auto* layout = new QGridLayout(this);
    auto* fieldRow = new QHBoxLayout;
    auto* fieldCaption = new QLabel(QStringLiteral("&Champ d'étude:"), this);
    // Its mnemonic opens the study field's choice; without a buddy Qt would show the "&".
    fieldCaption->setBuddy(fieldButton);
    fieldRow->addWidget(fieldCaption);
    fieldRow->addWidget(m_field, 1);
    fieldRow->addWidget(fieldButton);
    layout->addLayout(fieldRow, 0, 0, 1, 2);
    auto* minimumRow = new QHBoxLayout;
    auto* minimumLabel = new QLabel(QStringLiteral("Fréquence minimale"), this);
    minimumLabel->setBuddy(m_minimum);
    minimumRow->addWidget(minimumLabel);
    minimumRow->addWidget(m_minimum);
    minimumRow->addWidget(m_showStopWords);
    minimumRow->addStretch(1);
    layout->addLayout(minimumRow, 1, 0, 1, 2);
    layout->addWidget(m_list, 2, 0, 8, 1);
    int row = 2;
    for (QPushButton* button : {m_associate, m_dissociate, stopWord, concordance, reread})
        layout->addWidget(button, row++, 1);
    layout->setRowStretch(row, 1);
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(m_search, 1);
    searchRow->addWidget(find);
    layout->addLayout(searchRow, 10, 0);
    layout->addWidget(m_count, 10, 1);
    layout->setColumnStretch(0, 1);

    connect(m_minimum, &QSpinBox::valueChanged, this, [this] { Remplir(); });
    connect(m_showStopWords, &QCheckBox::toggled, this, [this] { Remplir(); });
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, [this] { MettreAJourBoutons(); });
    connect(m_list->header(), &QHeaderView::sectionClicked, this, [this](int column) { TrierPar(column); });
    connect(m_search, &QLineEdit::returnPressed, this, [this] { OnRechercher(); });
    connect(find, &QPushButton::clicked, this, [this] { OnRechercher(); });
    connect(m_associate, &QPushButton::clicked, this, [this] { OnAssocier(); });
    connect(m_dissociate, &QPushButton::clicked, this, [this] { OnDissocier(); });
    connect(stopWord, &QPushButton::clicked, this, [this] { OnMotOutil(); });
    connect(reread, &QPushButton::clicked, this, [this] { OnRelire(); });
    connect(concordance, &QPushButton::clicked, this, [this] { OnConcordance(); });
    connect(fieldButton, &QPushButton::clicked, this, [this] { OnChampEtude(); });
    MettreAJourBoutons();
}

COuvDictionnaireView::~COuvDictionnaireView() = default;

COuvDictionnaireDoc* COuvDictionnaireView::GetDoc() const {
    return dynamic_cast<COuvDictionnaireDoc*>(GetDocument());
}

COuvCorpus* COuvDictionnaireView::Corpus() const {
    const COuvDictionnaireDoc* document = GetDoc();
    return document != nullptr ? document->GetCorpus() : nullptr;
}

void COuvDictionnaireView::OnInitialUpdate() {
    Remplir();
}

int COuvDictionnaireView::EntreeDe(const QTreeWidgetItem* item) const {
    return item->data(kTexte, kEntryRole).toInt();
}

QTreeWidgetItem* COuvDictionnaireView::Ajouter(int entry) {
    const CForme* form = Corpus()->DonnerForme(entry);
    auto* item = new QTreeWidgetItem(m_list);
    item->setData(kTexte, kEntryRole, entry);
    item->setText(kTexte, QString::fromStdString(form->text));
    item->setText(kFrequence, QString::number(form->frequency));
    item->setTextAlignment(kFrequence, Qt::AlignRight | Qt::AlignVCenter);
    // A lemma is told from a form by its mark, as its label alone cannot.
    const bool lemma = dynamic_cast<const CFormeLemmatisee*>(form) != nullptr;
    item->setIcon(kTexte, style()->standardIcon(lemma ? QStyle::SP_DirClosedIcon : QStyle::SP_FileIcon));
    if (lemma)
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    return item;
}

void COuvDictionnaireView::Remplir() {
    m_list->clear();
    COuvCorpus* corpus = Corpus();
    if (corpus == nullptr)
        return;
    const bool showStopWords = m_showStopWords->isChecked();
    for (int i = 0; i < corpus->GetNbreFormes(); ++i) {
        const CForme* form = corpus->DonnerForme(i);
        if (form->frequency >= m_minimum->value() && form->valid == 1 && (showStopWords || form->stopWord == 0))
            Ajouter(i);
    }
    Trier();
    m_count->setText(QStringLiteral("Nombre: %1").arg(m_list->topLevelItemCount()));
    MettreAJourBoutons();
}

// The engine's own order of the entries, so that the list, the portfolio's table and the export
// agree: by text (the dictionary order) or by frequency, descending, equal ones by text.
void COuvDictionnaireView::Trier() {
    COuvCorpus* corpus = Corpus();
    std::vector<CForme*> forms;
    std::vector<QTreeWidgetItem*> items;
    while (m_list->topLevelItemCount() > 0) {
        items.push_back(m_list->takeTopLevelItem(0));
        forms.push_back(corpus->DonnerForme(EntreeDe(items.back())));
    }
    COuvCorpus::Trier(forms, m_sortColumn == kFrequence ? COuvCorpus::kTriFrequence : COuvCorpus::kTriTexte);
    for (const CForme* form : forms) {
        const auto found = std::find_if(items.begin(), items.end(), [&](const QTreeWidgetItem* item) {
            return item != nullptr && corpus->DonnerForme(EntreeDe(item)) == form;
        });
        m_list->addTopLevelItem(*found);
        *found = nullptr;
    }
}

void COuvDictionnaireView::TrierPar(int column) {
    m_sortColumn = column == kFrequence ? kFrequence : kTexte;
    Trier();
}

std::vector<QTreeWidgetItem*> COuvDictionnaireView::Selection() const {
    std::vector<QTreeWidgetItem*> selected;
    for (int i = 0; i < m_list->topLevelItemCount(); ++i)
        if (m_list->topLevelItem(i)->isSelected())
            selected.push_back(m_list->topLevelItem(i));
    return selected;
}

void COuvDictionnaireView::Selectionner(const std::vector<int>& entries) {
    m_list->clearSelection();
    QTreeWidgetItem* first = nullptr;
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_list->topLevelItem(i);
        if (std::find(entries.begin(), entries.end(), EntreeDe(item)) == entries.end())
            continue;
        item->setSelected(true);
        if (first == nullptr)
            first = item;
    }
    if (first != nullptr) {
        m_list->setCurrentItem(first, 0, QItemSelectionModel::NoUpdate);
        m_list->scrollToItem(first);
    }
}

void COuvDictionnaireView::MettreAJourBoutons() {
    const std::vector<QTreeWidgetItem*> selected = Selection();
    m_associate->setEnabled(selected.size() >= 2);
    m_dissociate->setEnabled(selected.size() == 1 && Corpus() != nullptr &&
                             dynamic_cast<const CFormeLemmatisee*>(Corpus()->DonnerForme(EntreeDe(selected.front()))) !=
                                 nullptr);
}

void COuvDictionnaireView::OnAssocier() {
    const std::vector<QTreeWidgetItem*> selected = Selection();
    if (selected.size() < 2)
        return;
    std::vector<int> entries;
    for (const QTreeWidgetItem* item : selected)
        entries.push_back(EntreeDe(item));
    const int lemma = Corpus()->CreerLemme(entries);
    for (QTreeWidgetItem* item : selected)
        delete item;
    Ajouter(lemma);
    Trier();
    Selectionner({lemma});
    m_count->setText(QStringLiteral("Nombre: %1").arg(m_list->topLevelItemCount()));
}

void COuvDictionnaireView::OnDissocier() {
    const std::vector<QTreeWidgetItem*> selected = Selection();
    if (selected.size() != 1)
        return;
    std::vector<int> forms;
    Corpus()->DissocierLemme(EntreeDe(selected.front()), forms);
    delete selected.front();
    for (const int form : forms)
        Ajouter(form);
    Trier();
    Selectionner(forms);
    m_count->setText(QStringLiteral("Nombre: %1").arg(m_list->topLevelItemCount()));
}

// Each word goes to the library on its own; one that cannot be written stays as it was, and
// the user is told once.
void COuvDictionnaireView::OnMotOutil() {
    std::vector<QTreeWidgetItem*> selected = Selection();
    bool failed = false;
    for (auto it = selected.rbegin(); it != selected.rend(); ++it) {
        CForme* form = Corpus()->DonnerForme(EntreeDe(*it));
        if (!CDBQuestionnaire::AjouterMotVide(form->text)) {
            failed = true;
            continue;
        }
        form->stopWord = 1;
        if (!m_showStopWords->isChecked())
            delete *it;
    }
    m_count->setText(QStringLiteral("Nombre: %1").arg(m_list->topLevelItemCount()));
    if (failed)
        if (CContexteEtude* context = GetContexte())
            context->GetUserInterface().ShowMessage(Message(StringTable::kBibliothequeMotsOutilsImpossible),
                                                    UserInterface::Icon::Warning);
}

void COuvDictionnaireView::OnRechercher() {
    const QString wanted = m_search->text();
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        if (m_list->topLevelItem(i)->text(kTexte) == wanted) {
            Selectionner({EntreeDe(m_list->topLevelItem(i))});
            return;
        }
    }
}

void COuvDictionnaireView::OnRelire() {
    CContexteEtude* context = GetContexte();
    if (Corpus() == nullptr || context == nullptr)
        return;
    bool reread = false;
    {
        WaitCursor wait(context->GetUserInterface());
        reread = Corpus()->Relire();
    }
    if (!reread)
        context->GetUserInterface().ShowMessage(Corpus()->GetErreur(), UserInterface::Icon::Warning);
    Remplir();
}

void COuvDictionnaireView::OnConcordance() {
    const std::vector<QTreeWidgetItem*> selected = Selection();
    const COuvDictionnaireDoc* document = GetDoc();
    if (selected.empty() || document == nullptr)
        return;
    OuvFenetres::OuvrirConcordance(*document->GetQuestion(), Corpus()->DonnerForme(EntreeDe(selected.front()))->id,
                                   COuvCorpus::kConcordanceForme);
}

void COuvDictionnaireView::OnChampEtude() {
    CContexteEtude* context = GetContexte();
    if (context == nullptr || Corpus() == nullptr)
        return;
    CChampEtudeDlg dialog(*context, m_studyField, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_studyField = dialog.DonnerChampChoisi().id;
    m_field->setText(QString::fromStdString(dialog.DonnerChampChoisi().name));
    {
        WaitCursor wait(context->GetUserInterface());
        Corpus()->RecalculerFrequences(m_studyField);
    }
    Remplir();
}

std::unique_ptr<CTableau> COuvDictionnaireView::TableauDeLaListe() const {
    COuvCorpus* corpus = Corpus();
    if (corpus == nullptr)
        return nullptr;
    return corpus->ConstruireTableauDictionnaire(m_minimum->value(), m_showStopWords->isChecked(),
                                                 m_sortColumn == kFrequence ? COuvCorpus::kTriFrequence
                                                                            : COuvCorpus::kTriTexte);
}

void COuvDictionnaireView::OnExporterWord() {
    if (std::unique_ptr<CTableau> table = TableauDeLaListe())
        OuvFenetres::ExporterWord(*table, this);
}

void COuvDictionnaireView::OnUpdateAjouterAuDossier(CCmdUI& ui) {
    ui.Enable(Corpus() != nullptr && OuvFenetres::PeutAjouterAuDossier());
}

void COuvDictionnaireView::OnAjouterAuDossier() {
    std::unique_ptr<CTableau> table = TableauDeLaListe();
    const COuvDictionnaireDoc* document = GetDoc();
    if (table == nullptr || document == nullptr)
        return;
    table->SetTraitement(TableauxReponses::TraitementDictionnaire(*document->GetQuestion(), table->title, m_minimum->value(),
                                                             m_showStopWords->isChecked(), m_sortColumn));
    OuvFenetres::AjouterAuDossier(*table);
}

bool COuvDictionnaireView::HandleOwnCommand(unsigned id, CmdMsg kind, CCmdUI* ui) {
    return DispatchCommandMap(*this, kCommandMap, id, kind, ui) || CView::HandleOwnCommand(id, kind, ui);
}
