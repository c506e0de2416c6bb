#pragma once

#include <QWidget>

class CPoliceAna;
class QPainter;

// The sample of a font on a font page: a line of letters and digits in the font's face, size,
// style and colour, on white or, for a shaded font, on the light grey its text stands on.
class CExemplePolice : public QWidget {
    Q_OBJECT

public:
    static constexpr const char* kTexte = "aAbBcCdD 0123456789";
    static constexpr int kMargeGauche = 5;

    // The font shown is read at every paint: it belongs to the page and outlives this sample.
    CExemplePolice(const CPoliceAna& police, QWidget* parent = nullptr);

    // Paints the sample of `police` into `rect`, sized for the painter's device.
    static void DessinerExemple(QPainter& painter, const QRect& rect, const CPoliceAna& police);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const CPoliceAna& m_police;
};
