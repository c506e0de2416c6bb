#include "statistics/DendogrammeDessin.h"

namespace {

// Half sizes of a node: a circle of radius 4, a box of 50 x 28.
constexpr int kRayon = 4;
constexpr int kDemiLargeur = 25;
constexpr int kDemiHauteur = 14;
// How far left of a node its lines turn towards a child.
constexpr int kCoude = 5;

void Draw(const CClassificationGroupe& node, CDendogramme::Mode mode, DendogrammeDessin& drawing) {
    const CDendogramme::Point at = CDendogramme::Coordonnees(node, mode);
    for (const CClassificationGroupe* child : {node.gauche, node.droite}) {
        if (child == nullptr)
            continue;
        const CDendogramme::Point to = CDendogramme::Coordonnees(*child, mode);
        drawing.traits.push_back({at, {at.x - kCoude, to.y}, to});
        Draw(*child, mode, drawing);
    }
    DendogrammeDessin::Noeud shape;
    shape.groupe = &node;
    shape.centre = at;
    shape.partition = node.numeroGroupe != 0;
    if (mode == CDendogramme::Mode::Reduit) {
        shape.forme = {at.x - kRayon, at.y - kRayon, at.x + kRayon, at.y + kRayon};
    } else {
        shape.forme = {at.x - kDemiLargeur, at.y - kDemiHauteur, at.x + kDemiLargeur, at.y + kDemiHauteur};
        if (shape.partition)
            shape.zoneGroupe = {at.x - kDemiLargeur, at.y - kDemiHauteur, at.x + kDemiLargeur, at.y};
        shape.zoneInterviews = {at.x - kDemiLargeur + 1, at.y + 1, at.x - 1, at.y + kDemiHauteur};
        shape.zoneNiveau = {at.x + 1, at.y + 1, at.x + kDemiLargeur - 1, at.y + kDemiHauteur};
    }
    drawing.noeuds.push_back(shape);
}

} // namespace

DendogrammeDessin DendogrammeDessin::Dessiner(const CDendogramme& dendogramme, CDendogramme::Mode mode) {
    DendogrammeDessin drawing;
    drawing.mode = mode;
    drawing.taille = dendogramme.TailleDefilement(mode);
    if (const CClassificationGroupe* root = dendogramme.Racine())
        Draw(*root, mode, drawing);
    return drawing;
}
