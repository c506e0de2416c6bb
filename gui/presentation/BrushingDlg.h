#pragma once

#include "gui/presentation/ModeMappingDlg.h"
#include "statistics/ParamBrushing.h"

#include <array>

class QWidget;

// "Brushing": what colours the points of one set of a map, and the colours of its low, middle and
// high values, with the gradient between them. Works on a copy of the record; GetParam after OK.
class CBrushingDlg : public ModeMappingDlg {
    Q_OBJECT

public:
    enum Niveau { kBasse = 0, kMoyenne = 1, kHaute = 2 };

    CBrushingDlg(const CParamBrushing& param, bool question, bool qualite, bool contribution, int axes,
                 QWidget* parent = nullptr);
    ~CBrushingDlg() override;

    const CParamBrushing& GetParam() const { return m_param; }

    QPushButton& GetBoutonCouleur(int niveau) const { return *m_buttons[static_cast<std::size_t>(niveau)]; }
    QWidget& GetDegrade() const { return *m_gradient; }
    // The colour (0x00BBGGRR) of a row y of a gradient h rows high between the three colours.
    static std::uint32_t CouleurDegrade(const CParamBrushing& param, int y, int h);

protected:
    void Enregistrer() override;

private:
    void OnCouleur(int niveau);
    std::uint32_t& Couleur(int niveau);

    CParamBrushing m_param;
    std::array<QWidget*, 3> m_samples{};
    std::array<QPushButton*, 3> m_buttons{};
    QWidget* m_gradient = nullptr;
};
