#pragma once

#include <QPersistentModelIndex>
#include <QPoint>
#include <QSet>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <memory>

class QRubberBand;

// A tree in which several items can be selected at once, with the rules of a file list: click,
// Ctrl+click, Shift+click, Shift+arrows and a rubber band dragged from empty space. The caret
// (the current item) is apart from the selection: it may stand on an unselected item.
//
// Only the items whose ancestors are all expanded count as visible; collapsing an item deselects
// everything below it, so that a selection never hides inside a folded branch.
//
// In single selection the control is a plain tree: the caret is the selected item.
class CMultiTree : public QTreeWidget {
    Q_OBJECT

public:
    // State bits of an item.
    static constexpr unsigned kFocused = 1; // the caret
    static constexpr unsigned kSelected = 2;

    // Asked before an item is selected or deselected in multiple selection; true refuses the
    // change and leaves the item as it was.
    using SelectionVeto = std::function<bool(QTreeWidgetItem& item, bool selecting)>;

    explicit CMultiTree(QWidget* parent = nullptr);
    ~CMultiTree() override;

    // Switches multiple selection on or off; answers the old setting. Off keeps only the caret
    // selected, when it was.
    bool SetMultiSelect(bool on);
    bool IsMultiSelect() const { return m_multiSelect; }

    // The bits of `mask` take the values they have in `state`. Moving the caret never selects
    // nor deselects by itself. False when the item is null or a selection change was refused.
    bool SetItemState(QTreeWidgetItem* item, unsigned state, unsigned mask);
    // The item's bits among `mask`: selected, and focused for the caret.
    unsigned GetItemState(const QTreeWidgetItem* item, unsigned mask) const;

    // Single selection: the caret moves to the item. Multiple: the item becomes the only selected
    // item and the caret.
    bool SelectItem(QTreeWidgetItem* item);

    // The selected items among the visible ones, in display order; null after the last.
    QTreeWidgetItem* GetFirstSelectedItem() const;
    QTreeWidgetItem* GetNextSelectedItem(const QTreeWidgetItem* item) const;

    // Selects or deselects every visible item.
    void SelectAll(bool select);

    void SetSelectionVeto(SelectionVeto veto) { m_veto = std::move(veto); }

signals:
    // An item was selected or deselected in multiple selection.
    void SelectionChanged(QTreeWidgetItem* item, bool selected);
    // A click ended on an item, or on empty space (null), in multiple selection.
    void Clicked(QTreeWidgetItem* item);
    void RightClicked(QTreeWidgetItem* item);
    // The pointer left an item pressed with the left or the right button; `pressPoint` is where
    // the press was, in the viewport. Only sent when dragging is enabled.
    void DragBegun(QTreeWidgetItem* item, QPoint pressPoint);
    void RightDragBegun(QTreeWidgetItem* item, QPoint pressPoint);

protected:
    // In multiple selection the view's own machinery never touches the selection: every change
    // goes through the rules above.
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event = nullptr) const override;

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Where a point of the viewport falls.
    enum class Hit { kElsewhere, kButton, kLabel };
    // What the mouse button pressed last started.
    enum class Press { kNone, kDefault, kItem, kBand };

    struct ItemPress {
        QPersistentModelIndex item;
        Qt::MouseButton button = Qt::NoButton;
        QPoint point;
        Qt::KeyboardModifiers modifiers;
    };

    struct Band {
        QPoint origin;  // in the tree's scrolled coordinates
        QPoint pointer; // in the viewport
        Qt::KeyboardModifiers modifiers;
        QSet<QPersistentModelIndex> remembered;
        bool started = false;
    };

    Hit HitTest(const QPoint& point, QTreeWidgetItem*& item) const;
    int LabelWidth(const QTreeWidgetItem& item) const;

    // Every selection change of multiple selection passes here: asks the veto, then tells.
    bool ChangeSelection(QTreeWidgetItem& item, bool select);
    void MoveCaret(QTreeWidgetItem* item);
    void DeselectAllBut(const QTreeWidgetItem* kept);
    void SelectRange(QTreeWidgetItem* from, QTreeWidgetItem* to, bool deselectOthers);
    QTreeWidgetItem* Anchor() const;
    void SetAnchor(const QTreeWidgetItem* item);

    void PreClick(QTreeWidgetItem& item, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void EndItemClick(QTreeWidgetItem& item);
    void BeginItemDrag(QTreeWidgetItem& item);

    void BeginBand(const QPoint& point, Qt::KeyboardModifiers modifiers);
    void FollowBand(const QPoint& pointer);
    void UpdateBandSelection();
    void EndBand();
    void CancelBand();
    void ScrollTowardsPointer();
    QPoint ScrolledOffset() const;

    void MoveCaretByKey(bool down, Qt::KeyboardModifiers modifiers);
    void OnItemCollapsed(QTreeWidgetItem* item);

    bool m_multiSelect = true;
    QPersistentModelIndex m_anchor;
    SelectionVeto m_veto;
    Press m_press = Press::kNone;
    ItemPress m_itemPress;
    Band m_band;
    std::unique_ptr<QRubberBand> m_rubberBand;
    QTimer m_scrollTimer;
};
