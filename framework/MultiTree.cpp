#include "framework/MultiTree.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRubberBand>
#include <QScrollBar>
#include <QStyle>
#include <cstdlib>
#include <utility>

namespace {

// While the pointer is outside the window during a band, the tree scrolls one line per tick.
constexpr int kBandScrollInterval = 75;

QTreeWidgetItem& Holder(const QTreeWidget& tree, const QTreeWidgetItem& item) {
    return item.parent() != nullptr ? *item.parent() : *tree.invisibleRootItem();
}

QTreeWidgetItem* SiblingAt(const QTreeWidget& tree, const QTreeWidgetItem& item, int offset) {
    QTreeWidgetItem& holder = Holder(tree, item);
    return holder.child(holder.indexOfChild(const_cast<QTreeWidgetItem*>(&item)) + offset);
}

bool ShowsChildren(const QTreeWidgetItem& item) {
    return item.childCount() > 0 && item.isExpanded();
}

// The item shown after `item` when every expanded branch is unfolded; null after the last.
QTreeWidgetItem* NextVisible(const QTreeWidget& tree, const QTreeWidgetItem& item) {
    if (ShowsChildren(item))
        return item.child(0);
    for (const QTreeWidgetItem* current = &item; current != nullptr; current = current->parent()) {
        if (QTreeWidgetItem* next = SiblingAt(tree, *current, 1))
            return next;
    }
    return nullptr;
}

QTreeWidgetItem* PreviousVisible(const QTreeWidget& tree, const QTreeWidgetItem& item) {
    QTreeWidgetItem* previous = SiblingAt(tree, item, -1);
    if (previous == nullptr)
        return item.parent();
    while (ShowsChildren(*previous))
        previous = previous->child(previous->childCount() - 1);
    return previous;
}

QTreeWidgetItem* FirstVisible(const QTreeWidget& tree) {
    return tree.topLevelItem(0);
}

template <typename Visit> void ForEachVisible(const QTreeWidget& tree, Visit visit) {
    for (QTreeWidgetItem* item = FirstVisible(tree); item != nullptr; item = NextVisible(tree, *item))
        visit(*item);
}

template <typename Visit> void ForEachDescendant(QTreeWidgetItem& item, Visit visit) {
    for (int i = 0; i < item.childCount(); ++i) {
        visit(*item.child(i));
        ForEachDescendant(*item.child(i), visit);
    }
}

bool HasShift(Qt::KeyboardModifiers modifiers) {
    return modifiers.testFlag(Qt::ShiftModifier);
}

bool HasControl(Qt::KeyboardModifiers modifiers) {
    return modifiers.testFlag(Qt::ControlModifier);
}

bool IsBeyondDragDistance(const QPoint& from, const QPoint& to) {
    const QPoint moved = to - from;
    return std::abs(moved.x()) > QApplication::startDragDistance() ||
           std::abs(moved.y()) > QApplication::startDragDistance();
}

} // namespace

CMultiTree::CMultiTree(QWidget* parent) : QTreeWidget(parent) {
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_scrollTimer.setInterval(kBandScrollInterval);
    connect(&m_scrollTimer, &QTimer::timeout, this, &CMultiTree::ScrollTowardsPointer);
    connect(this, &QTreeWidget::itemCollapsed, this, &CMultiTree::OnItemCollapsed);
}

CMultiTree::~CMultiTree() = default;

bool CMultiTree::SetMultiSelect(bool on) {
    const bool old = m_multiSelect;
    if (on == old)
        return old;
    if (!on) {
        QTreeWidgetItem* caret = currentItem();
        DeselectAllBut(caret != nullptr && caret->isSelected() ? caret : nullptr);
        m_anchor = QPersistentModelIndex();
    }
    m_multiSelect = on;
    setSelectionMode(on ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
    return old;
}

bool CMultiTree::SetItemState(QTreeWidgetItem* item, unsigned state, unsigned mask) {
    if (item == nullptr)
        return false;
    if (!m_multiSelect) {
        if ((mask & kFocused) != 0 && (state & kFocused) != 0)
            setCurrentItem(item);
        if ((mask & kSelected) != 0)
            item->setSelected((state & kSelected) != 0);
        return true;
    }
    if ((mask & kFocused) != 0) {
        if ((state & kFocused) != 0)
            MoveCaret(item);
        else if (currentItem() == item)
            MoveCaret(nullptr);
    }
    if ((mask & kSelected) != 0)
        return ChangeSelection(*item, (state & kSelected) != 0);
    return true;
}

unsigned CMultiTree::GetItemState(const QTreeWidgetItem* item, unsigned mask) const {
    if (item == nullptr)
        return 0;
    unsigned state = item->isSelected() ? kSelected : 0;
    if (item == currentItem())
        state |= kFocused;
    return state & mask;
}

bool CMultiTree::SelectItem(QTreeWidgetItem* item) {
    if (!m_multiSelect) {
        setCurrentItem(item);
        return item != nullptr;
    }
    DeselectAllBut(nullptr);
    return SetItemState(item, kFocused | kSelected, kFocused | kSelected);
}

QTreeWidgetItem* CMultiTree::GetFirstSelectedItem() const {
    QTreeWidgetItem* first = FirstVisible(*this);
    if (first == nullptr || first->isSelected())
        return first;
    return GetNextSelectedItem(first);
}

QTreeWidgetItem* CMultiTree::GetNextSelectedItem(const QTreeWidgetItem* item) const {
    if (item == nullptr)
        return nullptr;
    for (QTreeWidgetItem* next = NextVisible(*this, *item); next != nullptr;
         next = NextVisible(*this, *next)) {
        if (next->isSelected())
            return next;
    }
    return nullptr;
}

void CMultiTree::SelectAll(bool select) {
    ForEachVisible(*this, [this, select](QTreeWidgetItem& item) {
        if (item.isSelected() != select)
            ChangeSelection(item, select);
    });
}

QItemSelectionModel::SelectionFlags CMultiTree::selectionCommand(const QModelIndex& index,
                                                                 const QEvent* event) const {
    if (m_multiSelect)
        return QItemSelectionModel::NoUpdate;
    return QTreeWidget::selectionCommand(index, event);
}

// ---- Selection and caret ----

bool CMultiTree::ChangeSelection(QTreeWidgetItem& item, bool select) {
    if (item.isSelected() == select)
        return true;
    if (m_multiSelect && m_veto && m_veto(item, select))
        return false;
    item.setSelected(select);
    if (m_multiSelect)
        emit SelectionChanged(&item, select);
    return true;
}

void CMultiTree::MoveCaret(QTreeWidgetItem* item) {
    const QModelIndex index = item != nullptr ? indexFromItem(item) : QModelIndex();
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
}

void CMultiTree::DeselectAllBut(const QTreeWidgetItem* kept) {
    for (QTreeWidgetItem* item : selectedItems()) {
        if (item != kept)
            ChangeSelection(*item, false);
    }
}

void CMultiTree::SelectRange(QTreeWidgetItem* from, QTreeWidgetItem* to, bool deselectOthers) {
    bool inside = false;
    ForEachVisible(*this, [&](QTreeWidgetItem& item) {
        const bool isEnd = &item == from || &item == to;
        const bool inRange = inside || isEnd;
        if (isEnd)
            inside = !inside && from != to;
        if (inRange)
            ChangeSelection(item, true);
        else if (deselectOthers)
            ChangeSelection(item, false);
    });
}

QTreeWidgetItem* CMultiTree::Anchor() const {
    return m_anchor.isValid() ? itemFromIndex(m_anchor) : nullptr;
}

void CMultiTree::SetAnchor(const QTreeWidgetItem* item) {
    m_anchor = item != nullptr ? QPersistentModelIndex(indexFromItem(item)) : QPersistentModelIndex();
}

// ---- Mouse ----

CMultiTree::Hit CMultiTree::HitTest(const QPoint& point, QTreeWidgetItem*& item) const {
    item = itemAt(point);
    if (item == nullptr)
        return Hit::kElsewhere;
    const QRect label = visualItemRect(item);
    if (point.x() < label.left()) {
        const bool hasButton =
            item->childCount() > 0 || item->childIndicatorPolicy() == QTreeWidgetItem::ShowIndicator;
        return hasButton && point.x() >= label.left() - indentation() ? Hit::kButton : Hit::kElsewhere;
    }
    return point.x() < label.left() + LabelWidth(*item) ? Hit::kLabel : Hit::kElsewhere;
}

// The width of the item's icon and text, as drawn from the left of its cell.
int CMultiTree::LabelWidth(const QTreeWidgetItem& item) const {
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    int width = 2 * margin + fontMetrics().horizontalAdvance(item.text(0));
    if (!item.icon(0).isNull()) {
        // A tree whose icon size was never set draws its icons at the style's small size; its
        // iconSize() is then (-1, -1), which would leave the end of the text unclickable.
        const QSize set = iconSize();
        width += (set.isValid() ? set.width() : style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this)) + margin;
    }
    return width;
}

void CMultiTree::mousePressEvent(QMouseEvent* event) {
    const Qt::MouseButton button = event->button();
    if (!m_multiSelect || (button != Qt::LeftButton && button != Qt::RightButton)) {
        m_press = Press::kDefault;
        QTreeWidget::mousePressEvent(event);
        return;
    }
    const QPoint point = event->position().toPoint();
    QTreeWidgetItem* item = nullptr;
    switch (HitTest(point, item)) {
    case Hit::kButton:
        m_press = Press::kDefault;
        QTreeWidget::mousePressEvent(event);
        return;
    case Hit::kLabel:
        PreClick(*item, button, event->modifiers());
        m_press = Press::kItem;
        m_itemPress = {QPersistentModelIndex(indexFromItem(item)), button, point, event->modifiers()};
        return;
    case Hit::kElsewhere:
        BeginBand(point, event->modifiers());
        return;
    }
}

void CMultiTree::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    switch (m_press) {
    case Press::kItem:
        if (IsBeyondDragDistance(m_itemPress.point, point)) {
            m_press = Press::kNone;
            if (QTreeWidgetItem* item = itemFromIndex(m_itemPress.item))
                BeginItemDrag(*item);
        }
        return;
    case Press::kBand:
        FollowBand(point);
        return;
    case Press::kNone:
        // After a drag began the view's own dragging must not move the caret.
        if (m_multiSelect && event->buttons() != Qt::NoButton)
            return;
        [[fallthrough]];
    case Press::kDefault:
        QTreeWidget::mouseMoveEvent(event);
        return;
    }
}

void CMultiTree::mouseReleaseEvent(QMouseEvent* event) {
    const Press press = std::exchange(m_press, Press::kNone);
    switch (press) {
    case Press::kItem:
        if (QTreeWidgetItem* item = itemFromIndex(m_itemPress.item))
            EndItemClick(*item);
        return;
    case Press::kBand:
        EndBand();
        return;
    case Press::kNone:
        if (m_multiSelect)
            return;
        [[fallthrough]];
    case Press::kDefault:
        QTreeWidget::mouseReleaseEvent(event);
        return;
    }
}

void CMultiTree::mouseDoubleClickEvent(QMouseEvent* event) {
    if (!m_multiSelect) {
        QTreeWidget::mouseDoubleClickEvent(event);
        return;
    }
    QTreeWidgetItem* item = nullptr;
    switch (HitTest(event->position().toPoint(), item)) {
    case Hit::kButton:
        m_press = Press::kDefault;
        QTreeWidget::mouseDoubleClickEvent(event);
        return;
    case Hit::kLabel:
        if (event->button() != Qt::LeftButton)
            return;
        emit itemDoubleClicked(item, 0);
        if (expandsOnDoubleClick())
            item->setExpanded(!item->isExpanded());
        return;
    case Hit::kElsewhere:
        return;
    }
}

void CMultiTree::PreClick(QTreeWidgetItem& item, Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
    const bool shift = HasShift(modifiers);
    const bool control = HasControl(modifiers);
    if (button == Qt::RightButton) {
        if (!shift && !control) {
            if (!item.isSelected())
                DeselectAllBut(&item);
            SetItemState(&item, kFocused | kSelected, kFocused | kSelected);
        } else if (control && !shift) {
            SetAnchor(&item);
        }
        return;
    }
    if (shift) {
        if (Anchor() == nullptr)
            SetAnchor(currentItem());
        QTreeWidgetItem* anchor = Anchor();
        SelectRange(anchor != nullptr ? anchor : &item, &item, !control);
        MoveCaret(&item);
        return;
    }
    if (!control && !item.isSelected()) {
        DeselectAllBut(&item);
        SetItemState(&item, kFocused | kSelected, kFocused | kSelected);
    }
    SetAnchor(nullptr);
}

void CMultiTree::EndItemClick(QTreeWidgetItem& item) {
    if (m_itemPress.button == Qt::LeftButton && !HasShift(m_itemPress.modifiers)) {
        if (HasControl(m_itemPress.modifiers)) {
            ChangeSelection(item, !item.isSelected());
            MoveCaret(&item);
        } else {
            DeselectAllBut(&item);
            SetItemState(&item, kFocused | kSelected, kFocused | kSelected);
        }
    }
    setFocus(Qt::MouseFocusReason);
    if (m_itemPress.button == Qt::LeftButton)
        emit Clicked(&item);
    else
        emit RightClicked(&item);
}

void CMultiTree::BeginItemDrag(QTreeWidgetItem& item) {
    SetItemState(&item, kFocused | kSelected, kFocused | kSelected);
    if (!dragEnabled())
        return;
    if (m_itemPress.button == Qt::LeftButton)
        emit DragBegun(&item, m_itemPress.point);
    else
        emit RightDragBegun(&item, m_itemPress.point);
}

// ---- Rubber band ----

QPoint CMultiTree::ScrolledOffset() const {
    return {horizontalOffset(), verticalOffset()};
}

void CMultiTree::BeginBand(const QPoint& point, Qt::KeyboardModifiers modifiers) {
    setFocus(Qt::MouseFocusReason);
    m_press = Press::kBand;
    m_band = Band{point + ScrolledOffset(), point, modifiers, {}, false};
    if (HasControl(modifiers) || HasShift(modifiers)) {
        for (QTreeWidgetItem* item : selectedItems())
            m_band.remembered.insert(QPersistentModelIndex(indexFromItem(item)));
    }
    m_scrollTimer.start();
}

void CMultiTree::FollowBand(const QPoint& pointer) {
    m_band.pointer = pointer;
    if (!m_band.started) {
        if (!IsBeyondDragDistance(m_band.origin - ScrolledOffset(), pointer))
            return;
        m_band.started = true;
        if (!HasControl(m_band.modifiers) && !HasShift(m_band.modifiers))
            DeselectAllBut(nullptr);
        m_rubberBand = std::make_unique<QRubberBand>(QRubberBand::Rectangle, viewport());
        m_rubberBand->show();
    }
    UpdateBandSelection();
}

void CMultiTree::UpdateBandSelection() {
    const QPoint offset = ScrolledOffset();
    const QRect band = QRect(m_band.origin, m_band.pointer + offset).normalized();
    m_rubberBand->setGeometry(band.translated(-offset));
    const bool toggle = HasControl(m_band.modifiers);
    ForEachVisible(*this, [&](QTreeWidgetItem& item) {
        const QRect row = visualItemRect(&item).translated(offset);
        const bool inside = band.intersects(QRect(band.left(), row.top(), band.width(), row.height()));
        const bool remembered = m_band.remembered.contains(QPersistentModelIndex(indexFromItem(&item)));
        ChangeSelection(item, inside ? !(toggle && remembered) : remembered);
    });
}

void CMultiTree::EndBand() {
    const bool started = m_band.started;
    const bool plain = !HasControl(m_band.modifiers) && !HasShift(m_band.modifiers);
    CancelBand();
    if (!started && plain)
        DeselectAllBut(nullptr);
    emit Clicked(nullptr);
}

void CMultiTree::CancelBand() {
    m_scrollTimer.stop();
    m_rubberBand.reset();
    m_band = Band{};
    m_press = Press::kNone;
}

void CMultiTree::ScrollTowardsPointer() {
    if (m_press != Press::kBand)
        return;
    const QRect area = viewport()->rect();
    const QPoint pointer = m_band.pointer;
    auto step = [](QScrollBar* bar, int coordinate, int low, int high) {
        if (coordinate < low)
            bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
        else if (coordinate > high)
            bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    };
    step(verticalScrollBar(), pointer.y(), area.top(), area.bottom());
    step(horizontalScrollBar(), pointer.x(), area.left(), area.right());
    if (m_band.started)
        UpdateBandSelection();
}

// ---- Keys and folding ----

void CMultiTree::keyPressEvent(QKeyEvent* event) {
    if (!m_multiSelect) {
        QTreeWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
        MoveCaretByKey(event->key() == Qt::Key_Down, event->modifiers());
        return;
    case Qt::Key_Escape:
        if (m_press == Press::kBand) {
            CancelBand();
            DeselectAllBut(nullptr);
            return;
        }
        break;
    default:
        break;
    }
    QTreeWidget::keyPressEvent(event);
}

void CMultiTree::MoveCaretByKey(bool down, Qt::KeyboardModifiers modifiers) {
    QTreeWidgetItem* caret = currentItem();
    if (caret == nullptr) {
        SetItemState(FirstVisible(*this), kFocused | kSelected, kFocused | kSelected);
        return;
    }
    QTreeWidgetItem* target = down ? NextVisible(*this, *caret) : PreviousVisible(*this, *caret);
    if (target == nullptr)
        return;
    if (Anchor() == nullptr)
        SetAnchor(caret);
    if (HasShift(modifiers)) {
        SelectRange(Anchor(), target, true);
        MoveCaret(target);
    } else if (HasControl(modifiers)) {
        MoveCaret(target);
    } else {
        SetAnchor(nullptr);
        DeselectAllBut(nullptr);
        SetItemState(target, kFocused | kSelected, kFocused | kSelected);
    }
    scrollToItem(target);
}

void CMultiTree::OnItemCollapsed(QTreeWidgetItem* item) {
    if (!m_multiSelect || item == nullptr)
        return;
    const QTreeWidgetItem* caret = currentItem();
    const QTreeWidgetItem* anchor = Anchor();
    bool caretBelow = false;
    ForEachDescendant(*item, [&](QTreeWidgetItem& descendant) {
        ChangeSelection(descendant, false);
        caretBelow = caretBelow || &descendant == caret;
        if (&descendant == anchor)
            SetAnchor(nullptr);
    });
    if (caretBelow)
        MoveCaret(item->isSelected() ? item : nullptr);
}
