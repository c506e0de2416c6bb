#include "gui/statistics/AnalysisFormView.h"

#include "app/ContexteEtude.h"
#include "app/DataAccess.h"
#include "app/StringTable.h"
#include "framework/Document.h"
#include "portfolio/ElementDossier.h"
#include "statistics/Dendogramme.h"
#include "statistics/Mapping.h"
#include "gui/statistics/AnalysisWindows.h"
#include "gui/statistics/SelInterviewsDlg.h"
#include "gui/statistics/SelNbAxesDlg.h"
#include "tabulation/Tableau.h"
#include "tabulation/TableauFactoriel.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QHeaderView>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>

struct AnalysisFormView::Element {
    std::unique_ptr<CElementDossier> element;
    std::unique_ptr<CMapping> mapping;
};

namespace {

QIcon IconOf(std::int32_t type) {
    const QStyle::StandardPixmap pixmap = type == CElementDossier::kMapping       ? QStyle::SP_FileDialogContentsView
                                          : type == CElementDossier::kDendogramme ? QStyle::SP_FileDialogListView
                                                                                  : QStyle::SP_FileDialogDetailedView;
    return QApplication::style()->standardIcon(pixmap);
}

std::string MapName(int horizontal, int vertical) {
    char text[64];
    std::snprintf(text, sizeof text, "Mapping Axe %d x %d", horizontal, vertical);
    return text;
}

} // namespace

AnalysisFormView::AnalysisFormView(QWidget* parent) : QWidget(parent), m_tree(new QTreeWidget(this)) {
    m_tree->setObjectName(QString::number(kArbre));
    m_tree->setHeaderHidden(true);
    m_tree->setRootIsDecorated(false);
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) { OnDoubleClick(item); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tree, 1);
}

AnalysisFormView::~AnalysisFormView() {
    ViderResultats();
}

void AnalysisFormView::SetControles(QWidget* controls) {
    static_cast<QVBoxLayout*>(layout())->insertWidget(0, controls);
}

int AnalysisFormView::GetNombreElements() const {
    return static_cast<int>(m_elements.size());
}

const CElementDossier& AnalysisFormView::GetElement(int index) const {
    return *m_elements.at(static_cast<std::size_t>(index)).element;
}

CMapping* AnalysisFormView::GetMapping(int index) const {
    return m_elements.at(static_cast<std::size_t>(index)).mapping.get();
}

void AnalysisFormView::ViderResultats() {
    // The windows go first: they show the tables and the coordinates about to be freed.
    if (AnalysisWindows* windows = AnalysisWindows::Get(); windows != nullptr && GetDocument() != nullptr)
        windows->FermerFenetresLiees(GetDocument());
    m_tree->clear();
    m_elements.clear();
}

void AnalysisFormView::AjouterTableau(const std::string& title, const double* values, int rows, int columns,
                                      std::int32_t rowKind, std::int32_t columnKind, std::uint16_t marker,
                                      double base) {
    AjouterTableau(title, values, rows, rowKind, columnKind,
                   std::vector<std::uint16_t>(static_cast<std::size_t>(std::max(columns, 0)), marker), base);
}

void AnalysisFormView::AjouterTableau(const std::string& title, const double* values, int rows, std::int32_t rowKind,
                                      std::int32_t columnKind, const std::vector<std::uint16_t>& markers,
                                      double base) {
    const int columns = static_cast<int>(markers.size());
    CTableauFactoriel table(1, 1, rows, columns, CTableauBase::kMarqueParColonne);
    table.SetSourceLibelles(this);
    table.rowSelector = rowKind;
    table.columnSelector = columnKind;
    table.title = title;
    table.base = base;
    for (int j = 0; j < columns; ++j)
        table.SetMarque(j, markers[static_cast<std::size_t>(j)]);
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < columns; ++j)
            table.SetValeur(i, j, values[static_cast<std::size_t>(i) * static_cast<std::size_t>(columns) + static_cast<std::size_t>(j)]);
    // The element's copy takes the labels as they are now; the window shows that copy.
    Element element;
    element.element = std::make_unique<CElementDossier>(table);
    element.element->GetTableau()->ownerDocument = GetDocument();
    Append(std::move(element));
}

void AnalysisFormView::AjouterTableau(std::unique_ptr<CTableau> table) {
    Element element;
    element.element = std::make_unique<CElementDossier>(std::move(table));
    element.element->GetTableau()->ownerDocument = GetDocument();
    Append(std::move(element));
}

void AnalysisFormView::AjouterDendogramme(std::unique_ptr<CDendogramme> dendogramme) {
    Element element;
    element.element = std::make_unique<CElementDossier>(std::move(dendogramme));
    Append(std::move(element));
}

void AnalysisFormView::AjouterMappings(int axes, const double* rows, int rowCount, const double* columns,
                                       int columnCount, bool symmetric) {
    for (int i = 1; i <= axes; ++i) {
        for (int j = i + 1; j <= axes; ++j) {
            auto mapping = std::make_unique<CMapping>(axes, i - 1, j - 1, this);
            mapping->nom = MapName(i, j);
            mapping->coordonneesLignes = rows;
            mapping->coordonneesColonnes = columns;
            mapping->nombreLignes = rowCount;
            mapping->nombreColonnes = columnCount;
            mapping->fenetreSymetrique = symmetric ? 1 : 0;
            mapping->proprietaire = GetDocument();
            Element element;
            element.element = std::make_unique<CElementDossier>(mapping->nom);
            element.element->type = CElementDossier::kMapping;
            element.mapping = std::move(mapping);
            Append(std::move(element));
        }
    }
}

void AnalysisFormView::Append(Element element) {
    auto* item = new QTreeWidgetItem(m_tree, QStringList{QString::fromStdString(element.element->name)});
    item->setIcon(0, IconOf(element.element->type));
    item->setData(0, Qt::UserRole, static_cast<int>(m_elements.size()));
    m_elements.push_back(std::move(element));
}

void AnalysisFormView::OnDoubleClick(QTreeWidgetItem* item) {
    if (item != nullptr)
        OuvrirElement(item->data(0, Qt::UserRole).toInt());
}

void AnalysisFormView::OuvrirElement(int index) {
    AnalysisWindows* windows = AnalysisWindows::Get();
    if (windows == nullptr || index < 0 || index >= GetNombreElements())
        return;
    Element& element = m_elements[static_cast<std::size_t>(index)];
    if (element.mapping != nullptr)
        windows->OuvrirMapping(*element.mapping);
    else if (CDendogramme* dendogramme = element.element->GetDendogramme())
        windows->OuvrirDendogramme(*dendogramme);
    else if (CTableau* table = element.element->GetTableau())
        windows->OuvrirTableau(*table, GetDocument());
}

bool AnalysisFormView::ChoisirNombreAxes(const std::vector<double>& valeursPropres, int& axes) {
    if (CSelNbAxesDlg::AxesPortantInertie(valeursPropres) == 0) {
        Signaler(Message(StringTable::kAucunAxe));
        return false;
    }
    CSelNbAxesDlg dialog(valeursPropres, this);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    axes = dialog.GetNbAxes();
    return true;
}

bool AnalysisFormView::ChoisirInterviews(std::vector<std::uint32_t>& actives, std::vector<std::uint32_t>& illustratives) {
    CContexteEtude* context = GetContexte();
    if (context == nullptr)
        return false;
    context->PreparerLibellesInterviews();
    CSelInterviewsDlg dialog(*context, actives, illustratives, this);
    return dialog.exec() == QDialog::Accepted;
}

void AnalysisFormView::Signaler(const Message& message) const {
    if (CContexteEtude* context = GetContexte())
        context->GetUserInterface().ShowMessage(message, UserInterface::Icon::Warning);
}

bool AnalysisFormView::TableauUtilisable(bool built, const CDataAccess& access, int activeRows) const {
    if (!built) {
        if (!access.GetErrorText().empty())
            Signaler(Message::Text(access.GetErrorText()));
        return false;
    }
    if (activeRows == 0) {
        Signaler(Message(StringTable::kTropDeNonReponses));
        return false;
    }
    return true;
}

QLabel* AnalysisFormView::AjouterCompteur(QGridLayout& grid, int id, const char* caption, int row, int column) {
    QWidget* parent = grid.parentWidget();
    grid.addWidget(new QLabel(QString::fromUtf8(caption), parent), row, column);
    auto* count = new QLabel(QStringLiteral("0"), parent);
    count->setObjectName(QString::number(id));
    // Room for the counts of a large survey, so that the layout does not move as they change.
    count->setMinimumWidth(48);
    grid.addWidget(count, row, column + 1);
    return count;
}
