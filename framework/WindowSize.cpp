#include "framework/WindowSize.h"

#include <QScreen>
#include <QWidget>

namespace WindowSize {

void FitContentsToScreen(QWidget& window) {
    QSize size = window.sizeHint();
    if (const QScreen* screen = window.screen()) {
        const QSize room = screen->availableGeometry().size() - QSize(0, kFrameAllowance);
        size = size.boundedTo(room);
    }
    window.resize(size.expandedTo(window.minimumSizeHint()));
}

} // namespace WindowSize
