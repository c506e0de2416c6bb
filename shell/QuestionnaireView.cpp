#include "shell/QuestionnaireView.h"

#include "app/ContexteEtude.h"
#include "app/QuestionCalculee.h"
#include "app/Recodage.h"
#include "app/StringTable.h"
#include "framework/CmdUI.h"
#include "framework/CommandRouter.h"
#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/MDIFrameWnd.h"
#include "framework/WinApp.h"
#include "shell/QuestionnaireViewHost.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <functional>
#include <map>
#include <vector>

namespace {

// An item of the tree: its question's index as its data; its text and icon read from the survey
// whenever it is drawn.
class QuestionItem : public QTreeWidgetItem {
public:
    explicit QuestionItem(int index) : QTreeWidgetItem(UserType) { setData(0, Qt::UserRole, index); }

    QVariant data(int column, int role) const override {
        if (column == 0 && (role == Qt::DisplayRole || role == Qt::DecorationRole)) {
            const CContexteEtude* context = GetContexte();
            const CQuestionEtendue* question =
                context != nullptr ? context->DonnerQuestion(CQuestionnaireView::IndexOf(this)) : nullptr;
            if (question == nullptr)
                return {};
            if (role == Qt::DisplayRole)
                return QString::fromStdString(question->name);
            const auto* tree = dynamic_cast<const CQuestionnaireView*>(treeWidget());
            return tree != nullptr ? tree->GetIcons().GetImage(CUtilArbre::GetImageQuestion(*question))
                                   : QIcon();
        }
        return QTreeWidgetItem::data(column, role);
    }
};

// The pop-up editing menu: a command, a separator (id 0, no text) or a sub-menu title (id 0
// with a text) opening the entries that follow up to the end mark (id 1).
struct MenuEntry {
    unsigned id;
    const char* text;
};

constexpr unsigned kSeparator = 0;
constexpr unsigned kSubMenuEnd = 1;

constexpr MenuEntry kEditMenu[] = {
    {kSeparator, "Regrouper"},
    {32802, "en sous-totaux de modalités"},
    {32836, "en intervalles..."},
    {32837, "en valeurs discrètes..."},
    {kSubMenuEnd, nullptr},
    {kSeparator, "Changer le niveau de la question"},
    {32888, "En tant que question à modalités..."},
    {32889, "En tant que question numérique..."},
    {32911, "En tant que question ouverte..."},
    {kSubMenuEnd, nullptr},
    {kSeparator, nullptr},
    {32822, "Créer une variable..."},
    {32803, "Modifier..."},
    {CQuestionnaireView::kEditionSupprimer, "Supprimer"},
    {kSeparator, nullptr},
    {32912, "Créer un champ d'étude par modalité"},
};

void ForEachItemBelow(QTreeWidgetItem& start, const std::function<void(QTreeWidgetItem&)>& visit) {
    for (int i = 0; i < start.childCount(); ++i) {
        QTreeWidgetItem& child = *start.child(i);
        ForEachItemBelow(child, visit);
        visit(child);
    }
}

} // namespace

const CommandEntry<CQuestionnaireView> CQuestionnaireView::kCommandMap[] = {
    {kEditionSupprimer, &CQuestionnaireView::OnEditionSupprimer,
     &CQuestionnaireView::OnUpdateEditionSupprimer},
};

CQuestionnaireView::CQuestionnaireView(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(1);
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIconSize(QSize(CUtilArbre::kImageSize, CUtilArbre::kImageSize));
    // The double click opens the question's form; it never folds an item.
    setExpandsOnDoubleClick(false);
}

CQuestionnaireView::~CQuestionnaireView() {
    // The frame keeps no pointer to a tree that is gone. While the main frame itself is being
    // destroyed it no longer answers as a host, and there is nothing to do.
    if (m_registeredWith == nullptr)
        return;
    auto* host = dynamic_cast<QuestionnaireViewHost*>(m_registeredWith.data());
    if (host != nullptr && host->GetQuestionnaireView() == this)
        host->SetQuestionnaireView(nullptr);
}

void CQuestionnaireView::OnInitialUpdate() {
    Remplir();
    if (QuestionnaireViewHost* host = Host()) {
        host->SetQuestionnaireView(this);
        m_registeredWith = MainFrame();
    }
}

void CQuestionnaireView::Remplir() {
    clear();
    const CContexteEtude* context = GetContexte();
    if (context == nullptr)
        return;
    // The most recent item of each outline depth.
    std::map<int, QTreeWidgetItem*> lastOfDepth;
    for (int index = 0; index < context->DonnerNbreQuestions(); ++index) {
        const int depth = context->DonnerQuestion(index)->depth;
        QTreeWidgetItem* item = NewItem(index);
        const auto parent = depth >= 2 ? lastOfDepth.find(depth - 1) : lastOfDepth.end();
        if (parent != lastOfDepth.end())
            parent->second->addChild(item);
        else
            addTopLevelItem(item);
        lastOfDepth[depth] = item;
    }
    DeplierTout();
    if (topLevelItemCount() > 0)
        setCurrentItem(topLevelItem(0));
}

void CQuestionnaireView::Rafraichir() {
    viewport()->update();
}

int CQuestionnaireView::IndexOf(const QTreeWidgetItem* item) {
    if (item == nullptr)
        return -1;
    bool ok = false;
    const int index = item->QTreeWidgetItem::data(0, Qt::UserRole).toInt(&ok);
    return ok ? index : -1;
}

CQuestionEtendue* CQuestionnaireView::GetQuestionSelectionnee() const {
    const CContexteEtude* context = GetContexte();
    const QTreeWidgetItem* item = currentItem();
    if (context == nullptr || item == nullptr)
        return nullptr;
    return context->DonnerQuestion(IndexOf(item));
}

bool CQuestionnaireView::GetQuestionEtParent(CQuestionEtendue*& question, CQuestionEtendue*& parent) const {
    question = GetQuestionSelectionnee();
    parent = nullptr;
    const QTreeWidgetItem* item = currentItem();
    if (question == nullptr || item->parent() == nullptr)
        return false;
    parent = GetContexte()->DonnerQuestion(IndexOf(item->parent()));
    return parent != nullptr;
}

void CQuestionnaireView::InsererQuestion(int index) {
    QTreeWidgetItem* item = NewItem(index);
    addTopLevelItem(item);
    setCurrentItem(item);
}

void CQuestionnaireView::InsererQuestionSous(int index, int parentIndex) {
    for (int i = 0; i < topLevelItemCount(); ++i) {
        QTreeWidgetItem* root = topLevelItem(i);
        if (IndexOf(root) != parentIndex)
            continue;
        QTreeWidgetItem* item = NewItem(index);
        root->addChild(item);
        setCurrentItem(item);
    }
}

void CQuestionnaireView::InsererQuestionRenumeroter(int index, QTreeWidgetItem* start) {
    QTreeWidgetItem& top = start != nullptr ? *start : *invisibleRootItem();
    // Renumbered first, so that the new item is not renumbered with the others.
    std::vector<QTreeWidgetItem*> itemsOfQuestion;
    ForEachItemBelow(top, [index, &itemsOfQuestion](QTreeWidgetItem& item) {
        const int itemIndex = IndexOf(&item);
        if (itemIndex > index)
            item.setData(0, Qt::UserRole, itemIndex + 1);
        else if (itemIndex == index)
            itemsOfQuestion.push_back(&item);
    });
    for (QTreeWidgetItem* item : itemsOfQuestion) {
        QTreeWidgetItem* inserted = NewItem(index + 1);
        item->insertChild(0, inserted);
        item->setExpanded(true);
        setCurrentItem(inserted);
    }
}

void CQuestionnaireView::SupprimerQuestionRenumeroter(int index, QTreeWidgetItem* start) {
    QTreeWidgetItem& top = start != nullptr ? *start : *invisibleRootItem();
    std::vector<QTreeWidgetItem*> itemsOfQuestion;
    ForEachItemBelow(top, [index, &itemsOfQuestion](QTreeWidgetItem& item) {
        const int itemIndex = IndexOf(&item);
        if (itemIndex > index)
            item.setData(0, Qt::UserRole, itemIndex - 1);
        else if (itemIndex == index)
            itemsOfQuestion.push_back(&item);
    });
    // Children were visited before their parents: deleting in reverse never deletes an item twice.
    for (auto item = itemsOfQuestion.rbegin(); item != itemsOfQuestion.rend(); ++item)
        delete *item;
}

void CQuestionnaireView::DeplierTout(QTreeWidgetItem* item) {
    CUtilArbre::DeplierTout(*this, item);
}

std::unique_ptr<QMenu> CQuestionnaireView::CreateEditMenu() {
    CMDIFrameWnd* mainFrame = MainFrame();
    if (mainFrame == nullptr)
        return nullptr;
    CommandRouter& router = mainFrame->GetCommandRouter();
    router.UpdateActions();
    auto menu = std::make_unique<QMenu>(QStringLiteral("edition"));
    QMenu* current = menu.get();
    for (const MenuEntry& entry : kEditMenu) {
        if (entry.id == kSubMenuEnd) {
            current = menu.get();
        } else if (entry.id == kSeparator) {
            if (entry.text != nullptr)
                current = menu->addMenu(QString::fromUtf8(entry.text));
            else
                current->addSeparator();
        } else if (QAction* action = router.GetAction(entry.id)) {
            current->addAction(action);
        } else {
            // A command the main frame does not offer yet shows, disabled.
            current->addAction(QString::fromUtf8(entry.text))->setEnabled(false);
        }
    }
    return menu;
}

bool CQuestionnaireView::HandleOwnCommand(unsigned id, CmdMsg kind, CCmdUI* ui) {
    return DispatchCommandMap(*this, kCommandMap, id, kind, ui) || CView::HandleOwnCommand(id, kind, ui);
}

void CQuestionnaireView::mouseDoubleClickEvent(QMouseEvent* event) {
    QTreeWidgetItem* item = itemAt(event->position().toPoint());
    if (item == nullptr)
        return;
    setCurrentItem(item);
    CContexteEtude* context = GetContexte();
    if (CQuestionEtendue* question = GetQuestionSelectionnee(); context != nullptr && question != nullptr)
        context->ActiverFenetreQuestion(question);
}

void CQuestionnaireView::contextMenuEvent(QContextMenuEvent* event) {
    if (QTreeWidgetItem* item = itemAt(viewport()->mapFrom(this, event->pos())))
        setCurrentItem(item);
    if (std::unique_ptr<QMenu> menu = CreateEditMenu())
        menu->exec(event->globalPos());
}

void CQuestionnaireView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete) {
        RunOwnCommand(kEditionSupprimer);
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void CQuestionnaireView::RunOwnCommand(unsigned id) {
    CCmdUI state(id);
    state.DoUpdate(*this);
    if (state.IsEnabled())
        OnCmdMsg(id, CmdMsg::kCommand, nullptr);
}

CQuestionEtendue* CQuestionnaireView::DeletableQuestion() const {
    CQuestionEtendue* question = nullptr;
    CQuestionEtendue* parent = nullptr;
    if (!GetQuestionEtParent(question, parent))
        return nullptr;
    const bool derived = question->GetQuestionCalculee() != nullptr || question->recodeId != 0;
    return derived ? question : nullptr;
}

void CQuestionnaireView::OnUpdateEditionSupprimer(CCmdUI& ui) {
    ui.Enable(DeletableQuestion() != nullptr);
}

void CQuestionnaireView::OnEditionSupprimer() {
    CContexteEtude* context = GetContexte();
    CQuestionEtendue* question = DeletableQuestion();
    if (context == nullptr || question == nullptr)
        return;
    if (!context->GetUserInterface().AskYesNo(Message(StringTable::kSupprimerQuestion)))
        return;
    if (question->GetQuestionCalculee() != nullptr) {
        if (QuestionnaireViewHost* host = Host())
            host->SupprimerQuestionCalculee(*question);
    } else if (const CRecodage* recode = question->GetRecodage()) {
        context->SupprimerQuestionsRecodage(*recode);
    }
}

QTreeWidgetItem* CQuestionnaireView::NewItem(int index) const {
    return new QuestionItem(index);
}

CMDIFrameWnd* CQuestionnaireView::MainFrame() const {
    const CDocument* document = GetDocument();
    const CDocTemplate* docTemplate = document != nullptr ? document->GetDocTemplate() : nullptr;
    const CWinApp* application = docTemplate != nullptr ? docTemplate->GetApp() : nullptr;
    return application != nullptr ? application->GetMainFrame() : nullptr;
}

QuestionnaireViewHost* CQuestionnaireView::Host() const {
    return dynamic_cast<QuestionnaireViewHost*>(MainFrame());
}
