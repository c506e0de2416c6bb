#pragma once

#include <QFrame>
#include <cstdint>

// A rectangle painted in one colour (0x00BBGGRR). A double click opens the colour dialog on it;
// a colour chosen there replaces it and is announced.
class ColorSwatch : public QFrame {
    Q_OBJECT

public:
    explicit ColorSwatch(QWidget* parent = nullptr);

    std::uint32_t GetCouleur() const { return m_colour; }
    void SetCouleur(std::uint32_t colour);
    // The colour dialog on the swatch's colour; true when a colour was chosen.
    bool Choisir();

    // The program's own colour dialog (French, not the desktop's); false on Cancel.
    static bool ChoisirCouleur(QWidget* parent, std::uint32_t& colour);

signals:
    void CouleurChangee(std::uint32_t colour);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    std::uint32_t m_colour = 0;
};
