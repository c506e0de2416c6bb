#include "FrameworkFixture.h"

#include "framework/DocumentSource.h"
#include "framework/FrameworkCommands.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMdiArea>
#include <utility>

namespace frameworktest {

namespace {

constexpr CommandDescription kTestCommands[] = {
    {Commands::kEveryone, "Tous", nullptr, nullptr},
    {Commands::kFromDocument, "Depuis le document", nullptr, nullptr},
    {Commands::kFromChildFrame, "Depuis la fenêtre", nullptr, nullptr},
    {Commands::kFromMainFrame, "Depuis le cadre", "Ctrl+F7", nullptr},
    {Commands::kApplicationOnly, "Application", nullptr, nullptr},
    {Commands::kViewOnly, "Vue", nullptr, nullptr},
    {Commands::kNobody, "Personne", nullptr, nullptr},
    {Commands::kDisabledByView, "Désactivée", nullptr, nullptr},
    {Commands::kToggledByDocument, "Bascule", nullptr, nullptr},
    {FrameworkCommands::kFileClose, "Fermer", nullptr, nullptr},
    {FrameworkCommands::kWindowCascade, "Cascade", nullptr, nullptr},
};

std::string TitleOf(const CDocument* document) {
    return document != nullptr ? document->GetTitle().toStdString() : std::string("(none)");
}

} // namespace

std::vector<std::string>& CommandLog() {
    static std::vector<std::string> log;
    return log;
}

// Document

const CommandEntry<TestDocument> TestDocument::kCommandMap[] = {
    {Commands::kEveryone, &TestDocument::Record, nullptr},
    {Commands::kFromDocument, &TestDocument::Record, nullptr},
    {Commands::kToggledByDocument, &TestDocument::OnToggle, &TestDocument::OnUpdateToggle},
};

bool TestDocument::OnOpenDocument(const DocumentSource& source) {
    if (source.IsPath())
        return source.GetPath().find("illisible") == std::string::npos;
    if (const OpenRecord* record = source.GetObject<const OpenRecord>()) {
        received = record->value;
        return record->accept;
    }
    return false;
}

void TestDocument::DeleteContents() {
    ++s_contentsDeleted;
    if (CDocument* other = std::exchange(closesWithMe, nullptr))
        other->OnCloseDocument();
}

bool TestDocument::HandleOwnCommand(unsigned id, CmdMsg kind, CCmdUI* ui) {
    return DispatchCommandMap(*this, kCommandMap, id, kind, ui) || CDocument::HandleOwnCommand(id, kind, ui);
}

void TestDocument::Record() {
    CommandLog().push_back("document " + TitleOf(this));
}

void TestDocument::OnToggle() {
    toggled = !toggled;
}

void TestDocument::OnUpdateToggle(CCmdUI& ui) {
    ui.SetCheck(toggled ? 1 : 0);
    ui.SetText(toggled ? QStringLiteral("Basculée") : QStringLiteral("Bascule"));
}

// View

const CommandEntry<TestView> TestView::kCommandMap[] = {
    {Commands::kEveryone, &TestView::Record, nullptr},
    {Commands::kViewOnly, &TestView::Record, nullptr},
    {Commands::kDisabledByView, nullptr, &TestView::OnUpdateDisable},
};

void TestView::OnInitialUpdate() {
    ++initialUpdates;
    CView::OnInitialUpdate();
}

void TestView::OnUpdate(CView* sender, int hint) {
    ++updates;
    lastHint = hint;
    CView::OnUpdate(sender, hint);
}

bool TestView::HandleOwnCommand(unsigned id, CmdMsg kind, CCmdUI* ui) {
    return DispatchCommandMap(*this, kCommandMap, id, kind, ui) || CView::HandleOwnCommand(id, kind, ui);
}

void TestView::Record() {
    CommandLog().push_back("view " + TitleOf(GetDocument()));
}

void TestView::OnUpdateDisable(CCmdUI& ui) {
    ui.Enable(false);
}

// Child frame

const CommandEntry<TestChildFrame> TestChildFrame::kCommandMap[] = {
    {Commands::kEveryone, &TestChildFrame::Record, nullptr},
    {Commands::kFromDocument, &TestChildFrame::Record, nullptr},
    {Commands::kFromChildFrame, &TestChildFrame::Record, nullptr},
};

bool TestChildFrame::HandleOwnCommand(unsigned id, CmdMsg kind, CCmdUI* ui) {
    return DispatchCommandMap(*this, kCommandMap, id, kind, ui) ||
           CMDIChildWnd::HandleOwnCommand(id, kind, ui);
}

void TestChildFrame::Record() {
    CommandLog().push_back("child frame");
}

// Main frame

const CommandEntry<TestMainFrame> TestMainFrame::kCommandMap[] = {
    {Commands::kEveryone, &TestMainFrame::Record, nullptr},
    {Commands::kFromDocument, &TestMainFrame::Record, nullptr},
    {Commands::kFromChildFrame, &TestMainFrame::Record, nullptr},
    {Commands::kFromMainFrame, &TestMainFrame::Record, nullptr},
};

bool TestMainFrame::HandleOwnCommand(unsigned id, CmdMsg kind, CCmdUI* ui) {
    return DispatchCommandMap(*this, kCommandMap, id, kind, ui) ||
           CMDIFrameWnd::HandleOwnCommand(id, kind, ui);
}

void TestMainFrame::Record() {
    CommandLog().push_back("main frame");
}

// Application

const CommandEntry<TestApp> TestApp::kCommandMap[] = {
    {Commands::kEveryone, &TestApp::Record, nullptr},
    {Commands::kFromDocument, &TestApp::Record, nullptr},
    {Commands::kFromChildFrame, &TestApp::Record, nullptr},
    {Commands::kFromMainFrame, &TestApp::Record, nullptr},
    {Commands::kApplicationOnly, &TestApp::Record, nullptr},
    {Commands::kDisabledByView, &TestApp::Record, nullptr},
};

bool TestApp::HandleOwnCommand(unsigned id, CmdMsg kind, CCmdUI* ui) {
    return DispatchCommandMap(*this, kCommandMap, id, kind, ui) || CWinApp::HandleOwnCommand(id, kind, ui);
}

void TestApp::Record() {
    CommandLog().push_back("application");
}

// Fixture

void FrameworkTest::SetUp() {
    CommandLog().clear();
    TestDocument::s_contentsDeleted = 0;
    m_app = std::make_unique<TestApp>();
    auto mainFrame = std::make_unique<TestMainFrame>(m_app.get());
    m_mainFrame = mainFrame.get();
    m_app->SetMainFrame(std::move(mainFrame));
    m_template = &m_app->AddDocTemplate(CMultiDocTemplate::Create<TestDocument, TestView>(
        129, [] { return std::make_unique<TestChildFrame>(); }, QStringLiteral("Essai")));
    m_mainFrame->AddCommands(kTestCommands);
    m_mainFrame->resize(800, 600);
    m_mainFrame->show();
}

void FrameworkTest::TearDown() {
    m_app.reset();
    ProcessDeferredDeletes();
    EXPECT_EQ(TestDocument::s_live, 0);
    EXPECT_EQ(TestView::s_live, 0);
    TestDocument::s_live = 0;
    TestView::s_live = 0;
}

TestDocument* FrameworkTest::Open(const DocumentSource& source) {
    return dynamic_cast<TestDocument*>(m_template->OpenDocumentFile(source));
}

TestDocument* FrameworkTest::OpenPath(const std::string& path) {
    return dynamic_cast<TestDocument*>(m_template->OpenDocumentFile(path));
}

TestView& FrameworkTest::ViewOf(const CDocument& document) const {
    return dynamic_cast<TestView&>(*document.GetViews().front());
}

CMDIChildWnd& FrameworkTest::FrameOf(const CDocument& document) const {
    return *ViewOf(document).GetParentFrame();
}

int FrameworkTest::WindowCount() const {
    return static_cast<int>(m_mainFrame->GetMdiArea().subWindowList().size());
}

void FrameworkTest::ProcessDeferredDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace frameworktest
