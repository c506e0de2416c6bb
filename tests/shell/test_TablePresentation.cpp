// "Présentation des tableaux" as the program opens it: from a table window's
// "Edition/Présentation...", and from the "Présentation..." button of a request's general page.
// The dialog is the real one, answered as the analyst answers it.
#include "PresentationDialogSteps.h"
#include "RequestDialogSteps.h"
#include "framework/View.h"
#include "gui/requests/PageGeneraleDlg.h"
#include "gui/requests/RequestDialog.h"
#include "tabulation/Tableau.h"
#include "tabulation/Traitement.h"
#include "gui/tabulation/TableLayout.h"
#include "gui/tabulation/TableauDoc.h"
#include "gui/tabulation/TableauView.h"
#include "tools/screenshot/ModalAnswers.h"

#include <QTest>
#include <QTimer>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

using namespace shell_test::steps;

constexpr unsigned kTriSimple = 32771;

ModalAnswers::Step BoldCellsWithDigits(const char* digits, bool ok) {
    return CellsStyledWithDigits(CPagePoliceDlg::kGras, digits, ok);
}

class TablePresentationTest : public shell_test::RequestCommandTest {
protected:
    void SetUp() override {
        MorvaneAppTest::SetUp();
        ASSERT_TRUE(Start(DemoPath()));
    }

    // The flat table of SEXE in its window; with a step, the general page's "Présentation..."
    // button is clicked first and the presentation dialog answered by the step.
    CTableauDoc* OpenFlatTable(ModalAnswers::Step presentationStep = {}) {
        Select("SEXE");
        RunAnswered(kTriSimple, {Define([&presentationStep](RequestDialog& dialog) {
                        if (!presentationStep)
                            return;
                        // The dialog opens inside this step, whose timer is busy: answered once
                        // by a timer of its own.
                        bool answered = false;
                        QTimer::singleShot(0, [&presentationStep, &answered] {
                            auto* shown = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                            ASSERT_NE(shown, nullptr);
                            answered = true;
                            presentationStep(*shown);
                        });
                        QTest::mouseClick(&dialog.GetPageGenerale()->PresentationButton(), Qt::LeftButton);
                        EXPECT_TRUE(answered);
                    })});
        const std::vector<CTableauDoc*> tables = TableDocuments();
        return tables.size() == 1 ? tables.front() : nullptr;
    }

    static CTableauView& ViewOf(const CTableauDoc& document) {
        return *dynamic_cast<CTableauView*>(document.GetViews().front());
    }

    // Whether the window's layout draws some text in the font.
    static bool LaidOutWith(CTableauView& view, const CPoliceAna& font) {
        const std::vector<CPoliceAna>& fonts = view.ScreenLayout().Fonts();
        return std::find(fonts.begin(), fonts.end(), font) != fonts.end();
    }
};

struct WindowCase {
    const char* name;
    bool ok;
    bool boldAfter;
    int digitsAfter;
};

TEST_F(TablePresentationTest, TheTableWindowsCommandRestylesTheShownTableOnOkOnly) {
    CTableauDoc* table = OpenFlatTable();
    ASSERT_NE(table, nullptr);
    EXPECT_TRUE(IsEnabled(CTableauDoc::kPresentation));
    const CPresentationTableau before = table->GetPresentation();
    ASSERT_FALSE(before.GetCellule().GetGras());
    ASSERT_EQ(before.GetEffectif(), 0);

    const WindowCase cases[] = {{"Annuler", false, false, 0}, {"OK", true, true, 2}};
    for (const WindowCase& test : cases) {
        SCOPED_TRACE(test.name);
        CTableauView& view = ViewOf(*table);
        view.ScreenLayout(); // laid out as the window shows it
        RunAnswered(CTableauDoc::kPresentation, {BoldCellsWithDigits("2", test.ok)});
        const CPresentationTableau& after = table->GetPresentation();
        EXPECT_EQ(after.GetCellule().GetGras(), test.boldAfter);
        EXPECT_EQ(after.GetEffectif(), test.digitsAfter);
        // The request carries it too, so that the table keeps it when computed again.
        EXPECT_TRUE(table->GetTableau()->GetTraitement()->presentation == after);
        // The window draws with the new cell font.
        EXPECT_TRUE(LaidOutWith(view, after.GetCellule()));
    }
}

TEST_F(TablePresentationTest, TheGeneralPagesButtonGivesTheRequestItsPresentation) {
    const WindowCase cases[] = {{"Annuler", false, false, 0}, {"OK", true, true, 2}};
    for (const WindowCase& test : cases) {
        SCOPED_TRACE(test.name);
        CTableauDoc* table = OpenFlatTable(BoldCellsWithDigits("2", test.ok));
        ASSERT_NE(table, nullptr);
        const CPresentationTableau& presentation = table->GetPresentation();
        EXPECT_EQ(presentation.GetCellule().GetGras(), test.boldAfter);
        EXPECT_EQ(presentation.GetEffectif(), test.digitsAfter);
        EXPECT_TRUE(LaidOutWith(ViewOf(*table), presentation.GetCellule()));
        table->OnCloseDocument();
        QApplication::processEvents();
    }
}

} // namespace
