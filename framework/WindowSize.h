#pragma once

class QWidget;

namespace WindowSize {

// Room left on the screen for the frame and title that the window manager adds around a window.
constexpr int kFrameAllowance = 64;

// The window (not yet shown) takes the size its layout asks for, within the work area of its
// screen less the room for its frame: a window taller or wider than the screen keeps its buttons
// on it and lets its lists scroll. Never below the least size its layout allows.
void FitContentsToScreen(QWidget& window);

} // namespace WindowSize
