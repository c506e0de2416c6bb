#include "gui/openanswers/OuvSegmentView.h"

#include "gui/openanswers/OuvFenetres.h"

#include "app/Calcul.h"
#include "app/ContexteEtude.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "app/UserInterface.h"
#include "export/TableExports.h"
#include "framework/CmdUI.h"
#include "framework/CommandMap.h"
#include "gui/openanswers/OuvCorpusDoc.h"
#include "gui/recodes/ChampEtudeDlg.h"
#include "openanswers/OuvCorpus.h"
#include "tabulation/Tableau.h"
#include "tabulation/Traitement.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <algorithm>
#include <vector>

namespace {

// The concordance window of a segment (kind 0, by the segment's index).
void OuvrirConcordanceSegment(CQuestionEtendue& question, int segment) {
    OuvFenetres::OuvrirConcordance(question, segment, 0);
}

COuvSegmentView::AjoutDossier& PortfolioAdder() {
    static COuvSegmentView::AjoutDossier add;
    return add;
}

QPushButton* Button(QWidget* parent, const char* text) {
    return new QPushButton(QString::fromUtf8(text), parent);
}

} // namespace

const CommandEntry<COuvSegmentView> COuvSegmentView::kCommandMap[] = {
    {kExporterWord, &COuvSegmentView::OnExporterWord, &COuvSegmentView::OnUpdateCommande},
    {kAjouterAuDossier, &COuvSegmentView::OnAjouterAuDossier, &COuvSegmentView::OnUpdateCommande},
};

COuvSegmentView::COuvSegmentView(QWidget* parent)
    : QWidget(parent), m_minimum(new QSpinBox(this)), m_search(new QLineEdit(this)), m_count(new QLabel(this)),
      m_studyFieldName(new QLabel(this)), m_list(new QTreeWidget(this)) {
    auto* grid = new QGridLayout(this);
    auto* fieldCaption = new QLabel(QStringLiteral("&Champ d'étude:"), this);
    grid->addWidget(fieldCaption, 0, 0);
    m_studyFieldName->setObjectName(QString::number(kChampEtude));
    grid->addWidget(m_studyFieldName, 0, 1, 1, 2);
    QPushButton* field = Button(this, "...");
    grid->addWidget(field, 0, 3);
    fieldCaption->setBuddy(field);
    grid->addWidget(new QLabel(QStringLiteral("Fréquence minimale :"), this), 1, 0);
    m_minimum->setObjectName(QString::number(kFrequenceMinimale));
    m_minimum->setRange(0, 9999);
    m_minimum->setValue(2);
    grid->addWidget(m_minimum, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Nombre:"), this), 1, 2);
    m_count->setObjectName(QString::number(kNombre));
    grid->addWidget(m_count, 1, 3);
    m_search->setObjectName(QString::number(kRecherche));
    grid->addWidget(m_search, 2, 0, 1, 3);
    QPushButton* search = Button(this, "&Rechercher");
    grid->addWidget(search, 2, 3);
    m_list->setObjectName(QString::number(kListe));
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setHeaderLabels({QStringLiteral("Libellé"), QStringLiteral("Effectif"), QStringLiteral("Taille")});
    m_list->setColumnWidth(0, 150);
    m_list->setColumnWidth(1, 50);
    m_list->setColumnWidth(2, 50);
    m_list->headerItem()->setTextAlignment(1, Qt::AlignRight);
    m_list->headerItem()->setTextAlignment(2, Qt::AlignRight);
    m_list->header()->setSectionsClickable(true);
    // The segments' texts take the room the window gives, so that none is cut.
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    grid->addWidget(m_list, 3, 0, 1, 4);
    QPushButton* reread = Button(this, "Re&lire");
    QPushButton* concordance = Button(this, "&Concordance");
    grid->addWidget(reread, 4, 2);
    grid->addWidget(concordance, 4, 3);
    grid->setRowStretch(3, 1);
    connect(field, &QPushButton::clicked, this, [this] { OnChampEtude(); });
    connect(search, &QPushButton::clicked, this, [this] { OnRechercher(); });
    connect(m_search, &QLineEdit::returnPressed, this, [this] { OnRechercher(); });
    connect(m_minimum, &QSpinBox::editingFinished, this, [this] { Remplir(); });
    connect(reread, &QPushButton::clicked, this, [this] { OnRelire(); });
    connect(concordance, &QPushButton::clicked, this, [this] { OnConcordance(); });
    connect(m_list->header(), &QHeaderView::sectionClicked, this, [this](int column) { Trier(column); });
}

void COuvSegmentView::SetAjoutDossier(AjoutDossier add) {
    PortfolioAdder() = std::move(add);
}

COuvCorpus* COuvSegmentView::GetCorpus() const {
    const auto* document = dynamic_cast<const COuvCorpusDoc*>(GetDocument());
    return document != nullptr ? document->GetCorpus() : nullptr;
}

void COuvSegmentView::OnInitialUpdate() {
    COuvCorpus* corpus = GetCorpus();
    if (corpus == nullptr)
        return;
    m_studyFieldName->setText(QString::fromStdString(StringTable::Text(StringTable::kToutesLesInterviews)));
    {
        WaitCursor wait(corpus->GetContexte().GetUserInterface());
        corpus->ChargerSegments();
    }
    Remplir();
}

void COuvSegmentView::Remplir() {
    m_list->clear();
    COuvCorpus* corpus = GetCorpus();
    if (corpus == nullptr)
        return;
    std::vector<CForme*> listed;
    for (int s = 0; s < corpus->GetNbreSegments(); ++s)
        if (corpus->DonnerSegment(s)->frequency >= m_minimum->value())
            listed.push_back(corpus->DonnerSegment(s));
    COuvCorpus::Trier(listed, m_sortColumn);
    for (CForme* entry : listed) {
        const auto* segment = static_cast<const CSegment*>(entry);
        auto* item = new QTreeWidgetItem(m_list, QStringList{QString::fromStdString(segment->text),
                                                              QString::number(segment->frequency),
                                                              QString::number(segment->GetLongueur())});
        item->setTextAlignment(1, Qt::AlignRight);
        item->setTextAlignment(2, Qt::AlignRight);
    }
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        int index = -1;
        corpus->ChercherSegment(m_list->topLevelItem(i)->text(0).toStdString(), index);
        m_list->topLevelItem(i)->setData(0, Qt::UserRole, index);
    }
    m_count->setText(QString::number(static_cast<int>(listed.size())));
}

void COuvSegmentView::Trier(int column) {
    m_sortColumn = column;
    Remplir();
}

void COuvSegmentView::OnRechercher() {
    const QString text = m_search->text();
    for (int i = 0; i < m_list->topLevelItemCount(); ++i)
        if (m_list->topLevelItem(i)->text(0) == text) {
            m_list->clearSelection();
            m_list->setCurrentItem(m_list->topLevelItem(i));
            m_list->scrollToItem(m_list->topLevelItem(i));
            return;
        }
}

void COuvSegmentView::OnRelire() {
    COuvCorpus* corpus = GetCorpus();
    if (corpus == nullptr)
        return;
    QProgressDialog progress(QString::fromStdString(StringTable::Text(StringTable::kRecalculSegments)), QString(), 0, 0,
                             this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.show();
    QApplication::processEvents();
    WaitCursor wait(corpus->GetContexte().GetUserInterface());
    corpus->RecalculerSegments();
    if (m_studyField != -1)
        corpus->RecalculerFrequencesSegments(m_studyField);
    Remplir();
}

void COuvSegmentView::OnChampEtude() {
    COuvCorpus* corpus = GetCorpus();
    if (corpus == nullptr)
        return;
    CChampEtudeDlg dialog(corpus->GetContexte(), m_studyField, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_studyField = dialog.DonnerChampChoisi().id;
    m_studyFieldName->setText(QString::fromStdString(dialog.DonnerChampChoisi().name));
    corpus->RecalculerFrequencesSegments(m_studyField);
    Remplir();
}

void COuvSegmentView::OnConcordance() {
    COuvCorpus* corpus = GetCorpus();
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    if (corpus != nullptr && !selected.isEmpty())
        OuvrirConcordanceSegment(corpus->GetQuestion(), selected.front()->data(0, Qt::UserRole).toInt());
}

std::unique_ptr<CTableau> COuvSegmentView::ConstruireTableau() const {
    COuvCorpus* corpus = GetCorpus();
    return corpus != nullptr ? corpus->ConstruireTableauSegments(m_minimum->value(), m_sortColumn) : nullptr;
}

std::unique_ptr<CTableau> COuvSegmentView::ConstruireElementDossier() const {
    std::unique_ptr<CTableau> table = ConstruireTableau();
    if (!table)
        return nullptr;
    // The engine rebuilds the inventory from the minimum frequency and the sort column.
    auto request = std::make_unique<CTraitement>();
    request->type = CTraitement::kOuvertesSegments;
    request->SetTypeAxe(CTraitement::kLignes, 6);
    request->SetTypeAxe(CTraitement::kColonnes, 4);
    request->SetQuestionAxe(&GetCorpus()->GetQuestion(), CTraitement::kLignes);
    request->title = table->title;
    std::vector<std::unique_ptr<CCalcul>> parameters;
    parameters.push_back(std::make_unique<CCalcul>(m_minimum->value(), std::string(), true));
    parameters.push_back(std::make_unique<CCalcul>(m_sortColumn, std::string(), true));
    request->SetCalculsLignes(parameters);
    table->SetTraitement(std::move(request));
    return table;
}

void COuvSegmentView::OnExporterWord() {
    const std::unique_ptr<CTableau> table = ConstruireTableau();
    if (!table)
        return;
    QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Enregistrer sous"), QString(),
        QString::fromStdString(StringTable::Text(StringTable::kFichiersRtf)).section(QLatin1Char('|'), 0, 0));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".rtf");
    CContexteEtude& context = GetCorpus()->GetContexte();
    Message error;
    if (!ExporterTableauWord(*table, path.toStdString(), context.questionnairePath, error))
        context.GetUserInterface().ShowMessage(error, UserInterface::Icon::Warning);
}

void COuvSegmentView::OnAjouterAuDossier() {
    if (const std::unique_ptr<CTableau> table = ConstruireElementDossier())
        if (PortfolioAdder())
            PortfolioAdder()(*table);
}

void COuvSegmentView::OnUpdateCommande(CCmdUI& ui) {
    ui.Enable(GetCorpus() != nullptr && (ui.GetId() != kAjouterAuDossier || static_cast<bool>(PortfolioAdder())));
}

bool COuvSegmentView::HandleOwnCommand(unsigned id, CmdMsg kind, CCmdUI* ui) {
    return DispatchCommandMap(*this, kCommandMap, id, kind, ui) || CView::HandleOwnCommand(id, kind, ui);
}
