#pragma once

#include "gui/requests/NamedProfiles.h"
#include "gui/requests/ProfileDialogFrame.h"
#include "tabulation/Profil.h"

#include <QDialog>
#include <memory>
#include <span>

class CContexteEtude;
class CMultiTree;
class QComboBox;
class QPushButton;
class QTreeWidget;

// What the two pair dialogs of the analysis windows ("Profils" of modalities, "Profils
// numériques") share: the ids of their buttons, the frame with those buttons (questionnaire,
// active and illustrative trees), the wiring of each button to its move, the pair kept under a
// name and the two profiles handed back. What a move does to an item (a question, or a question
// with its modalities) and how the trees make a profile are the dialogs' own.
//
// An analysis window gives its two profiles and, after OK, takes them back with GetProfils; the
// active side may not be left empty.
class PairProfileDialog : public QDialog {
    Q_OBJECT

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

    ~PairProfileDialog() override;

    // The two profiles chosen, after OK; the name and id go with the active one.
    void GetProfils(CProfil& active, CProfil& illustrative) const;
    void accept() override;

    CMultiTree& QuestionnaireTree() const { return *m_frame->questionnaire; }
    CMultiTree& ActiveTree() const { return *m_frame->profile; }
    CMultiTree& IllustrativeTree() const { return *m_frame->illustrative; }
    QComboBox& NameCombo() const { return *m_frame->names; }
    QPushButton& Bouton(Button id) const { return m_frame->Button(id); }
    QPushButton& NouveauButton() const { return *m_frame->nouveau; }
    QPushButton& SupprimerButton() const { return *m_frame->supprimer; }
    QPushButton& OkButton() const { return *m_frame->ok; }
    NamedProfiles& Noms() const { return *m_named; }

protected:
    // The dialog and its frame; `moreActiveLines` go below the active tree's line buttons.
    PairProfileDialog(CContexteEtude& context, const CProfil& active, const CProfil& illustrative,
                      const QString& title, const QString& name,
                      std::span<const ProfileButtonSpec> moreActiveLines, QWidget* parent);

    // The last step of a dialog's construction, once its questionnaire tree is filled: each
    // button wired to its move, the named pairs of `store` opened on the active profile, the
    // dialog fitted to the screen.
    void Ouvrir(NamedProfiles::Store store);

    // The moves: the current item of a tree, every line of a tree, a line up or down.
    virtual void MoveCurrent(QTreeWidget& source, QTreeWidget& target) = 0;
    virtual void MoveAll(QTreeWidget& source, QTreeWidget& target) = 0;
    virtual void MoveLine(QTreeWidget& tree, bool up) = 0;
    // The active profile from the active tree (false, after telling the analyst, when it is
    // empty), the illustrative one kept beside it; the two profiles shown in the trees.
    virtual bool BuildProfiles(CProfil& active) = 0;
    virtual void ShowProfiles(const CProfil& active) = 0;

    CContexteEtude& m_context;
    CProfil m_active;
    CProfil m_illustrative; // the one shown with the active profile, then the one built with it
    std::unique_ptr<ProfileDialogFrame> m_frame;
    NamedProfiles* m_named = nullptr;
};
