#pragma once

#include "framework/UtilArbre.h"
#include "gui/requests/ProfileDialogFrame.h"
#include "tabulation/Profil.h"

#include <QDialog>
#include <array>
#include <functional>
#include <cstdint>
#include <memory>
#include <vector>

class CContexteEtude;
class CModaliteEtendue;
class CMultiTree;
class ModalityTreeMoves;
class CQuestionEtendue;
class NamedProfiles;
class QComboBox;
class QMenu;
class QPushButton;
class QToolButton;
class QTreeWidgetItem;

// "Profils": a profile of closed questions with the modalities chosen in each, built by moving
// questions and modalities from the questionnaire tree (left) into the profile tree (right) and
// back; an item is never in both. The profile may be broken by separator lines, its modalities
// styled (bold, italic, underlined, shadowed), sorted and pruned from the menu "Profil" of the
// profile tree, and kept under a name in the questionnaire (NamedProfiles).
//
// Items carry an integer: a question its index in the survey, a modality minus its index in the
// array of copies of the modalities of every question loaded, question after question, which the
// trees' moves (ModalityTreeMoves) keep, a separator -1.
class CProfilModalitesDlg : public QDialog {
    Q_OBJECT

public:
    enum { IDD = 180 };
    // The buttons by their ids.
    enum Button {
        kVersProfil = 1007,
        kToutVersProfil = 1009,
        kRetour = 1010,
        kToutRetour = 1012,
        kMonter = 1001,
        kDescendre = 1002,
        kSansManquantes = 1138,
        kSeparateur = 1139,
    };
    // The display options' boxes, in the order of the modality's options: bold, italic, shadow,
    // underline.
    static constexpr std::array<int, 4> kOptionBoxes{1023, 1024, 1020, 1025};

    // Edits a copy of the profile, on the questions of the level (-1: any level).
    CProfilModalitesDlg(CContexteEtude& context, int level, const CProfil& profile, QWidget* parent = nullptr);
    ~CProfilModalitesDlg() override;

    // Every question line must hold as many modalities as the first one.
    void SetMemeNombreModalites(bool flag) { m_sameNumber = flag; }
    // The edited profile, after OK.
    const CProfil& GetProfil() const { return m_profile; }

    void accept() override;

    CMultiTree& QuestionnaireTree() const { return *m_questionnaire; }
    CMultiTree& ProfileTree() const { return *m_profileTree; }
    QComboBox& NameCombo() const { return *m_frame->names; }
    QPushButton& Bouton(Button id) const;
    QPushButton& NouveauButton() const { return *m_frame->nouveau; }
    QPushButton& SupprimerButton() const { return *m_frame->supprimer; }
    QToolButton& OptionBox(int option) const { return *m_optionBoxes.at(static_cast<std::size_t>(option)); }
    QPushButton& OkButton() const { return *m_frame->ok; }
    NamedProfiles& Noms() const { return *m_named; }
    // The menu "Profil" on the item (null: away from any item), as a right-click opens it.
    QMenu& ProfileMenu(QTreeWidgetItem* item);

    // The menu's commands.
    void TrierParFrequence();
    void TrierSelonQuestionnaire();
    void TrierAlphabetique();
    void EnleverFrequencesNulles();
    // The missing-answer modalities (-1 non-response, -2 not asked) of every line: mode 0 leaves
    // them, 1 adds them from the questionnaire tree, 2 removes them.
    void ModalitesManquantes(int nonResponse, int notAsked);

private:
    void BuildControls();

    QTreeWidgetItem* NewSeparatorItem(int position) const;
    bool IsInLevel(const CQuestionEtendue& question) const;

    // Moves, the items shown (selected and scrolled to) when asked.
    void MoveQuestion(QTreeWidgetItem* item, CMultiTree& source, CMultiTree& target, bool show,
                      std::vector<int>& moved);
    void MoveModality(QTreeWidgetItem* item, CMultiTree& target, bool show);
    void DropMissingModality(QTreeWidgetItem* item);
    void MoveSelected(CMultiTree& source, CMultiTree& target);
    void MoveEverything(CMultiTree& source, CMultiTree& target);
    void MoveLine(bool up);
    void InsertSeparator();
    void OnOptionBox(int option);
    void ShowOptionsOf(QTreeWidgetItem* item);
    void OnProfileContextMenu(const QPoint& point);

    // The menu's work on the line of the item remembered, or on every question line.
    std::vector<QTreeWidgetItem*> LinesOfMenu() const;
    void SortLine(QTreeWidgetItem& line, const std::function<bool(const QTreeWidgetItem&, const QTreeWidgetItem&)>& before);
    bool CountLine(QTreeWidgetItem& line);

    // The profile and the trees.
    bool BuildProfile(CProfil& profile);
    void ShowProfile(const CProfil& profile);
    bool SameNumberOfModalities();
    void Modified();

    CContexteEtude& m_context;
    int m_level;
    bool m_sameNumber = false;
    CProfil m_profile;
    CUtilArbre m_icons;
    QTreeWidgetItem* m_menuItem = nullptr;

    CMultiTree* m_questionnaire = nullptr;
    CMultiTree* m_profileTree = nullptr;
    std::unique_ptr<ProfileDialogFrame> m_frame;
    std::unique_ptr<ModalityTreeMoves> m_trees; // the items of both trees and the modalities they show
    std::array<QToolButton*, 4> m_optionBoxes{};
    QMenu* m_menu = nullptr;
    NamedProfiles* m_named = nullptr;
};
