#include "gui/requests/SelectionProfilDlg.h"

#include "app/ContexteEtude.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "app/UserInterface.h"
#include "framework/MultiTree.h"
#include "framework/WindowSize.h"
#include "gui/requests/ProfileDialogFrame.h"

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

int DataOf(const QTreeWidgetItem& item) {
    return item.data(0, Qt::UserRole).toInt();
}

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
                                                   ProfileDialogFrame::Keys{kVersProfil, kRetour, 0, 0})) {
    setWindowTitle(QStringLiteral("Profils"));
    setObjectName(QStringLiteral("CSelectionProfilDlg"));
    m_frame->ok->setText(QStringLiteral("OK"));
    for (CMultiTree* tree : {m_frame->questionnaire, m_frame->profile})
        tree->setRootIsDecorated(false);
    HideNames();
    CMultiTree& questionnaire = *m_frame->questionnaire;
    CMultiTree& chosen = *m_frame->profile;
    const auto wire = [this](Button id, auto action) {
        connect(&Bouton(id), &QPushButton::clicked, this, action);
    };
    wire(kVersProfil, [this, &questionnaire, &chosen] { MoveSelected(questionnaire, chosen); });
    wire(kRetour, [this, &questionnaire, &chosen] { MoveSelected(chosen, questionnaire); });
    wire(kToutVersProfil, [this, &questionnaire, &chosen] { MoveEverything(questionnaire, chosen); });
    wire(kToutRetour, [this, &questionnaire, &chosen] { MoveEverything(chosen, questionnaire); });
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
    for (int i = 0; i < m_context.DonnerNbreQuestions(); ++i) {
        const CQuestionEtendue* question = m_context.DonnerQuestion(i);
        if (question == nullptr || !Offered(*question))
            continue;
        auto* item = new QTreeWidgetItem(m_frame->questionnaire);
        item->setData(0, Qt::UserRole, i);
        item->setText(0, QString::fromStdString(question->GetCaption()));
        item->setIcon(0, m_icons.GetImage(CUtilArbre::GetImageQuestion(*question)));
    }
}

void CSelectionProfilDlg::ShowProfile() {
    CMultiTree& questionnaire = *m_frame->questionnaire;
    for (int line = 0; line < m_profile.GetCount(); ++line) {
        const CQuestionEtendue* question = m_profile.IsSeparator(line) ? nullptr : m_profile.GetQuestion(line);
        for (int i = 0; question != nullptr && i < questionnaire.topLevelItemCount(); ++i)
            if (m_context.DonnerQuestion(DataOf(*questionnaire.topLevelItem(i))) == question) {
                Move(questionnaire.topLevelItem(i), *m_frame->profile);
                break;
            }
    }
}

// Both trees keep the questionnaire's order: the item goes before the first whose index is not
// smaller.
QTreeWidgetItem* CSelectionProfilDlg::Move(QTreeWidgetItem* item, CMultiTree& target) {
    const int index = DataOf(*item);
    int position = target.topLevelItemCount();
    for (int i = target.topLevelItemCount() - 1; i >= 0; --i)
        if (DataOf(*target.topLevelItem(i)) >= index)
            position = i;
    QTreeWidgetItem* source = item->treeWidget()->takeTopLevelItem(item->treeWidget()->indexOfTopLevelItem(item));
    source->setSelected(false);
    target.insertTopLevelItem(position, source);
    return source;
}

void CSelectionProfilDlg::MoveSelected(CMultiTree& source, CMultiTree& target) {
    std::vector<QTreeWidgetItem*> taken;
    for (QTreeWidgetItem* item = source.GetFirstSelectedItem(); item != nullptr; item = source.GetNextSelectedItem(item))
        taken.push_back(item);
    target.SelectAll(false);
    for (QTreeWidgetItem* item : taken)
        target.SetItemState(Move(item, target), CMultiTree::kSelected | CMultiTree::kFocused,
                            CMultiTree::kSelected | CMultiTree::kFocused);
}

void CSelectionProfilDlg::MoveEverything(CMultiTree& source, CMultiTree& target) {
    while (source.topLevelItemCount() > 0)
        Move(source.topLevelItem(0), target);
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
    for (int i = 0; i < chosen.topLevelItemCount(); ++i)
        m_profile.Add(m_context.DonnerQuestion(DataOf(*chosen.topLevelItem(i))));
    QDialog::accept();
}
