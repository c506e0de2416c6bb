#pragma once

#include <QWidget>

class CObjectifRedressement;
class QLabel;
class QLineEdit;

// One value row of "Redressement": for one modality of the target shown, its short caption, the
// interviews that answer it (count and percentage), and the desired value, which the analyst
// types, with its percentage. A desired value that reads as a number is given to the target at
// once and the row says so (ValeurModifiee), so that the dialog refreshes the percentages.
class CSaisiePoidsDlg : public QWidget {
    Q_OBJECT

public:
    enum { IDD = 178 };

    explicit CSaisiePoidsDlg(QWidget* parent = nullptr);

    // Shows modality `modality` of the target (not owned; it outlives the row while shown).
    void Afficher(CObjectifRedressement& target, int modality);
    // The desired percentage again, after another row changed the total.
    void RafraichirPourcentage();

    QLabel& Libelle() const { return *m_caption; }
    QLabel& Observe() const { return *m_observed; }
    QLabel& PourcentageObserve() const { return *m_observedShare; }
    QLineEdit& Desire() const { return *m_desired; }
    QLabel& PourcentageDesire() const { return *m_desiredShare; }

signals:
    void ValeurModifiee();

private:
    void OnDesireEdite(const QString& text);

    CObjectifRedressement* m_target = nullptr;
    int m_modality = 0;
    QLabel* m_caption;
    QLabel* m_observed;
    QLabel* m_observedShare;
    QLineEdit* m_desired;
    QLabel* m_desiredShare;
};
