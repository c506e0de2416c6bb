// "Cascade" and "Mosaïque" leave every title bar in sight: a window opened early but brought in
// front since (as the questionnaire tree is before each command) no longer covers the windows
// placed after it, and minimised windows stay in front of the arranged ones.
#include "FrameworkFixture.h"
#include "framework/FrameworkCommands.h"
#include "support/CoveredTitleBars.h"

#include <QApplication>
#include <QMdiArea>
#include <gtest/gtest.h>

namespace frameworktest {
namespace {

class WindowArrangementTest : public FrameworkTest {
protected:
    // Five windows; the first, then the third, brought in front afterwards.
    std::vector<CMDIChildWnd*> OpenAndShuffle() {
        std::vector<CMDIChildWnd*> frames;
        for (int i = 1; i <= 5; ++i)
            frames.push_back(&FrameOf(*OpenPath("/tmp/" + std::to_string(i) + ".qes")));
        m_mainFrame->GetMdiArea().setActiveSubWindow(frames[0]);
        m_mainFrame->GetMdiArea().setActiveSubWindow(frames[2]);
        QApplication::processEvents();
        return frames;
    }

    void Arrange(unsigned command) {
        ASSERT_TRUE(m_mainFrame->OnCmdMsg(command, CmdMsg::kCommand, nullptr));
        QApplication::processEvents();
    }

    std::vector<std::string> CoveredTitleBars() const { return ::CoveredTitleBars(m_mainFrame->GetMdiArea()); }
};

TEST_F(WindowArrangementTest, CascadeLeavesEveryTitleBarInSight) {
    const std::vector<CMDIChildWnd*> frames = OpenAndShuffle();
    Arrange(FrameworkCommands::kWindowCascade);
    EXPECT_EQ(CoveredTitleBars(), std::vector<std::string>{});
    // The window in front stays in front, and active.
    EXPECT_EQ(m_mainFrame->GetMdiArea().subWindowList(QMdiArea::StackingOrder).back(), frames[2]);
    EXPECT_EQ(m_mainFrame->MDIGetActive(), frames[2]);
    // Every window took part: no two share a place.
    for (std::size_t i = 0; i < frames.size(); ++i)
        for (std::size_t j = i + 1; j < frames.size(); ++j)
            EXPECT_NE(frames[i]->pos(), frames[j]->pos()) << i << " " << j;
}

TEST_F(WindowArrangementTest, TileLeavesNoWindowOverAnother) {
    const std::vector<CMDIChildWnd*> frames = OpenAndShuffle();
    Arrange(FrameworkCommands::kWindowTileHorizontally);
    EXPECT_EQ(CoveredTitleBars(), std::vector<std::string>{});
    for (std::size_t i = 0; i < frames.size(); ++i)
        for (std::size_t j = i + 1; j < frames.size(); ++j)
            EXPECT_FALSE(frames[i]->geometry().intersects(frames[j]->geometry())) << i << " " << j;
}

TEST_F(WindowArrangementTest, MinimisedWindowsStayInFrontOfTheArrangedOnes) {
    const std::vector<CMDIChildWnd*> frames = OpenAndShuffle();
    frames[1]->showMinimized();
    frames[3]->showMinimized();
    m_mainFrame->GetMdiArea().setActiveSubWindow(frames[4]);
    for (unsigned command : {FrameworkCommands::kWindowCascade, FrameworkCommands::kWindowTileHorizontally}) {
        SCOPED_TRACE(command);
        Arrange(command);
        EXPECT_TRUE(frames[1]->isMinimized());
        EXPECT_TRUE(frames[3]->isMinimized());
        EXPECT_EQ(CoveredTitleBars(), std::vector<std::string>{});
    }
}

} // namespace
} // namespace frameworktest
