#pragma once

#include "gui/requests/ProfileDialogFrame.h"

#include <functional>
#include <memory>
#include <span>

class QDialog;
class QTreeWidget;

// What the two pair dialogs of the analysis windows ("Profils" of modalities, "Profils
// numériques") share: the ids of their buttons, the frame with those buttons (questionnaire,
// active and illustrative trees), and the wiring of each button to its move. The dialogs derive
// from it for the ids; what a move does to an item (a question, or a question with modalities)
// is theirs.
class PairProfileButtons {
public:
    enum Button : int {
        kVersActives = 1007,
        kToutVersActives = 1009,
        kRetour = 1010,
        kToutRetour = 1012,
        kVersIllustratives = 1013,
        kToutVersIllustratives = 1014,
        kIllustrativeVersActives = 1016,
        kToutIllustrativesVersActives = 1017,
        kMonterActive = 1001,
        kDescendreActive = 1002,
        kMonterIllustrative = 1003,
        kDescendreIllustrative = 1004,
    };

    // The moves of a dialog: the current item of a tree, every line of a tree, a line up or down.
    struct Moves {
        std::function<void(QTreeWidget& source, QTreeWidget& target)> current;
        std::function<void(QTreeWidget& source, QTreeWidget& target)> all;
        std::function<void(QTreeWidget& tree, bool up)> line;
    };

    // The frame of a pair dialog; `moreActiveLines` go below the active tree's line buttons.
    static std::unique_ptr<ProfileDialogFrame> NewFrame(QDialog& dialog,
                                                        std::span<const ProfileButtonSpec> moreActiveLines = {});
    // Wires each button of the pair to its move between the frame's trees.
    static void Connect(ProfileDialogFrame& frame, const Moves& moves);
};
