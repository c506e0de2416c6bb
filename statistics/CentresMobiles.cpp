#include "statistics/CentresMobiles.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <new>
#include <utility>

#include "app/StringTable.h"
#include "statistics/SommeLignes.h"
#include "statistics/StartDrawGenerator.h"
#include "tabulation/FonctionsStatistiques.h"

namespace {

using Index = std::size_t;

constexpr double kInertieDepart = 1e8;
constexpr double kSeuilRelatif = 1e-6;
// Rows per piece of the assignment handed to a thread.
constexpr long long kLignesParPiece = 16384;

// The candidates of the start draw, in row order, from which the i-th remaining one is taken
// and removed in logarithmic time (a Fenwick tree of 0/1 presence), so that a table of many
// identical rows, which empties the pool draw by draw, costs no quadratic time.
class CandidatePool {
public:
    explicit CandidatePool(int n) : m_size(n), m_tree(static_cast<Index>(n) + 1, 0) {
        for (int i = 1; i <= n; ++i) {
            m_tree[static_cast<Index>(i)] += 1;
            const int parent = i + (i & -i);
            if (parent <= n)
                m_tree[static_cast<Index>(parent)] += m_tree[static_cast<Index>(i)];
        }
        m_count = n;
    }

    int Count() const { return m_count; }

    // Removes the candidate at position `index` (0-based among those remaining) and returns it.
    int Take(int index) {
        int position = 0;
        int remaining = index + 1;
        for (int step = HighestBit(m_size); step > 0; step >>= 1) {
            const int next = position + step;
            if (next <= m_size && m_tree[static_cast<Index>(next)] < remaining) {
                position = next;
                remaining -= m_tree[static_cast<Index>(next)];
            }
        }
        for (int i = position + 1; i <= m_size; i += i & -i)
            m_tree[static_cast<Index>(i)] -= 1;
        --m_count;
        return position;
    }

private:
    static int HighestBit(int n) {
        int bit = 1;
        while (bit * 2 <= n)
            bit *= 2;
        return n > 0 ? bit : 0;
    }

    int m_size;
    int m_count = 0;
    std::vector<int> m_tree;
};

} // namespace

CCentresMobiles::CCentresMobiles(int actifs, int illustratifs, int colActives, int colIllustratives)
    : nActifs(actifs), nIllustratifs(illustratifs), nColActives(colActives), nColIllustratives(colIllustratives) {}

void CCentresMobiles::Nettoyer() {
    groupes.clear();
    groupes.shrink_to_fit();
}

void CCentresMobiles::PlusProchesCentres(int first, int last, const double* centres, int k, std::int32_t* groupe,
                                         double* distance) const {
    for (int i = first; i < last; ++i) {
        int best = 0;
        double least = DistanceCentre(i, centres);
        for (int g = 1; g < k; ++g) {
            const double d = DistanceCentre(i, centres + static_cast<Index>(g) * static_cast<Index>(nColActives));
            if (d < least) {
                least = d;
                best = g;
            }
        }
        groupe[i - first] = best;
        distance[i - first] = least;
    }
}

void CCentresMobiles::CalculerCentres(double* centres, int k, const std::int32_t*) const {
    for (int g = 0; g < k; ++g)
        CalculerCentre(centres + static_cast<Index>(g) * static_cast<Index>(nColActives), groupes[static_cast<Index>(g)]);
}

bool CCentresMobiles::Executer(int k, std::vector<double>& parIndividu, std::vector<double>& parGroupe, bool stabilite,
                               int n) {
    parIndividu.clear();
    parGroupe.clear();
    if (!stabilite)
        return ExecuterUneFois(k, parIndividu, parGroupe, static_cast<unsigned>(n));
    bool retained = false;
    double best = 0.0;
    for (int seed = 0; seed <= n; ++seed) {
        std::vector<double> individus;
        std::vector<double> groupesRun;
        if (!ExecuterUneFois(k, individus, groupesRun, static_cast<unsigned>(seed))) {
            parIndividu.clear();
            parGroupe.clear();
            return false;
        }
        const double share = groupesRun.back();
        const bool valid = share != kValeurManquante;
        const bool better = !retained || (valid && (best == kValeurManquante || share > best));
        if (better) {
            parIndividu = std::move(individus);
            parGroupe = std::move(groupesRun);
            best = share;
            retained = true;
        }
    }
    return true;
}

bool CCentresMobiles::ExecuterUneFois(int k, std::vector<double>& parIndividu, std::vector<double>& parGroupe,
                                      unsigned graine) {
    m_erreur = Message();
    m_iterations = 0;
    nGroupes = k;
    bool done = false;
    try {
        // No group at all is as impossible to start as more groups than rows.
        if (k < 1)
            m_erreur = Message(StringTable::kIndividusDepartImpossibles);
        else if (Initialiser() && TirerCentres(graine)) {
            // The start groups hold one row each, and the other rows have no group yet.
            std::vector<double> centres(static_cast<Index>(k) * static_cast<Index>(nColActives), 0.0);
            CCentresMobiles::CalculerCentres(centres.data(), k, nullptr);
            if (Boucler(centres)) {
                Affecter(nActifs + nIllustratifs, centres);
                Resultats(parIndividu, parGroupe);
                done = true;
            }
        }
    } catch (const std::bad_alloc&) {
        m_erreur = Message(StringTable::kPasAssezDeMemoire);
    }
    Nettoyer();
    m_groupeLigne.clear();
    m_groupeLigne.shrink_to_fit();
    m_distanceLigne.clear();
    m_distanceLigne.shrink_to_fit();
    if (!done) {
        parIndividu.clear();
        parGroupe.clear();
        if (m_erreur.id == 0 && m_erreur.arguments.empty())
            m_erreur = Message(StringTable::kPasAssezDeMemoire);
    }
    return done;
}

bool CCentresMobiles::TirerCentres(unsigned graine) {
    CandidatePool pool(nActifs);
    StartDrawGenerator generator(graine);
    std::vector<int> chosen;
    while (static_cast<int>(chosen.size()) < nGroupes) {
        if (pool.Count() == 0) {
            m_erreur = Message(StringTable::kIndividusDepartImpossibles);
            return false;
        }
        const int candidate = pool.Take(generator.NextIndex(pool.Count()));
        const bool duplicate = std::any_of(chosen.begin(), chosen.end(),
                                           [&](int centre) { return DistanceIndividus(candidate, centre) == 0.0; });
        if (!duplicate)
            chosen.push_back(candidate);
    }
    m_lignesDepart = chosen;
    groupes.assign(static_cast<Index>(nGroupes), {});
    m_groupeLigne.assign(static_cast<Index>(nActifs + nIllustratifs), -1);
    m_distanceLigne.assign(static_cast<Index>(nActifs + nIllustratifs), 0.0);
    for (int g = 0; g < nGroupes; ++g) {
        groupes[static_cast<Index>(g)].push_back(chosen[static_cast<Index>(g)]);
        m_groupeLigne[static_cast<Index>(chosen[static_cast<Index>(g)])] = g;
    }
    return true;
}

long long CCentresMobiles::Affecter(int rows, const std::vector<double>& centres) {
    const long long pieces = (rows + kLignesParPiece - 1) / kLignesParPiece;
    std::vector<long long> changes(static_cast<Index>(std::max(pieces, 1LL)), 0);
    ParPieces(rows, kLignesParPiece, [&](long long first, long long last) {
        std::vector<std::int32_t> groups(static_cast<Index>(last - first));
        PlusProchesCentres(static_cast<int>(first), static_cast<int>(last), centres.data(), nGroupes, groups.data(),
                           m_distanceLigne.data() + first);
        long long changed = 0;
        for (long long i = first; i < last; ++i) {
            const std::int32_t g = groups[static_cast<Index>(i - first)];
            changed += m_groupeLigne[static_cast<Index>(i)] != g ? 1 : 0;
            m_groupeLigne[static_cast<Index>(i)] = g;
        }
        changes[static_cast<Index>(first / kLignesParPiece)] = changed;
    });
    for (auto& members : groupes)
        members.clear();
    for (int i = 0; i < rows; ++i)
        groupes[static_cast<Index>(m_groupeLigne[static_cast<Index>(i)])].push_back(i);
    long long changed = 0;
    for (long long c : changes)
        changed += c;
    return changed;
}

void CCentresMobiles::RecalculerCentres(std::vector<double>& centres) const {
    std::fill(centres.begin(), centres.end(), 0.0);
    CalculerCentres(centres.data(), nGroupes, m_groupeLigne.data());
}

double CCentresMobiles::InertieInterclasses(const std::vector<double>& centres) const {
    double inertia = 0.0;
    for (int g = 0; g < nGroupes; ++g)
        inertia += static_cast<double>(groupes[static_cast<Index>(g)].size()) *
                   InertieCentre(centres.data() + static_cast<Index>(g) * static_cast<Index>(nColActives));
    return inertia;
}

// Assign and move the centres until the between-group inertia changes by at most a millionth, or
// (after the first assignment, which starts from single rows) no row changes group.
bool CCentresMobiles::Boucler(std::vector<double>& centres) {
    double previous = kInertieDepart;
    while (m_iterations < kIterationsMax) {
        const long long changed = Affecter(nActifs, centres);
        ++m_iterations;
        RecalculerCentres(centres);
        const double inertia = InertieInterclasses(centres);
        if (m_iterations >= 2 && changed == 0)
            return true;
        if (previous != kInertieDepart && previous != 0.0 && std::fabs((inertia - previous) / previous) <= kSeuilRelatif)
            return true;
        previous = inertia;
    }
    m_erreur = Message(StringTable::kTypologieSansConvergence, {std::to_string(kIterationsMax)});
    return false;
}

void CCentresMobiles::Resultats(std::vector<double>& parIndividu, std::vector<double>& parGroupe) const {
    const int rows = nActifs + nIllustratifs;
    parIndividu.assign(static_cast<Index>(rows) * 2, 0.0);
    std::vector<double> counts(static_cast<Index>(nGroupes), 0.0);
    std::vector<double> within(static_cast<Index>(nGroupes), 0.0);
    for (int i = 0; i < rows; ++i) {
        const int g = m_groupeLigne[static_cast<Index>(i)];
        const double distance = m_distanceLigne[static_cast<Index>(i)];
        parIndividu[static_cast<Index>(i) * 2] = g + 1;
        parIndividu[static_cast<Index>(i) * 2 + 1] = distance * 1000.0;
        counts[static_cast<Index>(g)] += 1.0;
        if (i < nActifs)
            within[static_cast<Index>(g)] += Inertie(distance);
    }
    // The total inertia in pieces of fixed size added in row order: the same on any number of threads.
    const long long pieces = (nActifs + kLignesParPiece - 1) / kLignesParPiece;
    std::vector<double> partial(static_cast<Index>(std::max(pieces, 1LL)), 0.0);
    ParPieces(nActifs, kLignesParPiece, [&](long long first, long long last) {
        double sum = 0.0;
        for (long long i = first; i < last; ++i)
            sum += Inertie(DistanceCentreGeneral(static_cast<int>(i)));
        partial[static_cast<Index>(first / kLignesParPiece)] = sum;
    });
    double total = 0.0;
    for (double sum : partial)
        total += sum;
    double withinAll = 0.0;
    parGroupe.clear();
    for (int g = 0; g < nGroupes; ++g) {
        const double count = counts[static_cast<Index>(g)];
        parGroupe.insert(parGroupe.end(), {count, rows > 0 ? count / rows * 100.0 : kValeurManquante,
                                           within[static_cast<Index>(g)] * 1000.0, kValeurManquante});
        withinAll += within[static_cast<Index>(g)];
    }
    const double share = total != 0.0 ? (total - withinAll) / total * 100.0 : kValeurManquante;
    parGroupe.insert(parGroupe.end(), {static_cast<double>(rows), 100.0, total * 1000.0, share});
}
