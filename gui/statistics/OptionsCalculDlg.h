#pragma once

#include <QDialog>
#include <array>

class QCheckBox;
class QLabel;
class QRadioButton;
class QSpinBox;

// "Options": the options of an analysis window's next run. In typology mode it also edits the
// number (the origin of the random draws, or the number of iterations with the stability check)
// and the stability check; in plain mode only the radio choice is shown and handed back.
//
// The radios are the caption style of the modalities (with the caption-style flag: as they are,
// or prefixed by their question) or what becomes of missing values (replaced by the mean, by 0,
// or the interview removed).
class COptionsCalculDlg : public QDialog {
    Q_OBJECT

public:
    enum { IDD = 230 };
    enum Controle { kLibelle = 1164, kNombre = 1005, kStabilite = 1165 };
    static constexpr std::array<int, 3> kRadios{1093, 1094, 1095};
    static constexpr int kNombreMaximum = 32767;

    // Typology mode.
    COptionsCalculDlg(bool styleLibelles, bool stabilite, int nombre, int radio, QWidget* parent = nullptr);
    // Plain mode.
    COptionsCalculDlg(bool styleLibelles, int radio, QWidget* parent = nullptr);

    // Typology mode: the three values; plain mode: the radio alone.
    void DonnerOptions(bool& stabilite, int& nombre, int& radio) const;
    int DonnerOptions() const { return m_radio; }

    QLabel& GetLibelle() const { return *m_label; }
    QSpinBox& GetNombre() const { return *m_number; }
    QCheckBox& GetStabilite() const { return *m_stability; }
    QRadioButton& GetRadio(int index) const { return *m_radios.at(static_cast<std::size_t>(index)); }

    void accept() override;

    // The radio texts of caption styles or of missing values; an empty text hides its radio.
    static const std::array<const char*, 3>& TextesRadios(bool styleLibelles);

private:
    COptionsCalculDlg(bool styleLibelles, bool typologie, bool stabilite, int nombre, int radio, QWidget* parent);
    void ShowLabel();

    bool m_typologie;
    bool m_stabiliteValue;
    int m_nombreValue;
    int m_radio;
    QLabel* m_label = nullptr;
    QSpinBox* m_number = nullptr;
    QCheckBox* m_stability = nullptr;
    std::array<QRadioButton*, 3> m_radios{};
};
