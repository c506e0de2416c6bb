#pragma once

#include "ShellTestSupport.h"
#include "framework/CmdUI.h"
#include "shell/MainFrame.h"
#include "shell/MorvaneApp.h"
#include "shell/RequestDialogs.h"
#include "shell/SplashWnd.h"
#include "tabulation/Tableau.h"
#include "tabulation/Traitement.h"
#include "gui/tabulation/TableauDoc.h"
#include "tools/qesrun/RequestText.h"

#include <QStringList>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace shell_test {

// Request dialogs that answer from a script: every dialog and the picker are offered (unless told
// otherwise), the picker answers `picked`, a dialog answers what `makeRequest` builds (null:
// Cancel). Each call is recorded.
class ScriptedRequestDialogs : public RequestDialogs {
public:
    struct Call {
        std::int16_t type;
        Questions questions;
    };

    bool HasRequestDialog(std::int16_t /*type*/) const override { return offered; }
    bool HasQuestionPicker() const override { return offered; }
    CQuestionEtendue* ChoisirQuestion(int mode, QWidget* /*parent*/) override {
        pickerModes.push_back(mode);
        return picked;
    }
    std::unique_ptr<CTraitement> DemanderTraitement(std::int16_t type, const Questions& questions,
                                                    QWidget* /*parent*/) override {
        calls.push_back({type, questions});
        return makeRequest ? makeRequest() : nullptr;
    }

    bool offered = true;
    CQuestionEtendue* picked = nullptr;
    std::function<std::unique_ptr<CTraitement>()> makeRequest;
    std::vector<int> pickerModes;
    std::vector<Call> calls;
};

// The program's own application object, started as the program starts it, on fresh settings and
// a user who answers from a script.
class MorvaneAppTest : public DemoSurveyFiles {
protected:
    void SetUp() override {
        DemoSurveyFiles::SetUp();
        m_app = std::make_unique<CMorvaneApp>();
        auto ui = std::make_unique<RecordingUserInterface>();
        m_ui = ui.get();
        m_app->SetUserInterface(std::move(ui));
    }

    void TearDown() override {
        m_app.reset();
        // The splash start-up showed must not outlive the test.
        if (CSplashWnd* splash = CSplashWnd::GetSplash())
            splash->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        CSplashWnd::EnableSplash(false);
        DemoSurveyFiles::TearDown();
    }

    // Starts the program with the command line's file, if any.
    bool Start(const std::string& path = {}) {
        QStringList arguments{QStringLiteral("morvane")};
        if (!path.empty())
            arguments << QString::fromStdString(path);
        const bool started = m_app->InitInstance(arguments);
        QApplication::processEvents();
        return started;
    }

    CMainFrame& Frame() const { return *m_app->GetMainWindow(); }

    ScriptedRequestDialogs& InstallDialogs() {
        auto dialogs = std::make_unique<ScriptedRequestDialogs>();
        ScriptedRequestDialogs& installed = *dialogs;
        Frame().SetRequestDialogs(std::move(dialogs));
        return installed;
    }

    CQuestionEtendue& QuestionNamed(const std::string& name) const {
        CQuestionEtendue* question = m_app->TrouverQuestionParNom(name);
        EXPECT_NE(question, nullptr) << name;
        return *question;
    }

    // Makes the question's item the tree's current one; an empty name leaves no current item.
    void Select(const std::string& name) const {
        CQuestionnaireView* tree = Frame().GetQuestionnaireView();
        ASSERT_NE(tree, nullptr);
        if (name.empty()) {
            tree->setCurrentItem(nullptr);
            return;
        }
        const QList<QTreeWidgetItem*> found =
            tree->findItems(QString::fromStdString(name), Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_EQ(found.size(), 1) << name;
        tree->setCurrentItem(found.front());
    }

    // Whether the command's route leaves it enabled, as the menus and the tool bar show it.
    bool IsEnabled(unsigned id) const {
        CCmdUI state(id);
        state.DoUpdate(Frame());
        return state.IsEnabled();
    }

    bool Run(unsigned id) const {
        const bool ran = Frame().GetCommandRouter().Execute(id);
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return ran;
    }

    // A request of the demo in qesrun's text form.
    std::unique_ptr<CTraitement> Request(const std::string& text) const {
        qesrun::RequestText::Result parsed = qesrun::RequestText::Parse(text, *m_app);
        EXPECT_NE(parsed.request, nullptr) << parsed.error;
        return std::move(parsed.request);
    }

    std::vector<CTableauDoc*> TableDocuments() const {
        std::vector<CTableauDoc*> tables;
        for (CDocument* document : m_app->GetTemplate(TemplateKind::kTableau).GetDocuments())
            tables.push_back(dynamic_cast<CTableauDoc*>(document));
        return tables;
    }

    int WindowCount() const { return static_cast<int>(Frame().GetMdiArea().subWindowList().size()); }

    std::unique_ptr<CMorvaneApp> m_app;
    RecordingUserInterface* m_ui = nullptr;
};

} // namespace shell_test
