#include "gui/requests/LineListWidget.h"

#include "app/Ligne.h"
#include "app/UserInterface.h"

#include <QFont>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <algorithm>
#include <utility>

namespace {

constexpr int kLineRole = Qt::UserRole;

// The keys that, with Alt, ask for one of the four options.
struct OptionKey {
    int key;
    int option;
};
constexpr std::array<OptionKey, 4> kOptionKeys{{
    {Qt::Key_B, LineListWidget::kBold},
    {Qt::Key_I, LineListWidget::kItalic},
    {Qt::Key_U, LineListWidget::kUnderline},
    {Qt::Key_S, LineListWidget::kShadow},
}};

// Restores a flag for the life of a scope.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : m_flag(flag), m_previous(std::exchange(flag, true)) {}
    ~FlagScope() { m_flag = m_previous; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& m_flag;
    bool m_previous;
};

} // namespace

LineListWidget::LineListWidget(QWidget* parent) : QTreeWidget(parent) {
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSortingEnabled(false);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAllColumnsShowFocus(true);
    connect(this, &QTreeWidget::itemChanged, this, &LineListWidget::OnItemChanged);
    connect(this, &QTreeWidget::currentItemChanged, this, [this] { emit focusedLineChanged(); });
}

QSize LineListWidget::sizeHint() const {
    const int rows = topLevelItemCount();
    const int shownRows = std::clamp(rows, kRowsAtLeast, kRowsShownWhole);
    // Every row has the height of the first (uniform heights); an empty list takes a line of text.
    const int rowHeight = rows > 0 ? sizeHintForRow(0) : fontMetrics().height();
    const int headerHeight = isHeaderHidden() ? 0 : header()->sizeHint().height();
    const int frame = 2 * frameWidth();
    int width = frame;
    for (int column = 0; column < columnCount(); ++column) {
        const int contents = std::max(sizeHintForColumn(column), header()->sectionSizeHint(column));
        // A stretched last column is as wide as the list is made: only its contents count.
        const bool stretched = header()->stretchLastSection() && column == columnCount() - 1;
        width += stretched ? contents : std::max(columnWidth(column), contents);
    }
    if (rows > shownRows)
        width += verticalScrollBar()->sizeHint().width();
    const QSize base = QTreeWidget::sizeHint();
    return {std::max(base.width(), width), frame + headerHeight + shownRows * rowHeight};
}

int LineListWidget::LineOfRow(int row) const {
    const QTreeWidgetItem* item = topLevelItem(row);
    return item != nullptr ? item->data(0, kLineRole).toInt() : -1;
}

int LineListWidget::RowOfLine(int line) const {
    for (int row = 0; row < topLevelItemCount(); ++row)
        if (LineOfRow(row) == line)
            return row;
    return -1;
}

std::vector<int> LineListWidget::LinesInOrder() const {
    std::vector<int> lines;
    for (int row = 0; row < topLevelItemCount(); ++row)
        lines.push_back(LineOfRow(row));
    return lines;
}

std::vector<int> LineListWidget::TickedLinesInOrder() const {
    std::vector<int> lines;
    for (int line : LinesInOrder())
        if (IsTicked(line))
            lines.push_back(line);
    return lines;
}

bool LineListWidget::CheckSomethingTicked(UserInterface& ui, int refusal) const {
    if (!TickedLinesInOrder().empty())
        return true;
    ui.ShowMessage(Message(refusal), UserInterface::Icon::Warning);
    return false;
}

void LineListWidget::DeplacerItem(int from, int to) {
    const int count = topLevelItemCount();
    if (from < 0 || from >= count || to < 0 || to > count || to == from)
        return;
    QTreeWidgetItem* item = takeTopLevelItem(from);
    insertTopLevelItem(to < from ? to : to - 1, item);
    clearSelection();
    setCurrentItem(item);
    item->setSelected(true);
    ShowAllRows();
}

void LineListWidget::MoveFirstSelected(int step) {
    const int row = FirstSelectedRow();
    if (row < 0)
        return;
    if (step < 0 && row > 0)
        DeplacerItem(row, row - 1);
    else if (step > 0 && row + 1 < topLevelItemCount())
        DeplacerItem(row, row + 2);
}

void LineListWidget::SetRowTicked(int row, bool ticked) {
    const int line = LineOfRow(row);
    if (line < 0)
        return;
    SetTicked(line, ticked);
    ShowRow(*topLevelItem(row));
}

void LineListWidget::SetRowOptions(int row, const Options& options) {
    const int line = LineOfRow(row);
    if (line < 0)
        return;
    SetOptions(line, options);
    ShowRow(*topLevelItem(row));
}

void LineListWidget::SetRowLabel(int row, const std::string& label) {
    const int line = LineOfRow(row);
    if (line < 0 || label.empty())
        return;
    SetLabel(line, label);
    ShowRow(*topLevelItem(row));
}

void LineListWidget::ShowRequestLines(
    const std::vector<const CLigne*>& requestLines,
    const std::function<bool(const CLigne& requestLine, int line)>& matches) {
    for (int row = 0; row < topLevelItemCount(); ++row)
        SetRowTicked(row, false);
    int position = 0;
    for (const CLigne* requestLine : requestLines) {
        if (requestLine == nullptr)
            continue;
        int row = position;
        while (row < topLevelItemCount() && !matches(*requestLine, LineOfRow(row)))
            ++row;
        if (row == topLevelItemCount())
            continue;
        DeplacerItem(row, position);
        SetRowTicked(position, true);
        SetRowOptions(position, {requestLine->bold != 0, requestLine->italic != 0,
                                 requestLine->underline != 0, requestLine->shadow != 0});
        SetRowLabel(position, requestLine->label);
        ++position;
    }
}

void LineListWidget::ToggleFirstSelected() {
    const int row = FirstSelectedRow();
    if (row < 0)
        return;
    SetRowTicked(row, !IsTicked(LineOfRow(row)));
    emit changed();
}

void LineListWidget::EditFirstSelected() {
    if (const int row = FirstSelectedRow(); row >= 0)
        editItem(topLevelItem(row), 0);
}

void LineListWidget::SetOptionOfSelected(int option, bool on) {
    if (option < 0 || option >= static_cast<int>(Options().size()))
        return;
    for (int row = 0; row < topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = topLevelItem(row);
        if (!item->isSelected())
            continue;
        const int line = LineOfRow(row);
        Options options = GetOptions(line);
        options[static_cast<std::size_t>(option)] = on;
        SetOptions(line, options);
        ShowRow(*item);
    }
    emit changed();
}

LineListWidget::Options LineListWidget::FocusedOptions() const {
    const QTreeWidgetItem* item = currentItem();
    if (item == nullptr)
        return {};
    return GetOptions(item->data(0, kLineRole).toInt());
}

void LineListWidget::FillRows() {
    FlagScope showing(m_showing);
    clear();
    for (int line = 0; line < LineCount(); ++line) {
        auto* item = new QTreeWidgetItem(this);
        item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsUserCheckable |
                       Qt::ItemIsEditable);
        item->setData(0, kLineRole, line);
    }
    ShowAllRows();
}

void LineListWidget::ShowAllRows() {
    for (int row = 0; row < topLevelItemCount(); ++row)
        ShowRow(*topLevelItem(row));
}

void LineListWidget::SortRows(const std::function<bool(int lineA, int lineB)>& before) {
    QTreeWidgetItem* current = currentItem();
    std::vector<QTreeWidgetItem*> items;
    while (topLevelItemCount() > 0)
        items.push_back(takeTopLevelItem(0));
    std::stable_sort(items.begin(), items.end(),
                     [&before](const QTreeWidgetItem* a, const QTreeWidgetItem* b) {
                         return before(a->data(0, kLineRole).toInt(), b->data(0, kLineRole).toInt());
                     });
    for (QTreeWidgetItem* item : items)
        addTopLevelItem(item);
    if (current != nullptr)
        setCurrentItem(current);
    ShowAllRows();
}

void LineListWidget::ShowRow(QTreeWidgetItem& item) {
    FlagScope showing(m_showing);
    const int line = item.data(0, kLineRole).toInt();
    const Options options = GetOptions(line);
    QFont labelFont = font();
    labelFont.setBold(options[kBold]);
    labelFont.setItalic(options[kItalic]);
    labelFont.setUnderline(options[kUnderline]);
    item.setFont(0, labelFont);
    item.setText(0, QString::fromStdString(GetLabel(line)));
    item.setCheckState(0, IsTicked(line) ? Qt::Checked : Qt::Unchecked);
    ShowOtherColumns(item, line, indexOfTopLevelItem(&item));
}

void LineListWidget::OnItemChanged(QTreeWidgetItem* item, int column) {
    if (m_showing || item == nullptr || column != 0)
        return;
    const int line = item->data(0, kLineRole).toInt();
    const bool ticked = item->checkState(0) == Qt::Checked;
    const std::string label = item->text(0).toStdString();
    if (ticked != IsTicked(line)) {
        SetTicked(line, ticked);
        emit changed();
    }
    if (label != GetLabel(line)) {
        // An empty label is refused: the row shows the line's label again.
        if (!label.empty()) {
            SetLabel(line, label);
            emit changed();
        }
        ShowRow(*item);
    }
}

int LineListWidget::FirstSelectedRow() const {
    for (int row = 0; row < topLevelItemCount(); ++row)
        if (topLevelItem(row)->isSelected())
            return row;
    return -1;
}

bool LineListWidget::HandleAltKey(int key) {
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
        MoveFirstSelected(key == Qt::Key_Up ? -1 : 1);
        return true;
    }
    for (const OptionKey& optionKey : kOptionKeys)
        if (optionKey.key == key) {
            emit optionKeyPressed(optionKey.option);
            return true;
        }
    return false;
}

QSize LineListWidget::ContentsSize() const {
    const int rows = topLevelItemCount();
    int width = 0;
    for (int column = 0; column < columnCount(); ++column) {
        const bool stretched = header()->stretchLastSection() && column == columnCount() - 1;
        width += stretched ? header()->minimumSectionSize() : header()->sectionSize(column);
    }
    return {width, rows > 0 ? rows * sizeHintForRow(0) : 0};
}

// Qt sets each bar's range for the viewport left between the bars that show: a list that shows
// both while it is laid out at a small size keeps both at its full size, although its rows and
// columns fit with one bar or none (the Total line of a list of ten lines half hidden). The bar
// that the contents do not need, beside the other one or alone, gets an empty range and the area
// hides it.
void LineListWidget::DropNeedlessScrollBars() {
    const QSize room = maximumViewportSize();
    const QSize contents = ContentsSize();
    const int barWidth = verticalScrollBar()->sizeHint().width();
    const int barHeight = horizontalScrollBar()->sizeHint().height();
    const bool tall = contents.height() > room.height();
    const bool wide = contents.width() > room.width();
    const bool needsVertical = tall || (wide && contents.height() > room.height() - barHeight);
    const bool needsHorizontal = wide || (tall && contents.width() > room.width() - barWidth);
    if (!needsVertical && verticalScrollBar()->maximum() > 0)
        verticalScrollBar()->setRange(0, 0);
    if (!needsHorizontal && horizontalScrollBar()->maximum() > 0)
        horizontalScrollBar()->setRange(0, 0);
}

void LineListWidget::updateGeometries() {
    QTreeWidget::updateGeometries();
    DropNeedlessScrollBars();
}

void LineListWidget::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::AltModifier && HandleAltKey(event->key())) {
        event->accept();
        return;
    }
    if (modifiers == Qt::NoModifier && state() != QAbstractItemView::EditingState) {
        if (event->key() == Qt::Key_Space) {
            ToggleFirstSelected();
            event->accept();
            return;
        }
        if (event->key() == Qt::Key_F2) {
            EditFirstSelected();
            event->accept();
            return;
        }
    }
    QTreeWidget::keyPressEvent(event);
}
