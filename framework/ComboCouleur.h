#pragma once

#include "framework/OwnerDrawnCombo.h"

#include <cstdint>

// A drop-down list of fifteen named colours of the default palette, each shown as a swatch and
// its name. Colours are 0x00BBGGRR, as the presentation records store them.
class CComboCouleur : public OwnerDrawnCombo {
    Q_OBJECT

public:
    static constexpr int kColourCount = 15;

    explicit CComboCouleur(QWidget* parent = nullptr);

    // Selects the first item of this colour, the first item ("Noir") when none has it.
    void Initialiser(std::uint32_t couleur);
    // The selected item's colour, 0 when none is selected.
    std::uint32_t GetCouleur() const;

    void DrawItem(QPainter& painter, const QRect& rect, int index, const QColor& textColour) const override;
};
