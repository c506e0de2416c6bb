#pragma once

#include "app/ContexteEtude.h"
#include "framework/DocumentSource.h"
#include "framework/MDIFrameWnd.h"
#include "framework/MultiDocTemplate.h"
#include "framework/WinApp.h"
#include "shell/ChildFrame.h"
#include "shell/QuestionDoc.h"
#include "shell/QuestionView.h"
#include "shell/QuestionnaireDoc.h"
#include "shell/QuestionnaireView.h"
#include "shell/QuestionnaireViewHost.h"
#include "support/DemoSurveyFolder.h"
#include "support/RecordingUserInterface.h"
#include "support/SettingsFixture.h"

#include <QApplication>
#include <QMdiArea>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace shell_test {

// A study context whose question windows open through the question template.
class TestContext : public CContexteEtude {
public:
    int ActiverFenetreQuestion(CQuestionEtendue* question) override {
        activated.push_back(question);
        if (questionTemplate == nullptr || question == nullptr)
            return 0;
        return questionTemplate->OpenDocumentFile(DocumentSource::FromObject(question)) != nullptr ? 1 : 0;
    }

    CDocTemplate* questionTemplate = nullptr;
    std::vector<CQuestionEtendue*> activated;
};

// A main frame that hosts the questionnaire tree and records the computed questions it is asked
// to remove.
class HostFrame : public CMDIFrameWnd, public QuestionnaireViewHost {
public:
    explicit HostFrame(CCmdTarget* application) : CMDIFrameWnd(application) {}

    void SetQuestionnaireView(CQuestionnaireView* view) override { m_view = view; }
    CQuestionnaireView* GetQuestionnaireView() const override { return m_view; }
    void SupprimerQuestionCalculee(CQuestionEtendue& question) override { removed.push_back(&question); }

    std::vector<CQuestionEtendue*> removed;

private:
    CQuestionnaireView* m_view = nullptr;
};

class ShellApp : public CWinApp {};

// The demo questionnaire, written once for the whole run in a folder of its own, with fresh
// settings for each test.
class DemoSurveyFiles : public SettingsFixture {
protected:
    static constexpr int kInterviews = 50;

    static void SetUpTestSuite() { s_folder = DemoSurveyFolder::Get(kInterviews); }

    static std::string DemoPath() { return DemoSurveyFolder::QuestionnairePath(kInterviews); }

    static inline std::filesystem::path s_folder;
};

// An application with the questionnaire and question templates over a context that records what
// it tells the user.
class DemoWindowsTest : public DemoSurveyFiles {
protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        auto ui = std::make_unique<RecordingUserInterface>();
        m_ui = ui.get();
        m_context.SetUserInterface(std::move(ui));
        CContexteEtude::RegisterContext(&m_context);
        m_app = std::make_unique<ShellApp>();
        auto frame = std::make_unique<HostFrame>(m_app.get());
        m_mainFrame = frame.get();
        m_app->SetMainFrame(std::move(frame));
        auto makeFrame = [] { return std::unique_ptr<CMDIChildWnd>(std::make_unique<CChildFrame>()); };
        m_questionnaireTemplate = &m_app->AddDocTemplate(
            CMultiDocTemplate::Create<CQuestionnaireDoc, CQuestionnaireView>(129, makeFrame));
        m_questionTemplate =
            &m_app->AddDocTemplate(CMultiDocTemplate::Create<CQuestionDoc, CQuestionView>(129, makeFrame));
        m_context.questionTemplate = m_questionTemplate;
        m_mainFrame->resize(1000, 700);
        m_mainFrame->show();
    }

    void TearDown() override {
        m_app.reset();
        CContexteEtude::RegisterContext(nullptr);
        SettingsFixture::TearDown();
    }

    // Opens the demo through the questionnaire template, as the File menu does.
    CQuestionnaireDoc* OpenDemo() {
        auto* document =
            dynamic_cast<CQuestionnaireDoc*>(m_questionnaireTemplate->OpenDocumentFile(DemoPath()));
        QApplication::processEvents();
        return document;
    }

    CQuestionEtendue& QuestionNamed(const std::string& name) const {
        CQuestionEtendue* question = m_context.TrouverQuestionParNom(name);
        EXPECT_NE(question, nullptr) << name;
        return *question;
    }

    int WindowCount() const { return static_cast<int>(m_mainFrame->GetMdiArea().subWindowList().size()); }

    TestContext m_context;
    RecordingUserInterface* m_ui = nullptr;
    std::unique_ptr<ShellApp> m_app;
    HostFrame* m_mainFrame = nullptr;
    CMultiDocTemplate* m_questionnaireTemplate = nullptr;
    CMultiDocTemplate* m_questionTemplate = nullptr;
};

} // namespace shell_test
