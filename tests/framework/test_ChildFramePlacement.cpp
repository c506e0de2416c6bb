// A document window's placement: its place and size when neither maximised nor minimised, and its
// state; another window given that placement stands where it stood.
#include "FrameworkFixture.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace frameworktest {
namespace {

class ChildFramePlacementTest : public FrameworkTest {
protected:
    CMDIChildWnd& OpenFrame(const std::string& name) {
        TestDocument* document = OpenPath("/tmp/" + name);
        EXPECT_NE(document, nullptr);
        QApplication::processEvents();
        return FrameOf(*document);
    }

    static constexpr QRect kPlace{37, 23, 420, 310};
};

TEST_F(ChildFramePlacementTest, ThePlacementKeepsTheNormalGeometryWhateverTheState) {
    CMDIChildWnd& frame = OpenFrame("a.qes");
    frame.setGeometry(kPlace);
    EXPECT_EQ(frame.GetWindowPlacement().normalGeometry, kPlace);
    EXPECT_EQ(frame.GetWindowPlacement().state, Qt::WindowNoState);

    frame.showMaximized();
    EXPECT_EQ(frame.GetWindowPlacement().normalGeometry, kPlace);
    EXPECT_EQ(frame.GetWindowPlacement().state, Qt::WindowMaximized);

    frame.showMinimized();
    EXPECT_EQ(frame.GetWindowPlacement().normalGeometry, kPlace);
    EXPECT_EQ(frame.GetWindowPlacement().state, Qt::WindowMinimized);

    frame.showNormal();
    EXPECT_EQ(frame.geometry(), kPlace);
}

TEST_F(ChildFramePlacementTest, AnotherWindowTakesThePlacement) {
    struct Case {
        const char* name;
        Qt::WindowStates state;
    };
    for (const Case& c : {Case{"normal", Qt::WindowNoState}, Case{"maximised", Qt::WindowMaximized},
                          Case{"minimised", Qt::WindowMinimized}}) {
        SCOPED_TRACE(c.name);
        CMDIChildWnd& frame = OpenFrame(std::string(c.name) + ".qes");
        frame.SetWindowPlacement({kPlace, c.state});
        EXPECT_EQ(frame.isMaximized(), c.state.testFlag(Qt::WindowMaximized));
        EXPECT_EQ(frame.isMinimized(), c.state.testFlag(Qt::WindowMinimized));
        EXPECT_EQ(frame.GetWindowPlacement().normalGeometry, kPlace);
        frame.showNormal();
        EXPECT_EQ(frame.geometry(), kPlace);
        frame.close();
        ProcessDeferredDeletes();
    }
}

// A window that opened maximised (the area maximises a new window while the active one is) comes
// back to the given place, not to its own.
TEST_F(ChildFramePlacementTest, AMaximisedWindowTakesTheNormalGeometryGiven) {
    CMDIChildWnd& first = OpenFrame("a.qes");
    first.showMaximized();
    CMDIChildWnd& second = OpenFrame("b.qes");
    ASSERT_TRUE(second.isMaximized());
    second.SetWindowPlacement({kPlace, Qt::WindowNoState});
    EXPECT_FALSE(second.isMaximized());
    EXPECT_EQ(second.geometry(), kPlace);
}

} // namespace
} // namespace frameworktest
