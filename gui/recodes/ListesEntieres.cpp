#include "gui/recodes/ListesEntieres.h"

#include <QHeaderView>
#include <QListWidget>
#include <QScrollBar>
#include <QTreeWidget>
#include <algorithm>

namespace ListesEntieres {
namespace {

// The least size of a view showing `rows` rows of `rowHeight` and `contentsWidth` across.
void Fit(QAbstractItemView& view, int rows, int rowHeight, int contentsWidth) {
    const int shown = std::clamp(rows, kLignesAuMoins, kLignesEntieres);
    const int frame = 2 * view.frameWidth();
    int width = contentsWidth + frame;
    if (rows > kLignesEntieres)
        width += view.verticalScrollBar()->sizeHint().width();
    view.setMinimumSize(width, shown * rowHeight + frame);
}

// The number of rows the expanded tree shows.
int VisibleRows(const QTreeWidget& tree) {
    int rows = 0;
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(&tree)); *it != nullptr; ++it) {
        bool hidden = false;
        for (const QTreeWidgetItem* up = (*it)->parent(); up != nullptr; up = up->parent())
            hidden = hidden || !up->isExpanded();
        rows += hidden ? 0 : 1;
    }
    return rows;
}

int DepthOf(const QTreeWidgetItem& item) {
    int depth = 0;
    for (const QTreeWidgetItem* up = item.parent(); up != nullptr; up = up->parent())
        ++depth;
    return depth;
}

} // namespace

void Ajuster(QListWidget& list) {
    const int rowHeight = list.count() > 0 ? list.sizeHintForRow(0) : list.fontMetrics().height();
    const int width =
        list.count() > 0 ? list.sizeHintForColumn(0) : list.fontMetrics().averageCharWidth() * 20;
    Fit(list, list.count(), rowHeight, width + 2 * list.spacing() + 12);
}

void Ajuster(QTreeWidget& tree) {
    const int rows = VisibleRows(tree);
    const int rowHeight = tree.topLevelItemCount() > 0 ? tree.sizeHintForRow(0) : 0;
    // The widest item with its indentation and icon.
    int width = 0;
    const int icon = tree.iconSize().width() + 4;
    for (QTreeWidgetItemIterator it(&tree); *it != nullptr; ++it) {
        const QTreeWidgetItem& item = **it;
        const int text = tree.fontMetrics().horizontalAdvance(item.text(0));
        width = std::max(width, (DepthOf(item) + (tree.rootIsDecorated() ? 1 : 0)) * tree.indentation() +
                                    (item.icon(0).isNull() ? 0 : icon) + text + 8);
    }
    Fit(tree, rows, std::max(rowHeight, tree.fontMetrics().height() + 2), width);
}

} // namespace ListesEntieres
