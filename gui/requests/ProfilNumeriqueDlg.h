#pragma once

#include "gui/requests/PairProfileButtons.h"
#include "gui/requests/QuestionTreeMoves.h"
#include "tabulation/Profil.h"

#include <QDialog>
#include <memory>

class CContexteEtude;
class CMultiTree;
class NamedProfiles;
class QComboBox;
class QPushButton;

// "Profils numériques": the active and the illustrative numeric questions of an analysis, a pair
// of profiles kept under a name in the questionnaire. The numeric questions of the interviews
// are moved from the questionnaire tree into the active tree, from there to the illustrative
// tree, and back; the active side may not be left empty.
//
// An analysis window gives its two profiles and, after OK, takes them back with GetProfils.
class CProfilNumeriqueDlg : public QDialog, public PairProfileButtons {
    Q_OBJECT

public:
    enum { IDD = 229 };

    CProfilNumeriqueDlg(CContexteEtude& context, const CProfil& active, const CProfil& illustrative,
                        QWidget* parent = nullptr);
    ~CProfilNumeriqueDlg() override;

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

private:
    void MoveCurrent(QTreeWidget& source, QTreeWidget& target);
    void MoveAll(QTreeWidget& source, QTreeWidget& target);
    void MoveLine(QTreeWidget& tree, bool up);
    bool BuildProfiles(CProfil& active);
    void ShowProfiles(const CProfil& active);

    CContexteEtude& m_context;
    CProfil m_active;
    CProfil m_illustrative; // the one shown with the active profile, then the one built with it
    std::unique_ptr<ProfileDialogFrame> m_frame;
    std::unique_ptr<QuestionTreeMoves> m_moves;
    NamedProfiles* m_named = nullptr;
};
