#include "gui/requests/ListCtrlBarres.h"

#include "recodes/ModaliteGroupe.h"
#include "tabulation/GroupingBlocks.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <cmath>

namespace {

constexpr int kLevelRole = Qt::UserRole + 1;

// Draws the first column of a row (its tick box and label) moved right by the row's group level.
class IndentingDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        // A selected row is highlighted across its indentation too.
        if (option.state.testFlag(QStyle::State_Selected))
            painter->fillRect(option.rect, option.palette.brush(QPalette::Highlight));
        QStyledItemDelegate::paint(painter, Indented(option, index), index);
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QSize size = QStyledItemDelegate::sizeHint(option, index);
        return {size.width() + Indent(index), size.height()};
    }
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override {
        QStyledItemDelegate::updateEditorGeometry(editor, Indented(option, index), index);
    }

private:
    static int Indent(const QModelIndex& index) {
        return index.column() == 0 ? index.data(kLevelRole).toInt() * CListCtrlBarres::kIndentPerLevel : 0;
    }
    static QStyleOptionViewItem Indented(const QStyleOptionViewItem& option, const QModelIndex& index) {
        QStyleOptionViewItem indented(option);
        indented.rect.setLeft(indented.rect.left() + Indent(index));
        return indented;
    }
};

// A count as the tables show one: whole when it is, else with two decimals.
QString CountText(double count) {
    const bool whole = std::abs(count - std::round(count)) < 1e-9;
    return QString::number(count, 'f', whole ? 0 : 2);
}

} // namespace

CListCtrlBarres::CListCtrlBarres(QWidget* parent) : CModaliteListCtrl(parent) {
    setItemDelegate(new IndentingDelegate(this));
}

void CListCtrlBarres::Initialiser(Lines& lines, const std::vector<double>& counts) {
    m_counts = &counts;
    CModaliteListCtrl::Initialiser(lines);
    // The tick boxes show the grouping's own choice.
    for (int row = 0; row < topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = topLevelItem(row);
        item->setFlags(item->flags() & ~Qt::ItemIsUserCheckable);
    }
}

void CListCtrlBarres::TrierParColonne(int column) {
    if (column == kOrdre || LineCount() == 0) {
        CModaliteListCtrl::TrierParColonne(column);
        return;
    }
    const auto byKey = [this, column](int rowA, int rowB) {
        const int a = LineOfRow(rowA);
        const int b = LineOfRow(rowB);
        if (column == kEffectif)
            return CountOf(a) > CountOf(b);
        return QString::fromStdString(Line(a).GetShortCaption())
                   .compare(QString::fromStdString(Line(b).GetShortCaption()), Qt::CaseInsensitive) < 0;
    };
    if (column == kLibelle || column == kEffectif)
        ShowRowsInOrder(GroupingBlocks::HierarchicalOrder(LevelsOfRows(), byKey));
}

bool CListCtrlBarres::MonterSelection() {
    return MoveBlock(true);
}

bool CListCtrlBarres::DescendreSelection() {
    return MoveBlock(false);
}

void CListCtrlBarres::MoveFirstSelected(int step) {
    const bool moved = step < 0 ? MonterSelection() : DescendreSelection();
    if (!moved)
        QApplication::beep();
}

bool CListCtrlBarres::MoveBlock(bool up) {
    const int row = FirstSelected();
    if (row < 0)
        return false;
    const std::vector<int> levels = LevelsOfRows();
    const std::optional<GroupingBlocks::Move> move =
        up ? GroupingBlocks::MoveUp(levels, row) : GroupingBlocks::MoveDown(levels, row);
    if (!move)
        return false;
    ShowRowsInOrder(GroupingBlocks::OrderAfter(topLevelItemCount(), *move));
    QTreeWidgetItem* first = topLevelItem(move->to);
    clearSelection();
    setCurrentItem(first);
    first->setSelected(true);
    scrollToItem(first);
    return true;
}

void CListCtrlBarres::ShowRowsInOrder(const std::vector<int>& rows) {
    // The position of each line in the new order.
    std::vector<int> rank(static_cast<std::size_t>(LineCount()), 0);
    for (std::size_t position = 0; position < rows.size(); ++position)
        rank[static_cast<std::size_t>(LineOfRow(rows[position]))] = static_cast<int>(position);
    SortRows([&rank](int a, int b) { return rank[static_cast<std::size_t>(a)] < rank[static_cast<std::size_t>(b)]; });
}

std::vector<int> CListCtrlBarres::LevelsOfRows() const {
    std::vector<int> levels;
    for (int line : LinesInOrder())
        levels.push_back(LevelOf(line));
    return levels;
}

int CListCtrlBarres::FirstSelected() const {
    for (int row = 0; row < topLevelItemCount(); ++row)
        if (topLevelItem(row)->isSelected())
            return row;
    return -1;
}

void CListCtrlBarres::keyPressEvent(QKeyEvent* event) {
    // Space does not change what the grouping keeps.
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::NoModifier && event->key() == Qt::Key_Space && state() != QAbstractItemView::EditingState) {
        event->accept();
        return;
    }
    LineListWidget::keyPressEvent(event);
}

int CListCtrlBarres::LevelOf(int line) const {
    const auto* node = dynamic_cast<const CModaliteGroupe*>(&Line(line));
    return node != nullptr ? node->level : 0;
}

double CListCtrlBarres::CountOf(int line) const {
    return m_counts != nullptr && line < static_cast<int>(m_counts->size()) ? (*m_counts)[static_cast<std::size_t>(line)]
                                                                              : 0.0;
}

void CListCtrlBarres::ShowOtherColumns(QTreeWidgetItem& item, int line, int row) {
    CModaliteListCtrl::ShowOtherColumns(item, line, row);
    item.setData(kLibelle, kLevelRole, LevelOf(line));
    const bool counted = m_counts != nullptr && line < static_cast<int>(m_counts->size());
    item.setText(kEffectif, counted ? CountText(CountOf(line)) : QString());
}
