#pragma once

#include "presentation/PresentationMapping.h"

#include <QWidget>

class PanneauPolice;
class QCheckBox;
class QComboBox;
class QPushButton;
class QSpinBox;

// The page of one point set of the map presentation ("Lignes" or "Colonnes"): symbol, symbol
// size (2 to 30) and colour, the labels' font and whether they show, and a preview of the set.
// Writes each change into the dialog's working copy and tells it by `changed`.
class CPagePointsMappingDlg : public QWidget {
    Q_OBJECT

public:
    static constexpr int kTailleMin = 2;
    static constexpr int kTailleMax = 30;

    CPagePointsMappingDlg(CPresentationMapping& working, CPresentationMapping::PointSet set,
                          QWidget* parent = nullptr);

    QComboBox& GetSymbole() const { return *m_symbole; }
    QSpinBox& GetTaille() const { return *m_taille; }
    QPushButton& GetBoutonCouleur() const { return *m_couleur; }
    QCheckBox& GetVisible() const { return *m_visible; }
    PanneauPolice& GetPolice() const { return *m_police; }
    QWidget& GetApercu() const { return *m_apercu; }

signals:
    void changed();

private:
    CPresentationMappingLigne Ligne() const;
    void Ecrire(const CPresentationMappingLigne& ligne);
    void ChoisirCouleur();

    CPresentationMapping& m_working;
    CPresentationMapping::PointSet m_set;
    QComboBox* m_symbole = nullptr;
    QSpinBox* m_taille = nullptr;
    QPushButton* m_couleur = nullptr;
    QWidget* m_swatch = nullptr;
    QCheckBox* m_visible = nullptr;
    PanneauPolice* m_police = nullptr;
    QWidget* m_apercu = nullptr;
};
