#include "shell/ProgramIcon.h"

#include <QPainter>
#include <QPixmap>

namespace {

// The picture on a 64-unit grid: a deep blue rounded square and four bars.
QPixmap Draw(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 64.0, size / 64.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x1B, 0x3A, 0x6B));
    painter.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);
    struct Bar {
        int x;
        int y;
        int height;
        QRgb colour;
    };
    constexpr Bar kBars[] = {{12, 34, 18, 0xD8E2F0}, {24, 22, 30, 0xD8E2F0}, {36, 28, 24, 0xD8E2F0},
                             {48, 14, 38, 0xFFFFFF}};
    for (const Bar& bar : kBars) {
        painter.setBrush(QColor(bar.colour));
        painter.drawRect(QRectF(bar.x, bar.y, 8, bar.height));
    }
    return pixmap;
}

} // namespace

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64})
        icon.addPixmap(Draw(size));
    return icon;
}
