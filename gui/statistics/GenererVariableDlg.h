#pragma once

#include <QDialog>
#include <string>

class CContexteEtude;
class QComboBox;
class QLineEdit;
class QSpinBox;

// "Générer une variable": the label of a new numeric question and the result of the analysis
// it takes, per interview, on one axis: the interviews' coordinates, qualities or contributions.
// OK keeps the dialog open, telling why, while the label is empty or already a question's, or
// no result is chosen.
class CGenererVariableDlg : public QDialog {
    Q_OBJECT

public:
    enum { IDD = 254 };
    enum Controle { kLibelle = 1005, kResultat = 1011, kAxe = 1006 };
    // The results offered, in the combo's order.
    enum Resultat { kAucun = -1, kCoordonnees = 0, kQualites = 1, kContributions = 2 };

    CGenererVariableDlg(const CContexteEtude& context, int axes, QWidget* parent = nullptr);

    const std::string& GetLibelle() const { return m_label; }
    Resultat GetResultat() const { return m_result; }
    // From 0.
    int GetAxe() const { return m_axis; }

    QLineEdit& GetEditLibelle() const { return *m_labelEdit; }
    QComboBox& GetComboResultat() const { return *m_results; }
    QSpinBox& GetSpinAxe() const { return *m_axisSpin; }

    void accept() override;

private:
    const CContexteEtude& m_context;
    std::string m_label;
    Resultat m_result = kAucun;
    int m_axis = 0;
    QLineEdit* m_labelEdit;
    QComboBox* m_results;
    QSpinBox* m_axisSpin;
};
