#pragma once

#include <QWidget>

class CPresentationMapping;
class PanneauPolice;
class QCheckBox;
class QPushButton;

// The "Général" page of the map presentation: frame, axes, grid, coordinates, the back and fore
// colours and the font of the coordinates. Writes each change into the dialog's working copy and
// tells it by `changed`.
class CPageMappingGeneralDlg : public QWidget {
    Q_OBJECT

public:
    CPageMappingGeneralDlg(CPresentationMapping& working, QWidget* parent = nullptr);

    QCheckBox& GetCadre() const { return *m_cadre; }
    QCheckBox& GetAxes() const { return *m_axes; }
    QCheckBox& GetGrille() const { return *m_grille; }
    QCheckBox& GetCoordonnees() const { return *m_coordonnees; }
    QPushButton& GetBoutonFond() const { return *m_fond; }
    QPushButton& GetBoutonAvant() const { return *m_avant; }
    PanneauPolice& GetPolice() const { return *m_police; }

signals:
    void changed();

private:
    void ChoisirCouleur(bool fond);

    CPresentationMapping& m_working;
    QCheckBox* m_cadre = nullptr;
    QCheckBox* m_axes = nullptr;
    QCheckBox* m_grille = nullptr;
    QCheckBox* m_coordonnees = nullptr;
    QPushButton* m_fond = nullptr;
    QPushButton* m_avant = nullptr;
    QWidget* m_swatchFond = nullptr;
    QWidget* m_swatchAvant = nullptr;
    PanneauPolice* m_police = nullptr;
};
