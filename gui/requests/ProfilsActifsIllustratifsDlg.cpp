#include "gui/requests/ProfilsActifsIllustratifsDlg.h"

#include "app/ContexteEtude.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "app/UserInterface.h"
#include "framework/MultiTree.h"
#include "gui/requests/ModalityTreeMoves.h"
#include "gui/requests/NamedProfiles.h"

#include <QApplication>
#include <QPushButton>

namespace {

using D = CProfilsActifsIllustratifsDlg;

// Index 0 of the modality array is never used by an item.
constexpr int kBlankModalities = 1;
constexpr int kNonReponse = -1;
constexpr int kNonInterroge = -2;

constexpr ProfileButtonSpec kMissingAnswers[] = {
    {D::kSansManquantes, "NR", "Enlever les non-réponses et les non-interrogés"},
};

} // namespace

CProfilsActifsIllustratifsDlg::CProfilsActifsIllustratifsDlg(CContexteEtude& context, const CProfil& active,
                                                             const CProfil& illustrative, QWidget* parent)
    : PairProfileDialog(context, active, illustrative, QStringLiteral("Profils"),
                        QStringLiteral("CProfilsActifsIllustratifsDlg"), kMissingAnswers, parent) {
    QTreeWidget& questionnaire = *m_frame->questionnaire;
    m_trees = std::make_unique<ModalityTreeMoves>(m_context, questionnaire, true, kBlankModalities,
                                                  [](const CQuestionEtendue&) { return true; });
    m_trees->FillQuestionnaire(questionnaire,
                               [](const CQuestionEtendue& question) { return question.level == 0; });
    connect(&Bouton(kSansManquantes), &QPushButton::clicked, this, &D::SansManquantes);
    Ouvrir(NamedProfiles::PairesModalites(m_context, m_illustrative));
}

CProfilsActifsIllustratifsDlg::~CProfilsActifsIllustratifsDlg() = default;

void CProfilsActifsIllustratifsDlg::MoveCurrent(QTreeWidget& source, QTreeWidget& target) {
    QTreeWidgetItem* item = source.currentItem();
    if (item == nullptr) {
        QApplication::beep();
        return;
    }
    if (QTreeWidgetItem* moved = m_trees->MoveItem(item, source, target))
        target.setCurrentItem(moved);
    m_named->Modifier();
}

void CProfilsActifsIllustratifsDlg::MoveAll(QTreeWidget& source, QTreeWidget& target) {
    m_trees->MoveEverything(source, target);
    m_named->Modifier();
}

void CProfilsActifsIllustratifsDlg::MoveLine(QTreeWidget& tree, bool up) {
    if (QTreeWidgetItem* moved = m_trees->MoveLine(tree, up)) {
        tree.setCurrentItem(moved);
        m_named->Modifier();
    }
}

// The first non-response and not-asked modality of every active line goes back.
void CProfilsActifsIllustratifsDlg::SansManquantes() {
    QTreeWidget& actives = *m_frame->profile;
    for (const int code : {kNonReponse, kNonInterroge}) {
        std::vector<int> lines;
        for (int i = 0; i < actives.topLevelItemCount(); ++i)
            lines.push_back(ModalityTreeMoves::DataOf(*actives.topLevelItem(i)));
        for (int itemData : lines) {
            QTreeWidgetItem* line = ModalityTreeMoves::RootWithData(actives, itemData);
            for (int i = 0; line != nullptr && i < line->childCount(); ++i) {
                const CModaliteEtendue* modality = m_trees->ModalityOf(*line->child(i));
                if (modality != nullptr && modality->code == code) {
                    m_trees->MoveModality(line->child(i), *m_frame->questionnaire);
                    break;
                }
            }
        }
    }
    m_named->Modifier();
}

bool CProfilsActifsIllustratifsDlg::BuildProfiles(CProfil& active) {
    active.RemoveAll();
    if (!m_trees->Build(*m_frame->profile, active, false)) {
        m_context.GetUserInterface().ShowMessage(Message(StringTable::kSelectionnerUneModalite),
                                                 UserInterface::Icon::Warning);
        return false;
    }
    CProfil illustrative;
    m_trees->Build(*m_frame->illustrative, illustrative, false);
    m_illustrative = illustrative;
    return true;
}

void CProfilsActifsIllustratifsDlg::ShowProfiles(const CProfil& active) {
    QTreeWidget& questionnaire = *m_frame->questionnaire;
    m_trees->MoveEverything(*m_frame->illustrative, *m_frame->profile);
    m_trees->MoveEverything(*m_frame->profile, questionnaire);
    const CProfil illustrative = m_illustrative;
    m_trees->Show(active, *m_frame->profile, true, {});
    m_trees->Show(illustrative, *m_frame->illustrative, true, {});
}
