#include "gui/requests/ProfilNumeriqueDlg.h"

#include "app/ContexteEtude.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "app/UserInterface.h"
#include "framework/MultiTree.h"
#include "framework/WindowSize.h"
#include "gui/requests/NamedProfiles.h"

#include <QPushButton>

namespace {

using D = CProfilNumeriqueDlg;

constexpr ProfileButtonSpec kMoveButtons[] = {
    {D::kVersActives, ">", "Ajouter la question aux actives (Alt+Droite)"},
    {D::kToutVersActives, ">>", "Ajouter toutes les questions aux actives"},
    {D::kRetour, "<", "Retirer la question des actives (Alt+Gauche)"},
    {D::kToutRetour, "<<", "Retirer toutes les actives"},
};

constexpr ProfileButtonSpec kActiveLines[] = {
    {D::kMonterActive, "▲", "Monter la ligne (Alt+Haut)"},
    {D::kDescendreActive, "▼", "Descendre la ligne (Alt+Bas)"},
};

constexpr ProfileButtonSpec kPairMoves[] = {
    {D::kVersIllustratives, "↓", "Passer la question en illustrative"},
    {D::kToutVersIllustratives, "⇊", "Passer toutes les actives en illustratives"},
    {D::kIllustrativeVersActives, "↑", "Passer la question en active"},
    {D::kToutIllustrativesVersActives, "⇈", "Passer toutes les illustratives en actives"},
};

constexpr ProfileButtonSpec kIllustrativeLines[] = {
    {D::kMonterIllustrative, "▲", "Monter la ligne"},
    {D::kDescendreIllustrative, "▼", "Descendre la ligne"},
};

} // namespace

CProfilNumeriqueDlg::CProfilNumeriqueDlg(CContexteEtude& context, const CProfil& active,
                                         const CProfil& illustrative, QWidget* parent)
    : QDialog(parent), m_context(context), m_active(active), m_illustrative(illustrative) {
    setWindowTitle(QStringLiteral("Profils numériques"));
    setObjectName(QStringLiteral("CProfilNumeriqueDlg"));
    ProfileDialogFrame::Extras extras;
    extras.pairMoves = kPairMoves;
    extras.illustrativeLineButtons = kIllustrativeLines;
    m_frame = std::make_unique<ProfileDialogFrame>(
        *this, kMoveButtons, kActiveLines, ProfileDialogFrame::Keys{kVersActives, kRetour, kMonterActive, kDescendreActive},
        extras);
    m_moves = std::make_unique<QuestionTreeMoves>(m_context, *m_frame->questionnaire);
    for (CMultiTree* tree : {m_frame->questionnaire, m_frame->profile, m_frame->illustrative})
        tree->setRootIsDecorated(false);
    for (int i = 0; i < m_context.DonnerNbreQuestions(); ++i)
        if (const CQuestionEtendue* question = m_context.DonnerQuestion(i);
            question != nullptr && question->EstNumerique() && question->level == 0)
            m_moves->NewItem(*m_frame->questionnaire, -1, i);

    QTreeWidget& questionnaire = *m_frame->questionnaire;
    QTreeWidget& actives = *m_frame->profile;
    QTreeWidget& illustratives = *m_frame->illustrative;
    Connect(kVersActives, &D::MoveCurrent, questionnaire, actives);
    Connect(kToutVersActives, &D::MoveAll, questionnaire, actives);
    Connect(kRetour, &D::MoveCurrent, actives, questionnaire);
    Connect(kToutRetour, &D::MoveAll, actives, questionnaire);
    Connect(kVersIllustratives, &D::MoveCurrent, actives, illustratives);
    Connect(kToutVersIllustratives, &D::MoveAll, actives, illustratives);
    Connect(kIllustrativeVersActives, &D::MoveCurrent, illustratives, actives);
    Connect(kToutIllustrativesVersActives, &D::MoveAll, illustratives, actives);
    connect(&Bouton(kMonterActive), &QPushButton::clicked, this, [this, &actives] { MoveLine(actives, true); });
    connect(&Bouton(kDescendreActive), &QPushButton::clicked, this, [this, &actives] { MoveLine(actives, false); });
    connect(&Bouton(kMonterIllustrative), &QPushButton::clicked, this,
            [this, &illustratives] { MoveLine(illustratives, true); });
    connect(&Bouton(kDescendreIllustrative), &QPushButton::clicked, this,
            [this, &illustratives] { MoveLine(illustratives, false); });

    NamedProfiles::Trees trees;
    trees.build = [this](CProfil& built) { return BuildProfiles(built); };
    trees.show = [this](const CProfil& shown) { ShowProfiles(shown); };
    m_named = m_frame->NameProfiles(m_context, NamedProfiles::PairesQuestions(m_context, m_illustrative), std::move(trees), *this);
    m_named->Ouvrir(m_active);
    WindowSize::FitContentsToScreen(*this);
}

CProfilNumeriqueDlg::~CProfilNumeriqueDlg() = default;

void CProfilNumeriqueDlg::Connect(Button id, void (CProfilNumeriqueDlg::*action)(QTreeWidget&, QTreeWidget&),
                                  QTreeWidget& source, QTreeWidget& target) {
    connect(&Bouton(id), &QPushButton::clicked, this,
            [this, action, &source, &target] { (this->*action)(source, target); });
}

void CProfilNumeriqueDlg::MoveCurrent(QTreeWidget& source, QTreeWidget& target) {
    if (m_moves->MoveCurrent(source, target))
        m_named->Modifier();
}

void CProfilNumeriqueDlg::MoveAll(QTreeWidget& source, QTreeWidget& target) {
    m_moves->MoveAll(source, target);
    m_named->Modifier();
}

void CProfilNumeriqueDlg::MoveLine(QTreeWidget& tree, bool up) {
    if (m_moves->MoveLine(tree, up) != nullptr)
        m_named->Modifier();
}

bool CProfilNumeriqueDlg::BuildProfiles(CProfil& active) {
    active.RemoveAll();
    CProfil illustrative;
    if (!m_moves->Build(*m_frame->profile, active)) {
        m_context.GetUserInterface().ShowMessage(Message(StringTable::kSelectionnerUneQuestion),
                                                 UserInterface::Icon::Warning);
        return false;
    }
    m_moves->Build(*m_frame->illustrative, illustrative);
    m_illustrative = illustrative;
    return true;
}

void CProfilNumeriqueDlg::ShowProfiles(const CProfil& active) {
    QTreeWidget& questionnaire = *m_frame->questionnaire;
    m_moves->MoveAll(*m_frame->illustrative, *m_frame->profile);
    m_moves->MoveAll(*m_frame->profile, questionnaire);
    const std::pair<const CProfil*, QTreeWidget*> sides[] = {{&active, m_frame->profile},
                                                             {&m_illustrative, m_frame->illustrative}};
    for (const auto& [profile, tree] : sides)
        for (int i = 0; i < profile->GetCount(); ++i)
            if (QTreeWidgetItem* item = m_moves->ItemOf(questionnaire, profile->GetQuestion(i)))
                m_moves->Move(item, *tree, false);
}

void CProfilNumeriqueDlg::GetProfils(CProfil& active, CProfil& illustrative) const {
    active = m_active;
    illustrative = m_illustrative;
}

void CProfilNumeriqueDlg::accept() {
    if (!m_named->Terminer(m_active))
        return;
    QDialog::accept();
}
