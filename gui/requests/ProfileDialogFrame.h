#pragma once

#include "gui/requests/NamedProfiles.h"

#include <functional>
#include <span>
#include <utility>
#include <vector>

class CContexteEtude;
class CMultiTree;
class QComboBox;
class QDialog;
class QPushButton;
class QVBoxLayout;

// A button of a profile dialog: its id, its text and what its tip says.
struct ProfileButtonSpec {
    int id;
    const char* text;
    const char* tip;
};

// What a pair dialog has beside the questionnaire and profile trees: the moves between the active
// and the illustrative tree, and the illustrative tree's own line buttons.
struct ProfileDialogExtras {
    std::span<const ProfileButtonSpec> pairMoves{};
    std::span<const ProfileButtonSpec> illustrativeLineButtons{};
};

// What the profile dialogs share on screen: the name row ("Libellé:", the names, "&Nouveau",
// "&Supprimer"), the questionnaire tree and the profile tree with the moves between them, a
// column of line buttons beside the profile tree, and "&OK" and "&Annuler". The pair dialogs add
// the illustrative tree under the profile tree, which is then the active one ("Actives",
// "Illustratives"), with the moves between the two and its own line buttons. Alt+Right, Alt+Left,
// Alt+Up and Alt+Down click the buttons of the ids given. The widgets belong to the dialog.
//
// Ids are those of the buttons the frame made; 0 stands for a button the dialog does not have.
// Any other id is a fault of the dialog's code: Button and the wiring throw std::logic_error
// rather than hand it another button.
class ProfileDialogFrame {
public:
    using Extras = ProfileDialogExtras;
    // The buttons Alt+Right, Alt+Left, Alt+Up and Alt+Down click (0: the key does nothing).
    struct Keys {
        int right;
        int left;
        int up;
        int down;
    };

    ProfileDialogFrame(QDialog& dialog, std::span<const ProfileButtonSpec> moves,
                       std::span<const ProfileButtonSpec> lineButtons, Keys keys, ProfileDialogExtras extras = {});

    // The ids of the buttons that move items between the trees and lines within the profile (0:
    // the dialog has no such button, and no move for it).
    struct MoveButtons {
        int toProfile;
        int allToProfile;
        int back;
        int allBack;
        int up;
        int down;
        int separator;
    };
    // What the dialog does for each of them.
    struct Moves {
        std::function<void(CMultiTree& source, CMultiTree& target)> selected;
        std::function<void(CMultiTree& source, CMultiTree& target)> everything;
        std::function<void(bool up)> line;
        std::function<void()> separator;
    };

    // The button of an id, null for one the frame did not make.
    QPushButton* FindButton(int id) const;
    // The button of an id; std::logic_error for one the frame did not make.
    QPushButton& Button(int id) const;

    // Wires the move and line buttons to the dialog's moves, the profile tree being the target of
    // the moves towards the profile.
    void ConnectMoves(const MoveButtons& ids, Moves moves);
    // Keeps the dialog's profiles under names in the questionnaire through the name row; the object
    // belongs to `dialog`, which opens it once it holds it (opening calls back into the dialog).
    NamedProfiles* NameProfiles(CContexteEtude& context, NamedProfiles::Store store, NamedProfiles::Trees trees,
                                QDialog& dialog);

    QComboBox* names;
    QPushButton* nouveau;
    QPushButton* supprimer;
    CMultiTree* questionnaire;
    CMultiTree* profile;
    CMultiTree* illustrative = nullptr; // the pair dialogs' only
    // Below the line buttons, for what a dialog adds.
    QVBoxLayout* lineColumn;
    QPushButton* ok;

private:
    QVBoxLayout* NewButtonColumn(QDialog& dialog, std::span<const ProfileButtonSpec> specs);
    // The profile tree with its line buttons and, for a pair dialog, the illustrative tree below.
    QVBoxLayout* ProfileSide(QDialog& dialog, QVBoxLayout& lineButtons, ProfileDialogExtras extras);

    std::vector<std::pair<int, QPushButton*>> m_buttons;
};
