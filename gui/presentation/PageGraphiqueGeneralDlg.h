#pragma once

#include <QWidget>
#include <array>

class CPresentationGraphique;
class ColorSwatch;
class QCheckBox;
class QComboBox;

// The "Général" page of the chart presentation: the chart type and, for each of the five zones,
// whether it is visible, its background and foreground colours (a double click on a swatch opens
// the colour dialog) and its border. Every change goes into the working record at once and is
// announced by Modifie.
class CPageGraphiqueGeneralDlg : public QWidget {
    Q_OBJECT

public:
    static constexpr int kZones = 5;

    CPageGraphiqueGeneralDlg(CPresentationGraphique& presentation, QWidget* parent);

    QComboBox& GetType() const { return *m_type; }
    // By zone number 1..5.
    QCheckBox& GetVisible(int zone) const { return *m_visible[Index(zone)]; }
    ColorSwatch& GetFond(int zone) const { return *m_back[Index(zone)]; }
    ColorSwatch& GetAvant(int zone) const { return *m_fore[Index(zone)]; }
    QComboBox& GetBordure(int zone) const { return *m_border[Index(zone)]; }

signals:
    void Modifie(QWidget* page);

private:
    static std::size_t Index(int zone) { return static_cast<std::size_t>(zone - 1); }
    void AddZoneRow(class QGridLayout& grid, int row, int zone, const QString& caption);

    CPresentationGraphique& m_presentation;
    QComboBox* m_type;
    std::array<QCheckBox*, kZones> m_visible{};
    std::array<ColorSwatch*, kZones> m_back{};
    std::array<ColorSwatch*, kZones> m_fore{};
    std::array<QComboBox*, kZones> m_border{};
};
