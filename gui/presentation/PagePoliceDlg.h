#pragma once

#include <QWidget>
#include <array>
#include <optional>

class CComboCouleur;
class CExemplePolice;
class CPoliceAna;
class QCheckBox;
class QComboBox;

// A font page of the table presentation dialog: face, size, colour and style of one font of the
// dialog's working presentation, with a sample. Every change is written into the font at once,
// the sample repaints, and Modifie tells the dialog.
class CPagePoliceDlg : public QWidget {
    Q_OBJECT

public:
    static constexpr int kDialogResource = 158;
    // The controls, by their resource ids.
    static constexpr int kPolice = 1021;
    static constexpr int kTaille = 1022;
    static constexpr int kCouleur = 1026;
    static constexpr int kGras = 1023;
    static constexpr int kItalique = 1024;
    static constexpr int kSouligne = 1025;
    static constexpr int kOmbre = 1020;
    static constexpr int kExemple = 1028;

    // `police` is the working presentation's, which outlives the page.
    CPagePoliceDlg(CPoliceAna& police, QWidget* parent = nullptr);

    // Shows the font's values again, once the dialog replaced its working presentation.
    void Afficher();

    // The largest size taken, that of the word processors the tables are exported to; a larger
    // one would not even make a drawing font.
    static constexpr double kTailleMaximum = 1638;

    // The size a text of the size box stands for: a number after any leading blanks and tabs,
    // "." or "," as its decimal point, followed by nothing but blanks. None for an empty text,
    // letters, a size that is not above 0 (no text could be read in it) or above the largest.
    static std::optional<double> LireTaille(const QString& text);
    // A size as the box shows it: "12" when whole, else one decimal ("12.5").
    static QString FormaterTaille(double taille);

    QComboBox& FaceBox() const { return *m_face; }
    QComboBox& SizeBox() const { return *m_size; }
    CComboCouleur& ColourBox() const { return *m_colour; }
    // The check box of a style flag; null for another id.
    QCheckBox* GetCheckBox(int id) const;
    CExemplePolice& Sample() const { return *m_sample; }

signals:
    void Modifie();

private:
    void BuildControls();
    void OnFace(const QString& face);
    void OnSize(const QString& text);
    void OnColour();
    void OnFlag(std::size_t index, bool checked);
    void Changed();

    static constexpr std::size_t kFlagCount = 4;

    CPoliceAna& m_police;
    QComboBox* m_face = nullptr;
    QComboBox* m_size = nullptr;
    CComboCouleur* m_colour = nullptr;
    std::array<QCheckBox*, kFlagCount> m_flags{};
    CExemplePolice* m_sample = nullptr;
    // Set while the controls are filled from the font: their signals then change nothing.
    bool m_loading = false;
};
