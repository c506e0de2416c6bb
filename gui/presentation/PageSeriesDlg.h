#pragma once

#include <QWidget>

class CPresentationGraphique;
class ColorSwatch;
class QComboBox;
class QListWidget;
class QPushButton;

// The "Séries" page of the chart presentation: the ten series styles, "Série 1" to "Série 10".
// Selecting a series shows its fill pattern, point style, line pattern and two colours; changing
// any of them changes the selected series of the working record and is announced by Modifie.
class CPageSeriesDlg : public QWidget {
    Q_OBJECT

public:
    CPageSeriesDlg(CPresentationGraphique& presentation, QWidget* parent);

    QListWidget& GetListe() const { return *m_list; }
    ColorSwatch& GetCouleur() const { return *m_colour; }
    QPushButton& GetBoutonCouleur() const { return *m_colourButton; }
    QComboBox& GetMotif() const { return *m_fill; }
    QComboBox& GetSymboles() const { return *m_point; }
    ColorSwatch& GetCouleurSymbole() const { return *m_symbolColour; }
    QPushButton& GetBoutonCouleurSymbole() const { return *m_symbolColourButton; }
    QComboBox& GetMotifLignes() const { return *m_line; }

signals:
    void Modifie(QWidget* page);

private:
    void AfficherSerie();
    // Applies a change to the selected series.
    template <typename Change>
    void ModifierSerie(Change&& change);
    void ChoisirCouleur(bool symbol);

    CPresentationGraphique& m_presentation;
    QListWidget* m_list;
    ColorSwatch* m_colour;
    QPushButton* m_colourButton;
    QComboBox* m_fill;
    QComboBox* m_point;
    ColorSwatch* m_symbolColour;
    QPushButton* m_symbolColourButton;
    QComboBox* m_line;
    bool m_showing = false;
};
