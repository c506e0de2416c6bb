#include "FrameworkFixture.h"
#include "framework/DocumentSource.h"

#include <QMdiArea>
#include <gtest/gtest.h>

namespace frameworktest {
namespace {

class DocumentTest : public FrameworkTest {};

TEST_F(DocumentTest, ClosingADocumentClosesItsWindowsAtOnceAndNoOther) {
    TestDocument* closing = OpenPath("/tmp/premier.qes");
    TestDocument* staying = OpenPath("/tmp/second.qes");
    ASSERT_TRUE(closing != nullptr && staying != nullptr);

    closing->OnCloseDocument();

    EXPECT_EQ(m_template->GetDocuments(), std::vector<CDocument*>{staying});
    EXPECT_EQ(WindowCount(), 1);
    EXPECT_EQ(TestDocument::s_live, 1);
    EXPECT_EQ(TestView::s_live, 1);
    EXPECT_EQ(TestDocument::s_contentsDeleted, 1);
}

TEST_F(DocumentTest, ClosingItsLastWindowClosesTheDocument) {
    TestDocument* document = OpenPath("/tmp/etude.qes");
    ASSERT_NE(document, nullptr);

    EXPECT_TRUE(FrameOf(*document).close());
    ProcessDeferredDeletes();

    EXPECT_TRUE(m_template->GetDocuments().empty());
    EXPECT_EQ(WindowCount(), 0);
    EXPECT_EQ(TestDocument::s_live, 0);
    EXPECT_EQ(TestDocument::s_contentsDeleted, 1);
}

TEST_F(DocumentTest, AWindowStaysWhenItsDocumentRefusesToClose) {
    TestDocument* document = OpenPath("/tmp/etude.qes");
    ASSERT_NE(document, nullptr);
    document->refuseToClose = true;

    EXPECT_FALSE(FrameOf(*document).close());
    ProcessDeferredDeletes();
    document->OnFileClose();

    EXPECT_EQ(m_template->GetDocuments().size(), 1u);
    EXPECT_EQ(WindowCount(), 1);
    document->refuseToClose = false;
}

// A second view of the document (outside any frame) hears of changes made through the first;
// destroying it leaves the document open with its first view.
TEST_F(DocumentTest, UpdateAllViewsTellsEveryViewButTheSender) {
    TestDocument* document = OpenPath("/tmp/etude.qes");
    ASSERT_NE(document, nullptr);
    TestView& first = ViewOf(*document);
    const int firstUpdates = first.updates;
    auto second = std::make_unique<TestView>();
    document->AddView(*second);

    document->UpdateAllViews(&first, 4);

    EXPECT_EQ(first.updates, firstUpdates);
    EXPECT_EQ(second->updates, 1);
    EXPECT_EQ(second->lastHint, 4);

    second.reset();
    EXPECT_EQ(document->GetViews(), std::vector<CView*>{&first});
    EXPECT_EQ(m_template->GetDocuments().size(), 1u);
}

TEST_F(DocumentTest, ANewTitleRetitlesTheWindow) {
    TestDocument* document = OpenPath("/tmp/etude.qes");
    ASSERT_NE(document, nullptr);

    document->SetTitle(QStringLiteral("Tri croisé"));

    EXPECT_EQ(FrameOf(*document).windowTitle(), QStringLiteral("Tri croisé"));
}

// Closing one document may close another (a portfolio closes the tables built from it): closing
// every document must not come back to the one already gone.
TEST_F(DocumentTest, TheApplicationClosesEveryDocumentEvenWhenOneClosesAnother) {
    TestDocument* portfolio = OpenPath("/tmp/dossier.dos");
    TestDocument* table = OpenPath("/tmp/tableau");
    ASSERT_NE(OpenPath("/tmp/autre"), nullptr);
    ASSERT_TRUE(portfolio != nullptr && table != nullptr);
    portfolio->closesWithMe = table;

    m_app->CloseAllDocuments();

    EXPECT_TRUE(m_template->GetDocuments().empty());
    EXPECT_EQ(WindowCount(), 0);
    EXPECT_EQ(TestDocument::s_live, 0);
    EXPECT_EQ(TestView::s_live, 0);
}

TEST_F(DocumentTest, SaveAllModifiedStopsAtTheFirstRefusal) {
    TestDocument* first = OpenPath("/tmp/premier.qes");
    ASSERT_NE(OpenPath("/tmp/second.qes"), nullptr);
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(m_app->SaveAllModified());

    first->refuseToClose = true;

    EXPECT_FALSE(m_app->SaveAllModified());
    first->refuseToClose = false;
}

TEST_F(DocumentTest, DestroyingTheApplicationDestroysItsDocumentsAndWindows) {
    ASSERT_NE(OpenPath("/tmp/premier.qes"), nullptr);
    ASSERT_NE(Open(DocumentSource::None()), nullptr);

    m_app.reset();

    EXPECT_EQ(TestDocument::s_live, 0);
    EXPECT_EQ(TestView::s_live, 0);
}

} // namespace
} // namespace frameworktest
