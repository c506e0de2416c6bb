#include "statistics/Mapping.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "app/QuestionEtendue.h"
#include "statistics/MappingSource.h"
#include "tabulation/FonctionsStatistiques.h"

namespace {

using Index = std::size_t;

struct Spread {
    double mean = 0.0;
    double deviation = 0.0;
    bool any = false;
};

// Mean and population deviation of the values that are not missing, from centred values.
Spread SpreadOf(const std::vector<double>& values) {
    Spread spread;
    double sum = 0.0;
    int count = 0;
    for (double v : values)
        if (v != kValeurManquante) {
            sum += v;
            ++count;
        }
    if (count == 0)
        return spread;
    spread.any = true;
    spread.mean = sum / count;
    double squares = 0.0;
    for (double v : values)
        if (v != kValeurManquante)
            squares += (v - spread.mean) * (v - spread.mean);
    spread.deviation = std::sqrt(std::max(0.0, squares / count));
    return spread;
}

// Channel by channel L + (H - L)·t, each channel truncated toward zero.
std::uint32_t Mix(std::uint32_t low, std::uint32_t high, double t) {
    std::uint32_t colour = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const double l = static_cast<double>((low >> shift) & 0xFFu);
        const double h = static_cast<double>((high >> shift) & 0xFFu);
        const double mixed = std::clamp(std::trunc(l + (h - l) * t), 0.0, 255.0);
        colour |= static_cast<std::uint32_t>(mixed) << shift;
    }
    return colour;
}

// Window bounds of one axis: lo ≤ 0 ≤ hi widened to whole steps, one step beyond.
double RoundAxis(double& lo, double& hi) {
    double exponent = 0.0;
    if (lo < 0.0)
        exponent = std::trunc(std::log10(0.2 * -lo));
    if (hi > 0.0 && std::trunc(std::log10(0.2 * hi)) > exponent)
        exponent = std::trunc(std::log10(0.2 * hi));
    const double step = std::pow(10.0, exponent);
    lo = (std::trunc(lo / step) - 1.0) * step;
    hi = (std::trunc(hi / step) + 1.0) * step;
    return step;
}

} // namespace

CMapping::CMapping(std::int32_t axes, std::int32_t horizontal, std::int32_t vertical, const CMappingSource* dataSource)
    : nombreAxes(axes), axeHorizontal(horizontal), axeVertical(vertical), source(dataSource) {}

std::int32_t CMapping::DonnerNombrePoints(int ensemble) const {
    return ensemble == kLignes ? nombreLignes : ensemble == kColonnes ? nombreColonnes : 0;
}

const double* CMapping::Coordinates(int ensemble) const {
    return ensemble == kLignes ? coordonneesLignes : ensemble == kColonnes ? coordonneesColonnes : nullptr;
}

void CMapping::DonnerPoint(int ensemble, int i, double& x, double& y) const {
    const double* coordinates = Coordinates(ensemble);
    const Index base = static_cast<Index>(i) * static_cast<Index>(nombreAxes);
    x = coordinates[base + static_cast<Index>(axeHorizontal)];
    y = coordinates[base + static_cast<Index>(axeVertical)];
}

std::string CMapping::DonnerLibelle(int ensemble, int i) const {
    if (source == nullptr)
        return {};
    return ensemble == kLignes ? source->DonnerLibelleLigne(i) : source->DonnerLibelleColonne(i);
}

void CMapping::CalculerFenetre(BoiteMapping& boite, GraduationMapping& graduation) const {
    boite = BoiteMapping{};
    const int sets = fenetreSymetrique != 0 ? 1 : 2;
    for (int set = 0; set < sets; ++set)
        for (int i = 0; i < DonnerNombrePoints(set); ++i) {
            double x = 0.0;
            double y = 0.0;
            DonnerPoint(set, i, x, y);
            boite.xMin = std::min(boite.xMin, x);
            boite.xMax = std::max(boite.xMax, x);
            boite.yMin = std::min(boite.yMin, y);
            boite.yMax = std::max(boite.yMax, y);
        }
    if (fenetreSymetrique != 0) {
        for (auto [lo, hi] : {std::pair{&boite.xMin, &boite.xMax}, std::pair{&boite.yMin, &boite.yMax}}) {
            if (std::fabs(*hi) > std::fabs(*lo))
                *lo = -*hi;
            else
                *hi = -*lo;
        }
    }
    graduation.pasX = RoundAxis(boite.xMin, boite.xMax);
    graduation.pasY = RoundAxis(boite.yMin, boite.yMax);
    graduation.echelleColonnesX = fenetreSymetrique != 0 ? 0.8 * boite.xMax : 1.0;
    graduation.echelleColonnesY = fenetreSymetrique != 0 ? 0.8 * boite.yMax : 1.0;
}

CMapping::Values CMapping::ValuesFor(int ensemble, std::int32_t mode, std::int32_t axe, CQuestionEtendue* question,
                                     bool subtractOther) const {
    Values result;
    if (source == nullptr)
        return result;
    switch (mode) {
    case CParamBrushing::kCoordonnees:
        result.values = source->DonnerCoordonnees(ensemble, axe - 1);
        break;
    case CParamBrushing::kQualites:
        result.values = source->DonnerQualites(ensemble, axe - 1);
        break;
    case CParamBrushing::kContributions:
        result.values = source->DonnerContributions(ensemble, axe - 1);
        break;
    case CParamBrushing::kQuestion:
        if (question == nullptr)
            break;
        if (question->EstNumeriqueLibre()) {
            result.values = source->DonnerValeur(*question);
        } else if (question->EstFermee()) {
            result.values = source->DonnerModalite(*question);
            result.categorical = true;
            result.categories = question->GetNbreModalite() - (question->hasNoAnswer != 0 ? 1 : 0) -
                                (subtractOther && question->AModaliteAutre() ? 1 : 0);
        }
        break;
    default:
        break;
    }
    result.values.resize(std::min(result.values.size(), static_cast<Index>(std::max(DonnerNombrePoints(ensemble), 0))));
    return result;
}

std::vector<std::uint32_t> CMapping::CalculerCouleurs(int ensemble) const {
    const int points = std::max(DonnerNombrePoints(ensemble), 0);
    const auto set = ensemble == kColonnes ? CPresentationMapping::kColumnPoints : CPresentationMapping::kRowPoints;
    std::vector<std::uint32_t> colours(static_cast<Index>(points), presentation.GetPointSet(set).GetCouleur());
    if (ensemble != kLignes && ensemble != kColonnes)
        return colours;
    const CParamBrushing& p = brushing[static_cast<Index>(ensemble)];
    const Values v = ValuesFor(ensemble, p.mode, p.axe, p.question, true);
    const std::uint32_t low = p.couleurBasse;
    const std::uint32_t middle = p.couleurMoyenne;
    const std::uint32_t high = p.couleurHaute;
    if (v.categorical) {
        const double k = v.categories;
        const double centre = (k + 1.0) / 2.0 - 1.0;
        for (Index i = 0; i < v.values.size(); ++i) {
            const double value = v.values[i];
            if (value < 0.0)
                continue; // no modality: the point keeps its own colour
            if (value >= k || value == centre)
                colours[i] = middle;
            else if (value < centre)
                colours[i] = Mix(low, middle, value / (k / 2.0));
            else
                colours[i] = Mix(middle, high, (value - k / 2.0 + 1.0) / (k / 2.0));
        }
        return colours;
    }
    const Spread spread = SpreadOf(v.values);
    const double m = spread.mean;
    const double s = spread.deviation;
    for (Index i = 0; i < v.values.size(); ++i) {
        const double value = v.values[i];
        if (value == kValeurManquante)
            continue;
        if (s == 0.0)
            colours[i] = middle;
        else if (value < m - 2 * s)
            colours[i] = low;
        else if (value < m)
            colours[i] = Mix(low, middle, (value - (m - 2 * s)) / (2 * s));
        else if (value <= m + 2 * s)
            colours[i] = Mix(middle, high, (value - m) / (2 * s));
        else
            colours[i] = high;
    }
    return colours;
}

std::vector<std::int32_t> CMapping::CalculerTailles(int ensemble) const {
    const int points = std::max(DonnerNombrePoints(ensemble), 0);
    const auto set = ensemble == kColonnes ? CPresentationMapping::kColumnPoints : CPresentationMapping::kRowPoints;
    std::vector<std::int32_t> sizes(static_cast<Index>(points), presentation.GetPointSet(set).GetTailleSymbole());
    if (ensemble != kLignes && ensemble != kColonnes)
        return sizes;
    const CParamSizing& p = sizing[static_cast<Index>(ensemble)];
    const Values v = ValuesFor(ensemble, p.mode, p.axe, p.question, false);
    const double least = p.tailleMin;
    const double most = p.tailleMax;
    auto size = [&](double t) {
        const double raw = std::trunc(least + (most - least) * t);
        return static_cast<std::int32_t>(std::clamp(raw, std::min(least, most), std::max(least, most)));
    };
    if (v.categorical) {
        const double k = v.categories;
        for (Index i = 0; i < v.values.size(); ++i) {
            const double value = v.values[i];
            if (value < 0.0)
                continue;
            sizes[i] = k > 1.0 ? size(value / (k - 1.0)) : size(0.5);
        }
        return sizes;
    }
    const Spread spread = SpreadOf(v.values);
    const double m = spread.mean;
    const double s = spread.deviation;
    for (Index i = 0; i < v.values.size(); ++i) {
        const double value = v.values[i];
        if (value == kValeurManquante)
            continue;
        if (s == 0.0)
            sizes[i] = size(0.5);
        else if (value < m - 2 * s)
            sizes[i] = size(0.0);
        else if (value <= m + 2 * s)
            sizes[i] = size((value - m + 2 * s) / (4 * s));
        else
            sizes[i] = size(1.0);
    }
    return sizes;
}
