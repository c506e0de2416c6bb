#include "support/SettingsFixture.h"
#include "tabulation/Tableau.h"
#include "gui/tabulation/TableLayout.h"
#include "gui/tabulation/TableauView.h"

#include <QApplication>
#include <QScrollBar>
#include <gtest/gtest.h>

namespace {

class TableauViewTest : public SettingsFixture {
protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        CTableau sample;
        sample.RemplirExemple();
        m_view.SetTableau(sample);
        m_view.resize(600, 400);
        m_view.show();
        QApplication::processEvents();
    }

    CTableauView m_view;
};

// In variable mode the columns share the viewport: the sample's unit is (width - 80) / 4 and the
// table ends 40 before the right edge (less what the truncation loses).
TEST_F(TableauViewTest, VariableModeFollowsTheViewportWidth) {
    const int width = m_view.viewport()->width();
    const int before = m_view.ScreenLayout().ScrollWidth();
    EXPECT_NEAR(before, width - 40, 2);

    // The paint that follows the new width lays the table out again.
    m_view.resize(800, 400);
    QApplication::processEvents();
    EXPECT_NEAR(m_view.ScreenLayout().ScrollWidth(), m_view.viewport()->width() - 40, 2);
    EXPECT_GT(m_view.ScreenLayout().ScrollWidth(), before + 150);
}

// Fixed sizes: 40 + 160 + 2 x 80 whatever the window, so a narrow window scrolls across; a new
// width no longer lays the table out again. Choosing the mode in force changes nothing.
TEST_F(TableauViewTest, FixedModeScrollsAcrossANarrowWindow) {
    m_view.OnTailleCellulesFixes();
    EXPECT_EQ(m_view.GetCellSizeMode(), CellSizeMode::kFixed);
    EXPECT_TRUE(m_view.IsLayoutDirty());
    EXPECT_EQ(m_view.ScreenLayout().ScrollWidth(), 360);

    m_view.OnTailleCellulesFixes();
    EXPECT_FALSE(m_view.IsLayoutDirty());
    m_view.resize(250, 400);
    QApplication::processEvents();
    EXPECT_FALSE(m_view.IsLayoutDirty());
    EXPECT_EQ(m_view.horizontalScrollBar()->maximum(), 360 - m_view.viewport()->width());

    m_view.OnTailleCellulesVariables();
    EXPECT_TRUE(m_view.IsLayoutDirty());
    EXPECT_LE(m_view.ScreenLayout().ScrollWidth(), m_view.viewport()->width());
}

// A new presentation lays the table out again: the title block moved above pushes the table down.
TEST_F(TableauViewTest, NewPresentationIsLaidOutAgain) {
    const int topBefore = m_view.ScreenLayout().TableTop();
    CPresentationTableau presentation = m_view.GetTableau().GetPresentation();
    presentation.SetEstTitreAuDessus(true);
    m_view.SetPresentation(presentation);
    EXPECT_TRUE(m_view.IsLayoutDirty());
    EXPECT_EQ(topBefore, CTableauView::kTableTop);
    EXPECT_GT(m_view.ScreenLayout().TableTop(), CTableauView::kTableTop);
    EXPECT_TRUE(m_view.ScreenLayout().HasTitleAbove());
}

} // namespace
