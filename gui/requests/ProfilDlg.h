#pragma once

#include "gui/requests/ProfileDialogFrame.h"
#include "tabulation/Profil.h"

#include <QDialog>
#include <memory>
#include <vector>

class CContexteEtude;
class CMultiTree;
class CQuestionEtendue;
class NamedProfiles;
class QComboBox;
class QuestionTreeMoves;
class QPushButton;
class QTreeWidgetItem;

// "Profils": a profile of numeric questions, or of open questions, built by moving questions from
// the questionnaire tree (left) into the profile tree (right) and back; an item is never in both.
// The profile may be broken by separator lines and kept under a name in the questionnaire
// (NamedProfiles).
//
// Items carry an integer: a question its index in the survey, a separator -1.
class CProfilDlg : public QDialog {
    Q_OBJECT

public:
    enum { IDD = 184 };
    enum Button {
        kVersProfil = 1007,
        kToutVersProfil = 1009,
        kRetour = 1010,
        kToutRetour = 1012,
        kMonter = 1001,
        kDescendre = 1002,
        kSeparateur = 1139,
    };

    // Edits a copy of the profile, on the questions of the level (-1: the questions of any level
    // are listed, those of the interviews can be moved). `ouvertes`: open questions in place of
    // numeric ones.
    CProfilDlg(CContexteEtude& context, int level, const CProfil& profile, bool ouvertes, QWidget* parent = nullptr);
    ~CProfilDlg() override;

    const CProfil& GetProfil() const { return m_profile; }

    void accept() override;

    CMultiTree& QuestionnaireTree() const { return *m_questionnaire; }
    CMultiTree& ProfileTree() const { return *m_profileTree; }
    QComboBox& NameCombo() const { return *m_frame->names; }
    QPushButton& Bouton(Button id) const;
    QPushButton& NouveauButton() const { return *m_frame->nouveau; }
    QPushButton& SupprimerButton() const { return *m_frame->supprimer; }
    QPushButton& OkButton() const { return *m_frame->ok; }
    NamedProfiles& Noms() const { return *m_named; }

private:
    void BuildControls();
    void FillQuestionnaire();
    bool IsInLevel(const CQuestionEtendue& question) const;
    void MoveItem(QTreeWidgetItem* item, CMultiTree& source, CMultiTree& target, bool show,
                  std::vector<QTreeWidgetItem*>& visited);
    void MoveSelected(CMultiTree& source, CMultiTree& target);
    void MoveEverything(CMultiTree& source, CMultiTree& target);
    void MoveLine(bool up);
    void InsertSeparator();
    bool BuildProfile(CProfil& profile);
    void ShowProfile(const CProfil& profile);
    void Modified();

    CContexteEtude& m_context;
    int m_level;
    bool m_ouvertes;
    CProfil m_profile;

    CMultiTree* m_questionnaire = nullptr;
    CMultiTree* m_profileTree = nullptr;
    std::unique_ptr<ProfileDialogFrame> m_frame;
    std::unique_ptr<QuestionTreeMoves> m_moves;
    NamedProfiles* m_named = nullptr;
};
