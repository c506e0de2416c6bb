#include "statistics/MoteurClassification.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <new>

#include "app/StringTable.h"
#include "app/UserInterface.h"
#include "statistics/CentresMobiles.h"
#include "statistics/Dendogramme.h"
#include "statistics/MatriceTriangulaire.h"
#include "tabulation/FonctionsStatistiques.h"

namespace {

using Index = std::size_t;

// What the classification needs of the merges to build its tree: for every item, the merges
// that hold it, in merge order, and what an item was before any merge.
class MergeHistory {
public:
    MergeHistory(const std::vector<std::pair<int, int>>& pairs, int items,
                 const std::vector<std::vector<std::int32_t>>& startGroups)
        : m_pairs(pairs), m_holding(static_cast<Index>(items)), m_startGroups(startGroups) {
        for (int m = 0; m < static_cast<int>(pairs.size()); ++m) {
            m_holding[static_cast<Index>(pairs[static_cast<Index>(m)].first)].push_back(m);
            m_holding[static_cast<Index>(pairs[static_cast<Index>(m)].second)].push_back(m);
        }
    }

    // The latest merge before m that holds the item, or -1.
    int LatestBefore(int item, int m) const {
        const std::vector<int>& merges = m_holding[static_cast<Index>(item)];
        const auto it = std::lower_bound(merges.begin(), merges.end(), m);
        return it == merges.begin() ? -1 : *(it - 1);
    }

    // What the item was before any merge: its start group, or its own row.
    std::vector<std::int32_t> Base(int item) const {
        if (!m_startGroups.empty())
            return m_startGroups[static_cast<Index>(item)];
        return {item};
    }

    // The interview rows of the item as it entered merge m: the members of every earlier merge
    // into it, in merge order (each of them the same way), then its own.
    void Members(int item, int m, std::vector<std::int32_t>& out) const {
        struct Frame {
            int item;
            int limit;
            std::size_t next;
        };
        std::vector<Frame> stack{{item, m, 0}};
        while (!stack.empty()) {
            Frame& frame = stack.back();
            const std::vector<int>& merges = m_holding[static_cast<Index>(frame.item)];
            if (frame.next < merges.size() && merges[frame.next] < frame.limit) {
                const int merge = merges[frame.next++];
                const auto& pair = m_pairs[static_cast<Index>(merge)];
                stack.push_back({pair.first == frame.item ? pair.second : pair.first, merge, 0});
                continue;
            }
            const std::vector<std::int32_t> own = Base(frame.item);
            out.insert(out.end(), own.begin(), own.end());
            stack.pop_back();
        }
    }

private:
    const std::vector<std::pair<int, int>>& m_pairs;
    std::vector<std::vector<int>> m_holding;
    const std::vector<std::vector<std::int32_t>>& m_startGroups;
};

} // namespace

CMoteurClassification::CMoteurClassification(int n, int nColActives, int nColIllustratives)
    : m_nbLignes(n), m_nbColActives(nColActives), m_nbColIllustratives(nColIllustratives) {}

CMoteurClassification::~CMoteurClassification() = default;

bool CMoteurClassification::Executer(bool partitionInitiale, int nbGroupesDepart, unsigned graine) {
    m_erreur = Message();
    m_annule = false;
    bool done = false;
    try {
        done = Run(partitionInitiale, nbGroupesDepart, graine);
    } catch (const std::bad_alloc&) {
        m_erreur = Message(StringTable::kPasAssezDeMemoire);
    }
    m_matrice.reset();
    if (!done) {
        m_paires.clear();
        m_niveaux.clear();
        m_tailles.clear();
        m_groupesDepart.clear();
    }
    m_centres.clear();
    m_centres.shrink_to_fit();
    m_masses.clear();
    return done;
}

bool CMoteurClassification::Run(bool partitionInitiale, int nbGroupesDepart, unsigned graine) {
    if (!Initialiser()) {
        m_erreur = Message(StringTable::kPasAssezDeMemoire);
        return false;
    }
    m_partition = partitionInitiale;
    m_inertieTotale = InertieTotale();
    m_inertieInter = m_inertieTotale;
    if (!std::isfinite(m_inertieTotale)) {
        m_erreur = Message(StringTable::kClassificationImpossible);
        return false;
    }
    if (partitionInitiale) {
        if (!PartitionInitiale(nbGroupesDepart, graine))
            return false;
    } else {
        InitialiserFusions();
    }
    m_paires.clear();
    m_niveaux.clear();
    m_matrice = std::make_unique<CMatriceTriangulaire>(m_n0);
    if (m_ui != nullptr)
        m_ui->BeginProgress(Message(StringTable::kClassificationHierarchique), 2 * m_n0 - 1);
    struct ProgressEnd {
        UserInterface* ui;
        ~ProgressEnd() {
            if (ui != nullptr)
                ui->EndProgress();
        }
    } progressEnd{m_ui};
    if (!CalculerDistances())
        return false;
    int m = 0;
    std::vector<std::pair<int, int>> closest;
    while (m < m_n0 - 1) {
        const double minimum = m_matrice->PlusProchesPaires(closest);
        if (closest.empty()) {
            m_erreur = Message(StringTable::kClassificationImpossible);
            return false;
        }
        if (!Fusionner(closest, minimum, m))
            return false;
    }
    return true;
}

double CMoteurClassification::InertieTotale() const {
    double total = 0.0;
    for (int row = 0; row < m_nbLignes; ++row)
        total += Inertie(DistanceCentreGeneral(row));
    return total;
}

void CMoteurClassification::InitialiserFusions() {
    m_n0 = m_nbLignes;
    m_tailles.assign(static_cast<Index>(m_n0), 1);
    m_centres.assign(static_cast<Index>(m_n0) * static_cast<Index>(m_nbColActives), 0.0);
    m_masses.assign(static_cast<Index>(m_n0), 0.0);
    for (int row = 0; row < m_n0; ++row) {
        CentreLigne(row, Centre(row));
        m_masses[static_cast<Index>(row)] = Masse(Centre(row));
    }
    m_groupesDepart.clear();
    m_niveauDepart = 100.0;
}

bool CMoteurClassification::PartitionInitiale(int k, unsigned graine) {
    std::unique_ptr<CCentresMobiles> typologie = CreerTypologie();
    std::vector<double> parIndividu;
    std::vector<double> parGroupe;
    if (!typologie->Executer(k, parIndividu, parGroupe, false, static_cast<int>(graine))) {
        m_erreur = typologie->GetErreur();
        return false;
    }
    m_n0 = k;
    m_groupesDepart.assign(static_cast<Index>(k), {});
    for (int row = 0; row < m_nbLignes; ++row)
        m_groupesDepart[static_cast<Index>(parIndividu[static_cast<Index>(row) * 2]) - 1].push_back(row);
    m_tailles.assign(static_cast<Index>(k), 0);
    m_masses.assign(static_cast<Index>(k), 0.0);
    m_centres.assign(static_cast<Index>(k) * static_cast<Index>(m_nbColActives), 0.0);
    for (int g = 0; g < k; ++g) {
        const std::vector<std::int32_t>& members = m_groupesDepart[static_cast<Index>(g)];
        if (!members.empty())
            CentreGroupe(members, Centre(g));
        for (std::int32_t row : members)
            m_inertieInter -= Inertie(DistanceCentreGeneral(row));
        m_masses[static_cast<Index>(g)] = Masse(Centre(g));
        m_tailles[static_cast<Index>(g)] = static_cast<std::int32_t>(members.size());
        m_inertieInter += static_cast<double>(members.size()) *
                          Inertie(DistanceCentreGeneralCentre(Centre(g), m_masses[static_cast<Index>(g)]));
    }
    m_niveauDepart = Niveau();
    if (std::isfinite(m_inertieInter))
        return true;
    m_erreur = Message(StringTable::kClassificationImpossible);
    return false;
}

double CMoteurClassification::DistanceElements(int i, int j) const {
    return Distance(Centre(i), m_masses[static_cast<Index>(i)], Centre(j), m_masses[static_cast<Index>(j)]);
}

bool CMoteurClassification::Comparable(double distance) {
    if (std::isfinite(distance) && distance < CMatriceTriangulaire::kRechercheMax)
        return true;
    m_erreur = Message(StringTable::kClassificationImpossible);
    return false;
}

bool CMoteurClassification::Progression(int step) {
    if (m_ui == nullptr || m_ui->ReportProgress(step))
        return true;
    m_annule = true;
    return false;
}

// Items at distance 0 from an earlier one share its row of distances instead of computing it.
bool CMoteurClassification::CalculerDistances() {
    std::vector<std::uint8_t> copied(static_cast<Index>(m_n0), 0);
    for (int i = 0; i < m_n0; ++i) {
        if (!Progression(i))
            return false;
        if (copied[static_cast<Index>(i)] != 0)
            continue;
        for (int j = i + 1; j < m_n0; ++j) {
            const double d = DistanceElements(i, j);
            if (!Comparable(d))
                return false;
            m_matrice->Fixer(i, j, d);
        }
        for (int j = i + 1; j < m_n0; ++j) {
            if (m_matrice->Donner(i, j) != 0.0 || copied[static_cast<Index>(j)] != 0)
                continue;
            copied[static_cast<Index>(j)] = 1;
            for (int l = j + 1; l < m_n0; ++l)
                m_matrice->Fixer(j, l, m_matrice->Donner(i, l));
        }
    }
    return true;
}

double CMoteurClassification::Niveau() const {
    if (m_inertieTotale == 0.0)
        return kValeurManquante;
    return std::max(0.0, m_inertieInter / m_inertieTotale * 100.0);
}

void CMoteurClassification::FusionnerElements(int i, int j) {
    const double ni = m_tailles[static_cast<Index>(i)];
    const double nj = m_tailles[static_cast<Index>(j)];
    m_inertieInter -= ni * Inertie(DistanceCentreGeneralCentre(Centre(i), m_masses[static_cast<Index>(i)])) +
                      nj * Inertie(DistanceCentreGeneralCentre(Centre(j), m_masses[static_cast<Index>(j)]));
    FusionnerCentres(Centre(i), ni, Centre(j), nj);
    m_masses[static_cast<Index>(i)] = Masse(Centre(i));
    m_tailles[static_cast<Index>(i)] += m_tailles[static_cast<Index>(j)];
    m_tailles[static_cast<Index>(j)] = -1;
    m_inertieInter += static_cast<double>(m_tailles[static_cast<Index>(i)]) *
                      Inertie(DistanceCentreGeneralCentre(Centre(i), m_masses[static_cast<Index>(i)]));
}

bool CMoteurClassification::RecalculerDistances(int i) {
    for (int l = 0; l < m_n0; ++l) {
        if (l == i || m_tailles[static_cast<Index>(l)] == -1)
            continue;
        const double d = DistanceElements(i, l);
        if (!Comparable(d))
            return false;
        if (l < i)
            m_matrice->Fixer(l, i, d);
        else
            m_matrice->Fixer(i, l, d);
    }
    return true;
}

// One pass: every pair listed is merged unless one of its items went in an earlier merge of the
// pass (its distance is then that of a removed item).
bool CMoteurClassification::Fusionner(const std::vector<std::pair<int, int>>& paires, double minimum, int& m) {
    for (const auto& [i, j] : paires) {
        if (m >= m_n0 - 1)
            break;
        if (m_matrice->Donner(i, j) == CMatriceTriangulaire::kSupprime)
            continue;
        FusionnerElements(i, j);
        m_matrice->SupprimerElement(j);
        if (minimum != 0.0 && !RecalculerDistances(i))
            return false;
        if (!std::isfinite(m_inertieInter)) {
            m_erreur = Message(StringTable::kClassificationImpossible);
            return false;
        }
        m_paires.emplace_back(i, j);
        m_niveaux.push_back(Niveau());
        ++m;
        if (!Progression(m_n0 + m - 1))
            return false;
    }
    return true;
}

void CMoteurClassification::ConstruireDendogramme(int nbGroupes, int nbAffiches, CDendogramme& dendogramme) const {
    if (m_n0 < 1)
        return;
    const MergeHistory history(m_paires, m_n0, m_groupesDepart);
    const double leafLevel = m_partition ? m_niveauDepart : 100.0;
    auto leafOrMerge = [&](int item, int before) {
        auto node = std::make_unique<CClassificationGroupe>();
        const int merge = history.LatestBefore(item, before);
        if (merge >= 0) {
            node->numeroFusion = merge;
            node->niveau = m_niveaux[static_cast<Index>(merge)];
        } else {
            node->membres = history.Base(item);
            node->nbInterviews = static_cast<std::int32_t>(node->membres.size());
            node->niveau = leafLevel;
        }
        return node;
    };
    // Depth first: a node's subtree is complete before its right sibling is added.
    std::function<void(CClassificationGroupe&, bool)> expand = [&](CClassificationGroupe& node, bool inPartition) {
        const int m = node.numeroFusion;
        const int clusters = m_n0 - m - 1;
        if (inPartition && clusters >= nbGroupes) {
            dendogramme.AjouterNoeud(&node);
            inPartition = false;
        }
        if (m < 0)
            return;
        const auto& [first, second] = m_paires[static_cast<Index>(m)];
        if (clusters < nbAffiches) {
            CClassificationGroupe* children[2] = {nullptr, nullptr};
            const int items[2] = {first, second};
            for (int c = 0; c < 2; ++c) {
                children[c] = dendogramme.AjouterNoeudArbre(leafOrMerge(items[c], m));
                children[c]->parent = &node;
                (c == 0 ? node.gauche : node.droite) = children[c];
                expand(*children[c], inPartition);
            }
            node.nbInterviews = children[0]->nbInterviews + children[1]->nbInterviews;
        } else {
            history.Members(first, m, node.membres);
            history.Members(second, m, node.membres);
            node.nbInterviews = static_cast<std::int32_t>(node.membres.size());
        }
    };
    std::unique_ptr<CClassificationGroupe> root;
    if (m_paires.empty()) {
        root = leafOrMerge(0, 0);
    } else {
        root = std::make_unique<CClassificationGroupe>();
        root->numeroFusion = static_cast<int>(m_paires.size()) - 1;
        root->niveau = 0.0;
    }
    expand(*dendogramme.AjouterNoeudArbre(std::move(root)), true);
    dendogramme.nbGroupesAffiches = nbAffiches;
    dendogramme.Placer();
    dendogramme.NumeroterNiveaux();
}
