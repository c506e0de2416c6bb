#pragma once

#include <memory>
#include <string>
#include <vector>

#include "statistics/ClassificationGroupe.h"

class CMappingSource;

// The tree of a hierarchical classification as it is drawn: its nodes (the root first, then
// depth first, left before right), the nodes that are the groups of the chosen partition, and
// where every node goes. Placing gives the leaves the positions 0, 1, 2, ... from the top and puts
// each merge halfway between its two children; the drawing rows number the distinct merge
// numbers of the tree from the left.
//
// The geometry of the two ways of drawing it (reduced and detailed) is here too, in the
// device-independent pixels of the view: what the view draws is computed and tested without it.
class CDendogramme {
public:
    enum class Mode { Reduit = 0, Detaille = 1 };

    // The sizes of a mode, in pixels.
    struct Geometrie {
        int espacementFeuilles;
        int pasRang;
        int marge;
    };
    static const Geometrie& GeometrieMode(Mode mode);

    struct Point {
        int x = 0;
        int y = 0;
        bool operator==(const Point&) const = default;
    };

    std::string titre;
    const CMappingSource* source = nullptr; // the classification window's labels (not owned)
    int nbGroupesAffiches = 0;
    const void* documentSource = nullptr;   // the classification window's document (not owned)

    // Takes the node (the first one is the root).
    CClassificationGroupe* AjouterNoeudArbre(std::unique_ptr<CClassificationGroupe> noeud);
    // Adds the node to the partition: its group number becomes its place there (1-based).
    void AjouterNoeud(CClassificationGroupe* noeud);
    void Placer();
    void NumeroterNiveaux();

    const std::vector<std::unique_ptr<CClassificationGroupe>>& Noeuds() const { return m_noeuds; }
    CClassificationGroupe* Racine() const { return m_noeuds.empty() ? nullptr : m_noeuds.front().get(); }
    int NombreGroupes() const { return static_cast<int>(m_partition.size()); }
    CClassificationGroupe* Groupe(int i) const { return m_partition[static_cast<std::size_t>(i)]; }
    int NombreRangs() const { return m_nbRangs; }

    static int NombreFeuilles(const CClassificationGroupe& noeud);
    // The interview rows of every node in the subtree, in drawing order.
    static std::vector<std::int32_t> Interviews(const CClassificationGroupe& noeud);

    // Where a node is drawn, and the size of the whole drawing (not capped: every node can be
    // scrolled to).
    static Point Coordonnees(const CClassificationGroupe& noeud, Mode mode);
    Point TailleDefilement(Mode mode) const;

private:
    double PlacerNoeud(CClassificationGroupe& noeud, double debut);

    std::vector<std::unique_ptr<CClassificationGroupe>> m_noeuds;
    std::vector<CClassificationGroupe*> m_partition;
    int m_nbRangs = 0;
};
