#include "shell/MainFrame.h"

#include "app/ContexteEtude.h"
#include "app/QuestionEtendue.h"
#include "app/QuestionNiveau.h"
#include "app/StringTable.h"
#include "framework/CmdUI.h"
#include "framework/FrameworkCommands.h"
#include "framework/MDIChildWnd.h"
#include "gui/requests/AppliquerChoixAuContexte.h"
#include "shell/MorvaneApp.h"
#include "shell/QuestionnaireView.h"
#include "shell/SplashWnd.h"
#include "shell/ToolBarIcons.h"
#include "tabulation/ExecuteurTraitement.h"
#include "tabulation/Tableau.h"
#include "tabulation/Traitement.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <map>

namespace {

constexpr const char* kProgramName = "Morvane";

QString LocalFileOf(const QUrl& url) {
    return url.isLocalFile() ? url.toLocalFile() : QString();
}

} // namespace

const CommandEntry<CMainFrame> CMainFrame::kCommandMap[] = {
    {MainMenus::kInterviewCountPane, nullptr, &CMainFrame::OnUpdateInterviewCount},
    {FrameworkCommands::kViewToolBar, &CMainFrame::OnViewToolBar, &CMainFrame::OnUpdateViewToolBar},
    {FrameworkCommands::kViewStatusBar, &CMainFrame::OnViewStatusBar, &CMainFrame::OnUpdateViewStatusBar},
    {FrameworkCommands::kAppExit, &CMainFrame::OnAppExit, nullptr},
};

CMainFrame::CMainFrame(CMorvaneApp& application) : CMDIFrameWnd(&application), m_application(application) {
    setWindowTitle(QString::fromUtf8(kProgramName));
    setAcceptDrops(true);
    CreateCommands();
    m_noDocumentMenus = BuildMenus(MainMenus::NoDocumentMenus());
    m_documentMenus = BuildMenus(MainMenus::DocumentMenus());
    for (QMenu* menu : m_documentMenus)
        if (menu->title() == QString::fromUtf8(MainMenus::kWindowMenu))
            SetWindowMenu(*menu);
    CreateToolBar();
    CreateStatusBar();
    ShowMenus(m_noDocumentMenus);
    connect(&GetMdiArea(), &QMdiArea::subWindowActivated, this, [this] { FollowActiveWindow(); });
    // A document window destroyed by its document's closing is not always reported as a change of
    // the active window: the menus are checked again once it has gone.
    GetMdiArea().viewport()->installEventFilter(this);
    CSplashWnd::ShowSplash(this);
}

CMainFrame::~CMainFrame() {
    // The framework's frame closes the document windows after this part is gone: their going
    // must no longer reach the menus of this part.
    disconnect(&GetMdiArea(), nullptr, this, nullptr);
    disconnect(m_activeTitle);
    GetMdiArea().viewport()->removeEventFilter(this);
}

// ---- The questionnaire tree -------------------------------------------------------------------

void CMainFrame::SetQuestionnaireView(CQuestionnaireView* view) {
    m_questionnaireView = view;
    m_questionnaireWidget = view;
}

CQuestionnaireView* CMainFrame::GetQuestionnaireView() const {
    return m_questionnaireWidget != nullptr ? m_questionnaireView : nullptr;
}

void CMainFrame::SupprimerQuestionCalculee(CQuestionEtendue& question) {
    m_application.SupprimerQuestionCalculee(question);
}

// ---- Running a request ------------------------------------------------------------------------

void CMainFrame::SetRequestDialogs(std::unique_ptr<RequestDialogs> dialogs) {
    m_requestDialogs = std::move(dialogs);
}

bool CMainFrame::LancerTraitement(std::unique_ptr<CTraitement> request) {
    CMorvaneApp* application = GetMorvaneApp();
    if (application == nullptr || request == nullptr)
        return false;
    const bool toPortfolio = request->mergeOptions.EstVersDossier != 0;
    CExecuteurTraitement executor(*application);
    executor.Executer(std::move(request));
    std::vector<std::unique_ptr<CTableau>> tables = executor.TakeTableaux();
    if (tables.empty())
        return false;
    for (std::unique_ptr<CTableau>& table : tables) {
        // The portfolio keeps a copy; the table made here goes with this loop.
        if (toPortfolio)
            application->AjouterAuDossier(*table);
        else
            application->OuvrirTableau(std::move(table));
    }
    return true;
}

bool CMainFrame::VerifierNiveau(CQuestionEtendue& question) {
    if (EstDansNiveauDe(question, m_application))
        return true;
    if (!m_application.GetUserInterface().AskYesNo(Message(StringTable::kChangerNiveau)))
        return false;
    m_application.currentLevel = question.level;
    m_application.RafraichirArbreQuestions();
    return true;
}

// ---- Commands ---------------------------------------------------------------------------------

bool CMainFrame::EstDisponible(const MainFrameCommands::Command& command) const {
    using MainFrameCommands::SecondQuestion;
    if (command.secondQuestion != SecondQuestion::kNone &&
        (m_requestDialogs == nullptr || !m_requestDialogs->HasQuestionPicker()))
        return false;
    if (command.requestType == MainFrameCommands::kNoRequest)
        return command.action != nullptr;
    return m_requestDialogs != nullptr && m_requestDialogs->HasRequestDialog(command.requestType);
}

bool CMainFrame::EstActive(const MainFrameCommands::Command& command) const {
    const CQuestionnaireView* view = GetQuestionnaireView();
    return view != nullptr && EstDisponible(command) &&
           MainFrameCommands::Satisfies(command.rule, view->GetQuestionSelectionnee());
}

bool CMainFrame::HandleOwnCommand(unsigned id, CmdMsg kind, CCmdUI* ui) {
    if (const MainFrameCommands::Command* command = MainFrameCommands::Find(id))
        return HandleTableCommand(*command, kind, ui);
    return DispatchCommandMap(*this, kCommandMap, id, kind, ui) || CMDIFrameWnd::HandleOwnCommand(id, kind, ui);
}

bool CMainFrame::HandleTableCommand(const MainFrameCommands::Command& command, CmdMsg kind, CCmdUI* ui) {
    switch (kind) {
    case CmdMsg::kCommand:
        ExecuterCommande(command);
        return true;
    case CmdMsg::kUpdateCommandUI:
        if (ui != nullptr)
            ui->Enable(EstActive(command));
        return true;
    case CmdMsg::kFindHandler:
        return EstDisponible(command);
    }
    return false;
}

// Called while disabled (a stale button, a direct call) the command does nothing; so does a
// command whose question fails its test, or whose question or dialog is cancelled.
void CMainFrame::ExecuterCommande(const MainFrameCommands::Command& command) {
    using MainFrameCommands::SecondQuestion;
    if (!EstActive(command))
        return;
    CQuestionEtendue* question = nullptr;
    CQuestionEtendue* parent = nullptr;
    GetQuestionnaireView()->GetQuestionEtParent(question, parent);
    if (!MainFrameCommands::Satisfies(command.rule, question))
        return;
    if (command.levelCheck && question != nullptr && !VerifierNiveau(*question))
        return;
    CQuestionEtendue* second = nullptr;
    if (command.secondQuestion != SecondQuestion::kNone) {
        second = m_requestDialogs->ChoisirQuestion(static_cast<int>(command.secondQuestion), this);
        if (second == nullptr)
            return;
    }
    if (command.action != nullptr) {
        command.action(*this, question, second);
        return;
    }
    std::unique_ptr<CTraitement> request =
        m_requestDialogs->DemanderTraitement(command.requestType, {question, parent, second}, this);
    if (request == nullptr)
        return;
    // The next dialog opens with the same modalities and calculations.
    AppliquerChoixAuContexte(*request, m_application);
    LancerTraitement(std::move(request));
}

void CMainFrame::OnUpdateInterviewCount(CCmdUI& ui) {
    ui.Enable(true);
    ui.SetText(QStringLiteral("In.: %1").arg(m_application.DonnerNbreInterviews()));
}

void CMainFrame::OnViewToolBar() {
    m_toolBar->setVisible(!m_toolBar->isVisible());
}

void CMainFrame::OnUpdateViewToolBar(CCmdUI& ui) {
    ui.Enable(true);
    ui.SetCheck(m_toolBar->isVisible() ? 1 : 0);
}

void CMainFrame::OnViewStatusBar() {
    statusBar()->setVisible(!statusBar()->isVisible());
}

void CMainFrame::OnUpdateViewStatusBar(CCmdUI& ui) {
    ui.Enable(true);
    ui.SetCheck(statusBar()->isVisible() ? 1 : 0);
}

void CMainFrame::OnAppExit() {
    // After the command: closing ends the program, whose objects the command's route still uses.
    QTimer::singleShot(0, this, &QWidget::close);
}

// ---- Menus, tool bar and status bar -----------------------------------------------------------

void CMainFrame::CreateCommands() {
    AddCommands(MainMenus::Commands());
    CommandRouter& router = GetCommandRouter();
    for (const MainMenus::Accelerator& accelerator : MainMenus::Accelerators()) {
        QAction* action = router.GetAction(accelerator.id);
        if (action == nullptr)
            continue;
        QList<QKeySequence> keys{QKeySequence(QString::fromUtf8(accelerator.first))};
        if (accelerator.second != nullptr)
            keys.append(QKeySequence(QString::fromUtf8(accelerator.second)));
        action->setShortcuts(keys);
    }
}

CMainFrame::MenuSet CMainFrame::BuildMenus(std::span<const MainMenus::Item> items) {
    MenuSet topLevel;
    std::map<QString, QMenu*> menus;
    CommandRouter& router = GetCommandRouter();
    for (const MainMenus::Item& item : items) {
        const QString path = QString::fromUtf8(item.menu);
        QMenu*& menu = menus[path];
        if (menu == nullptr) {
            const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
            if (slash < 0) {
                menu = new QMenu(path, this);
                topLevel.push_back(menu);
            } else {
                // A sub-menu comes after its menu in the lists.
                menu = menus[path.left(slash)]->addMenu(path.mid(slash + 1));
            }
            router.UpdateBeforeShowing(*menu);
            connect(menu, &QMenu::aboutToShow, this, &CMainFrame::ShowRecentFiles);
        }
        if (item.id == 0)
            menu->addSeparator();
        else if (QAction* action = router.GetAction(item.id))
            menu->addAction(action);
    }
    return topLevel;
}

void CMainFrame::CreateToolBar() {
    m_toolBar = addToolBar(QStringLiteral("Barre d'outils"));
    m_toolBar->setObjectName(QStringLiteral("ToolBar128"));
    m_toolBar->setIconSize(QSize(ToolBarIcons::kSize, ToolBarIcons::kSize));
    CommandRouter& router = GetCommandRouter();
    for (unsigned id : MainMenus::ToolBar()) {
        if (id == 0) {
            m_toolBar->addSeparator();
            continue;
        }
        QAction* action = router.GetAction(id);
        if (action == nullptr)
            continue;
        action->setIcon(ToolBarIcons::For(id, *style()));
        m_toolBar->addAction(action);
    }
}

void CMainFrame::CreateStatusBar() {
    QAction* pane = GetCommandRouter().GetAction(MainMenus::kInterviewCountPane);
    m_interviewCount = new QLabel(pane != nullptr ? pane->text() : QString(), this);
    m_interviewCount->setMinimumWidth(m_interviewCount->fontMetrics().horizontalAdvance(QStringLiteral("In.: 0000000")));
    statusBar()->addPermanentWidget(m_interviewCount);
    if (pane != nullptr)
        connect(pane, &QAction::changed, m_interviewCount, [this, pane] { m_interviewCount->setText(pane->text()); });
}

void CMainFrame::ShowMenus(const MenuSet& menus) {
    menuBar()->clear();
    for (QMenu* menu : menus)
        menuBar()->addMenu(menu);
}

void CMainFrame::FollowActiveWindow() {
    const bool documentsOpen = !GetMdiArea().subWindowList().isEmpty();
    if (documentsOpen != m_showsDocumentMenus) {
        m_showsDocumentMenus = documentsOpen;
        ShowMenus(documentsOpen ? m_documentMenus : m_noDocumentMenus);
    }
    CMDIChildWnd* active = MDIGetActive();
    disconnect(m_activeTitle);
    if (active != nullptr)
        m_activeTitle = connect(active, &QWidget::windowTitleChanged, this, [this] { FollowActiveWindow(); });
    const QString program = QString::fromUtf8(kProgramName);
    setWindowTitle(active != nullptr && !active->windowTitle().isEmpty()
                       ? program + QStringLiteral(" - ") + active->windowTitle()
                       : program);
}

void CMainFrame::ShowRecentFiles() {
    const std::size_t count = m_application.GetRecentFiles().GetFiles().size();
    for (unsigned i = 0; i < RecentFileList::kSize; ++i) {
        // With no recent file the first item stays, disabled, to say so.
        if (QAction* action = GetCommandRouter().GetAction(FrameworkCommands::kFileMruFirst + i))
            action->setVisible(i < count || i == 0);
    }
}

// ---- Window events ----------------------------------------------------------------------------

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ChildRemoved)
        QTimer::singleShot(0, this, [this] { FollowActiveWindow(); });
    return CMDIFrameWnd::eventFilter(watched, event);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!m_application.EnregistrerTout()) {
        event->ignore();
        return;
    }
    CMDIFrameWnd::closeEvent(event);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    const QMimeData* dropped = event->mimeData();
    if (dropped != nullptr && dropped->hasUrls())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const QMimeData* dropped = event->mimeData();
    if (dropped == nullptr)
        return;
    const QList<QUrl> urls = dropped->urls();
    event->acceptProposedAction();
    for (const QUrl& url : urls) {
        const QString path = LocalFileOf(url);
        if (!path.isEmpty())
            m_application.OpenDocumentFile(QDir::toNativeSeparators(path).toStdString());
    }
}
