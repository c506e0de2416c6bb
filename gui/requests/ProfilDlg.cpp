#include "gui/requests/ProfilDlg.h"

#include "app/ContexteEtude.h"
#include "app/QuestionEtendue.h"
#include "app/QuestionNiveau.h"
#include "app/StringTable.h"
#include "app/UserInterface.h"
#include "framework/MultiTree.h"
#include "framework/WindowSize.h"
#include "gui/requests/NamedProfiles.h"
#include "gui/requests/ProfileDialogFrame.h"
#include "gui/requests/QuestionTreeMoves.h"

#include <QPushButton>
#include <algorithm>

namespace {

constexpr int kSeparator = QuestionTreeMoves::kSeparator;

constexpr ProfileButtonSpec kMoveButtons[] = {
    {CProfilDlg::kVersProfil, ">", "Ajouter la sélection au profil (Alt+Droite)"},
    {CProfilDlg::kToutVersProfil, ">>", "Ajouter toutes les questions"},
    {CProfilDlg::kRetour, "<", "Retirer la sélection du profil (Alt+Gauche)"},
    {CProfilDlg::kToutRetour, "<<", "Retirer toutes les lignes du profil"},
};

constexpr ProfileButtonSpec kLineButtons[] = {
    {CProfilDlg::kMonter, "▲", "Monter la ligne (Alt+Haut)"},
    {CProfilDlg::kDescendre, "▼", "Descendre la ligne (Alt+Bas)"},
    {CProfilDlg::kSeparateur, "—", "Insérer une ligne de séparation"},
};

} // namespace

CProfilDlg::CProfilDlg(CContexteEtude& context, int level, const CProfil& profile, bool ouvertes, QWidget* parent)
    : QDialog(parent), m_context(context), m_level(level), m_ouvertes(ouvertes), m_profile(profile) {
    setWindowTitle(QStringLiteral("Profils"));
    setObjectName(QStringLiteral("CProfilDlg"));
    BuildControls();
    FillQuestionnaire();
    m_named = m_frame->NameProfiles(m_context, NamedProfiles::ProfilsQuestions(m_context),
                                    {[this](CProfil& built) { return BuildProfile(built); },
                                     [this](const CProfil& shown) { ShowProfile(shown); }},
                                    *this);
    m_named->Ouvrir(m_profile);
    WindowSize::FitContentsToScreen(*this);
}

CProfilDlg::~CProfilDlg() = default;

void CProfilDlg::BuildControls() {
    m_frame = std::make_unique<ProfileDialogFrame>(*this, kMoveButtons, kLineButtons,
                                                   ProfileDialogFrame::Keys{kVersProfil, kRetour, kMonter, kDescendre});
    m_questionnaire = m_frame->questionnaire;
    m_profileTree = m_frame->profile;
    m_moves = std::make_unique<QuestionTreeMoves>(m_context, *m_questionnaire);
    for (CMultiTree* tree : {m_questionnaire, m_profileTree})
        tree->setRootIsDecorated(false);

    m_frame->ConnectMoves({kVersProfil, kToutVersProfil, kRetour, kToutRetour, kMonter, kDescendre, kSeparateur},
                          {[this](CMultiTree& source, CMultiTree& target) { MoveSelected(source, target); },
                           [this](CMultiTree& source, CMultiTree& target) { MoveEverything(source, target); },
                           [this](bool up) { MoveLine(up); }, [this] { InsertSeparator(); }});
}

QPushButton& CProfilDlg::Bouton(Button id) const {
    return m_frame->Button(id);
}

void CProfilDlg::FillQuestionnaire() {
    for (int i = 0; i < m_context.DonnerNbreQuestions(); ++i) {
        const CQuestionEtendue* question = m_context.DonnerQuestion(i);
        if (question == nullptr || !(m_ouvertes ? question->EstOuverte() : question->EstNumerique()))
            continue;
        if (m_level >= 0 && !EstDansNiveau(*question, m_level, m_context))
            continue;
        m_moves->NewItem(*m_questionnaire, -1, i);
    }
}

bool CProfilDlg::IsInLevel(const CQuestionEtendue& question) const {
    return m_level < 0 ? question.level == 0 : EstDansNiveau(question, m_level, m_context);
}

void CProfilDlg::MoveItem(QTreeWidgetItem* item, CMultiTree& source, CMultiTree& target, bool show,
                          std::vector<QTreeWidgetItem*>& visited) {
    if (QuestionTreeMoves::DataOf(*item) == kSeparator) {
        delete item;
        return;
    }
    const CQuestionEtendue* question = m_moves->QuestionOf(*item);
    if (question == nullptr)
        return;
    if (!IsInLevel(*question)) {
        // The questions of the level with the same code and recode move in its place.
        std::vector<QTreeWidgetItem*> others;
        for (int i = 0; i < source.topLevelItemCount(); ++i) {
            QTreeWidgetItem* root = source.topLevelItem(i);
            const CQuestionEtendue* other = m_moves->QuestionOf(*root);
            if (other != nullptr && other != question && other->code == question->code &&
                other->recodeId == question->recodeId && IsInLevel(*other))
                others.push_back(root);
        }
        for (QTreeWidgetItem* other : others) {
            visited.push_back(other);
            MoveItem(other, source, target, show, visited);
        }
        return;
    }
    // Back in its questionnaire place, or at the end of the profile.
    QTreeWidgetItem* created = m_moves->Move(item, target, false);
    if (show)
        target.SetItemState(created, CMultiTree::kSelected | CMultiTree::kFocused,
                            CMultiTree::kSelected | CMultiTree::kFocused);
}

void CProfilDlg::MoveSelected(CMultiTree& source, CMultiTree& target) {
    std::vector<QTreeWidgetItem*> taken;
    for (QTreeWidgetItem* item = source.GetFirstSelectedItem(); item != nullptr; item = source.GetNextSelectedItem(item))
        taken.push_back(item);
    target.SelectAll(false);
    std::vector<QTreeWidgetItem*> visited;
    for (QTreeWidgetItem* item : taken) {
        // An item that an earlier move took with it is gone.
        if (std::find(visited.begin(), visited.end(), item) != visited.end() ||
            source.indexOfTopLevelItem(item) < 0)
            continue;
        MoveItem(item, source, target, true, visited);
    }
    Modified();
}

void CProfilDlg::MoveEverything(CMultiTree& source, CMultiTree& target) {
    std::vector<QTreeWidgetItem*> items;
    for (int i = 0; i < source.topLevelItemCount(); ++i)
        items.push_back(source.topLevelItem(i));
    std::vector<QTreeWidgetItem*> visited;
    for (QTreeWidgetItem* item : items) {
        if (std::find(visited.begin(), visited.end(), item) != visited.end() ||
            source.indexOfTopLevelItem(item) < 0)
            continue;
        const CQuestionEtendue* question = m_moves->QuestionOf(*item);
        if (&source == m_profileTree && question != nullptr && !IsInLevel(*question)) {
            // A line the level no longer holds goes back as it is.
            m_moves->NewItem(target, -1, QuestionTreeMoves::DataOf(*item));
            delete item;
            continue;
        }
        MoveItem(item, source, target, false, visited);
    }
    Modified();
}

void CProfilDlg::MoveLine(bool up) {
    if (QTreeWidgetItem* moved = m_moves->MoveLine(*m_profileTree, up)) {
        m_profileTree->SelectItem(moved);
        Modified();
    }
}

void CProfilDlg::InsertSeparator() {
    QTreeWidgetItem* current = m_profileTree->currentItem();
    const int position = current != nullptr ? m_profileTree->indexOfTopLevelItem(current) + 1 : -1;
    m_profileTree->SelectItem(m_moves->NewItem(*m_profileTree, position, kSeparator));
    Modified();
}

bool CProfilDlg::BuildProfile(CProfil& profile) {
    profile.RemoveAll();
    if (!m_moves->Build(*m_profileTree, profile, true)) {
        m_context.GetUserInterface().ShowMessage(Message(StringTable::kSelectionnerUneQuestion),
                                                 UserInterface::Icon::Warning);
        return false;
    }
    return true;
}

void CProfilDlg::ShowProfile(const CProfil& profile) {
    MoveEverything(*m_profileTree, *m_questionnaire);
    for (int i = 0; i < profile.GetCount(); ++i) {
        CQuestionEtendue* question = profile.GetQuestion(i);
        if (question == nullptr) {
            m_moves->NewItem(*m_profileTree, -1, kSeparator);
            continue;
        }
        if (QTreeWidgetItem* item = m_moves->ItemOf(*m_questionnaire, question)) {
            std::vector<QTreeWidgetItem*> visited;
            MoveItem(item, *m_questionnaire, *m_profileTree, false, visited);
        }
    }
}

void CProfilDlg::Modified() {
    m_named->Modifier();
}

void CProfilDlg::accept() {
    if (!m_named->Terminer(m_profile))
        return;
    QDialog::accept();
}
