#pragma once

#include <array>
#include <cstdint>

#include "presentation/PoliceAna.h"
#include "presentation/PresentationMappingLigne.h"

// The look of a perceptual map: the font of its coordinates, its two point sets (row points,
// column points), frame, axes, coordinates, grid, and its back and fore colours. A new record
// takes the user's saved defaults.
class CPresentationMapping {
public:
    enum PointSet { kRowPoints = 0, kColumnPoints = 1 };

    // Fonts and point sets constructed, then every field from the user's saved defaults.
    CPresentationMapping();

    // Font of the coordinates ("Police coordonnées").
    const CPoliceAna& GetLegendFont() const { return m_policeLegende; }
    void SetLegendFont(const CPoliceAna& police) { m_policeLegende = police; }
    const CPresentationMappingLigne& GetPointSet(PointSet set) const { return m_pointSets[set]; }
    void SetPointSet(PointSet set, const CPresentationMappingLigne& points) { m_pointSets[set] = points; }

    bool GetEstCadre() const { return m_estCadre; }
    void SetEstCadre(bool valeur) { m_estCadre = valeur; }
    bool GetEstAxe() const { return m_estAxe; }
    void SetEstAxe(bool valeur) { m_estAxe = valeur; }
    bool GetEstCoordonnee() const { return m_estCoordonnee; }
    void SetEstCoordonnee(bool valeur) { m_estCoordonnee = valeur; }
    bool GetEstGrille() const { return m_estGrille; }
    void SetEstGrille(bool valeur) { m_estGrille = valeur; }
    // Colours as 0x00BBGGRR.
    std::uint32_t GetCouleurFond() const { return m_couleurFond; }
    void SetCouleurFond(std::uint32_t valeur) { m_couleurFond = valeur; }
    std::uint32_t GetCouleurAvant() const { return m_couleurAvant; }
    void SetCouleurAvant(std::uint32_t valeur) { m_couleurAvant = valeur; }

    bool operator==(const CPresentationMapping&) const = default;

private:
    // Filled by the constructor from the saved defaults.
    CPoliceAna m_policeLegende;
    std::array<CPresentationMappingLigne, 2> m_pointSets{};
    bool m_estCadre = false;
    bool m_estAxe = false;
    bool m_estCoordonnee = false;
    bool m_estGrille = false;
    std::uint32_t m_couleurFond = 0;
    std::uint32_t m_couleurAvant = 0;
};
