#pragma once

#include "framework/CommandMap.h"
#include "framework/Document.h"
#include "framework/MDIChildWnd.h"
#include "framework/MDIFrameWnd.h"
#include "framework/MultiDocTemplate.h"
#include "framework/View.h"
#include "framework/WinApp.h"

#include <QWidget>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

// A small program on the framework: one template of a test document and view, a child frame, a
// main frame and an application, each handling a chosen set of commands and writing who ran a
// command into one log.
namespace frameworktest {

namespace Commands {
constexpr unsigned kEveryone = 1001;       // view, document, child frame, main frame, application
constexpr unsigned kFromDocument = 1002;   // document, child frame, main frame, application
constexpr unsigned kFromChildFrame = 1003; // child frame, main frame, application
constexpr unsigned kFromMainFrame = 1004;  // main frame, application
constexpr unsigned kApplicationOnly = 1005;
constexpr unsigned kViewOnly = 1006;
constexpr unsigned kNobody = 1007;
constexpr unsigned kDisabledByView = 1008;    // the view's update handler disables what the application runs
constexpr unsigned kToggledByDocument = 1009; // the document runs it, checks it and names it
} // namespace Commands

// Who ran which command, in order ("view <document title>", "document <title>", "child frame",
// "main frame", "application").
std::vector<std::string>& CommandLog();

// What a test hands to the template in place of a path.
struct OpenRecord {
    bool accept = true;
    int value = 0;
};

class TestDocument : public CDocument {
public:
    static inline int s_live = 0;
    static inline int s_contentsDeleted = 0;

    TestDocument() { ++s_live; }
    ~TestDocument() override { --s_live; }

    // A path opens unless it names an unreadable file ("illisible"); an OpenRecord opens when it
    // says so; any other object is refused.
    bool OnOpenDocument(const DocumentSource& source) override;
    void DeleteContents() override;
    bool SaveModified() override { return !refuseToClose; }
    QString GetWindowListKind() const override { return listKind; }

    int received = 0;
    bool toggled = false;
    bool refuseToClose = false;
    // What the window list says before the title; empty for nothing.
    QString listKind;
    // Closed with this one, as a portfolio closes the windows built from it.
    CDocument* closesWithMe = nullptr;

protected:
    bool HandleOwnCommand(unsigned id, CmdMsg kind, CCmdUI* ui) override;

private:
    void Record();
    void OnToggle();
    void OnUpdateToggle(CCmdUI& ui);

    static const CommandEntry<TestDocument> kCommandMap[];
};

class TestView : public QWidget, public CView {
public:
    static inline int s_live = 0;

    TestView() { ++s_live; }
    ~TestView() override { --s_live; }

    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, int hint) override;

    int initialUpdates = 0;
    int updates = 0;
    int lastHint = 0;

protected:
    bool HandleOwnCommand(unsigned id, CmdMsg kind, CCmdUI* ui) override;

private:
    void Record();
    void OnUpdateDisable(CCmdUI& ui);

    static const CommandEntry<TestView> kCommandMap[];
};

class TestChildFrame : public CMDIChildWnd {
protected:
    bool HandleOwnCommand(unsigned id, CmdMsg kind, CCmdUI* ui) override;

private:
    void Record();

    static const CommandEntry<TestChildFrame> kCommandMap[];
};

class TestMainFrame : public CMDIFrameWnd {
public:
    explicit TestMainFrame(CCmdTarget* application) : CMDIFrameWnd(application) {}

protected:
    bool HandleOwnCommand(unsigned id, CmdMsg kind, CCmdUI* ui) override;

private:
    void Record();

    static const CommandEntry<TestMainFrame> kCommandMap[];
};

class TestApp : public CWinApp {
protected:
    bool HandleOwnCommand(unsigned id, CmdMsg kind, CCmdUI* ui) override;

private:
    void Record();

    static const CommandEntry<TestApp> kCommandMap[];
};

// An application with its main frame shown, the test template added and every test command made
// into an action.
class FrameworkTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    TestDocument* Open(const DocumentSource& source);
    TestDocument* OpenPath(const std::string& path);
    TestView& ViewOf(const CDocument& document) const;
    CMDIChildWnd& FrameOf(const CDocument& document) const;
    int WindowCount() const;
    static void ProcessDeferredDeletes();

    std::unique_ptr<TestApp> m_app;
    TestMainFrame* m_mainFrame = nullptr;
    CMultiDocTemplate* m_template = nullptr;
};

} // namespace frameworktest
