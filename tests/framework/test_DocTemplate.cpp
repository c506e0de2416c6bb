#include "FrameworkFixture.h"
#include "framework/DocumentSource.h"

#include <QMdiArea>
#include <gtest/gtest.h>

namespace frameworktest {
namespace {

class DocTemplateTest : public FrameworkTest {};

TEST_F(DocTemplateTest, APathOpensInANewActiveWindowTitledWithTheFileName) {
    TestDocument* document = OpenPath("/tmp/enquetes/etude.qes");

    ASSERT_NE(document, nullptr);
    EXPECT_EQ(document->GetPathName(), "/tmp/enquetes/etude.qes");
    EXPECT_EQ(document->GetTitle(), QStringLiteral("etude.qes"));
    EXPECT_EQ(document->GetDocTemplate(), m_template);
    EXPECT_EQ(m_template->GetDocuments(), std::vector<CDocument*>{document});
    ASSERT_EQ(document->GetViews().size(), 1u);
    TestView& view = ViewOf(*document);
    EXPECT_EQ(view.GetDocument(), document);
    EXPECT_EQ(view.initialUpdates, 1);
    CMDIChildWnd& frame = FrameOf(*document);
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("etude.qes"));
    EXPECT_TRUE(frame.isVisible());
    EXPECT_EQ(m_mainFrame->MDIGetActive(), &frame);
    EXPECT_EQ(WindowCount(), 1);
}

TEST_F(DocTemplateTest, AnObjectIsHandedToTheDocumentInPlaceOfAPath) {
    OpenRecord record{true, 7};

    TestDocument* document = Open(DocumentSource::FromObject(&record));

    ASSERT_NE(document, nullptr);
    EXPECT_EQ(document->received, 7);
    EXPECT_TRUE(document->GetPathName().empty());
}

TEST_F(DocTemplateTest, NoSourceOpensNumberedUntitledDocuments) {
    TestDocument* first = Open(DocumentSource::None());
    TestDocument* second = Open(DocumentSource::None());

    ASSERT_TRUE(first != nullptr && second != nullptr);
    EXPECT_EQ(first->GetTitle(), QStringLiteral("Essai1"));
    EXPECT_EQ(second->GetTitle(), QStringLiteral("Essai2"));
    EXPECT_EQ(FrameOf(*second).windowTitle(), QStringLiteral("Essai2"));
}

// A refused opening leaves no document, no view and no window behind, and the document's
// contents are freed.
TEST_F(DocTemplateTest, AFailedOpeningLeavesNothingBehind) {
    OpenRecord refused{false, 3};
    int wrongType = 5;
    struct Case {
        const char* what;
        DocumentSource source;
    };
    const Case cases[] = {
        {"unreadable path", DocumentSource::FromPath("/tmp/illisible.qes")},
        {"refused object", DocumentSource::FromObject(&refused)},
        {"object of another type", DocumentSource::FromObject(&wrongType)},
    };
    for (const Case& c : cases) {
        TestDocument::s_contentsDeleted = 0;

        EXPECT_EQ(Open(c.source), nullptr) << c.what;

        ProcessDeferredDeletes();
        EXPECT_TRUE(m_template->GetDocuments().empty()) << c.what;
        EXPECT_EQ(WindowCount(), 0) << c.what;
        EXPECT_EQ(TestDocument::s_live, 0) << c.what;
        EXPECT_EQ(TestView::s_live, 0) << c.what;
        EXPECT_EQ(TestDocument::s_contentsDeleted, 1) << c.what;
    }
}

TEST_F(DocTemplateTest, NothingOpensWithoutAMainFrame) {
    TestApp application;
    CMultiDocTemplate& docTemplate =
        application.AddDocTemplate(CMultiDocTemplate::Create<TestDocument, TestView>(
            129, [] { return std::make_unique<TestChildFrame>(); }));

    EXPECT_EQ(docTemplate.OpenDocumentFile("/tmp/etude.qes"), nullptr);

    EXPECT_TRUE(docTemplate.GetDocuments().empty());
    EXPECT_EQ(TestDocument::s_live, 0);
    EXPECT_EQ(TestView::s_live, 0);
}

TEST(DocumentSource, GivesItsObjectOnlyAsTheTypeItWasGivenAs) {
    OpenRecord record;
    const OpenRecord constant;
    const DocumentSource mutableSource = DocumentSource::FromObject(&record);
    const DocumentSource constSource = DocumentSource::FromObject(&constant);

    EXPECT_EQ(mutableSource.GetObject<OpenRecord>(), &record);
    EXPECT_EQ(mutableSource.GetObject<const OpenRecord>(), &record);
    EXPECT_EQ(mutableSource.GetObject<int>(), nullptr);
    EXPECT_EQ(constSource.GetObject<const OpenRecord>(), &constant);
    EXPECT_EQ(constSource.GetObject<OpenRecord>(), nullptr);
    EXPECT_TRUE(DocumentSource::FromObject(static_cast<OpenRecord*>(nullptr)).IsNone());
    EXPECT_EQ(DocumentSource::FromPath("/tmp/a.qes").GetObject<OpenRecord>(), nullptr);
}

} // namespace
} // namespace frameworktest
