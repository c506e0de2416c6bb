#include "tabulation/FonctionsStatistiques.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>
#include <vector>

#include "app/ContexteEtude.h"
#include "app/VecteurDouble.h"

namespace {

constexpr double kDeuxPi = 6.28318530717958;
// 2/pi to full precision (a rounded 0.63661977238 would shift every probability by 1e-11).
constexpr double kDeuxSurPi = 2.0 / std::numbers::pi;

// Sum of exp(log prefactor + log term_i) over the terms: the terms of the chi-square series grow
// while the prefactor underflows, so both are combined in logarithms before each exponential.
double SommeExponentielle(double logPrefacteur, const std::vector<double>& logTermes) {
    double somme = 0.0;
    for (double logTerme : logTermes) {
        somme += std::exp(logPrefacteur + logTerme);
    }
    return somme;
}

// Upper tail for an even number of degrees of freedom: exp(-x/2) sum_{i < n/2} (x/2)^i / i!.
double QueueKhiDeuxPair(double x, int n) {
    const double demi = x / 2.0;
    std::vector<double> logTermes;
    logTermes.reserve(static_cast<std::size_t>(n / 2));
    for (int i = 0; i < n / 2; ++i) {
        logTermes.push_back(i * std::log(demi) - std::lgamma(i + 1.0));
    }
    return SommeExponentielle(-demi, logTermes);
}

// Upper tail for an odd number: 2 (1 - Phi(s)) + 2 phi(s) sum_{r=1}^{(n-1)/2} s^(2r-1) / (1 x 3 x ... x (2r-1)).
double QueueKhiDeuxImpair(double x, int n) {
    const double s = std::sqrt(x);
    std::vector<double> logTermes;
    logTermes.reserve(static_cast<std::size_t>(n / 2));
    double logProduitImpairs = 0.0; // log(1 x 3 x ... x (2r - 1))
    for (int r = 1; r <= (n - 1) / 2; ++r) {
        logProduitImpairs += std::log(2.0 * r - 1.0);
        logTermes.push_back((2.0 * r - 1.0) * std::log(s) - logProduitImpairs);
    }
    const double logDensite = -x / 2.0 - 0.5 * std::log(kDeuxPi);
    return 2.0 * (1.0 - LoiNormale(s)) + 2.0 * SommeExponentielle(logDensite, logTermes);
}

} // namespace

void FormaterDouble(std::string& texte, double valeur) {
    char tampon[64];
    const auto resultat = std::to_chars(tampon, tampon + sizeof tampon, valeur, std::chars_format::general, 15);
    texte.assign(tampon, resultat.ptr);
}

void TrierDoubles(CVecteurDouble& valeurs) {
    std::vector<double> copie(static_cast<std::size_t>(valeurs.GetSize()));
    for (int i = 0; i < valeurs.GetSize(); ++i) {
        copie[static_cast<std::size_t>(i)] = valeurs.GetAt(i);
    }
    std::sort(copie.begin(), copie.end());
    for (int i = 0; i < valeurs.GetSize(); ++i) {
        valeurs.SetAt(i, copie[static_cast<std::size_t>(i)]);
    }
}

double DensiteNormale(double x) {
    return std::exp(-x * x / 2.0) / std::sqrt(kDeuxPi);
}

double LoiNormale(double x) {
    const double z = std::fabs(x);
    double queue = 0.0;
    if (z < 4.9) {
        const double t = 1.0 / (1.0 + 0.2316419 * z);
        const double polynome =
            t * (0.31938153 + t * (-0.356563782 + t * (1.781477937 + t * (-1.821255978 + t * 1.330274429))));
        queue = DensiteNormale(z) * polynome;
    }
    return x < 0.0 ? queue : 1.0 - queue;
}

double InverseLoiNormale(double p) {
    if (!(p >= 0.5)) {
        return 0.0;
    }
    double bas = 0.0;
    double haut = 6.25;
    while (haut - bas >= 1e-5) {
        const double milieu = (bas + haut) / 2.0;
        if (LoiNormale(milieu) <= p) {
            bas = milieu;
        } else {
            haut = milieu;
        }
    }
    return bas;
}

double ProbaKhiDeux(double x, int n) {
    if (n <= 0) {
        return 1.0;
    }
    if (!(x > 0.0)) {
        return 0.0;
    }
    const double queue = (n % 2 == 0) ? QueueKhiDeuxPair(x, n) : QueueKhiDeuxImpair(x, n);
    return std::clamp(1.0 - queue, 0.0, 1.0);
}

double ProbaStudent(double t, int n) {
    if (n <= 0) {
        return 0.0;
    }
    const double theta = std::atan(std::fabs(t) / std::sqrt(static_cast<double>(n)));
    const double cos2 = std::cos(theta) * std::cos(theta);
    double a = 0.0;
    if (n % 2 == 0) {
        double somme = 1.0;
        double terme = 1.0;
        for (int i = 1; i <= n / 2 - 1; ++i) {
            terme *= (i == 1 ? 0.5 : (2.0 * i - 1.0) / (2.0 * i)) * cos2;
            somme += terme;
        }
        a = std::sin(theta) * somme;
    } else if (n == 1) {
        a = theta * kDeuxSurPi;
    } else {
        double somme = 1.0;
        double terme = 1.0;
        for (int i = 1; i <= (n - 3) / 2; ++i) {
            terme *= (i == 1 ? 2.0 / 3.0 : (2.0 * i) / (2.0 * i + 1.0)) * cos2;
            somme += terme;
        }
        a = kDeuxSurPi * (theta + std::sin(theta) * std::cos(theta) * somme);
    }
    return t < 0.0 ? 0.5 - a / 2.0 : 0.5 + a / 2.0;
}

double BorneInferieurePourcentage(double pourcentage, double base, double z) {
    if (!(base > 0.0)) {
        return kValeurManquante;
    }
    const double p = pourcentage / 100.0;
    const double borne = 100.0 * (p - z * std::sqrt(std::max(0.0, p * (1.0 - p)) / base));
    return borne < 0.0 ? 0.0 : borne;
}

double BorneSuperieurePourcentage(double pourcentage, double base, double z) {
    if (!(base > 0.0)) {
        return kValeurManquante;
    }
    const double p = pourcentage / 100.0;
    const double borne = 100.0 * (p + z * std::sqrt(std::max(0.0, p * (1.0 - p)) / base));
    return borne >= 100.0 ? 100.0 : borne;
}

double BorneInferieurePourcentage(double pourcentage, double base, const CContexteEtude& contexte) {
    return BorneInferieurePourcentage(pourcentage, base, contexte.ConfidenceIntervalThreshold);
}

double BorneSuperieurePourcentage(double pourcentage, double base, const CContexteEtude& contexte) {
    return BorneSuperieurePourcentage(pourcentage, base, contexte.ConfidenceIntervalThreshold);
}
