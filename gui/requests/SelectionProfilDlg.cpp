#include "gui/requests/SelectionProfilDlg.h"

#include "app/ContexteEtude.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "app/UserInterface.h"
#include "framework/MultiTree.h"
#include "framework/WindowSize.h"
#include "gui/requests/ProfileDialogFrame.h"
#include "gui/requests/QuestionTreeMoves.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <vector>

namespace {

constexpr ProfileButtonSpec kMoveButtons[] = {
    {CSelectionProfilDlg::kVersProfil, ">", "Ajouter la sélection au profil (Alt+Droite)"},
    {CSelectionProfilDlg::kToutVersProfil, ">>", "Ajouter toutes les questions"},
    {CSelectionProfilDlg::kRetour, "<", "Retirer la sélection du profil (Alt+Gauche)"},
    {CSelectionProfilDlg::kToutRetour, "<<", "Retirer toutes les lignes du profil"},
};

// The questions whose answers the interviews hold themselves: a profile of a computed variable
// reads their entry durations, which loop questions, recodes and computed questions do not have.
bool Offered(const CQuestionEtendue& question) {
    return question.kind == 1 && question.GetNbreValeurs() == 0 && question.recodeId == 0 &&
           question.GetQuestionCalculee() == nullptr;
}

} // namespace

CSelectionProfilDlg::CSelectionProfilDlg(CContexteEtude& context, const CProfil& profile, QWidget* parent)
    : QDialog(parent), m_context(context), m_profile(profile),
      m_frame(std::make_unique<ProfileDialogFrame>(*this, kMoveButtons, std::span<const ProfileButtonSpec>{},
                                                   ProfileDialogFrame::Keys{kVersProfil, kRetour, 0, 0})),
      m_moves(std::make_unique<QuestionTreeMoves>(context, *m_frame->questionnaire, true)) {
    setWindowTitle(QStringLiteral("Profils"));
    setObjectName(QStringLiteral("CSelectionProfilDlg"));
    m_frame->ok->setText(QStringLiteral("OK"));
    for (CMultiTree* tree : {m_frame->questionnaire, m_frame->profile})
        tree->setRootIsDecorated(false);
    HideNames();
    // No line buttons: the profile keeps the questionnaire's order.
    m_frame->ConnectMoves({kVersProfil, kToutVersProfil, kRetour, kToutRetour, 0, 0, 0},
                          {[this](CMultiTree& source, CMultiTree& target) { MoveSelected(source, target); },
                           [this](CMultiTree& source, CMultiTree& target) { m_moves->MoveAll(source, target); },
                           {},
                           {}});
    FillQuestionnaire();
    ShowProfile();
    WindowSize::FitContentsToScreen(*this);
}

CSelectionProfilDlg::~CSelectionProfilDlg() = default;

CMultiTree& CSelectionProfilDlg::QuestionnaireTree() const {
    return *m_frame->questionnaire;
}

CMultiTree& CSelectionProfilDlg::ProfileTree() const {
    return *m_frame->profile;
}

QPushButton& CSelectionProfilDlg::Bouton(Button id) const {
    return m_frame->Button(id);
}

QPushButton& CSelectionProfilDlg::OkButton() const {
    return *m_frame->ok;
}

// The shared frame has a name row; this profile has no name.
void CSelectionProfilDlg::HideNames() {
    for (QLabel* label : findChildren<QLabel*>())
        if (label->buddy() == m_frame->names)
            label->hide();
    m_frame->names->hide();
    m_frame->nouveau->hide();
    m_frame->supprimer->hide();
}

void CSelectionProfilDlg::FillQuestionnaire() {
    for (int i = 0; i < m_context.DonnerNbreQuestions(); ++i)
        if (const CQuestionEtendue* question = m_context.DonnerQuestion(i); question != nullptr && Offered(*question))
            m_moves->NewItem(*m_frame->questionnaire, -1, i);
}

void CSelectionProfilDlg::ShowProfile() {
    for (int line = 0; line < m_profile.GetCount(); ++line)
        if (QTreeWidgetItem* item = m_moves->ItemOf(*m_frame->questionnaire,
                                                    m_profile.IsSeparator(line) ? nullptr : m_profile.GetQuestion(line)))
            m_moves->Move(item, *m_frame->profile, false);
}

void CSelectionProfilDlg::MoveSelected(CMultiTree& source, CMultiTree& target) {
    std::vector<QTreeWidgetItem*> taken;
    for (QTreeWidgetItem* item = source.GetFirstSelectedItem(); item != nullptr; item = source.GetNextSelectedItem(item))
        taken.push_back(item);
    target.SelectAll(false);
    for (QTreeWidgetItem* item : taken)
        target.SetItemState(m_moves->Move(item, target, false), CMultiTree::kSelected | CMultiTree::kFocused,
                            CMultiTree::kSelected | CMultiTree::kFocused);
}

void CSelectionProfilDlg::accept() {
    CMultiTree& chosen = *m_frame->profile;
    if (chosen.topLevelItemCount() == 0) {
        m_context.GetUserInterface().ShowMessage(Message(StringTable::kSelectionnerUneQuestion),
                                                 UserInterface::Icon::Warning);
        return;
    }
    // RemoveAll keeps the profile's id and label.
    m_profile.RemoveAll();
    m_moves->Build(chosen, m_profile);
    QDialog::accept();
}
