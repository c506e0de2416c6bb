#include "framework/CmdUI.h"
#include "framework/DocumentSource.h"
#include "framework/MDIChildWnd.h"
#include "framework/MDIFrameWnd.h"
#include "framework/MultiDocTemplate.h"
#include "framework/WinApp.h"
#include "support/RecordingUserInterface.h"
#include "tabulation/RequestTestSupport.h"
#include "tabulation/Tableau.h"
#include "gui/tabulation/TableLayout.h"
#include "gui/tabulation/TableauDoc.h"
#include "gui/tabulation/TableauView.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMenu>
#include <QMouseEvent>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace {

using tabulation_test::Bytes;

constexpr int kArchiveVersion = 405;

// A table that counts its deletions, handed to the document as the table it is.
class CountedTable : public CTableau {
public:
    static inline int s_deleted = 0;
    ~CountedTable() override { ++s_deleted; }
};

class TableApp : public CWinApp {};

// An application whose main frame shows table windows, over a study context that records what
// is shown to the user.
class TableauDocTest : public tabulation_test::RequestFixture {
protected:
    void SetUp() override {
        RequestFixture::SetUp();
        auto ui = std::make_unique<RecordingUserInterface>();
        m_ui = ui.get();
        survey.SetUserInterface(std::move(ui));
        CountedTable::s_deleted = 0;
        m_app = std::make_unique<TableApp>();
        auto mainFrame = std::make_unique<CMDIFrameWnd>(m_app.get());
        m_mainFrame = mainFrame.get();
        m_app->SetMainFrame(std::move(mainFrame));
        m_template = &m_app->AddDocTemplate(CMultiDocTemplate::Create<CTableauDoc, CTableauView>(
            129, [] { return std::make_unique<CMDIChildWnd>(); }));
        m_mainFrame->resize(900, 600);
        m_mainFrame->show();
    }

    void TearDown() override {
        m_app.reset();
        RequestFixture::TearDown();
    }

    // A table of rows x columns of counts with a title.
    template <class Table = CTableau> static std::unique_ptr<Table> MakeTable(int rows, int columns) {
        auto table = std::make_unique<Table>();
        table->Dimensionner(1, 1, rows, columns, CTableauBase::kMarqueParColonne);
        table->title = "Tableau";
        for (int row = 0; row < rows; ++row)
            for (int column = 0; column < columns; ++column)
                table->SetValeur(row, column, 10.0 * row + column);
        return table;
    }

    CTableauDoc* Open(CTableau* table) {
        auto* document = m_template->OpenDocumentFile(DocumentSource::FromObject(table));
        QApplication::processEvents();
        return dynamic_cast<CTableauDoc*>(document);
    }

    CTableauView& ViewOf(const CTableauDoc& document) const {
        return *dynamic_cast<CTableauView*>(document.GetViews().front());
    }

    int WindowCount() const { return static_cast<int>(m_mainFrame->GetMdiArea().subWindowList().size()); }

    RecordingUserInterface* m_ui = nullptr;
    std::unique_ptr<TableApp> m_app;
    CMDIFrameWnd* m_mainFrame = nullptr;
    CMultiDocTemplate* m_template = nullptr;
};

// The delete-with-window flag says who owns the table: the document deletes a table of flag 1
// with its window, and leaves one of flag 0 to its giver.
TEST_F(TableauDocTest, TheFlagSaysWhetherTheWindowDeletesItsTable) {
    auto handed = MakeTable<CountedTable>(2, 2);
    handed->deleteWithWindow = 1;
    CTableauDoc* owner = Open(handed.release());
    ASSERT_NE(owner, nullptr);
    owner->OnFileClose();
    EXPECT_EQ(CountedTable::s_deleted, 1);

    auto kept = MakeTable<CountedTable>(2, 2);
    kept->deleteWithWindow = 0;
    CTableauDoc* borrower = Open(kept.get());
    ASSERT_NE(borrower, nullptr);
    EXPECT_EQ(borrower->GetTableau(), kept.get());
    EXPECT_EQ(&ViewOf(*borrower).GetTableau(), kept.get());
    borrower->OnFileClose();
    EXPECT_EQ(CountedTable::s_deleted, 1);
    EXPECT_EQ(kept->RowCount(), 2);
    EXPECT_EQ(WindowCount(), 0);
}

// The window is titled with the first 255 characters of the table's title, counted as characters
// and not as bytes.
TEST_F(TableauDocTest, TheTitleKeepsTheFirst255Characters) {
    auto table = MakeTable(2, 2);
    std::string title;
    for (int i = 0; i < 300; ++i)
        title += (i < 255 ? "é" : "x");
    table->title = title;
    CTableauDoc* document = Open(table.release());
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(document->GetTitle().size(), 255);
    EXPECT_EQ(document->GetTitle(), QString(255, QChar(0xE9)));
    EXPECT_EQ(ViewOf(*document).GetParentFrame()->windowTitle(), document->GetTitle());

    auto shortTitle = MakeTable(2, 2);
    shortTitle->title = "Sexe par région";
    EXPECT_EQ(Open(shortTitle.release())->GetTitle(), QStringLiteral("Sexe par région"));
}

// A table kept with a request that no longer resolves (its question was renamed since) would only
// open empty: no window opens, the reasons are shown, and the table stays its giver's.
TEST_F(TableauDocTest, ATableWhoseRequestNoLongerResolvesShowsWhyAndOpensNoWindow) {
    auto stored = MakeTable(3, 2);
    auto request = std::make_unique<CTraitement>();
    request->type = CTraitement::kTriSimple;
    request->DefinirModalitesAxe(q1, Chosen(*q1, {0, 1, 2}), CTraitement::kLignes);
    request->SetTypeAxe(CTraitement::kLignes, CTraitement::kAxeFermee);
    request->SetTypeAxe(CTraitement::kColonnes, CTraitement::kAxeAucun);
    stored->SetTraitement(std::move(request));
    const Bytes bytes = tabulation_test::Stored(*stored, kArchiveVersion);
    q1->name = "Q1bis";

    auto reloaded = std::make_unique<CountedTable>();
    tabulation_test::Load(*reloaded, bytes, kArchiveVersion);
    ASSERT_TRUE(reloaded->GetTraitement()->EstInvalide());

    ASSERT_EQ(reloaded->deleteWithWindow, 1);

    EXPECT_EQ(Open(reloaded.get()), nullptr);
    EXPECT_EQ(WindowCount(), 0);
    EXPECT_TRUE(m_template->GetDocuments().empty());
    EXPECT_EQ(m_ui->ShownTexts(),
              std::vector<std::string>{"La question 'Q1' n'existe plus dans le questionnaire"});
    EXPECT_EQ(CountedTable::s_deleted, 0);
    EXPECT_TRUE(reloaded->GetTraitement()->EstInvalide());
}

// The view shows its document's table on the scroll view: the scroll extent follows the layout,
// and a presentation set on the document lays every view out again.
TEST_F(TableauDocTest, TheViewScrollsOverTheDocumentsTable) {
    CTableauDoc* document = Open(MakeTable(40, 3).release());
    ASSERT_NE(document, nullptr);
    CTableauView& view = ViewOf(*document);
    const TableLayout& layout = view.ScreenLayout();
    EXPECT_EQ(layout.RowTops().size(), 42u);
    QApplication::processEvents();
    EXPECT_EQ(view.GetTotalSize(), QSize(layout.ScrollWidth(), layout.ScrollHeight()));
    EXPECT_GT(view.GetTotalSize().height(), view.viewport()->height());

    view.ScrollToPosition(QPoint(0, 100));
    EXPECT_EQ(view.GetScrollPosition(), QPoint(0, 100));

    CPresentationTableau presentation = document->GetPresentation();
    presentation.SetEstTitreAuDessus(true);
    document->SetPresentation(presentation);
    EXPECT_TRUE(view.IsLayoutDirty());
    EXPECT_TRUE(view.ScreenLayout().HasTitleAbove());
    EXPECT_TRUE(document->GetTableau()->GetPresentation().GetEstTitreAuDessus());
}

// The pop-up menu offers the two cell sizes with the one in force marked; the main frame's
// commands of the same ids show the same marks while the table window is active.
TEST_F(TableauDocTest, TheContextMenuMarksTheCellSizeInForce) {
    CTableauDoc* document = Open(MakeTable(3, 3).release());
    ASSERT_NE(document, nullptr);
    CTableauView& view = ViewOf(*document);

    auto checkedText = [&view] {
        const std::unique_ptr<QMenu> menu = view.CreateContextMenu();
        QStringList checked;
        for (const QAction* action : menu->actions())
            if (action->isChecked())
                checked << action->text();
        return checked;
    };
    EXPECT_EQ(checkedText(), QStringList{QStringLiteral("Taille des cellules variables")});

    const std::unique_ptr<QMenu> menu = view.CreateContextMenu();
    // The two modes, a separator and the three exports.
    ASSERT_EQ(menu->actions().size(), 6);
    ASSERT_EQ(menu->actions().front()->text(), QStringLiteral("Taille des cellules fixes"));
    menu->actions().front()->trigger();
    EXPECT_EQ(view.GetCellSizeMode(), CellSizeMode::kFixed);
    EXPECT_EQ(checkedText(), QStringList{QStringLiteral("Taille des cellules fixes")});

    for (unsigned id : {CTableauView::kTailleCellulesFixes, CTableauView::kTailleCellulesVariables}) {
        CCmdUI state(id);
        state.DoUpdate(*m_mainFrame);
        EXPECT_TRUE(state.IsEnabled());
        EXPECT_EQ(state.GetCheck(), std::optional<int>(id == CTableauView::kTailleCellulesFixes ? 1 : 0));
    }
    EXPECT_TRUE(m_mainFrame->GetCommandRouter().Execute(CTableauView::kTailleCellulesVariables));
    EXPECT_EQ(view.GetCellSizeMode(), CellSizeMode::kVariable);
}

// A click in a table window that is not the active one brings it to the front.
TEST_F(TableauDocTest, AClickActivatesTheTableWindow) {
    CTableauDoc* first = Open(MakeTable(3, 3).release());
    CTableauDoc* second = Open(MakeTable(3, 3).release());
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(m_mainFrame->MDIGetActive(), ViewOf(*second).GetParentFrame());

    QWidget* viewport = ViewOf(*first).viewport();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), viewport->mapToGlobal(QPointF(5, 5)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &press);
    EXPECT_EQ(m_mainFrame->MDIGetActive(), ViewOf(*first).GetParentFrame());
}

// Sending to an analysis needs at least 3 rows and 3 columns and at most one row calculation.
TEST_F(TableauDocTest, SendingToAnAnalysisNeedsAThreeByThreeTableWithOneRowCalculation) {
    struct Case {
        const char* what;
        int rows;
        int columns;
        int rowCalculations; // -1: no request
        bool possible;
    };
    const Case cases[] = {
        {"3 x 3 without request", 3, 3, -1, true},
        {"2 x 5", 2, 5, -1, false},
        {"5 x 2", 5, 2, -1, false},
        {"one row calculation", 4, 4, 1, true},
        {"two row calculations", 4, 4, 2, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto table = MakeTable(c.rows, c.columns);
        if (c.rowCalculations >= 0) {
            auto request = std::make_unique<CTraitement>();
            request->SetCalculsLignes(c.rowCalculations == 1 ? Calculations({0}) : Calculations({0, 1}));
            table->SetTraitement(std::move(request));
        }
        CTableauDoc* document = Open(table.release());
        ASSERT_NE(document, nullptr);
        EXPECT_EQ(document->EstEnvoiPossible(), c.possible);
        document->OnFileClose();
    }
}

} // namespace
