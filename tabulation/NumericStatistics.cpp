#include "tabulation/NumericStatistics.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "app/MatriceCodes.h"
#include "app/VecteurDouble.h"
#include "tabulation/FonctionsStatistiques.h"

namespace NumericStatistics {
namespace {

constexpr std::int16_t kCaseVide = -5;

// Weighted running mean and sum of squared deviations (West's update of Welford's method): no
// cancellation between sums of x and x squared.
struct Accumulateur {
    double poids = 0.0;
    double moyenne = 0.0;
    double carres = 0.0; // sum of w (x - mean)^2
    double somme = 0.0;
    double nonReponses = 0.0;
    double minimum = 1e50;
    double maximum = -1e50;

    void Ajouter(double x, double w) {
        poids += w;
        somme += w * x;
        if (w > 0.0) {
            minimum = std::min(minimum, x);
            maximum = std::max(maximum, x);
        }
        if (poids > 0.0 && w != 0.0) {
            const double ecart = x - moyenne;
            moyenne += ecart * (w / poids); // w / poids first: a constant stays exact
            carres += w * ecart * (x - moyenne);
        }
    }

    double Variance() const { return poids > 0.0 ? std::max(0.0, carres / poids) : 0.0; }
};

void EcrireEnregistrement(const Accumulateur& acc, double z, double* e) {
    e[kAnswerWeight] = acc.poids;
    e[kNonResponseWeight] = acc.nonReponses;
    e[kSum] = acc.somme;
    if (!(acc.poids > 0.0)) {
        for (int i : {kMean, kStandardDeviation, kMinimum, kMaximum, kLowerBound, kUpperBound, kVariance}) {
            e[i] = kValeurManquante;
        }
        return;
    }
    const double variance = acc.Variance();
    const double ecartType = std::sqrt(variance);
    e[kMean] = acc.moyenne;
    e[kStandardDeviation] = ecartType;
    e[kMinimum] = acc.minimum;
    e[kMaximum] = acc.maximum;
    e[kLowerBound] = acc.moyenne - z * ecartType / std::sqrt(acc.poids);
    e[kUpperBound] = acc.moyenne + z * ecartType / std::sqrt(acc.poids);
    e[kVariance] = variance;
}

// Student's comparison of a modality's mean with the pooled other modalities; no mark when a
// denominator is not above 0.
int MarqueModalite(const std::vector<Accumulateur>& acc, std::size_t k,
                   const CrossPlanes::SignificanceSettings& parametres) {
    double poidsAutres = 0.0;
    double sommeMoyennes = 0.0;
    double sommeVariances = 0.0;
    for (std::size_t j = 0; j < acc.size(); ++j) {
        if (j == k || !(acc[j].poids > 0.0)) continue;
        poidsAutres += acc[j].poids;
        sommeMoyennes += acc[j].poids * acc[j].moyenne;
        sommeVariances += acc[j].poids * acc[j].Variance();
    }
    const double poidsK = acc[k].poids;
    const double degres = poidsAutres + poidsK - 2.0;
    if (!(poidsAutres > 0.0) || !(degres > 0.0)) return 0;
    const double moyenneAutres = sommeMoyennes / poidsAutres;
    const double varianceAutres = sommeVariances / poidsAutres;
    const double radicande = (varianceAutres * (poidsAutres - 1.0) + acc[k].Variance() * (poidsK - 1.0)) / degres;
    if (!(radicande > 0.0)) return 0;
    const double t = (acc[k].moyenne - moyenneAutres) / std::sqrt(radicande) / std::sqrt(1.0 / poidsAutres + 1.0 / poidsK);
    return CrossPlanes::MarqueSignificativite(t, parametres);
}

// The weighted mean by running updates rather than sum(w x) / sum(w): constant data gives back its
// value exactly, so its centred moments are exactly 0.
double MoyenneCourante(const std::vector<double>& valeurs, const std::vector<double>& poids) {
    Accumulateur acc;
    for (std::size_t i = 0; i < valeurs.size(); ++i) acc.Ajouter(valeurs[i], poids[i]);
    return acc.moyenne;
}

} // namespace

void FiltrerValeurs(const CVecteurDouble& valeurs, const CVecteurDouble& poids, std::vector<double>& valeursGardees,
                    std::vector<double>& poidsGardes, double& poidsNonReponse, double& poidsTotal,
                    const std::uint8_t* filtre) {
    valeursGardees.clear();
    poidsGardes.clear();
    poidsNonReponse = 0.0;
    poidsTotal = 0.0;
    const int n = std::min(valeurs.GetSize(), poids.GetSize());
    for (int i = 0; i < n; ++i) {
        if (filtre != nullptr && filtre[i] == 0) continue;
        const double x = valeurs.GetAt(i);
        const double w = poids.GetAt(i);
        if (x == CVecteurDouble::kNoAnswer) {
            poidsNonReponse += w;
            poidsTotal += w;
        } else if (x != CVecteurDouble::kNotAsked && w != 0.0) {
            valeursGardees.push_back(x);
            poidsGardes.push_back(w);
            poidsTotal += w;
        }
    }
}

void TrierValeursPoids(std::vector<double>& valeurs, std::vector<double>& poids) {
    std::vector<std::size_t> ordre(valeurs.size());
    std::iota(ordre.begin(), ordre.end(), std::size_t{0});
    std::stable_sort(ordre.begin(), ordre.end(), [&](std::size_t a, std::size_t b) { return valeurs[a] < valeurs[b]; });
    std::vector<double> v(valeurs.size());
    std::vector<double> w(valeurs.size());
    for (std::size_t i = 0; i < ordre.size(); ++i) {
        v[i] = valeurs[ordre[i]];
        w[i] = ordre[i] < poids.size() ? poids[ordre[i]] : 0.0;
    }
    valeurs.swap(v);
    poids.swap(w);
}

void CalculerStatistiquesValeurs(std::vector<double>& valeurs, std::vector<double>& poids, double poidsNonReponse,
                                 double z, Statistics& statistiques) {
    poids.resize(valeurs.size(), 0.0);
    TrierValeursPoids(valeurs, poids);
    const std::size_t n = valeurs.size();
    double sommePoids = 0.0;
    double somme = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        sommePoids += poids[i];
        somme += poids[i] * valeurs[i];
    }
    statistiques.fill(kValeurManquante);
    statistiques[kAnswerWeight] = sommePoids;
    statistiques[kNonResponseWeight] = poidsNonReponse;
    if (n == 0) return;

    double moyenne = 0.0;
    double variance = 0.0;
    double m3 = 0.0;
    double m4 = 0.0;
    if (sommePoids > 0.0) {
        moyenne = MoyenneCourante(valeurs, poids);
        double m2 = 0.0;
        for (std::size_t i = 0; i < n; ++i) {
            const double d = valeurs[i] - moyenne;
            m2 += poids[i] * d * d;
            m3 += poids[i] * d * d * d;
            m4 += poids[i] * d * d * d * d;
        }
        variance = std::max(0.0, m2 / sommePoids);
    }
    const double ecartType = std::sqrt(variance);
    const bool moments = sommePoids > 0.0 && ecartType > 0.0;

    double gini = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        gini += (2.0 * static_cast<double>(i) - static_cast<double>(n) + 1.0) * valeurs[i];
    }
    const double denominateurGini = static_cast<double>(n) * (static_cast<double>(n) - 1.0) * moyenne;

    statistiques[kMean] = moyenne;
    statistiques[kStandardDeviation] = ecartType;
    statistiques[kSum] = somme;
    statistiques[kMinimum] = valeurs.front();
    statistiques[kMaximum] = valeurs.back();
    if (sommePoids > 0.0) {
        statistiques[kLowerBound] = moyenne - z * ecartType / std::sqrt(sommePoids);
        statistiques[kUpperBound] = moyenne + z * ecartType / std::sqrt(sommePoids);
    }
    statistiques[kVariance] = variance;
    statistiques[kMedian] = valeurs[(n + 1) / 2 - 1];
    if (moments) {
        statistiques[kKurtosis] = m4 / (sommePoids * variance * variance);
        statistiques[kSkewness] = m3 / (sommePoids * variance * ecartType);
    }
    if (denominateurGini != 0.0) statistiques[kGini] = gini / denominateurGini;
}

void CalculerMoyennesModalites(const CMatriceCodes& codes, const CVecteurDouble& valeurs, const CVecteurDouble& poids,
                               std::span<const std::uint16_t> correspondance, int nombreModalites, double z,
                               const CrossPlanes::SignificanceSettings& parametres,
                               std::vector<double>& enregistrements, double& total,
                               std::vector<std::uint8_t>* marques) {
    const int r = std::max(nombreModalites, 0);
    std::vector<Accumulateur> acc(static_cast<std::size_t>(r) + 1);
    Accumulateur& accTotal = acc.back();
    total = 0.0;
    const int colonnes = codes.GetNbColonnes();
    const int unites = std::min({codes.GetNbLignes(), valeurs.GetSize(), poids.GetSize()});
    if (marques != nullptr && static_cast<int>(marques->size()) < unites) marques->resize(static_cast<std::size_t>(unites), 0);
    const std::int16_t* cellules = codes.DonnerCellules();
    for (int u = 0; u < unites; ++u) {
        const double x = valeurs.GetAt(u);
        if (x == CVecteurDouble::kNotAsked) continue;
        const double w = poids.GetAt(u);
        const bool nonReponse = x == CVecteurDouble::kNoAnswer;
        bool gardee = false;
        for (int s = 0; s < colonnes; ++s) {
            const std::int16_t m = cellules[static_cast<std::size_t>(u) * colonnes + s];
            if (m == kCaseVide || m < 0 || m >= r || m >= static_cast<int>(correspondance.size())) continue;
            if (correspondance[static_cast<std::size_t>(m)] == kNotKept) continue;
            gardee = true;
            Accumulateur& a = acc[static_cast<std::size_t>(m)];
            if (nonReponse) a.nonReponses += w;
            else a.Ajouter(x, w);
        }
        if (!gardee) continue;
        if (nonReponse) accTotal.nonReponses += w;
        else accTotal.Ajouter(x, w);
        total += w;
        if (marques != nullptr) (*marques)[static_cast<std::size_t>(u)] = 1;
    }

    enregistrements.assign(static_cast<std::size_t>(r + 1) * kMeanRecordSize, 0.0);
    for (std::size_t k = 0; k < acc.size(); ++k) {
        double* e = &enregistrements[k * kMeanRecordSize];
        EcrireEnregistrement(acc[k], z, e);
    }
    const std::vector<Accumulateur> modalites(acc.begin(), acc.end() - 1);
    for (std::size_t k = 0; k < modalites.size(); ++k) {
        if (!(modalites[k].poids > 0.0)) continue;
        enregistrements[k * kMeanRecordSize + kMeanMark] = MarqueModalite(modalites, k, parametres);
    }
}

} // namespace NumericStatistics
