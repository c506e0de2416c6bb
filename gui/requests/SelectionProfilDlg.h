#pragma once

#include "tabulation/Profil.h"

#include <QDialog>
#include <memory>

class CContexteEtude;
class CMultiTree;
class ProfileDialogFrame;
class QuestionTreeMoves;
class QPushButton;
class QTreeWidgetItem;

// "Profils": one profile of questions for a computed variable, without named profiles. The
// questions whose answers the interviews hold themselves are moved from the questionnaire tree
// into the profile tree and back; both trees keep the questionnaire's order.
class CSelectionProfilDlg : public QDialog {
    Q_OBJECT

public:
    enum { IDD = 286 };
    enum Button {
        kVersProfil = 1007,
        kToutVersProfil = 1009,
        kRetour = 1010,
        kToutRetour = 1012,
    };

    // Edits a copy of the profile; its id and label stay as given.
    CSelectionProfilDlg(CContexteEtude& context, const CProfil& profile, QWidget* parent = nullptr);
    ~CSelectionProfilDlg() override;

    const CProfil& GetProfil() const { return m_profile; }
    void accept() override;

    CMultiTree& QuestionnaireTree() const;
    CMultiTree& ProfileTree() const;
    QPushButton& Bouton(Button id) const;
    QPushButton& OkButton() const;

private:
    void HideNames();
    void FillQuestionnaire();
    void ShowProfile();
    void MoveSelected(CMultiTree& source, CMultiTree& target);

    CContexteEtude& m_context;
    CProfil m_profile;
    std::unique_ptr<ProfileDialogFrame> m_frame;
    std::unique_ptr<QuestionTreeMoves> m_moves;
};
