#pragma once

#include <cstdint>
#include <vector>

#include "statistics/Dendogramme.h"

// What the dendrogram window draws, in the pixels of a mode: a blue line from every node to
// each of its children (to 5 pixels left of the node at the child's height, then to the child),
// then the node itself (a circle in the reduced mode, a box in the detailed one), red with dark
// red texts for a group of the partition, black otherwise. In the detailed mode the box is
// crossed at its middle; its upper half names the group, its lower half shows the number of
// interviews at the left and the level at the right. The window turns the numbers into texts.
struct DendogrammeDessin {
    struct Rect {
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
        bool operator==(const Rect&) const = default;
    };
    // A line of three points: the parent, the corner, the child.
    struct Trait {
        CDendogramme::Point depart;
        CDendogramme::Point coude;
        CDendogramme::Point arrivee;
        bool operator==(const Trait&) const = default;
    };
    struct Noeud {
        const CClassificationGroupe* groupe = nullptr;
        CDendogramme::Point centre;
        Rect forme;           // the circle's or the box's bounds
        bool partition = false;
        // Detailed mode only: where the texts go.
        Rect zoneGroupe;      // centred "Groupe n", partition nodes only
        Rect zoneInterviews;  // left-aligned number of interviews
        Rect zoneNiveau;      // right-aligned level, one decimal
    };

    CDendogramme::Mode mode = CDendogramme::Mode::Reduit;
    std::vector<Trait> traits; // in drawing order: a node's lines to its children before their subtrees
    std::vector<Noeud> noeuds; // in drawing order: children before their parent
    CDendogramme::Point taille;

    static DendogrammeDessin Dessiner(const CDendogramme& dendogramme, CDendogramme::Mode mode);
};
