#pragma once

#include <QTreeWidget>
#include <array>
#include <functional>
#include <string>
#include <vector>

class CLigne;
class QKeyEvent;
class UserInterface;

// A list of table lines that the analyst ticks, orders, renames and styles: the base of the
// modality list of the question-rows page and of the calculation list of the calculations page.
//
// Each row stands for one line of its owner's array (the row's item data is the line's index), so
// rows are moved and sorted while the lines stay where they are; the owner reads the new order
// back with LinesInOrder. The tick box is the line's kept flag; the label is drawn bold, italic
// and underlined as the line's first three display options say (the fourth, the shadow, shows only
// in the tables).
//
// Keys: Space ticks or unticks the first selected row, F2 edits its label (an empty label is
// refused), Alt+Up and Alt+Down move it, Alt+B, Alt+I, Alt+U and Alt+S ask for the four options
// (optionKeyPressed: the buttons that show the options flip and apply them). Every change the
// analyst makes to a line is reported by `changed`.
//
// The list asks its dialog for room for every row, up to kRowsShownWhole rows, and for every
// column: a dialog opened at its layout's size shows its lines without scrolling. A bar shows only
// when the rows or the columns need it, whatever bars showed while the dialog was being laid out.
class LineListWidget : public QTreeWidget {
    Q_OBJECT

public:
    enum Option : int { kBold = 0, kItalic = 1, kUnderline = 2, kShadow = 3 };
    using Options = std::array<bool, 4>;

    // Beyond this many rows the list scrolls rather than grow; below kRowsAtLeast it keeps room
    // for that many.
    static constexpr int kRowsShownWhole = 20;
    static constexpr int kRowsAtLeast = 4;

    explicit LineListWidget(QWidget* parent = nullptr);

    // The header, the rows (kRowsAtLeast to kRowsShownWhole of them) and the columns (each at least
    // as wide as its header and texts), with the vertical scroll bar when the rows are more.
    QSize sizeHint() const override;

    // The line shown at a row; -1 out of range.
    int LineOfRow(int row) const;
    // The row that shows a line; -1 when none does.
    int RowOfLine(int line) const;
    // The lines in the order of the rows, and those of the ticked rows.
    std::vector<int> LinesInOrder() const;
    std::vector<int> TickedLinesInOrder() const;
    // Whether a row is ticked; when none is, the user is shown the message `refusal` (its id) and
    // the answer is false.
    bool CheckSomethingTicked(UserInterface& ui, int refusal) const;

    // Removes row `from` and inserts it again at `to` when moving up, at `to` - 1 when moving down
    // (positions counted before the removal); the row keeps its line and becomes the selected,
    // focused row.
    void DeplacerItem(int from, int to);
    // Moves the first selected row one place up (step -1) or down (step 1); nothing at the ends.
    // A list whose rows belong together moves them together.
    virtual void MoveFirstSelected(int step);
    // Ticks or unticks the line of a row (a reading of a request: no notification).
    void SetRowTicked(int row, bool ticked);
    // Sets the options of the line of a row (a reading of a request: no notification).
    void SetRowOptions(int row, const Options& options);
    // Sets the label of the line of a row when it is not empty (no notification).
    void SetRowLabel(int row, const std::string& label);
    // Shows the lines a request holds, in its order: each is matched with the first row, from the
    // next position on, whose line `matches` it; that row moves to the next position, ticked, with
    // the request line's options and (when not empty) its label. A request line without a match is
    // skipped. Every other row is unticked: a request read back never gains a line.
    void ShowRequestLines(const std::vector<const CLigne*>& requestLines,
                          const std::function<bool(const CLigne& requestLine, int line)>& matches);
    // Ticks or unticks the first selected row and notifies.
    void ToggleFirstSelected();
    // Starts editing the label of the first selected row.
    void EditFirstSelected();
    // Sets one option of every selected row's line, redraws those rows and notifies.
    void SetOptionOfSelected(int option, bool on);
    // The options of the focused row's line; all off when no row has the focus.
    Options FocusedOptions() const;

signals:
    // The analyst changed a line: ticked it, renamed it or changed its style.
    void changed();
    // Another row (or none) has the focus.
    void focusedLineChanged();
    // Alt+B, Alt+I, Alt+U or Alt+S: the option asked for.
    void optionKeyPressed(int option);

protected:
    // The lines, by their index in the owner's array.
    virtual int LineCount() const = 0;
    virtual bool IsTicked(int line) const = 0;
    virtual void SetTicked(int line, bool ticked) = 0;
    virtual Options GetOptions(int line) const = 0;
    virtual void SetOptions(int line, const Options& options) = 0;
    virtual std::string GetLabel(int line) const = 0;
    virtual void SetLabel(int line, const std::string& label) = 0;
    // The texts of the columns after the first for the line shown at `row`; none by default.
    virtual void ShowOtherColumns(QTreeWidgetItem& /*item*/, int /*line*/, int /*row*/) {}

    // One row per line, in the lines' order.
    void FillRows();
    // Shows every row again (after rows changed places, the positions are part of the texts).
    void ShowAllRows();
    // Puts the rows in the order `before` gives to their lines (a stable sort).
    void SortRows(const std::function<bool(int lineA, int lineB)>& before);

    void keyPressEvent(QKeyEvent* event) override;
    // After Qt's own scroll ranges, empties the range of a bar the list does not need.
    void updateGeometries() override;

private:
    // The room the rows and the columns take: the columns at their widths, a stretched last
    // column at its least width.
    QSize ContentsSize() const;
    void DropNeedlessScrollBars();
    void ShowRow(QTreeWidgetItem& item);
    void OnItemChanged(QTreeWidgetItem* item, int column);
    int FirstSelectedRow() const;
    bool HandleAltKey(int key);

    bool m_showing = false; // the rows are being shown: their changes are not the analyst's
};
