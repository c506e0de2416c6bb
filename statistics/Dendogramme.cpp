#include "statistics/Dendogramme.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace {

// Leaf spacing, row step and margin of each mode, in pixels.
const CDendogramme::Geometrie kGeometries[] = {
    {10, 20, 8},  // reduced: a circle of radius 4 per node
    {34, 55, 28}, // detailed: a box of 50 x 28 per node
};

} // namespace

const CDendogramme::Geometrie& CDendogramme::GeometrieMode(Mode mode) { return kGeometries[static_cast<int>(mode)]; }

CClassificationGroupe* CDendogramme::AjouterNoeudArbre(std::unique_ptr<CClassificationGroupe> noeud) {
    m_noeuds.push_back(std::move(noeud));
    return m_noeuds.back().get();
}

void CDendogramme::AjouterNoeud(CClassificationGroupe* noeud) {
    m_partition.push_back(noeud);
    noeud->numeroGroupe = static_cast<int>(m_partition.size());
}

int CDendogramme::NombreFeuilles(const CClassificationGroupe& noeud) {
    if (!noeud.ADeuxEnfants())
        return 1;
    return NombreFeuilles(*noeud.gauche) + NombreFeuilles(*noeud.droite);
}

std::vector<std::int32_t> CDendogramme::Interviews(const CClassificationGroupe& noeud) {
    std::vector<std::int32_t> rows;
    std::vector<const CClassificationGroupe*> pending{&noeud};
    while (!pending.empty()) {
        const CClassificationGroupe* node = pending.back();
        pending.pop_back();
        rows.insert(rows.end(), node->membres.begin(), node->membres.end());
        if (node->droite != nullptr)
            pending.push_back(node->droite);
        if (node->gauche != nullptr)
            pending.push_back(node->gauche);
    }
    return rows;
}

double CDendogramme::PlacerNoeud(CClassificationGroupe& noeud, double debut) {
    if (!noeud.ADeuxEnfants()) {
        noeud.position = debut;
        return noeud.position;
    }
    const double left = PlacerNoeud(*noeud.gauche, debut);
    const double right = PlacerNoeud(*noeud.droite, debut + NombreFeuilles(*noeud.gauche));
    noeud.position = (left + right) * 0.5;
    return noeud.position;
}

void CDendogramme::Placer() {
    if (CClassificationGroupe* root = Racine())
        PlacerNoeud(*root, 0.0);
}

void CDendogramme::NumeroterNiveaux() {
    std::set<int> merges;
    for (const auto& node : m_noeuds)
        merges.insert(node->numeroFusion);
    const std::vector<int> ordered(merges.begin(), merges.end());
    for (const auto& node : m_noeuds)
        node->rangDessin = static_cast<int>(std::lower_bound(ordered.begin(), ordered.end(), node->numeroFusion) -
                                            ordered.begin());
    m_nbRangs = static_cast<int>(ordered.size());
}

CDendogramme::Point CDendogramme::Coordonnees(const CClassificationGroupe& noeud, Mode mode) {
    const Geometrie& g = GeometrieMode(mode);
    return {g.pasRang * noeud.rangDessin + g.marge,
            static_cast<int>(std::trunc(noeud.position * g.espacementFeuilles)) + g.espacementFeuilles};
}

CDendogramme::Point CDendogramme::TailleDefilement(Mode mode) const {
    const Geometrie& g = GeometrieMode(mode);
    return {g.pasRang * m_nbRangs + 50, (nbGroupesAffiches + 2) * g.espacementFeuilles};
}
