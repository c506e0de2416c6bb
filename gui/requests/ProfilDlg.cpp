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

#include <QApplication>
#include <QPushButton>
#include <algorithm>

namespace {

constexpr int kSeparator = -1;
constexpr int kSeparatorIcon = 20;

int DataOf(const QTreeWidgetItem& item) {
    return item.data(0, Qt::UserRole).toInt();
}

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
        NewItem(*m_questionnaire, -1, i);
    }
}

QTreeWidgetItem* CProfilDlg::NewItem(QTreeWidget& tree, int position, int itemData) const {
    auto* item = new QTreeWidgetItem();
    item->setData(0, Qt::UserRole, itemData);
    if (itemData == kSeparator) {
        item->setText(0, QStringLiteral("-"));
        item->setIcon(0, m_icons.GetImage(kSeparatorIcon));
    } else if (const CQuestionEtendue* question = m_context.DonnerQuestion(itemData)) {
        item->setText(0, QString::fromStdString(question->GetCaption()));
        item->setIcon(0, m_icons.GetImage(CUtilArbre::GetImageQuestion(*question)));
    }
    if (position < 0 || position > tree.topLevelItemCount())
        tree.addTopLevelItem(item);
    else
        tree.insertTopLevelItem(position, item);
    return item;
}

CQuestionEtendue* CProfilDlg::QuestionOf(const QTreeWidgetItem& item) const {
    const int itemData = DataOf(item);
    return itemData >= 0 ? m_context.DonnerQuestion(itemData) : nullptr;
}

bool CProfilDlg::IsInLevel(const CQuestionEtendue& question) const {
    return m_level < 0 ? question.level == 0 : EstDansNiveau(question, m_level, m_context);
}

void CProfilDlg::MoveItem(QTreeWidgetItem* item, CMultiTree& source, CMultiTree& target, bool show,
                          std::vector<QTreeWidgetItem*>& visited) {
    const int itemData = DataOf(*item);
    if (itemData == kSeparator) {
        delete item;
        return;
    }
    const CQuestionEtendue* question = QuestionOf(*item);
    if (question == nullptr)
        return;
    if (!IsInLevel(*question)) {
        // The questions of the level with the same code and recode move in its place.
        std::vector<QTreeWidgetItem*> others;
        for (int i = 0; i < source.topLevelItemCount(); ++i) {
            QTreeWidgetItem* root = source.topLevelItem(i);
            const CQuestionEtendue* other = QuestionOf(*root);
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
    int position = -1;
    if (&target == m_questionnaire) {
        // Back in its questionnaire place.
        position = target.topLevelItemCount();
        for (int i = target.topLevelItemCount() - 1; i >= 0; --i)
            if (DataOf(*target.topLevelItem(i)) >= itemData)
                position = i;
    }
    QTreeWidgetItem* created = NewItem(target, position, itemData);
    delete item;
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
        const CQuestionEtendue* question = QuestionOf(*item);
        if (&source == m_profileTree && question != nullptr && !IsInLevel(*question)) {
            // A line the level no longer holds goes back as it is.
            NewItem(target, -1, DataOf(*item));
            delete item;
            continue;
        }
        MoveItem(item, source, target, false, visited);
    }
    Modified();
}

void CProfilDlg::MoveLine(bool up) {
    QTreeWidgetItem* item = m_profileTree->currentItem();
    if (item == nullptr) {
        QApplication::beep();
        return;
    }
    const int index = m_profileTree->indexOfTopLevelItem(item);
    const int to = up ? index - 1 : index + 1;
    if (to < 0 || to >= m_profileTree->topLevelItemCount()) {
        QApplication::beep();
        return;
    }
    const int itemData = DataOf(*item);
    delete item;
    m_profileTree->SelectItem(NewItem(*m_profileTree, to, itemData));
    Modified();
}

void CProfilDlg::InsertSeparator() {
    QTreeWidgetItem* current = m_profileTree->currentItem();
    const int position = current != nullptr ? m_profileTree->indexOfTopLevelItem(current) + 1 : -1;
    m_profileTree->SelectItem(NewItem(*m_profileTree, position, kSeparator));
    Modified();
}

bool CProfilDlg::BuildProfile(CProfil& profile) {
    profile.RemoveAll();
    bool anyQuestion = false;
    for (int i = 0; i < m_profileTree->topLevelItemCount(); ++i) {
        CQuestionEtendue* question = QuestionOf(*m_profileTree->topLevelItem(i));
        if (question == nullptr) {
            profile.AddSeparator();
            continue;
        }
        profile.Add(question);
        anyQuestion = true;
    }
    if (!anyQuestion) {
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
            NewItem(*m_profileTree, -1, kSeparator);
            continue;
        }
        int index = -1;
        if (!m_context.TrouverIndexQuestion(question, index))
            continue;
        for (int q = 0; q < m_questionnaire->topLevelItemCount(); ++q) {
            QTreeWidgetItem* item = m_questionnaire->topLevelItem(q);
            if (DataOf(*item) == index) {
                std::vector<QTreeWidgetItem*> visited;
                MoveItem(item, *m_questionnaire, *m_profileTree, false, visited);
                break;
            }
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
