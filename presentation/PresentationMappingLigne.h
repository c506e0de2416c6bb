#pragma once

#include <cstdint>

#include "presentation/PoliceAna.h"

// The look of one point set of a perceptual map (row points or column points): label font,
// symbol, symbol size and colour, and whether labels are drawn.
class CPresentationMappingLigne {
public:
    // 0 "Aucun", 1 "Point", 2 "Triangle", 3 "Triangle inversé", 4 "Boite", 5 "Diamant",
    // 6 "Croix", 7 "Cercle", 8 "Carré".
    static constexpr std::int16_t kSymbolCount = 9;

    CPresentationMappingLigne() = default;

    const CPoliceAna& GetLabelFont() const { return m_police; }
    void SetLabelFont(const CPoliceAna& police) { m_police = police; }
    std::int16_t GetTypeSymbole() const { return m_typeSymbole; }
    void SetTypeSymbole(std::int16_t valeur) { m_typeSymbole = valeur; }
    // Symbol size in pixels.
    std::int32_t GetTailleSymbole() const { return m_tailleSymbole; }
    void SetTailleSymbole(std::int32_t valeur) { m_tailleSymbole = valeur; }
    // Symbol colour, as 0x00BBGGRR.
    std::uint32_t GetCouleur() const { return m_couleur; }
    void SetCouleur(std::uint32_t valeur) { m_couleur = valeur; }
    bool GetEstLibelleVisible() const { return m_estLibelleVisible; }
    void SetEstLibelleVisible(bool valeur) { m_estLibelleVisible = valeur; }

    bool operator==(const CPresentationMappingLigne&) const = default;

private:
    CPoliceAna m_police;
    std::int16_t m_typeSymbole = 1;
    std::int32_t m_tailleSymbole = 4;
    std::uint32_t m_couleur = 0;
    bool m_estLibelleVisible = true;
};
