#include "shell/DossierView.h"

#include "app/ContexteEtude.h"
#include "app/IdName.h"
#include "app/StringTable.h"
#include "framework/CmdUI.h"
#include "framework/FrameworkCommands.h"
#include "framework/UtilArbre.h"
#include "portfolio/ChangementsLot.h"
#include "portfolio/ElementDossier.h"
#include "statistics/Mapping.h"
#include "portfolio/PortfolioArchive.h"
#include "portfolio/RecalculDossier.h"
#include "gui/presentation/PresentationTableauDlg.h"
#include "gui/recodes/ChampEtudeDlg.h"
#include "gui/requests/SelNiveauDlg.h"
#include "gui/recodes/RedressementDlg.h"
#include "gui/requests/SelecteursRedressement.h"
#include "shell/DossierDoc.h"
#include "shell/MorvaneApp.h"
#include "tabulation/Tableau.h"
#include "tabulation/Traitement.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QStyle>
#include <algorithm>
#include <set>

namespace {

namespace F = FrameworkCommands;

struct ContextMenuEntry {
    unsigned id;
    const char* text; // null: a separator
};

// clang-format off
constexpr ContextMenuEntry kContextMenu[] = {
    {CDossierDoc::kInserer,                  "Insérer"},
    {CDossierView::kSupprimer,               "Supprimer"},
    {0, nullptr},
    {F::kEditCut,                            "Couper"},
    {F::kEditCopy,                           "Copier"},
    {F::kEditPaste,                          "Coller"},
    {0, nullptr},
    {CDossierDoc::kExporterWord,             "Exporter vers Word..."},
    {0, nullptr},
    {CDossierView::kChangerChampEtude,       "Changer le champ d'étude..."},
    {CDossierView::kChangerRedressement,     "Changer le redressement..."},
    {CDossierView::kChangerNiveau,           "Changer le niveau..."},
    {CDossierView::kChangerPresentation,     "Changer la présentation..."},
    {0, nullptr},
    {CDossierView::kAfficherNonReponses,     "Afficher les Non Réponses"},
    {CDossierView::kSupprimerNonReponses,    "Supprimer les Non Réponses"},
};
// clang-format on

CContexteEtude* Contexte() {
    return GetContexte();
}

void Signaler(const Message& message) {
    if (CContexteEtude* context = Contexte())
        context->GetUserInterface().ShowMessage(message, UserInterface::Icon::Warning);
}

void SignalerRapport(const RecalculDossier& report) {
    if (!report.AucunEchec())
        Signaler(report.DonnerMessage());
}

// The items of a subtree in pre-order, with their depths below the subtree's root (0 for it).
void Parcourir(QTreeWidgetItem& item, std::int32_t depth,
               std::vector<std::pair<QTreeWidgetItem*, std::int32_t>>& out) {
    out.emplace_back(&item, depth);
    for (int i = 0; i < item.childCount(); ++i)
        Parcourir(*item.child(i), depth + 1, out);
}

bool AncetreDans(const QTreeWidgetItem* item, const std::set<const QTreeWidgetItem*>& items) {
    for (const QTreeWidgetItem* parent = item->parent(); parent != nullptr; parent = parent->parent())
        if (items.count(parent) != 0)
            return true;
    return false;
}

} // namespace

const CommandEntry<CDossierView> CDossierView::kCommandMap[] = {
    {kMonter, &CDossierView::OnMonter, &CDossierView::OnUpdateEnabled},
    {kDescendre, &CDossierView::OnDescendre, &CDossierView::OnUpdateEnabled},
    {kSortir, &CDossierView::OnSortir, &CDossierView::OnUpdateEnabled},
    {kEntrer, &CDossierView::OnEntrer, &CDossierView::OnUpdateEnabled},
    {kSupprimer, &CDossierView::OnSupprimer, &CDossierView::OnUpdateEnabled},
    {F::kEditCopy, &CDossierView::OnEditCopy, &CDossierView::OnUpdateSelection},
    {F::kEditCut, nullptr, &CDossierView::OnUpdateDisabled},
    {F::kEditPaste, &CDossierView::OnEditPaste, &CDossierView::OnUpdatePaste},
    {kChangerChampEtude, &CDossierView::OnChangerChampEtude, &CDossierView::OnUpdateEnabled},
    {kChangerRedressement, &CDossierView::OnChangerRedressement, &CDossierView::OnUpdateEnabled},
    {kChangerNiveau, &CDossierView::OnChangerNiveau, &CDossierView::OnUpdateEnabled},
    // Comes with the presentation dialog.
    {kChangerPresentation, &CDossierView::OnChangerPresentation, &CDossierView::OnUpdateEnabled},
    {kAfficherNonReponses, &CDossierView::OnAfficherNonReponses, &CDossierView::OnUpdateEnabled},
    {kSupprimerNonReponses, &CDossierView::OnSupprimerNonReponses, &CDossierView::OnUpdateEnabled},
};

CDossierView::CDossierView() {
    const QStyle* style = QApplication::style();
    m_images = {style->standardIcon(QStyle::SP_DirIcon),
                style->standardIcon(QStyle::SP_FileDialogDetailedView),
                style->standardIcon(QStyle::SP_FileDialogInfoView)};
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setIconSize(QSize(CUtilArbre::kImageSize, CUtilArbre::kImageSize));
    connect(this, &QTreeWidget::itemChanged, this, &CDossierView::OnItemChanged);
    connect(this, &QTreeWidget::itemDoubleClicked, this, &CDossierView::OnItemDoubleClicked);
}

CDossierView::~CDossierView() = default;

CDossierDoc* CDossierView::GetDocument() const {
    return dynamic_cast<CDossierDoc*>(CView::GetDocument());
}

bool CDossierView::HandleOwnCommand(unsigned id, CmdMsg kind, CCmdUI* ui) {
    return DispatchCommandMap(*this, kCommandMap, id, kind, ui) || CView::HandleOwnCommand(id, kind, ui);
}

void CDossierView::OnUpdateEnabled(CCmdUI& ui) {
    ui.Enable(true);
}

void CDossierView::OnUpdateDisabled(CCmdUI& ui) {
    ui.Enable(false);
}

void CDossierView::OnUpdateSelection(CCmdUI& ui) {
    ui.Enable(GetFirstSelectedItem() != nullptr);
}

void CDossierView::OnUpdatePaste(CCmdUI& ui) {
    const QMimeData* clipboard = QApplication::clipboard()->mimeData();
    ui.Enable(clipboard != nullptr &&
              clipboard->hasFormat(QString::fromUtf8(CMorvaneApp::kPortfolioMimeType)));
}

// ---- Items ------------------------------------------------------------------------------------

CElementDossier* CDossierView::GetElement(const QTreeWidgetItem* item) const {
    const CDossierDoc* document = GetDocument();
    if (item == nullptr || document == nullptr)
        return nullptr;
    return document->GetElement(item->data(0, kRoleElement).toInt());
}

QTreeWidgetItem* CDossierView::ItemDeElement(int index) const {
    for (QTreeWidgetItemIterator it(const_cast<CDossierView*>(this)); *it != nullptr; ++it)
        if ((*it)->data(0, kRoleElement).toInt() == index)
            return *it;
    return nullptr;
}

QTreeWidgetItem* CDossierView::NouvelItem(int index) {
    auto* item = new QTreeWidgetItem();
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    const bool filling = std::exchange(m_filling, true);
    item->setData(0, kRoleElement, index);
    MettreAJourItem(*item);
    m_filling = filling;
    return item;
}

void CDossierView::MettreAJourItem(QTreeWidgetItem& item) {
    const CElementDossier* element = GetElement(&item);
    if (element == nullptr)
        return;
    const bool filling = std::exchange(m_filling, true);
    item.setText(0, QString::fromStdString(element->name));
    // Maps and dendrograms have no image.
    const bool withImage =
        element->type >= CElementDossier::kChapitre && element->type <= CElementDossier::kGraphique;
    item.setIcon(0, withImage ? m_images[static_cast<std::size_t>(element->type)] : QIcon());
    m_filling = filling;
}

void CDossierView::OnInitialUpdate() {
    SetMultiSelect(true);
    const bool filling = std::exchange(m_filling, true);
    clear();
    const CDossierDoc* document = GetDocument();
    std::vector<QTreeWidgetItem*> lastAtDepth;
    for (int i = 0; document != nullptr && i < document->GetNbreElements(); ++i) {
        // A depth beyond the last one plus one is cut to it.
        const auto depth = static_cast<std::size_t>(std::clamp<std::int32_t>(
            document->GetElement(i)->depth, 0, static_cast<std::int32_t>(lastAtDepth.size())));
        QTreeWidgetItem* item = NouvelItem(i);
        if (depth == 0)
            addTopLevelItem(item);
        else
            lastAtDepth[depth - 1]->addChild(item);
        lastAtDepth.resize(depth + 1);
        lastAtDepth[depth] = item;
    }
    expandAll();
    m_filling = filling;
}

void CDossierView::InsererElementArbre(int index) {
    QTreeWidgetItem* item = NouvelItem(index);
    QTreeWidgetItem* caret = currentItem();
    if (caret == nullptr) {
        addTopLevelItem(item);
    } else if (QTreeWidgetItem* parent = caret->parent()) {
        parent->insertChild(parent->indexOfChild(caret) + 1, item);
    } else {
        insertTopLevelItem(indexOfTopLevelItem(caret) + 1, item);
    }
    SelectItem(item);
    scrollToItem(item);
    if (CDossierDoc* document = GetDocument())
        document->SetModifiedFlag(true);
}

std::vector<const CElementDossier*> CDossierView::CollecterElements() {
    std::vector<std::pair<QTreeWidgetItem*, std::int32_t>> walked;
    for (int i = 0; i < topLevelItemCount(); ++i)
        Parcourir(*topLevelItem(i), 0, walked);
    std::vector<const CElementDossier*> elements;
    for (const auto& [item, depth] : walked) {
        if (CElementDossier* element = GetElement(item)) {
            element->depth = depth;
            elements.push_back(element);
        }
    }
    return elements;
}

// ---- Moves, keys, rename, double click -----------------------------------------------------

void CDossierView::Deplacer(bool moved) {
    if (!moved) {
        QApplication::beep();
        return;
    }
    if (CDossierDoc* document = GetDocument())
        document->SetModifiedFlag(true);
}

void CDossierView::OnMonter() {
    Deplacer(CUtilArbre::MonterItemSansTexte(*this));
}

void CDossierView::OnDescendre() {
    Deplacer(CUtilArbre::DescendreItemSansTexte(*this));
}

void CDossierView::OnSortir() {
    Deplacer(CUtilArbre::SortirItemSansTexte(*this));
}

void CDossierView::OnEntrer() {
    Deplacer(CUtilArbre::EntrerItemSansTexte(*this, kProfondeurMaximale));
}

void CDossierView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier && !m_editingLabel) {
        OnSupprimer();
        return;
    }
    if (event->key() == Qt::Key_F2 && currentItem() != nullptr) {
        m_editingLabel = true;
        editItem(currentItem(), 0);
        return;
    }
    CMultiTree::keyPressEvent(event);
}

void CDossierView::OnItemChanged(QTreeWidgetItem* item, int /*column*/) {
    if (m_filling || item == nullptr)
        return;
    m_editingLabel = false;
    CElementDossier* element = GetElement(item);
    if (element == nullptr)
        return;
    const std::string text = item->text(0).toStdString();
    // A name of blanks alone would leave the item without a visible name: the old one stays.
    if (item->text(0).trimmed().isEmpty() || text == element->name) {
        MettreAJourItem(*item);
        return;
    }
    element->name = text;
    if (element->type == CElementDossier::kTableau && element->GetTableau() != nullptr)
        element->GetTableau()->title = text;
    if (CDossierDoc* document = GetDocument())
        document->SetModifiedFlag(true);
}

void CDossierView::OnItemDoubleClicked(QTreeWidgetItem* item, int /*column*/) {
    CElementDossier* element = GetElement(item);
    CMorvaneApp* application = GetMorvaneApp();
    if (element == nullptr || application == nullptr)
        return;
    // A map opens in its window while the portfolio holds it; one read back from a file has only
    // its name.
    if (CMapping* mapping = element->GetMapping()) {
        application->OuvrirMappingDossier(*mapping, GetDocument());
        return;
    }
    if (!element->EstTableau() || element->GetTableau() == nullptr)
        return;
    WaitCursor wait(application->GetUserInterface());
    application->OuvrirTableauDossier(*element->GetTableau(), GetDocument());
}

// ---- Delete -----------------------------------------------------------------------------------

void CDossierView::OnSupprimer() {
    CContexteEtude* context = Contexte();
    if (GetFirstSelectedItem() == nullptr || context == nullptr) {
        QApplication::beep();
        return;
    }
    UserInterface& user = context->GetUserInterface();
    if (!user.AskYesNo(Message(StringTable::kSupprimerEnregistrements)))
        return;
    CDossierDoc* document = GetDocument();
    // Each turn removes the first selected item: sub-items kept by No come back in its place and
    // are met again in the walk when they are selected.
    while (QTreeWidgetItem* item = GetFirstSelectedItem()) {
        if (item->childCount() > 0) {
            const UserInterface::Reply reply = user.AskYesNoCancel(Message(StringTable::kSupprimerSousItems));
            if (reply == UserInterface::Reply::Cancel)
                break;
            if (reply == UserInterface::Reply::No) {
                const QList<QTreeWidgetItem*> children = item->takeChildren();
                QTreeWidgetItem* parent = item->parent();
                const int place = parent != nullptr ? parent->indexOfChild(item) : indexOfTopLevelItem(item);
                if (parent != nullptr)
                    parent->insertChildren(place + 1, children);
                else
                    insertTopLevelItems(place + 1, children);
                for (QTreeWidgetItem* child : children)
                    child->setExpanded(true);
            }
        }
        delete item;
        if (document != nullptr)
            document->SetModifiedFlag(true);
    }
}

// ---- Clipboard --------------------------------------------------------------------------------

std::vector<QTreeWidgetItem*> CDossierView::SelectionSansDescendants() const {
    std::set<const QTreeWidgetItem*> selected;
    for (QTreeWidgetItem* item = GetFirstSelectedItem(); item != nullptr; item = GetNextSelectedItem(item))
        selected.insert(item);
    std::vector<QTreeWidgetItem*> roots;
    for (QTreeWidgetItem* item = GetFirstSelectedItem(); item != nullptr; item = GetNextSelectedItem(item))
        if (!AncetreDans(item, selected))
            roots.push_back(item);
    return roots;
}

void CDossierView::OnEditCopy() {
    std::vector<const CElementDossier*> copied;
    for (QTreeWidgetItem* root : SelectionSansDescendants()) {
        std::vector<std::pair<QTreeWidgetItem*, std::int32_t>> walked;
        Parcourir(*root, 0, walked);
        for (const auto& [item, depth] : walked) {
            if (CElementDossier* element = GetElement(item)) {
                element->depth = depth;
                copied.push_back(element);
            }
        }
    }
    if (copied.empty()) {
        QApplication::beep();
        return;
    }
    const std::vector<std::uint8_t> bytes = PortfolioArchive::EcrirePressePapiers(copied);
    const QString format = QString::fromUtf8(CMorvaneApp::kPortfolioMimeType);
    auto copy = std::make_unique<QMimeData>();
    copy->setData(format, QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                     static_cast<qsizetype>(bytes.size())));
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->setMimeData(copy.release());
    const QMimeData* placed = clipboard->mimeData();
    if (placed == nullptr || !placed->hasFormat(format))
        Signaler(Message(StringTable::kCopierPressePapiersImpossible));
}

void CDossierView::OnEditPaste() {
    CDossierDoc* document = GetDocument();
    CContexteEtude* context = Contexte();
    const QString format = QString::fromUtf8(CMorvaneApp::kPortfolioMimeType);
    const QMimeData* pasted = QApplication::clipboard()->mimeData();
    if (document == nullptr || context == nullptr || pasted == nullptr || !pasted->hasFormat(format)) {
        Signaler(Message(StringTable::kLirePressePapiersImpossible));
        return;
    }
    const QByteArray raw = pasted->data(format);
    const std::vector<std::uint8_t> bytes(raw.begin(), raw.end());
    std::vector<std::unique_ptr<CElementDossier>> elements;
    if (!PortfolioArchive::LirePressePapiers(bytes, elements)) {
        Signaler(Message(StringTable::kLirePressePapiersImpossible));
        return;
    }
    if (elements.empty())
        return;
    std::vector<std::int32_t> depths;
    for (const auto& element : elements)
        depths.push_back(element->depth);
    RecalculDossier report(*context);
    int first = 0;
    {
        WaitCursor wait(context->GetUserInterface());
        first = document->InsererElements(std::move(elements), report);
    }
    InsererColles(first, depths);
    document->SetModifiedFlag(true);
    SignalerRapport(report);
}

void CDossierView::InsererColles(int first, const std::vector<std::int32_t>& depths) {
    QTreeWidgetItem* caret = currentItem();
    QTreeWidgetItem* parent = caret != nullptr ? caret->parent() : nullptr;
    int place = caret == nullptr
                    ? (parent != nullptr ? parent->childCount() : topLevelItemCount())
                    : (parent != nullptr ? parent->indexOfChild(caret) + 1 : indexOfTopLevelItem(caret) + 1);
    std::vector<QTreeWidgetItem*> lastAtDepth;
    QTreeWidgetItem* firstItem = nullptr;
    for (std::size_t k = 0; k < depths.size(); ++k) {
        const auto depth = static_cast<std::size_t>(
            std::clamp<std::int32_t>(depths[k], 0, static_cast<std::int32_t>(lastAtDepth.size())));
        QTreeWidgetItem* item = NouvelItem(first + static_cast<int>(k));
        if (depth > 0)
            lastAtDepth[depth - 1]->addChild(item);
        else if (parent != nullptr)
            parent->insertChild(place++, item);
        else
            insertTopLevelItem(place++, item);
        lastAtDepth.resize(depth + 1);
        lastAtDepth[depth] = item;
        if (firstItem == nullptr)
            firstItem = item;
    }
    for (QTreeWidgetItem* item : lastAtDepth)
        item->setExpanded(true);
    if (firstItem != nullptr)
        SelectItem(firstItem);
}

// ---- Batch changes ----------------------------------------------------------------------------

std::vector<QTreeWidgetItem*> CDossierView::ItemsConcernes(bool allWhenNoneSelected) const {
    std::vector<QTreeWidgetItem*> roots = SelectionSansDescendants();
    if (roots.empty() && allWhenNoneSelected)
        for (int i = 0; i < topLevelItemCount(); ++i)
            roots.push_back(topLevelItem(i));
    std::vector<QTreeWidgetItem*> items;
    for (QTreeWidgetItem* root : roots) {
        std::vector<std::pair<QTreeWidgetItem*, std::int32_t>> walked;
        Parcourir(*root, 0, walked);
        for (const auto& entry : walked)
            items.push_back(entry.first);
    }
    return items;
}

template <class Change> void CDossierView::ChangerParLot(Change change, bool allWhenNoneSelected) {
    CDossierDoc* document = GetDocument();
    CContexteEtude* context = Contexte();
    if (document == nullptr || context == nullptr)
        return;
    const std::vector<QTreeWidgetItem*> items = ItemsConcernes(allWhenNoneSelected);
    // No window may be left on a table that is about to be replaced.
    if (CMorvaneApp* application = GetMorvaneApp())
        application->FermerFenetresLiees(document);
    RecalculDossier report(*context);
    {
        WaitCursor wait(context->GetUserInterface());
        for (QTreeWidgetItem* item : items) {
            CElementDossier* element = GetElement(item);
            CTableau* table = element != nullptr && element->EstTableau() ? element->GetTableau() : nullptr;
            CTraitement* request = table != nullptr ? table->GetTraitement() : nullptr;
            if (request == nullptr || !change(*request))
                continue;
            document->SetModifiedFlag(true);
            report.RecalculerElement(*element);
            MettreAJourItem(*item);
        }
    }
    SignalerRapport(report);
}

void CDossierView::OnChangerChampEtude() {
    CContexteEtude* context = Contexte();
    if (context == nullptr)
        return;
    CChampEtudeDlg dialog(*context, context->universeCode, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const CIdName chosen = dialog.DonnerChampChoisi();
    ChangerParLot(
        [&chosen](CTraitement& request) {
            ChangementsLot::ChangerChampEtude(request, chosen.id, chosen.name);
            return true;
        },
        true);
}

// "Redressement", preset on the weighting in force.
void CDossierView::OnChangerRedressement() {
    CContexteEtude* context = Contexte();
    if (context == nullptr)
        return;
    CRedressementDlg dialog(*context, context->weightingCode, SelecteursRedressement(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const CIdName chosen = dialog.RedressementChoisi();
    ChangerParLot(
        [&chosen](CTraitement& request) {
            ChangementsLot::ChangerRedressement(request, chosen.id, chosen.name);
            return true;
        },
        true);
}

void CDossierView::OnChangerNiveau() {
    CContexteEtude* context = Contexte();
    if (context == nullptr)
        return;
    CSelNiveauDlg dialog(context->currentLevel, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const int level = dialog.GetChosenLevel();
    ChangerParLot(
        [level](CTraitement& request) {
            ChangementsLot::ChangerNiveau(request, level);
            return true;
        },
        true);
}

void CDossierView::OnChangerPresentation() {
    CDossierDoc* document = GetDocument();
    if (document == nullptr)
        return;
    CPresentationTableauDlg dialog(this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const CPresentationTableau& chosen = dialog.GetPresentation();
    for (QTreeWidgetItem* item : ItemsConcernes(true)) {
        CElementDossier* element = GetElement(item);
        CTableau* table = element != nullptr && element->EstTableau() ? element->GetTableau() : nullptr;
        if (table == nullptr)
            continue;
        table->SetPresentation(chosen);
        // The portfolio's file keeps a table by its request.
        if (table->GetTraitement() != nullptr)
            document->SetModifiedFlag(true);
    }
    if (CMorvaneApp* application = GetMorvaneApp())
        application->RedessinerFenetresLiees(document);
}

void CDossierView::ChangerNonReponses(bool afficher) {
    CContexteEtude* context = Contexte();
    if (GetFirstSelectedItem() == nullptr || context == nullptr) {
        QApplication::beep();
        return;
    }
    ChangerParLot(
        [context, afficher](CTraitement& request) {
            return ChangementsLot::ChangerNonReponses(request, *context, afficher);
        },
        false);
}

void CDossierView::OnAfficherNonReponses() {
    ChangerNonReponses(true);
}

void CDossierView::OnSupprimerNonReponses() {
    ChangerNonReponses(false);
}

// ---- Pop-up menu ------------------------------------------------------------------------------

std::unique_ptr<QMenu> CDossierView::CreateContextMenu() {
    auto menu = std::make_unique<QMenu>();
    menu->setTitle(QStringLiteral("Dossier"));
    for (const ContextMenuEntry& entry : kContextMenu) {
        if (entry.id == 0) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(QString::fromUtf8(entry.text));
        CCmdUI state(entry.id);
        state.DoUpdate(*this);
        action->setEnabled(state.IsEnabled());
        const unsigned id = entry.id;
        connect(action, &QAction::triggered, this, [this, id] { OnCmdMsg(id, CmdMsg::kCommand, nullptr); });
    }
    return menu;
}

void CDossierView::contextMenuEvent(QContextMenuEvent* event) {
    const std::unique_ptr<QMenu> menu = CreateContextMenu();
    menu->exec(event->globalPos());
}
