#pragma once

#include "statistics/SignificanceThresholds.h"

#include <QDialog>
#include <array>

class CContexteEtude;
class QComboBox;
class QLineEdit;

// "Seuils de significativité": how cross tables mark their significant cells, the kind of
// comparison and the three thresholds of the marks, and the risk of the confidence interval, all
// shown and typed as two-sided risks in per cent. OK writes them into the study context, which
// marks every table computed afterwards, and into the settings, read at the next start; a refusal
// or Annuler writes nothing.
class CSeuilsSignificativiteDlg : public QDialog {
    Q_OBJECT

public:
    enum { IDD = 280 };
    enum Controle { kType = 1011, kHaut = 1005, kMoyen = 1006, kBas = 1007, kIntervalle = 1008 };

    explicit CSeuilsSignificativiteDlg(CContexteEtude& context, QWidget* parent = nullptr);

    QComboBox& GetType() const { return *m_type; }
    QLineEdit& GetSeuil(Controle id) const;

    void accept() override;

private:
    // The typed risks; false, told to the analyst, at the first that is not a number.
    bool Lire(SignificanceThresholds& values) const;

    CContexteEtude& m_context;
    QComboBox* m_type;
    // haut, moyen, bas, intervalle
    std::array<QLineEdit*, 4> m_edits{};
};
