// The request dialogs open at a size that shows their lists and buttons whole: each list shows
// every row (up to LineListWidget::kRowsShownWhole) and every column without scrolling, every
// button lies inside the dialog, and the dialog inside the screen's work area (1280 x 800 here).
#include "RequestDialogTestSupport.h"
#include "gui/requests/RequestDialogKind.h"

#include <QAbstractButton>
#include <QScreen>
#include <QScrollBar>

namespace {

using namespace requests_test;
using T = CTraitement;

// What does not show whole in the dialog as it opened, one line each; empty when all does.
std::vector<std::string> NotWhole(const RequestDialog& dialog) {
    std::vector<std::string> faults;
    const QRect inside = dialog.rect();
    for (const QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
        if (!button->isVisibleTo(&dialog))
            continue;
        const QRect placed(button->mapTo(&dialog, QPoint(0, 0)), button->size());
        if (!inside.contains(placed))
            faults.push_back("button " + button->text().toStdString() + " outside the dialog");
    }
    for (const LineListWidget* list : dialog.findChildren<LineListWidget*>()) {
        const std::string name = list->headerItem()->text(0).toStdString();
        const int rows = list->topLevelItemCount();
        const bool scrolls = list->verticalScrollBar()->isVisible();
        if (scrolls != (rows > LineListWidget::kRowsShownWhole))
            faults.push_back("list " + name + " of " + std::to_string(rows) + " rows scrolls: " +
                             (scrolls ? "yes" : "no"));
        if (list->horizontalScrollBar()->isVisible())
            faults.push_back("list " + name + " scrolls sideways");
        const QRect shown = list->viewport()->rect();
        const int lastShown = std::min(rows, LineListWidget::kRowsShownWhole) - 1;
        if (lastShown >= 0 && !shown.contains(list->visualItemRect(list->topLevelItem(lastShown))))
            faults.push_back("list " + name + " cuts its row " + std::to_string(lastShown + 1));
    }
    return faults;
}

class DialogSizeTest : public DemoRequestTest {
protected:
    // The dialog as the frame opens it; null when it could not be made.
    std::unique_ptr<RequestDialog> Opened(std::int16_t type, const std::vector<std::string>& questions) {
        std::unique_ptr<RequestDialog> dialog = NewDialog(type, questions);
        QApplication::processEvents();
        return dialog;
    }

    static QRect WorkArea(const QWidget& window) { return window.screen()->availableGeometry(); }
};

// The complaint: the numeric statistics of AGE and REVENU had to be scrolled, the last cut off.
TEST_F(DialogSizeTest, TheStatisticsDialogShowsItsWholeListAndButtons) {
    for (const char* question : {"AGE", "REVENU"}) {
        SCOPED_TRACE(question);
        const std::unique_ptr<RequestDialog> dialog = Opened(T::kStatistiques, {question});
        ASSERT_NE(dialog, nullptr);
        ASSERT_LE(dialog->sizeHint().height(), WorkArea(*dialog).height());
        CCalculListCtrl& list = dialog->GetPageCalculs(0)->GetList();
        EXPECT_EQ(list.topLevelItemCount(), 14);
        EXPECT_EQ(NotWhole(*dialog), std::vector<std::string>{});
    }
}

// The complaint: MARQUES's list of ten lines showed both scroll bars and half its Total line,
// in its flat table's dialog as in a cross table's, while the list of calculations below had room
// to spare. Each list shows all its rows, or scrolls up and down alone; the Total line shows whole.
TEST_F(DialogSizeTest, TheDialogsOnMarquesShowItsTenLinesAndTheTotalWhole) {
    struct Case {
        const char* name;
        std::int16_t type;
        std::vector<std::string> questions;
        int page; // the rows page on MARQUES
    };
    const std::vector<Case> cases = {
        {"Tri simple", T::kTriSimple, {"MARQUES"}, 0},
        {"Tri croisé MARQUES x REGION", T::kTriCroise, {"MARQUES", "REGION"}, 0},
        {"Tri croisé REGION x MARQUES", T::kTriCroise, {"REGION", "MARQUES"}, 1},
        {"Tri croisé MARQUES x CSP", T::kTriCroise, {"MARQUES", "CSP"}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::unique_ptr<RequestDialog> dialog = Opened(c.type, c.questions);
        ASSERT_NE(dialog, nullptr);
        const CModaliteListCtrl& marques = dialog->GetPageLignes(c.page)->GetList();
        // Eight brands, "Non interrogé", then the Total.
        ASSERT_EQ(marques.topLevelItemCount(), 10);
        const QTreeWidgetItem* total = marques.topLevelItem(9);
        EXPECT_EQ(total->text(0), QStringLiteral("Total"));
        EXPECT_TRUE(marques.viewport()->rect().contains(marques.visualItemRect(total)));
        for (const LineListWidget* list : dialog->findChildren<LineListWidget*>()) {
            SCOPED_TRACE(list->headerItem()->text(0).toStdString());
            const bool upAndDown = list->verticalScrollBar()->isVisible();
            const bool sideways = list->horizontalScrollBar()->isVisible();
            EXPECT_FALSE(upAndDown && sideways);
            const QTreeWidgetItem* last = list->topLevelItem(list->topLevelItemCount() - 1);
            if (!upAndDown)
                EXPECT_TRUE(list->viewport()->rect().contains(list->visualItemRect(last)));
        }
        EXPECT_EQ(NotWhole(*dialog), std::vector<std::string>{});
        EXPECT_TRUE(WorkArea(*dialog).contains(dialog->frameGeometry()));
    }
}

TEST_F(DialogSizeTest, EveryRequestDialogOpensWithItsListsAndButtonsWhole) {
    struct Case {
        const char* name;
        std::int16_t type;
        std::vector<std::string> questions;
    };
    const std::vector<Case> cases = {
        {"Tri simple", T::kTriSimple, {"CSP"}},
        {"Tri croisé", T::kTriCroise, {"SATISF", "REGION"}},
        {"Taux d'importance croisé", T::kTauxImportanceCroise, {"TRANCHE", "SEXE"}},
        {"Statistiques", T::kStatistiques, {"FOYER"}},
        {"Tableau de moyenne", T::kTableauMoyenne, {"SATISF", "AGE"}},
        {"Morvane de classement", T::kTriClassement, {"CLASSEMENT"}},
        // A list of more rows than shown whole: it scrolls, the rest stays whole.
        {"Traitement mixte", T::kTraitementMixte, {"SATISF"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::unique_ptr<RequestDialog> dialog = Opened(c.type, c.questions);
        ASSERT_NE(dialog, nullptr);
        ASSERT_EQ(dialog->size(), dialog->sizeHint());
        EXPECT_EQ(NotWhole(*dialog), std::vector<std::string>{});
        EXPECT_TRUE(WorkArea(*dialog).contains(dialog->frameGeometry()));
    }
}

} // namespace
