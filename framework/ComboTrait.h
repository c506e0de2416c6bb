#pragma once

#include "framework/OwnerDrawnCombo.h"

// A drop-down list of the four line styles of a table's grid: none, solid, dashed, dotted, with
// the styles 0 to 3 as item data. "Aucun" is written; the others are drawn as a line.
class CComboTrait : public OwnerDrawnCombo {
    Q_OBJECT

public:
    static constexpr int kStyleCount = 4;

    explicit CComboTrait(QWidget* parent = nullptr);

    // Selects the item of this style, the first ("Aucun") for any other value.
    void Initialiser(int style);
    // The selected style, 0 when none is selected.
    int GetStyle() const;

    void DrawItem(QPainter& painter, const QRect& rect, int index, const QColor& textColour) const override;
};
