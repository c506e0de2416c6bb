#pragma once

#include "presentation/PoliceAna.h"

#include <QWidget>
#include <optional>

class QCheckBox;
class CComboCouleur;
class QComboBox;
class QGridLayout;

// The font part of the map presentation pages: face, size, colour, bold, italic, underlined. Each
// change is written into the font at once and told by `changed`.
class PanneauPolice : public QWidget {
    Q_OBJECT

public:
    // The sizes the size list offers; any other may be typed.
    static constexpr int kTailles[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};

    // `faceCaption` names the face box ("&Police :" or "&Police coordonnées :").
    PanneauPolice(const QString& faceCaption, const CPoliceAna& font, QWidget* parent = nullptr);

    const CPoliceAna& GetPolice() const { return m_font; }

    QComboBox& GetFace() const { return *m_face; }
    QComboBox& GetTaille() const { return *m_size; }
    CComboCouleur& GetCouleur() const { return *m_colour; }
    QCheckBox& GetGras() const { return *m_bold; }
    QCheckBox& GetItalique() const { return *m_italic; }
    QCheckBox& GetSouligne() const { return *m_underline; }
    // The grid, for a page that puts a control of its own beside the font's.
    QGridLayout& GetGrille() const { return *m_grid; }

signals:
    void changed();

private:
    void OnTaille();
    void Changer();

    CPoliceAna m_font;
    QGridLayout* m_grid = nullptr;
    QComboBox* m_face = nullptr;
    QComboBox* m_size = nullptr;
    CComboCouleur* m_colour = nullptr;
    QCheckBox* m_bold = nullptr;
    QCheckBox* m_italic = nullptr;
    QCheckBox* m_underline = nullptr;
    bool m_starting = true;
};
