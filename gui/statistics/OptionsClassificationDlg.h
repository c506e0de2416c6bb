#pragma once

#include <QDialog>
#include <array>

class QCheckBox;
class QRadioButton;
class QSpinBox;

// "Options sur la classification": how modalities are labelled or what becomes of missing
// values, and whether the classification starts from the groups of a first typology, with how
// many groups and from which origin of its random draws. The two numbers only mean something
// with the typology, so they are enabled only while it is chosen.
class COptionsClassificationDlg : public QDialog {
    Q_OBJECT

public:
    enum { IDD = 231 };
    enum Controle { kTypologie = 1137, kGroupes = 1006, kGroupesSpin = 1121, kGraine = 1005, kGraineSpin = 1135 };
    static constexpr int kGroupesMinimum = 3;
    static constexpr int kMaximum = 32767;

    COptionsClassificationDlg(bool styleLibelles, int radio, bool typologie, int groupes, int graine,
                              QWidget* parent = nullptr);

    void DonnerOptions(int& radio, bool& typologie, int& groupes, int& graine) const;

    QCheckBox& GetTypologie() const { return *m_typologie; }
    QSpinBox& GetGroupes() const { return *m_groupes; }
    QSpinBox& GetGraine() const { return *m_graine; }
    QRadioButton& GetRadio(int index) const { return *m_radios.at(static_cast<std::size_t>(index)); }

    void accept() override;

private:
    void ActiverNombres();

    int m_radio;
    bool m_typologieValue;
    int m_groupesValue;
    int m_graineValue;
    QCheckBox* m_typologie;
    QSpinBox* m_groupes;
    QSpinBox* m_graine;
    std::array<QRadioButton*, 3> m_radios{};
};
