#pragma once

#include <span>
#include <utility>
#include <vector>

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

// What the profile dialogs share on screen: the name row ("Libellé:", the names, "&Nouveau",
// "&Supprimer"), the questionnaire tree and the profile tree with the moves between them, a
// column of line buttons beside the profile tree, and "&OK" and "&Annuler". Alt+Right, Alt+Left,
// Alt+Up and Alt+Down click the buttons of the ids given. The widgets belong to the dialog.
class ProfileDialogFrame {
public:
    struct Keys {
        int right;
        int left;
        int up;
        int down;
    };

    ProfileDialogFrame(QDialog& dialog, std::span<const ProfileButtonSpec> moves,
                       std::span<const ProfileButtonSpec> lineButtons, Keys keys);

    // The button of an id; OK for an id that is none of them.
    QPushButton& Button(int id) const;

    QComboBox* names;
    QPushButton* nouveau;
    QPushButton* supprimer;
    CMultiTree* questionnaire;
    CMultiTree* profile;
    // Below the line buttons, for what a dialog adds.
    QVBoxLayout* lineColumn;
    QPushButton* ok;

private:
    std::vector<std::pair<int, QPushButton*>> m_buttons;
};
