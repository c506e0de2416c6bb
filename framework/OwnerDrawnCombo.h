#pragma once

#include <QComboBox>

class QPainter;
class QRect;

// A drop-down list whose items the subclass draws itself, the same way in the open list and in
// the closed box: the background in the highlight colour for the selected item (its text then in
// the highlight-text colour), else in the list's background colour, a focus rectangle around the
// item that has the focus, and the subclass's drawing on top.
class OwnerDrawnCombo : public QComboBox {
    Q_OBJECT

public:
    explicit OwnerDrawnCombo(QWidget* parent = nullptr);

    // Draws item `index` in `rect`; `textColour` is the colour text and lines take there.
    virtual void DrawItem(QPainter& painter, const QRect& rect, int index, const QColor& textColour) const = 0;

    // Background, focus rectangle and the item itself, for the list and for the closed box.
    void PaintItem(QPainter& painter, const QRect& rect, int index, bool selected, bool focused) const;

protected:
    void paintEvent(QPaintEvent* event) override;
};
