#pragma once

#include <QApplication>
#include <QFontMetrics>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRegion>
#include <QStyle>
#include <string>
#include <vector>

// The titles of the document windows whose title, even in part, lies under a window stacked above
// it: a window the analyst can neither read nor reach by its title. The title is the band at the
// top of the title bar that holds its text (the bar's height less the margin under the text).
inline std::vector<std::string> CoveredTitleBars(const QMdiArea& area) {
    const QList<QMdiSubWindow*> stacked = area.subWindowList(QMdiArea::StackingOrder);
    std::vector<std::string> covered;
    for (qsizetype i = 0; i < stacked.size(); ++i) {
        const QMdiSubWindow* window = stacked[i];
        const int barHeight = window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
        const int textHeight = QFontMetrics(QApplication::font("QMdiSubWindowTitleBar")).height();
        const QRect title(window->pos(), QSize(window->width(), barHeight - (barHeight - textHeight) / 2));
        QRegion above;
        for (qsizetype j = i + 1; j < stacked.size(); ++j)
            above += stacked[j]->geometry();
        if (above.intersects(title))
            covered.push_back(window->windowTitle().toStdString());
    }
    return covered;
}
