#pragma once

#include <QDialog>
#include <QTimer>
#include <vector>

class CChart2D;
class QSpinBox;

// "Sélection du nombre de groupes": the number of groups of a classification's partition and the
// number of groups its dendrogram shows, chosen beside a bar chart of the levels at which the
// last groups merge. The chart follows the dendrogram count half a second after the analyst
// stops changing it, so that typing a number does not redraw it at each key.
class CSelNbGroupesDlg : public QDialog {
    Q_OBJECT

public:
    enum { IDD = 232 };
    enum Controle { kGroupes = 1005, kGroupesDendogramme = 1006 };
    static constexpr int kGroupesProposes = 5;
    static constexpr int kDendogrammePropose = 30;
    static constexpr int kDelaiGraphique = 500; // milliseconds

    // `niveaux`: the merge levels of the classification of `n` items (level[n - g - 1] is the
    // level at which g groups become g - 1), `dernierNiveau` the level shown for n groups.
    CSelNbGroupesDlg(const std::vector<double>& niveaux, int n, double dernierNiveau, QWidget* parent = nullptr);

    void GetNbGroupes(int& groupes, int& groupesDendogramme) const;

    QSpinBox& GetSpinGroupes() const { return *m_groups; }
    QSpinBox& GetSpinDendogramme() const { return *m_dendrogram; }
    CChart2D& GetGraphique() const { return *m_chart; }
    const QTimer& GetMinuterie() const { return m_timer; }
    // What the timer does when it fires: the chart drawn again for the dendrogram count.
    void OnMinuterie();

    void accept() override;

private:
    void OnDendogrammeChange();
    void BuildChartData();

    std::vector<double> m_levels;
    int m_n;
    double m_lastLevel;
    int m_groupes;
    int m_groupesDendogramme;
    QSpinBox* m_groups;
    QSpinBox* m_dendrogram;
    CChart2D* m_chart;
    QTimer m_timer;
};
