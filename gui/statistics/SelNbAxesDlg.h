#pragma once

#include <QDialog>
#include <vector>

class CChart2D;
class QFrame;
class QSpinBox;

// "Sélection du nombre d'axes": the number of factor axes to keep, chosen beside a bar chart of
// the share of each eigenvalue in their sum.
//
// The axes offered are those that carry inertia: m, the number of eigenvalues above 1e-10, and
// the choice runs from min(2, m) to m, starting at min(2, m). With m = 0 there is nothing to
// choose: the caller tells the analyst so instead of opening the dialog (AxesPortantInertie).
class CSelNbAxesDlg : public QDialog {
    Q_OBJECT

public:
    enum { IDD = 207 };
    static constexpr double kInertieNulle = 1e-10;

    // `valeursPropres`: the eigenvalues the engine offers, decreasing.
    explicit CSelNbAxesDlg(const std::vector<double>& valeursPropres, QWidget* parent = nullptr);

    // The number of eigenvalues above 1e-10.
    static int AxesPortantInertie(const std::vector<double>& valeursPropres);
    // The heights of the bars: each eigenvalue's share of their sum, in percent.
    static std::vector<double> PartsInertie(const std::vector<double>& valeursPropres);

    int GetNbAxes() const { return m_nombre; }
    int GetMinimum() const { return m_minimum; }
    int GetMaximum() const { return m_maximum; }
    QSpinBox& GetSpin() const { return *m_spin; }
    // The frame the chart covers, and the chart.
    QFrame& GetCadreGraphique() const { return *m_chartFrame; }
    CChart2D& GetGraphique() const { return *m_chart; }

    void accept() override;

private:
    void BuildChart(const std::vector<double>& valeursPropres);

    int m_minimum = 0;
    int m_maximum = 0;
    int m_nombre = 0;
    QSpinBox* m_spin = nullptr;
    QFrame* m_chartFrame = nullptr;
    CChart2D* m_chart = nullptr;
};
