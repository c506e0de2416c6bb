#include "gui/requests/PairProfileButtons.h"

#include "framework/MultiTree.h"

#include <QDialog>
#include <QPushButton>
#include <vector>

namespace {

using B = PairProfileButtons;

constexpr ProfileButtonSpec kMoveButtons[] = {
    {B::kVersActives, ">", "Ajouter aux actives (Alt+Droite)"},
    {B::kToutVersActives, ">>", "Ajouter toutes les questions aux actives"},
    {B::kRetour, "<", "Retirer des actives (Alt+Gauche)"},
    {B::kToutRetour, "<<", "Retirer toutes les actives"},
};

constexpr ProfileButtonSpec kActiveLines[] = {
    {B::kMonterActive, "▲", "Monter la ligne (Alt+Haut)"},
    {B::kDescendreActive, "▼", "Descendre la ligne (Alt+Bas)"},
};

constexpr ProfileButtonSpec kPairMoves[] = {
    {B::kVersIllustratives, "↓", "Passer en illustratives"},
    {B::kToutVersIllustratives, "⇊", "Passer toutes les actives en illustratives"},
    {B::kIllustrativeVersActives, "↑", "Passer en actives"},
    {B::kToutIllustrativesVersActives, "⇈", "Passer toutes les illustratives en actives"},
};

constexpr ProfileButtonSpec kIllustrativeLines[] = {
    {B::kMonterIllustrative, "▲", "Monter la ligne"},
    {B::kDescendreIllustrative, "▼", "Descendre la ligne"},
};

// Which tree each button takes from and gives to: 0 the questionnaire, 1 the actives, 2 the
// illustratives; a line button names its tree twice.
struct Wiring {
    B::Button id;
    enum Kind { kCurrent, kAll, kUp, kDown } kind;
    int source;
    int target;
};

constexpr Wiring kWiring[] = {
    {B::kVersActives, Wiring::kCurrent, 0, 1},
    {B::kToutVersActives, Wiring::kAll, 0, 1},
    {B::kRetour, Wiring::kCurrent, 1, 0},
    {B::kToutRetour, Wiring::kAll, 1, 0},
    {B::kVersIllustratives, Wiring::kCurrent, 1, 2},
    {B::kToutVersIllustratives, Wiring::kAll, 1, 2},
    {B::kIllustrativeVersActives, Wiring::kCurrent, 2, 1},
    {B::kToutIllustrativesVersActives, Wiring::kAll, 2, 1},
    {B::kMonterActive, Wiring::kUp, 1, 1},
    {B::kDescendreActive, Wiring::kDown, 1, 1},
    {B::kMonterIllustrative, Wiring::kUp, 2, 2},
    {B::kDescendreIllustrative, Wiring::kDown, 2, 2},
};

} // namespace

std::unique_ptr<ProfileDialogFrame> PairProfileButtons::NewFrame(QDialog& dialog,
                                                                 std::span<const ProfileButtonSpec> moreActiveLines) {
    std::vector<ProfileButtonSpec> activeLines(std::begin(kActiveLines), std::end(kActiveLines));
    activeLines.insert(activeLines.end(), moreActiveLines.begin(), moreActiveLines.end());
    ProfileDialogFrame::Extras extras;
    extras.pairMoves = kPairMoves;
    extras.illustrativeLineButtons = kIllustrativeLines;
    return std::make_unique<ProfileDialogFrame>(
        dialog, kMoveButtons, activeLines,
        ProfileDialogFrame::Keys{kVersActives, kRetour, kMonterActive, kDescendreActive}, extras);
}

void PairProfileButtons::Connect(ProfileDialogFrame& frame, const Moves& moves) {
    QTreeWidget* trees[] = {frame.questionnaire, frame.profile, frame.illustrative};
    for (const Wiring& wiring : kWiring) {
        QTreeWidget& source = *trees[wiring.source];
        QTreeWidget& target = *trees[wiring.target];
        QPushButton& button = frame.Button(wiring.id);
        switch (wiring.kind) {
        case Wiring::kCurrent:
            QObject::connect(&button, &QPushButton::clicked, &button,
                             [&source, &target, move = moves.current] { move(source, target); });
            break;
        case Wiring::kAll:
            QObject::connect(&button, &QPushButton::clicked, &button,
                             [&source, &target, move = moves.all] { move(source, target); });
            break;
        case Wiring::kUp:
        case Wiring::kDown:
            QObject::connect(&button, &QPushButton::clicked, &button,
                             [&source, up = wiring.kind == Wiring::kUp, move = moves.line] { move(source, up); });
            break;
        }
    }
}
