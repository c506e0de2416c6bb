#include "gui/requests/PairProfileDialog.h"

#include "framework/MultiTree.h"
#include "framework/WindowSize.h"

#include <QDialog>
#include <QPushButton>
#include <vector>

namespace {

using B = PairProfileDialog;

constexpr ProfileButtonSpec kMoveButtons[] = {
    {B::kVersActives, ">", "Ajouter aux actives (Alt+Droite)"},
    {B::kToutVersActives, ">>", "Ajouter toutes les questions aux actives"},
    {B::kRetour, "<", "Retirer des actives (Alt+Gauche)"},
    {B::kToutRetour, "<<", "Retirer toutes les actives"},
};

constexpr ProfileButtonSpec kActiveLines[] = {
    {B::kMonterActive, "▲", "Monter la ligne (Alt+Haut)"},
    {B::kDescendreActive, "▼", "Descendre la ligne (Alt+Bas)"},
};

constexpr ProfileButtonSpec kPairMoves[] = {
    {B::kVersIllustratives, "↓", "Passer en illustratives"},
    {B::kToutVersIllustratives, "⇊", "Passer toutes les actives en illustratives"},
    {B::kIllustrativeVersActives, "↑", "Passer en actives"},
    {B::kToutIllustrativesVersActives, "⇈", "Passer toutes les illustratives en actives"},
};

constexpr ProfileButtonSpec kIllustrativeLines[] = {
    {B::kMonterIllustrative, "▲", "Monter la ligne"},
    {B::kDescendreIllustrative, "▼", "Descendre la ligne"},
};

// Which tree each button takes from and gives to: 0 the questionnaire, 1 the actives, 2 the
// illustratives; a line button names its tree twice.
struct Wiring {
    B::Button id;
    enum Kind { kCurrent, kAll, kUp, kDown } kind;
    int source;
    int target;
};

constexpr Wiring kWiring[] = {
    {B::kVersActives, Wiring::kCurrent, 0, 1},
    {B::kToutVersActives, Wiring::kAll, 0, 1},
    {B::kRetour, Wiring::kCurrent, 1, 0},
    {B::kToutRetour, Wiring::kAll, 1, 0},
    {B::kVersIllustratives, Wiring::kCurrent, 1, 2},
    {B::kToutVersIllustratives, Wiring::kAll, 1, 2},
    {B::kIllustrativeVersActives, Wiring::kCurrent, 2, 1},
    {B::kToutIllustrativesVersActives, Wiring::kAll, 2, 1},
    {B::kMonterActive, Wiring::kUp, 1, 1},
    {B::kDescendreActive, Wiring::kDown, 1, 1},
    {B::kMonterIllustrative, Wiring::kUp, 2, 2},
    {B::kDescendreIllustrative, Wiring::kDown, 2, 2},
};

} // namespace

PairProfileDialog::PairProfileDialog(CContexteEtude& context, const CProfil& active,
                                     const CProfil& illustrative, const QString& title, const QString& name,
                                     std::span<const ProfileButtonSpec> moreActiveLines, QWidget* parent)
    : QDialog(parent), m_context(context), m_active(active), m_illustrative(illustrative) {
    setWindowTitle(title);
    setObjectName(name);
    std::vector<ProfileButtonSpec> activeLines(std::begin(kActiveLines), std::end(kActiveLines));
    activeLines.insert(activeLines.end(), moreActiveLines.begin(), moreActiveLines.end());
    ProfileDialogFrame::Extras extras;
    extras.pairMoves = kPairMoves;
    extras.illustrativeLineButtons = kIllustrativeLines;
    m_frame = std::make_unique<ProfileDialogFrame>(
        *this, kMoveButtons, activeLines,
        ProfileDialogFrame::Keys{kVersActives, kRetour, kMonterActive, kDescendreActive}, extras);
}

PairProfileDialog::~PairProfileDialog() = default;

void PairProfileDialog::Ouvrir(NamedProfiles::Store store) {
    QTreeWidget* trees[] = {m_frame->questionnaire, m_frame->profile, m_frame->illustrative};
    for (const Wiring& wiring : kWiring) {
        QTreeWidget& source = *trees[wiring.source];
        QTreeWidget& target = *trees[wiring.target];
        QPushButton& button = m_frame->Button(wiring.id);
        switch (wiring.kind) {
        case Wiring::kCurrent:
            connect(&button, &QPushButton::clicked, this,
                    [this, &source, &target] { MoveCurrent(source, target); });
            break;
        case Wiring::kAll:
            connect(&button, &QPushButton::clicked, this,
                    [this, &source, &target] { MoveAll(source, target); });
            break;
        case Wiring::kUp:
        case Wiring::kDown:
            connect(&button, &QPushButton::clicked, this,
                    [this, &source, up = wiring.kind == Wiring::kUp] { MoveLine(source, up); });
            break;
        }
    }
    NamedProfiles::Trees shown;
    shown.build = [this](CProfil& built) { return BuildProfiles(built); };
    shown.show = [this](const CProfil& profile) { ShowProfiles(profile); };
    m_named = m_frame->NameProfiles(m_context, std::move(store), std::move(shown), *this);
    m_named->Ouvrir(m_active);
    WindowSize::FitContentsToScreen(*this);
}

void PairProfileDialog::GetProfils(CProfil& active, CProfil& illustrative) const {
    active = m_active;
    illustrative = m_illustrative;
}

void PairProfileDialog::accept() {
    if (!m_named->Terminer(m_active))
        return;
    QDialog::accept();
}
