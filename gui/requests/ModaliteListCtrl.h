#pragma once

#include "gui/requests/LineListWidget.h"

#include <memory>
#include <vector>

class CModaliteEtendue;

// The future lines of one side of a table (the question's modalities, the Total line and, in some
// modes, calculation lines) as a list of three columns: "Libellé" with the tick box and the label
// in its style, "Effectif" (the line's extra word: a modality's count) and "Ordre" (the row's
// position, from 1). A click on a column header sorts the rows: by label without regard to case,
// by count largest first, or back to the order in which the lines were built.
class CModaliteListCtrl : public LineListWidget {
    Q_OBJECT

public:
    using Lines = std::vector<std::unique_ptr<CModaliteEtendue>>;
    enum Column : int { kLibelle = 0, kEffectif = 1, kOrdre = 2 };

    explicit CModaliteListCtrl(QWidget* parent = nullptr);

    // Shows one row per line of `lines`, which stay the caller's and must outlive the list.
    void Initialiser(Lines& lines);
    // Sorts the rows by a column, as a click on its header does.
    virtual void TrierParColonne(int column);

protected:
    int LineCount() const override;
    bool IsTicked(int line) const override;
    void SetTicked(int line, bool ticked) override;
    Options GetOptions(int line) const override;
    void SetOptions(int line, const Options& options) override;
    std::string GetLabel(int line) const override;
    void SetLabel(int line, const std::string& label) override;
    void ShowOtherColumns(QTreeWidgetItem& item, int line, int row) override;

    CModaliteEtendue& Line(int line) const;

private:
    Lines* m_lines = nullptr; // not owned
};
