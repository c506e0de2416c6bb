#pragma once

#include "framework/CommandMap.h"
#include "framework/MDIFrameWnd.h"
#include "shell/MainFrameCommands.h"
#include "shell/MainMenus.h"
#include "shell/QuestionnaireViewHost.h"
#include "shell/RequestDialogs.h"

#include <QPointer>
#include <memory>
#include <span>
#include <vector>

class CMorvaneApp;
class CQuestionEtendue;
class CQuestionnaireView;
class CTraitement;
class QDragEnterEvent;
class QDropEvent;
class QLabel;
class QMenu;
class QToolBar;

// The program's main window. The document windows open in its MDI area; its menus follow the
// open windows (one set while none is open, another for the documents); its tool bar and status
// bar show the commands and the survey's interview count. It carries the commands that act on the
// question selected in the questionnaire tree, each one line of one table (MainFrameCommands) run
// by one flow, and runs the requests they build (LancerTraitement).
class CMainFrame : public CMDIFrameWnd, public QuestionnaireViewHost {
    Q_OBJECT

public:
    explicit CMainFrame(CMorvaneApp& application);
    ~CMainFrame() override;

    CMorvaneApp& GetApplication() const { return m_application; }

    // ---- The questionnaire tree of the open survey ----
    void SetQuestionnaireView(CQuestionnaireView* view) override;
    CQuestionnaireView* GetQuestionnaireView() const override;
    void SupprimerQuestionCalculee(CQuestionEtendue& question) override;

    // ---- Requests ----
    // The request dialogs and the question picker the table commands open (null: none yet).
    void SetRequestDialogs(std::unique_ptr<RequestDialogs> dialogs);
    // Runs the request and delivers its tables in order, each to a window of its own. A request
    // that sends its tables to the portfolio has them shown in windows too, with a word that the
    // portfolio is not there yet. No table, nothing happens. False when no table came out.
    static bool LancerTraitement(std::unique_ptr<CTraitement> request);

    // Whether the question may be used at the study's current level; when it may not, the user is
    // asked to change the level, and on Yes the question's level becomes current and the tree is
    // repainted. False when the command must stop.
    bool VerifierNiveau(CQuestionEtendue& question);

    // Whether a command of the table is enabled for the current selection.
    bool EstActive(const MainFrameCommands::Command& command) const;

    QToolBar& GetToolBar() const { return *m_toolBar; }
    QLabel& GetInterviewCountPane() const { return *m_interviewCount; }
    // The menus shown now: those of the documents while a document window is open.
    bool ShowsDocumentMenus() const { return m_showsDocumentMenus; }

protected:
    bool HandleOwnCommand(unsigned id, CmdMsg kind, CCmdUI* ui) override;

    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    using MenuSet = std::vector<QMenu*>;

    bool HandleTableCommand(const MainFrameCommands::Command& command, CmdMsg kind, CCmdUI* ui);
    // Whether what the command opens is in the program.
    bool EstDisponible(const MainFrameCommands::Command& command) const;
    // The one flow of the commands: question test, level check, second question, then the
    // command's action, or its request dialog, the choices written back and the request run.
    void ExecuterCommande(const MainFrameCommands::Command& command);

    void CreateCommands();
    MenuSet BuildMenus(std::span<const MainMenus::Item> items);
    void CreateToolBar();
    void CreateStatusBar();
    void ShowMenus(const MenuSet& menus);
    void FollowActiveWindow();
    void ShowRecentFiles();

    void OnUpdateInterviewCount(CCmdUI& ui);
    void OnViewToolBar();
    void OnUpdateViewToolBar(CCmdUI& ui);
    void OnViewStatusBar();
    void OnUpdateViewStatusBar(CCmdUI& ui);
    void OnAppExit();

    static const CommandEntry<CMainFrame> kCommandMap[];

    CMorvaneApp& m_application;
    std::unique_ptr<RequestDialogs> m_requestDialogs;
    QLabel* m_interviewCount = nullptr;
    QToolBar* m_toolBar = nullptr;
    // The tree registers itself; the guard forgets it when its widget goes unannounced.
    CQuestionnaireView* m_questionnaireView = nullptr;
    QPointer<QWidget> m_questionnaireWidget;
    MenuSet m_noDocumentMenus;
    MenuSet m_documentMenus;
    bool m_showsDocumentMenus = false;
    // The active window's title changes (a portfolio saved under a new name) reach the main
    // window's title through this connection, made again at each change of active window.
    QMetaObject::Connection m_activeTitle;
};
