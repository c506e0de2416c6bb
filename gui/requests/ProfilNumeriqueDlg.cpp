#include "gui/requests/ProfilNumeriqueDlg.h"

#include "app/ContexteEtude.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "app/UserInterface.h"
#include "framework/MultiTree.h"
#include "gui/requests/NamedProfiles.h"

CProfilNumeriqueDlg::CProfilNumeriqueDlg(CContexteEtude& context, const CProfil& active,
                                         const CProfil& illustrative, QWidget* parent)
    : PairProfileDialog(context, active, illustrative, QStringLiteral("Profils numériques"),
                        QStringLiteral("CProfilNumeriqueDlg"), {}, parent) {
    m_moves = std::make_unique<QuestionTreeMoves>(m_context, *m_frame->questionnaire);
    for (CMultiTree* tree : {m_frame->questionnaire, m_frame->profile, m_frame->illustrative})
        tree->setRootIsDecorated(false);
    for (int i = 0; i < m_context.DonnerNbreQuestions(); ++i)
        if (const CQuestionEtendue* question = m_context.DonnerQuestion(i);
            question != nullptr && question->EstNumerique() && question->level == 0)
            m_moves->NewItem(*m_frame->questionnaire, -1, i);
    Ouvrir(NamedProfiles::PairesQuestions(m_context, m_illustrative));
}

CProfilNumeriqueDlg::~CProfilNumeriqueDlg() = default;

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
