#pragma once

#include "gui/requests/ModaliteListCtrl.h"

#include <vector>

// The nodes of a grouping as the lines of a table: groups and their members (each line a
// CModaliteGroupe), each label indented by its group level, with the columns of the modality list
// ("Effectif" is the node's count). The rows move and sort by blocks, a group with its members:
// Up and Down (the buttons, Alt+Up, Alt+Down) take the first selected row's block past the
// previous or next block of its level, and beep when there is none; a click on "Libellé" or
// "Effectif" sorts the groups and, within each group, its members; "Ordre" goes back to the order
// in which the lines were built.
//
// The tick boxes show which nodes the grouping keeps; the analyst does not change them here.
class CListCtrlBarres : public CModaliteListCtrl {
    Q_OBJECT

public:
    // The indentation of a label per group level, in pixels.
    static constexpr int kIndentPerLevel = 8;

    explicit CListCtrlBarres(QWidget* parent = nullptr);

    // Shows one row per line with its count (empty when there is none); lines and counts stay the
    // caller's and must outlive the list.
    void Initialiser(Lines& lines, const std::vector<double>& counts);
    void TrierParColonne(int column) override;
    // Move the block of the first selected row; true when it moved.
    bool MonterSelection();
    bool DescendreSelection();

    void MoveFirstSelected(int step) override;

protected:
    void ShowOtherColumns(QTreeWidgetItem& item, int line, int row) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int LevelOf(int line) const;
    double CountOf(int line) const;
    // The group levels of the rows, in the order of the rows.
    std::vector<int> LevelsOfRows() const;
    // Puts the rows in an order given as the rows (before) shown at each position.
    void ShowRowsInOrder(const std::vector<int>& rows);
    bool MoveBlock(bool up);
    int FirstSelected() const;

    const std::vector<double>* m_counts = nullptr; // not owned
};
