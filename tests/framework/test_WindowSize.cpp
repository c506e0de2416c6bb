// A window opens at the size its layout asks for, within its screen's work area: a window taller
// than the screen keeps its buttons on it, its list taking what room is left.
#include "framework/WindowSize.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

// A list that asks for `rows` lines' worth of height.
class TallList : public QListWidget {
public:
    explicit TallList(int height) : m_height(height) {}
    QSize sizeHint() const override { return {300, m_height}; }

private:
    int m_height;
};

struct Dialog {
    explicit Dialog(int listHeight) : list(new TallList(listHeight)), buttons(new QDialogButtonBox(QDialogButtonBox::Ok)) {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(list);
        layout->addWidget(buttons);
    }
    QDialog window;
    TallList* list;
    QDialogButtonBox* buttons;
};

TEST(WindowSizeTest, AWindowThatFitsTakesItsLayoutsSize) {
    Dialog dialog(200);
    WindowSize::FitContentsToScreen(dialog.window);
    EXPECT_EQ(dialog.window.size(), dialog.window.sizeHint());
}

TEST(WindowSizeTest, AWindowTallerThanTheScreenStaysOnItWithItsButtons) {
    Dialog probe(0);
    const QRect workArea = probe.window.screen()->availableGeometry();
    Dialog dialog(workArea.height() + 500);
    WindowSize::FitContentsToScreen(dialog.window);
    dialog.window.show();
    EXPECT_EQ(dialog.window.height(), workArea.height() - WindowSize::kFrameAllowance);
    EXPECT_EQ(dialog.window.width(), dialog.window.sizeHint().width());
    QPushButton* ok = dialog.buttons->button(QDialogButtonBox::Ok);
    EXPECT_TRUE(dialog.window.rect().contains(QRect(ok->mapTo(&dialog.window, QPoint(0, 0)), ok->size())));
}

} // namespace
