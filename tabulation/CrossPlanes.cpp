#include "tabulation/CrossPlanes.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "app/Enquete.h"
#include "tabulation/FonctionsStatistiques.h"

namespace CrossPlanes {
namespace {

// Which denominators the percentages and the Total cells use.
enum class Base { Repondants, Reponses };

// 100 x numerator / denominator; the missing value when the denominator is 0.
double Pourcentage(double numerateur, double denominateur) {
    return denominateur != 0.0 ? 100.0 * numerateur / denominateur : kValeurManquante;
}

class CalculPlans {
public:
    CalculPlans(std::vector<double>& plans, std::span<const double> matrice, int lignes, int modalitesLigne,
                std::span<const std::int16_t> correspondanceLignes, int ligneTotal, int colonnes,
                int modalitesColonne, std::span<const std::int16_t> correspondanceColonnes, int colonneTotal,
                const SignificanceSettings& parametres, Base base)
        : m_plans(plans), m_matrice(matrice), m_R(lignes), m_r(modalitesLigne), m_C(colonnes),
          m_c(modalitesColonne), m_ligneTotal(DansTable(ligneTotal, lignes)),
          m_colonneTotal(DansTable(colonneTotal, colonnes)), m_parametres(parametres), m_base(base) {
        m_positionsLignes = Positions(correspondanceLignes, modalitesLigne, lignes);
        m_positionsColonnes = Positions(correspondanceColonnes, modalitesColonne, colonnes);
    }

    void Executer() {
        m_plans.assign(static_cast<std::size_t>(kPlaneCount) * m_R * m_C, 0.0);
        if (m_matrice.size() < static_cast<std::size_t>(m_r + 1) * (m_c + 1)) {
            return;
        }
        SommerCellulesGardees();
        if (!(m_sommeTotale > 0.0)) {
            return;
        }
        EcrireEffectifs();
        EcrireLigneTotal();
        EcrireColonneTotal();
        EcrireCoin();
        EcrirePourcentagesDesCellules();
        EcrireTests();
        TerminerTotaux();
    }

private:
    static int DansTable(int position, int taille) { return position >= 0 && position < taille ? position : -1; }

    // Positions of the kept modalities; entries outside the table count as not kept.
    static std::vector<int> Positions(std::span<const std::int16_t> correspondance, int modalites, int taille) {
        std::vector<int> positions(static_cast<std::size_t>(std::max(modalites, 0)), -1);
        for (int m = 0; m < modalites && m < static_cast<int>(correspondance.size()); ++m) {
            positions[static_cast<std::size_t>(m)] = DansTable(correspondance[static_cast<std::size_t>(m)], taille);
        }
        return positions;
    }

    double& Plan(int p, int i, int j) { return m_plans[(static_cast<std::size_t>(p) * m_R + i) * m_C + j]; }
    double Cellule(int a, int b) const { return m_matrice[static_cast<std::size_t>(a) * (m_c + 1) + b]; }
    double MargeLigne(int a) const { return Cellule(a, m_c); }
    double MargeColonne(int b) const { return Cellule(m_r, b); }
    double Total() const { return Cellule(m_r, m_c); }
    int LigneDe(int a) const { return m_positionsLignes[static_cast<std::size_t>(a)]; }
    int ColonneDe(int b) const { return m_positionsColonnes[static_cast<std::size_t>(b)]; }
    bool SurReponses() const { return m_base == Base::Reponses; }

    // What the Total cells show and divide by: the respondent margins, or the sums of kept cells.
    double ValeurLigne(int a) const { return SurReponses() ? m_sommesLignes[static_cast<std::size_t>(a)] : MargeLigne(a); }
    double ValeurColonne(int b) const {
        return SurReponses() ? m_sommesColonnes[static_cast<std::size_t>(b)] : MargeColonne(b);
    }
    double ValeurTotale() const { return SurReponses() ? m_sommeTotale : Total(); }
    double AffiniteTotal() const { return SurReponses() ? 0.0 : 100.0; }

    template <class F> void PourChaquePaire(F&& f) {
        for (int a = 0; a < m_r; ++a) {
            if (LigneDe(a) < 0) continue;
            for (int b = 0; b < m_c; ++b) {
                if (ColonneDe(b) < 0) continue;
                f(a, b, LigneDe(a), ColonneDe(b));
            }
        }
    }

    void SommerCellulesGardees() {
        m_sommesLignes.assign(static_cast<std::size_t>(m_r), 0.0);
        m_sommesColonnes.assign(static_cast<std::size_t>(m_c), 0.0);
        m_sommeTotale = 0.0;
        PourChaquePaire([&](int a, int b, int, int) {
            const double o = Cellule(a, b);
            m_sommesLignes[static_cast<std::size_t>(a)] += o;
            m_sommesColonnes[static_cast<std::size_t>(b)] += o;
            m_sommeTotale += o;
        });
    }

    void EcrireEffectifs() {
        PourChaquePaire([&](int a, int b, int i, int j) { Plan(kCount, i, j) = Cellule(a, b); });
    }

    void EcrireLigneTotal() {
        if (m_ligneTotal < 0) return;
        for (int b = 0; b < m_c; ++b) {
            const int j = ColonneDe(b);
            if (j < 0) continue;
            const double valeur = ValeurColonne(b);
            Plan(kCount, m_ligneTotal, j) = valeur;
            Plan(kRowPercentage, m_ligneTotal, j) = Pourcentage(valeur, ValeurTotale());
            Plan(kColumnPercentage, m_ligneTotal, j) = 100.0;
            Plan(kTotalPercentage, m_ligneTotal, j) = Pourcentage(valeur, ValeurTotale());
            Plan(kAffinity, m_ligneTotal, j) = AffiniteTotal();
        }
    }

    void EcrireColonneTotal() {
        if (m_colonneTotal < 0) return;
        for (int a = 0; a < m_r; ++a) {
            const int i = LigneDe(a);
            if (i < 0) continue;
            const double valeur = ValeurLigne(a);
            Plan(kCount, i, m_colonneTotal) = valeur;
            Plan(kRowPercentage, i, m_colonneTotal) = 100.0;
            Plan(kColumnPercentage, i, m_colonneTotal) = Pourcentage(valeur, ValeurTotale());
            Plan(kTotalPercentage, i, m_colonneTotal) = Pourcentage(valeur, ValeurTotale());
            Plan(kAffinity, i, m_colonneTotal) = AffiniteTotal();
        }
    }

    void EcrireCoin() {
        if (m_ligneTotal < 0 || m_colonneTotal < 0) return;
        Plan(kCount, m_ligneTotal, m_colonneTotal) = ValeurTotale();
        for (int p : {kRowPercentage, kColumnPercentage, kTotalPercentage}) {
            Plan(p, m_ligneTotal, m_colonneTotal) = 100.0;
        }
        Plan(kAffinity, m_ligneTotal, m_colonneTotal) = AffiniteTotal();
    }

    void EcrirePourcentagesDesCellules() {
        const double n = Total();
        PourChaquePaire([&](int a, int b, int i, int j) {
            const double o = Cellule(a, b);
            if (MargeLigne(a) > 0.0) Plan(kRowPercentage, i, j) = Pourcentage(o, ValeurLigne(a));
            if (MargeColonne(b) > 0.0) Plan(kColumnPercentage, i, j) = Pourcentage(o, ValeurColonne(b));
            if (!SurReponses() && n > 0.0 && MargeLigne(a) > 0.0) {
                // The column percentage of the cell over the share of its line in the total.
                Plan(kAffinity, i, j) = 100.0 * Plan(kColumnPercentage, i, j) / (100.0 * MargeLigne(a) / n);
            }
            Plan(kTotalPercentage, i, j) = Pourcentage(o, n);
        });
    }

    // Two proportions compared: the cell's share of its group against the share of the rest.
    static std::optional<double> TestDeuxGroupes(double cellule, double groupe, double autreMarge, double total) {
        const double c1 = groupe;
        const double c2 = total - c1;
        if (!(c1 > 0.0) || !(c2 > 0.0)) return std::nullopt;
        const double p1 = cellule / c1;
        const double p2 = (autreMarge - cellule) / c2;
        const double variance = p2 * (1.0 - p2) / c2 + p1 * (1.0 - p1) / c1;
        if (!(variance > 0.0)) return std::nullopt;
        return (p1 - p2) / std::sqrt(variance);
    }

    std::optional<double> ValeurTest(int a, int b, double attendu) const {
        const double n = Total();
        const double o = Cellule(a, b);
        switch (m_parametres.type) {
        case 0: {
            const double p = attendu / n;
            const double variance = p * (1.0 - p) / n;
            if (!(variance > 0.0)) return std::nullopt;
            return (o / n - p) / std::sqrt(variance);
        }
        case 1:
            return TestDeuxGroupes(o, MargeColonne(b), MargeLigne(a), n);
        case 2:
            return TestDeuxGroupes(o, MargeLigne(a), MargeColonne(b), n);
        default:
            return std::nullopt;
        }
    }

    void EcrireTests() {
        const double n = Total();
        PourChaquePaire([&](int a, int b, int i, int j) {
            if (!(n > 0.0)) {
                Plan(kExpectedCount, i, j) = kValeurManquante;
                return;
            }
            const double attendu = MargeLigne(a) * MargeColonne(b) / n;
            Plan(kExpectedCount, i, j) = attendu;
            const std::optional<double> z = ValeurTest(a, b, attendu);
            if (!z) return;
            Plan(kTestValue, i, j) = *z;
            if (attendu >= m_parametres.minimumExpectedCount) {
                Plan(kMark, i, j) = MarqueSignificativite(*z, m_parametres);
            }
        });
    }

    void TerminerCelluleTotal(int i, int j) {
        Plan(kExpectedCount, i, j) = Plan(kCount, i, j);
        Plan(kMark, i, j) = 0.0;
        Plan(kTestValue, i, j) = kValeurManquante;
    }

    void TerminerTotaux() {
        if (m_ligneTotal >= 0) {
            for (int j = 0; j < m_C; ++j) TerminerCelluleTotal(m_ligneTotal, j);
        }
        if (m_colonneTotal >= 0) {
            for (int i = 0; i < m_R; ++i) TerminerCelluleTotal(i, m_colonneTotal);
        }
    }

    std::vector<double>& m_plans;
    std::span<const double> m_matrice;
    int m_R;
    int m_r;
    int m_C;
    int m_c;
    int m_ligneTotal;
    int m_colonneTotal;
    const SignificanceSettings& m_parametres;
    Base m_base;
    std::vector<int> m_positionsLignes;
    std::vector<int> m_positionsColonnes;
    std::vector<double> m_sommesLignes;
    std::vector<double> m_sommesColonnes;
    double m_sommeTotale = 0.0;
};

} // namespace

SignificanceSettings SignificanceSettings::FromSurvey(const CEnquete& contexte) {
    SignificanceSettings parametres;
    parametres.minimumExpectedCount = contexte.EffectifSignificativite;
    parametres.type = contexte.SignificanceType;
    parametres.threshold1 = contexte.SignificanceThreshold1;
    parametres.threshold2 = contexte.SignificanceThreshold2;
    parametres.threshold3 = contexte.SignificanceThreshold3;
    return parametres;
}

int MarqueSignificativite(double z, const SignificanceSettings& parametres) {
    if (z > 0.0) {
        if (z > parametres.threshold3) return 3;
        if (z > parametres.threshold2) return 2;
        if (z > parametres.threshold1) return 1;
        return 0;
    }
    if (z < -parametres.threshold3) return -3;
    if (z < -parametres.threshold2) return -2;
    if (z < -parametres.threshold1) return -1;
    return 0;
}

void CalculerPourcentages(std::vector<double>& plans, std::span<const double> matrice, int nombreLignes,
                          int nombreModalitesLigne, std::span<const std::int16_t> correspondanceLignes,
                          int positionLigneTotal, int nombreColonnes, int nombreModalitesColonne,
                          std::span<const std::int16_t> correspondanceColonnes, int positionColonneTotal,
                          const SignificanceSettings& parametres) {
    CalculPlans(plans, matrice, nombreLignes, nombreModalitesLigne, correspondanceLignes, positionLigneTotal,
                nombreColonnes, nombreModalitesColonne, correspondanceColonnes, positionColonneTotal, parametres,
                Base::Repondants)
        .Executer();
}

void CalculerPourcentagesReponses(std::vector<double>& plans, std::span<const double> matrice, int nombreLignes,
                                  int nombreModalitesLigne, std::span<const std::int16_t> correspondanceLignes,
                                  int positionLigneTotal, int nombreColonnes, int nombreModalitesColonne,
                                  std::span<const std::int16_t> correspondanceColonnes, int positionColonneTotal,
                                  const SignificanceSettings& parametres) {
    CalculPlans(plans, matrice, nombreLignes, nombreModalitesLigne, correspondanceLignes, positionLigneTotal,
                nombreColonnes, nombreModalitesColonne, correspondanceColonnes, positionColonneTotal, parametres,
                Base::Reponses)
        .Executer();
}

void CalculerKhiDeux(std::span<const double> plans, int nombreLignes, int nombreColonnes, int ligneExclue,
                     int colonneExclue, double& khiDeux, int& degresLiberte, double& probabilite) {
    const bool avecLigneExclue = ligneExclue >= 0 && ligneExclue < nombreLignes;
    const bool avecColonneExclue = colonneExclue >= 0 && colonneExclue < nombreColonnes;
    degresLiberte = std::max(0, nombreColonnes - 1 - (avecColonneExclue ? 1 : 0)) *
                    std::max(0, nombreLignes - 1 - (avecLigneExclue ? 1 : 0));
    const std::size_t taillePlan = static_cast<std::size_t>(std::max(nombreLignes, 0)) * std::max(nombreColonnes, 0);
    khiDeux = kValeurManquante;
    probabilite = kValeurManquante;
    if (plans.size() < taillePlan * kPlaneCount) return;
    double somme = 0.0;
    bool uneCellule = false;
    for (int i = 0; i < nombreLignes; ++i) {
        if (avecLigneExclue && i == ligneExclue) continue;
        for (int j = 0; j < nombreColonnes; ++j) {
            if (avecColonneExclue && j == colonneExclue) continue;
            const std::size_t position = static_cast<std::size_t>(i) * nombreColonnes + j;
            const double attendu = plans[kExpectedCount * taillePlan + position];
            if (!(attendu > 0.0)) continue;
            const double ecart = attendu - plans[kCount * taillePlan + position];
            somme += ecart * ecart / attendu;
            uneCellule = true;
        }
    }
    if (!uneCellule) return;
    khiDeux = somme;
    if (degresLiberte > 0) probabilite = ProbaKhiDeux(khiDeux, degresLiberte);
}

} // namespace CrossPlanes
