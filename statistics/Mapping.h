#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "presentation/PresentationMapping.h"
#include "statistics/ParamBrushing.h"
#include "statistics/ParamSizing.h"

class CMappingSource;

// The plotting window of a map: least and greatest x and y.
struct BoiteMapping {
    double xMin = 0.0;
    double yMin = 0.0;
    double xMax = 0.0;
    double yMax = 0.0;
};

// The tick steps and column scales that go with a plotting window.
struct GraduationMapping {
    double pasX = 0.0;
    double pasY = 0.0;
    double echelleColonnesX = 1.0;
    double echelleColonnesY = 1.0;
};

// One perceptual map of an analysis: two factorial axes of its results, the row points and the
// column points, their look, and for each point set how its points are coloured and sized.
// Coordinates and labels stay the analysis's: the map reads them through its source and through
// the coordinate tables it borrows (a values per point, a being the number of axes), which the
// analysis keeps alive as long as the map.
class CMapping {
public:
    enum Ensemble { kLignes = 0, kColonnes = 1 };

    CMapping() = default;
    CMapping(std::int32_t nombreAxes, std::int32_t axeHorizontal, std::int32_t axeVertical, const CMappingSource* source);

    std::int32_t DonnerNombrePoints(int ensemble) const;
    // x and y of point i of a set on the map's two axes.
    void DonnerPoint(int ensemble, int i, double& x, double& y) const;
    std::string DonnerLibelle(int ensemble, int i) const;

    // The plotting window: with the symmetric flag a square-ish window around the origin made of
    // the row points, where the column points (a PCA's correlations, within [-1, 1]) are drawn
    // scaled to 80 % of it; else a window holding the origin and every point. Bounds are rounded
    // outwards to the tick step, a power of ten, plus one step.
    void CalculerFenetre(BoiteMapping& boite, GraduationMapping& graduation) const;

    // One colour (0x00BBGGRR) or one size per point of the set.
    std::vector<std::uint32_t> CalculerCouleurs(int ensemble) const;
    std::vector<std::int32_t> CalculerTailles(int ensemble) const;

    std::string nom;
    std::int32_t nombreAxes = 0;
    std::int32_t axeHorizontal = 0;
    std::int32_t axeVertical = 0;
    const double* coordonneesLignes = nullptr;   // borrowed
    const double* coordonneesColonnes = nullptr; // borrowed
    std::int32_t nombreLignes = 0;
    std::int32_t nombreColonnes = 0;
    std::int16_t fenetreSymetrique = 0;
    const CMappingSource* source = nullptr;      // not owned
    // The document that holds the map (an analysis window's, or a portfolio): its map windows
    // close with it. Not owned; null for none.
    const void* proprietaire = nullptr;
    CPresentationMapping presentation;
    std::array<CParamBrushing, 2> brushing{};
    std::array<CParamSizing, 2> sizing{};

private:
    const double* Coordinates(int ensemble) const;
    // The values that colour or size a set, and whether they are categories (modality indexes,
    // with their number K) rather than a continuous measure.
    struct Values {
        std::vector<double> values;
        bool categorical = false;
        int categories = 0;
    };
    Values ValuesFor(int ensemble, std::int32_t mode, std::int32_t axe, CQuestionEtendue* question,
                     bool subtractOther) const;
};
